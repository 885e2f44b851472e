#include "project/CursorPosProvider.h"
#include "project/RCWindowEventFilter.h"

#include <QCursor>
#include <QEvent>
#include <QTest>

namespace {

// A window that answers its own eventFilter(): it swallows events of one type.
class FilteringWindow : public QObject
{
public:
    explicit FilteringWindow(QEvent::Type swallowed) : m_swallowed(swallowed) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        ++asked;
        lastWatched = watched;
        return event->type() == m_swallowed;
    }
    bool event(QEvent* event) override
    {
        if (event->type() >= QEvent::User)
            ++delivered;
        return QObject::event(event);
    }

    int asked = 0;
    int delivered = 0;
    QObject* lastWatched = nullptr;

private:
    QEvent::Type m_swallowed;
};

const QEvent::Type kSwallowed = QEvent::Type(QEvent::User + 1);
const QEvent::Type kPassed = QEvent::Type(QEvent::User + 2);

} // namespace

class tst_RCWindowEventFilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowDecidesForItsOwnEvents();
    void movingDetachesFromFirstWindow();
    void cursorPosIsWholeGlobalPosition();
};

void tst_RCWindowEventFilter::windowDecidesForItsOwnEvents()
{
    RCWindowEventFilter filter;
    FilteringWindow window(kSwallowed);
    filter.setWindow(&window);

    QEvent swallowed(kSwallowed);
    QEvent passed(kPassed);
    QCoreApplication::sendEvent(&window, &swallowed);
    QCoreApplication::sendEvent(&window, &passed);
    QCOMPARE(window.asked, 2);
    QCOMPARE(window.lastWatched, &window);
    QCOMPARE(window.delivered, 1);

    QObject other;
    QEvent anything(kSwallowed);
    QVERIFY(!filter.eventFilter(&other, &anything));
}

// Installed once however often the same window is set; moving on detaches from the old window.
void tst_RCWindowEventFilter::movingDetachesFromFirstWindow()
{
    RCWindowEventFilter filter;
    FilteringWindow first(QEvent::None);
    FilteringWindow second(QEvent::None);
    filter.setWindow(&first);
    filter.setWindow(&first);
    filter.setWindow(&second);
    filter.setWindow(&second);
    QCOMPARE(filter.window(), &second);
    QEvent a(kPassed);
    QCoreApplication::sendEvent(&first, &a);
    QEvent b(kPassed);
    QCoreApplication::sendEvent(&second, &b);
    QCOMPARE(first.asked, 0);
    QCOMPARE(second.asked, 1);

    filter.setWindow(nullptr);
    QEvent c(kPassed);
    QCoreApplication::sendEvent(&second, &c);
    QCOMPARE(second.asked, 1);

    // A destroyed window is forgotten, never touched again.
    auto* window = new FilteringWindow(QEvent::None);
    filter.setWindow(window);
    delete window;
    QCOMPARE(filter.window(), nullptr);
    filter.setWindow(&first);
    QCOMPARE(filter.window(), &first);
}

void tst_RCWindowEventFilter::cursorPosIsWholeGlobalPosition()
{
    CursorPosProvider provider;
    QCursor::setPos(37, 41);
    const QPointF pos = provider.cursorPos();
    QCOMPARE(pos, QPointF(QCursor::pos()));
    QCOMPARE(pos.x(), qRound(pos.x()));
    QCOMPARE(pos.y(), qRound(pos.y()));
}

QTEST_MAIN(tst_RCWindowEventFilter)
#include "tst_RCWindowEventFilter.moc"
