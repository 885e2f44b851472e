// The scene canvas's view layer on a plain model: one slot per row, stacked in row order through
// inserts in the middle, removes and resets; a change writes only the roles it names; the slots a
// reset replaced go, and the script engine collects, only after the window's next frame.
#include "canvas/RCSceneItemViewLayer.h"
#include "canvas/RCSceneItemViewSlot.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QStandardItemModel>

#include <memory>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int kIdRole = Qt::UserRole + 1;
constexpr int kXRole = Qt::UserRole + 2;

QStandardItem* row(const QString& id, int x = 0)
{
    auto* item = new QStandardItem;
    item->setData(id, kIdRole);
    item->setData(x, kXRole);
    return item;
}

// The item ids of the layer's slots in stacking order, checked against itemAt().
QStringList stacked(const RCSceneItemViewLayer& layer)
{
    QStringList ids;
    const QList<QQuickItem*> children = layer.childItems();
    for (int i = 0; i < children.size(); ++i) {
        auto* slot = qobject_cast<RCSceneItemViewSlot*>(children.at(i));
        ids.append(slot && layer.itemAt(i) == slot ? slot->itemId() : QStringLiteral("?"));
    }
    return ids;
}

// The script engine's collections, counted from its statistics category (enabled before any engine).
int g_collections = 0;
QtMessageHandler g_previousHandler = nullptr;

void countCollections(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (context.category && QByteArrayView(context.category).startsWith("qt.qml.gc")) {
        if (message.contains(u"========== GC"))
            ++g_collections;
        return;
    }
    g_previousHandler(type, context, message);
}

} // namespace

class TestSceneItemViewLayer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("qt.qml.gc.allocatorStats.debug=true"));
        g_previousHandler = qInstallMessageHandler(countCollections);
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    void followsRows_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("insert in the middle") << "insert 1 d" << QStringList{"a", "d", "b", "c"};
        QTest::newRow("insert at the end") << "insert 3 d" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("remove") << "remove 1" << QStringList{"a", "c"};
        QTest::newRow("reset") << "reset" << QStringList{"x"};
        QTest::newRow("model deleted") << "delete" << QStringList{};
    }
    void followsRows()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, ids);
        auto model = std::make_unique<QStandardItemModel>();
        model->setItemRoleNames({{kIdRole, "itemId"}, {kXRole, "itemX"}});
        for (const char* id : {"a", "b", "c"})
            model->appendRow(row(QString::fromLatin1(id)));
        RCSceneItemViewLayer layer;
        layer.setModel(model.get());
        QCOMPARE(stacked(layer), (QStringList{"a", "b", "c"}));
        QPointer<RCSceneItemViewSlot> second = layer.itemAt(1);
        const QStringList words = change.split(u' ');
        if (words[0] == u"insert") {
            model->insertRow(words[1].toInt(), row(words[2]));
        } else if (words[0] == u"remove") {
            model->removeRow(words[1].toInt());
        } else if (words[0] == u"delete") {
            model.reset();
        } else {
            model->clear();
            model->setItemRoleNames({{kIdRole, "itemId"}, {kXRole, "itemX"}});
            model->appendRow(row(QStringLiteral("x")));
        }
        QCOMPARE(stacked(layer), ids);
        QCOMPARE(layer.count(), ids.size());
        // a slot whose row went is out of the layer at once and deleted later
        const bool secondGone = !ids.contains(u"b"_qs);
        QCOMPARE(second && second->parentItem() == &layer, !secondGone);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(second.isNull(), secondGone);
    }
    void writesOnlyNamedRoles()
    {
        QStandardItemModel model;
        model.setItemRoleNames({{kIdRole, "itemId"}, {kXRole, "itemX"}});
        model.appendRow(row(QStringLiteral("a"), 5));
        RCSceneItemViewLayer layer;
        layer.setOrigin(QPointF(100, 0));
        layer.setModel(&model);
        RCSceneItemViewSlot* slot = layer.itemAt(0);
        QCOMPARE(slot->x(), 105.0);
        // the id moves unannounced: the change names only the place
        QSignalBlocker blocker(model);
        model.item(0)->setData(u"b"_qs, kIdRole);
        model.item(0)->setData(7, kXRole);
        blocker.unblock();
        Q_EMIT model.dataChanged(model.index(0, 0), model.index(0, 0), {kXRole});
        QCOMPARE(slot->itemId(), u"a"_qs);
        QCOMPARE(slot->x(), 107.0);
        layer.setDivisor(0.5);
        QCOMPARE(slot->x(), 100.0 + 7 / 0.5);
    }
    // A scene switch: the panel takes the layer out of the window, resets the model, puts it back.
    void replacedSlotsWaitForTheFrame_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("outOfWindow");
        QTest::addColumn<int>("resets");
        QTest::addColumn<bool>("waits");
        QTest::newRow("switch") << true << true << 1 << true;
        QTest::newRow("reset in the window") << true << false << 1 << true;
        QTest::newRow("two before a frame") << true << true << 2 << true;
        QTest::newRow("hidden window") << false << true << 1 << false;
    }
    void replacedSlotsWaitForTheFrame()
    {
        QFETCH(bool, shown);
        QFETCH(bool, outOfWindow);
        QFETCH(int, resets);
        QFETCH(bool, waits);
        QQmlEngine engine;
        QQuickWindow window;
        window.resize(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStandardItemModel model;
        model.setItemRoleNames({{kIdRole, "itemId"}});
        model.appendRow(row(QStringLiteral("a")));
        RCSceneItemViewLayer layer;
        QQmlEngine::setContextForObject(&layer, engine.rootContext());
        layer.setModel(&model);
        layer.setParentItem(window.contentItem());
        QSignalSpy swapped(&window, &QQuickWindow::frameSwapped);
        QVERIFY(swapped.wait());
        if (!shown) {
            window.hide();
            QTRY_VERIFY(!window.isExposed());
        }
        QList<QPointer<RCSceneItemViewSlot>> replaced;
        for (int i = 0; i < resets; ++i) {
            replaced.append(layer.itemAt(0));
            if (outOfWindow)
                layer.setParentItem(nullptr);
            model.item(0)->setData(QStringLiteral("b%1").arg(i), kIdRole);
            Q_EMIT model.layoutChanged();
            layer.setParentItem(window.contentItem());
        }
        const int collections = g_collections;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // only the last replaced scene waits, out of the layer's children
        QCOMPARE(replaced.last().isNull(), !waits);
        for (int i = 0; i + 1 < resets; ++i)
            QVERIFY(replaced.at(i).isNull());
        QCOMPARE(layer.findChildren<RCSceneItemViewSlot*>().size(), 1);
        if (!waits)
            return;
        QVERIFY(swapped.wait());
        QTRY_VERIFY(replaced.last().isNull());
        QCOMPARE_GT(g_collections, collections);
        QCOMPARE(layer.itemAt(0)->itemId(), QStringLiteral("b%1").arg(resets - 1));
    }
};

QTEST_MAIN(TestSceneItemViewLayer)
#include "tst_scene_item_view_layer.moc"
