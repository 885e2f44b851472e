#include "project/CursorPosProvider.h"
#include "project/RCWindowEventFilter.h"

#include <QCursor>
#include <QEvent>
#include <QTest>

namespace {

const QEvent::Type kSwallowed = QEvent::Type(QEvent::User + 1);
const QEvent::Type kPassed = QEvent::Type(QEvent::User + 2);

// A window that answers its own eventFilter(): it swallows kSwallowed events.
class FilteringWindow : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        ++asked;
        lastWatched = watched;
        return event->type() == kSwallowed;
    }
    bool event(QEvent* event) override
    {
        delivered += event->type() >= QEvent::User;
        return QObject::event(event);
    }
    void send(QEvent::Type type)
    {
        QEvent event(type);
        QCoreApplication::sendEvent(this, &event);
    }

    int asked = 0;
    int delivered = 0;
    QObject* lastWatched = nullptr;
};

} // namespace

class tst_RCWindowEventFilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The window decides for its own events only; it is asked once however often it is set, and
    // no longer once the filter moves on, is cleared, or the window is destroyed.
    void windowDecidesForItsOwnEvents()
    {
        RCWindowEventFilter filter;
        FilteringWindow first;
        FilteringWindow second;
        filter.setWindow(&first);
        filter.setWindow(&first);
        first.send(kSwallowed);
        first.send(kPassed);
        QCOMPARE(first.asked, 2);
        QCOMPARE(first.lastWatched, &first);
        QCOMPARE(first.delivered, 1);
        QObject other;
        QEvent anything(kSwallowed);
        QVERIFY(!filter.eventFilter(&other, &anything));

        filter.setWindow(&second);
        first.send(kPassed);
        second.send(kPassed);
        QCOMPARE(first.asked, 2);
        QCOMPARE(second.asked, 1);
        filter.setWindow(nullptr);
        second.send(kPassed);
        QCOMPARE(second.asked, 1);

        auto* window = new FilteringWindow;
        filter.setWindow(window);
        delete window;
        QCOMPARE(filter.window(), nullptr);
        filter.setWindow(&first);
        QCOMPARE(filter.window(), &first);
    }

    void cursorPosIsWholeGlobalPosition()
    {
        CursorPosProvider provider;
        QCursor::setPos(37, 41);
        const QPointF pos = provider.cursorPos();
        QCOMPARE(pos, QPointF(QCursor::pos()));
        QCOMPARE(pos.x(), qRound(pos.x()));
        QCOMPARE(pos.y(), qRound(pos.y()));
    }
};

QTEST_MAIN(tst_RCWindowEventFilter)
#include "tst_RCWindowEventFilter.moc"
