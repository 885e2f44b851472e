// The scene canvas's view layer on a plain model: one slot per row, stacked in row order through
// inserts in the middle, removes and resets; a change writes only the roles it names; presses and
// rubber bands hit the views as drawn (turned, zoomed), never a row without a view; the slots a
// reset replaced go, and the script engine collects, only after the window's next frame; a button
// view completes with its face in place; the selection changes of views that ask for a veil are
// logged, in order.
#include "canvas/RCSceneItemViewLayer.h"
#include "canvas/RCSceneItemViewSlot.h"

#include <QFile>
#include <QLoggingCategory>
#include <QPointer>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <QTest>
#include <memory>

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

// The hit test's scene: a and b overlap (b above), c is 200 x 50 turned a quarter (drawn 50 x 200
// about the same centre), d covers all of them but has no view, f is 200 x 50 turned 30 degrees
// clockwise about its centre (1200, 425), which a turn the other way would draw at its mirror
// image. a, c and d are selected; b's row reads selected when its slot is made and turns
// unselected unannounced.
struct HitItem
{
    const char* id;
    QRect place;
    int angle;
    bool view;
    bool selected;
};
constexpr HitItem kHitItems[] = {{"a", {100, 100, 100, 100}, 0, true, true},
                                 {"b", {150, 150, 100, 100}, 360, true, true},
                                 {"c", {400, 100, 200, 50}, 90, true, true},
                                 {"d", {0, 0, 1000, 1000}, 0, false, true},
                                 {"f", {1100, 400, 200, 50}, 30, true, false}};

// The roles after kXRole, in the order of a hit item's values (hitValues()).
const QByteArrayList kHitRoles{"qmlPath", "itemY", "itemWidth", "itemHeight", "angle", "selected"};

// The URL of a bare view file written into dir; "" when it cannot be written.
QString writeBareView(const QTemporaryDir& dir)
{
    QFile file(dir.filePath(u"View.qml"_s));
    if (!file.open(QIODevice::WriteOnly) || file.write("import QtQuick\nItem {}\n") <= 0)
        return QString();
    return QUrl::fromLocalFile(file.fileName()).toString();
}

// The model of the hit test's scene, its views made from viewUrl.
void fillHitModel(QStandardItemModel& model, const QString& viewUrl)
{
    QHash<int, QByteArray> roles{{kIdRole, "itemId"}, {kXRole, "itemX"}};
    for (int i = 0; i < kHitRoles.size(); ++i)
        roles.insert(kXRole + 1 + i, kHitRoles.at(i));
    model.setItemRoleNames(roles);
    for (const HitItem& item : kHitItems) {
        QStandardItem* r = row(QString::fromLatin1(item.id), item.place.x());
        const QVariantList values{item.view ? viewUrl : QString(),
                                  item.place.y(),
                                  item.place.width(),
                                  item.place.height(),
                                  item.angle,
                                  item.selected};
        for (int i = 0; i < values.size(); ++i)
            r->setData(values.at(i), kXRole + 1 + i);
        model.appendRow(r);
    }
}

// The script engine's collections, counted from its statistics category (enabled before any engine).
int g_collections = 0;
QtMessageHandler g_previousHandler = nullptr;
// The lines of category "qml" while set: "<type> <message>".
QStringList* g_qmlLines = nullptr;

void countCollections(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (g_qmlLines && context.category && QByteArrayView(context.category) == "qml") {
        g_qmlLines->append(QString::number(type) + u' ' + message);
        return;
    }
    if (context.category && QByteArrayView(context.category).startsWith("qt.qml.gc")) {
        if (message.contains(u"========== GC"))
            ++g_collections;
        return;
    }
    g_previousHandler(type, context, message);
}

// A button view as the slot knows one, recording what it holds when it completes.
constexpr const char* kButtonView = R"(
import QtQuick
Item {
    property bool mSelect: false
    property int mAngle: 0
    property QtObject mImageManager: null
    property int mImageResolution: 0
    property string mIconKey: "IconPath"
    property string mIconPath: ""
    property string mIconUrl: ""
    property bool mIconCached: false
    property string mName: ""
    property bool mClickAreaCheck: false
    property bool mEnableClick: true
    property color mTextColor: "white"
    property real mTextSize: 12
    property bool mTextBold: false
    property var seen
    Component.onCompleted: seen = [mName, String(mTextColor), mTextSize, mTextBold, mEnableClick,
                                   mClickAreaCheck, mIconPath, mIconUrl, mIconCached, mSelect, mAngle]
}
)";

// An image manager that resolves a reference to "<resolution>:<value>".
class FakeImages : public QObject
{
    Q_OBJECT
public:
    int resolution = 1;
    Q_INVOKABLE QString pathTransformation(const QString& path) const
    {
        return path.startsWith(u"rcimg:/") ? QString::number(resolution) + u':' + path : path;
    }
};

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

    // A point: the topmost view hit, and the selected views it leaves. A band: the views whose
    // selection it changes. Canvas pixels; at divisor 2 the scene sits at (10, 20).
    void hitTest_data()
    {
        QTest::addColumn<qreal>("divisor");
        QTest::addColumn<QVariant>("at");
        QTest::addColumn<QStringList>("hit");
        QTest::addColumn<QStringList>("off");
        const auto point = [](qreal x, qreal y) { return QVariant(QPointF(x, y)); };
        const auto band = [](qreal x, qreal y, qreal w, qreal h) { return QVariant(QRectF(x, y, w, h)); };
        QTest::newRow("the upper of two") << 1.0 << point(175, 175) << QStringList{"b"} << QStringList{"c"};
        QTest::newRow("an edge is outside")
            << 1.0 << point(100, 120) << QStringList{} << QStringList{"a", "c"};
        QTest::newRow("turned, where drawn") << 1.0 << point(500, 40) << QStringList{"c"} << QStringList{"a"};
        QTest::newRow("turned, not where unturned")
            << 1.0 << point(410, 110) << QStringList{} << QStringList{"a", "c"};
        QTest::newRow("zoomed, the lower") << 2.0 << point(61, 71) << QStringList{"a"} << QStringList{"c"};
        QTest::newRow("zoomed, turned") << 2.0 << point(260, 40) << QStringList{"c"} << QStringList{"a"};
        QTest::newRow("band: a corner inside")
            << 1.0 << band(140, 140, 20, 20) << QStringList{"b"} << QStringList{"a", "c"};
        QTest::newRow("band: corners on its edge")
            << 1.0 << band(100, 100, 50, 50) << QStringList{} << QStringList{"a", "c"};
        QTest::newRow("band: turned, a drawn corner")
            << 1.0 << band(470, 20, 10, 10) << QStringList{} << QStringList{"a"};
        QTest::newRow("band: turned, an unturned corner")
            << 1.0 << band(395, 95, 10, 10) << QStringList{} << QStringList{"a", "c"};
        QTest::newRow("band: zoomed, all")
            << 2.0 << band(0, 0, 400, 400) << QStringList{"b"} << QStringList{};
        // f's point (90, 20) from its centre, unturned, is drawn at (1267.9, 487.3); turned the
        // other way at (1287.9, 397.3). Its corner (100, 25) is drawn at (1274.1, 496.7); turned the
        // other way at (1299.1, 396.7).
        QTest::newRow("turned 30, where drawn")
            << 1.0 << point(1268, 487) << QStringList{"f"} << QStringList{"a", "c"};
        QTest::newRow("turned 30, not at its mirror image")
            << 1.0 << point(1288, 397) << QStringList{} << QStringList{"a", "c"};
        QTest::newRow("zoomed, turned 30")
            << 2.0 << point(644, 263.5) << QStringList{"f"} << QStringList{"a", "c"};
        QTest::newRow("band: turned 30, a drawn corner")
            << 1.0 << band(1270, 492, 8, 8) << QStringList{"f"} << QStringList{"a", "c"};
        QTest::newRow("band: turned 30, a mirrored corner")
            << 1.0 << band(1295, 393, 8, 8) << QStringList{} << QStringList{"a", "c"};
    }
    void hitTest()
    {
        QFETCH(qreal, divisor);
        QFETCH(QVariant, at);
        QFETCH(QStringList, hit);
        QFETCH(QStringList, off);
        QTemporaryDir dir;
        const QString viewUrl = writeBareView(dir);
        QVERIFY(!viewUrl.isEmpty());
        const int selectedRole = kXRole + 6;
        QStandardItemModel model;
        fillHitModel(model, viewUrl);
        QQmlEngine engine;
        RCSceneItemViewLayer layer;
        QQmlEngine::setContextForObject(&layer, engine.rootContext());
        layer.setOrigin(divisor == 1 ? QPointF() : QPointF(10, 20));
        layer.setDivisor(divisor);
        layer.setModel(&model);
        QVERIFY(layer.itemAt(2)->item() && !layer.itemAt(3)->item());
        // the model is asked, not the slot
        QSignalBlocker blocker(model);
        model.item(1)->setData(false, selectedRole);
        if (at.typeId() == QMetaType::QPointF) {
            const QString pressed = layer.itemIdAt(at.toPointF());
            QCOMPARE(pressed.isEmpty() ? QStringList{} : QStringList{pressed}, hit);
            QCOMPARE(layer.selectedItemIdsApartFrom(at.toPointF()), off);
        } else {
            const QVariantMap changes = layer.bandSelection(at.toRectF());
            QCOMPARE(changes.value(u"select"_s).toStringList(), hit);
            QCOMPARE(changes.value(u"deselect"_s).toStringList(), off);
        }
    }

    // A hit test after a view moved, turned, went or came, or the canvas zoomed or moved, finds the
    // views where they are then: b is hit at the point before each change.
    void hitTestFollowsChanges_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<QString>("hit");
        QTest::newRow("b moved away") << 0 << QPointF(175, 175) << u"a"_s;
        QTest::newRow("b turned") << 1 << QPointF(155, 155) << u"a"_s;
        QTest::newRow("zoomed") << 2 << QPointF(175, 175) << QString();
        QTest::newRow("scene moved") << 3 << QPointF(175, 175) << QString();
        QTest::newRow("b's view gone") << 4 << QPointF(175, 175) << u"a"_s;
        QTest::newRow("b's row gone") << 5 << QPointF(175, 175) << u"a"_s;
        QTest::newRow("a row above") << 6 << QPointF(175, 175) << u"e"_s;
    }
    void hitTestFollowsChanges()
    {
        QFETCH(int, change);
        QFETCH(QPointF, at);
        QFETCH(QString, hit);
        QTemporaryDir dir;
        const QString viewUrl = writeBareView(dir);
        QVERIFY(!viewUrl.isEmpty());
        QStandardItemModel model;
        fillHitModel(model, viewUrl);
        QQmlEngine engine;
        RCSceneItemViewLayer layer;
        QQmlEngine::setContextForObject(&layer, engine.rootContext());
        layer.setModel(&model);
        QCOMPARE(layer.itemIdAt(at), u"b"_s);
        switch (change) {
        case 0:
            model.item(1)->setData(600, kXRole);
            break;
        case 1:
            model.item(1)->setData(45, kXRole + 5);
            break;
        case 2:
            layer.setDivisor(2);
            break;
        case 3:
            layer.setOrigin(QPointF(100, 100));
            break;
        case 4:
            model.item(1)->setData(QString(), kXRole + 1);
            break;
        case 5:
            model.removeRow(1);
            break;
        default: {
            QStandardItem* above = row(u"e"_s, 150);
            const QVariantList values{viewUrl, 150, 50, 50, 0, false};
            for (int i = 0; i < values.size(); ++i)
                above->setData(values.at(i), kXRole + 1 + i);
            model.appendRow(above);
        }
        }
        QCOMPARE(layer.itemIdAt(at), hit);
    }

    // A view that asks for a veil ("mSelectVeil") has each change of its selection logged while in
    // edit mode (debug, category "qml"), in row order, and once when made for a selected item.
    void logsSelectionChanges_data()
    {
        QTest::addColumn<bool>("veiled");
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("lines");
        const QString on = u"0 item select changed: 停止 selected: true"_s;
        const QString off = u"0 item select changed: 停止 selected: false"_s;
        const QString other = u"0 item select changed:  selected: true"_s;
        QTest::newRow("select two") << true << true << "select" << QStringList{on, other};
        QTest::newRow("deselect") << true << true << "deselect" << QStringList{off};
        QTest::newRow("made selected") << true << true << "insert" << QStringList{on};
        QTest::newRow("not in edit mode") << true << false << "select" << QStringList{};
        // the edit mode flips after the views are made
        QTest::newRow("edit mode left") << true << true << "flip, select" << QStringList{};
        QTest::newRow("edit mode entered") << true << false << "flip, select" << QStringList{on, other};
        QTest::newRow("no veil") << false << true << "select" << QStringList{};
    }
    void logsSelectionChanges()
    {
        QFETCH(bool, veiled);
        QFETCH(bool, edit);
        QFETCH(QString, change);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        QFile file(dir.filePath(u"View.qml"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(veiled ? "import QtQuick\nItem { property bool mSelect; property bool mInEditState; "
                            "readonly property bool mSelectVeil: true }\n"
                          : "import QtQuick\nItem { property bool mSelect; property bool mInEditState }\n");
        file.close();
        const int selectedRole = kXRole + 1;
        QStandardItemModel model;
        model.setItemRoleNames({{kIdRole, "itemId"},
                                {selectedRole, "selected"},
                                {kXRole + 2, "values"},
                                {kXRole + 3, "viewProperties"},
                                {kXRole + 4, "qmlPath"}});
        const auto add = [&](int at, const QString& name, bool selected) {
            QStandardItem* r = row(name);
            r->setData(selected, selectedRole);
            r->setData(name.isEmpty() ? QVariantMap{} : QVariantMap{{u"Name"_s, name}}, kXRole + 2);
            r->setData(QVariantMap{{u"mInEditState"_s, edit}}, kXRole + 3);
            r->setData(QUrl::fromLocalFile(file.fileName()).toString(), kXRole + 4);
            model.insertRow(at, r);
        };
        add(0, u"停止"_s, change == u"deselect");
        add(1, QString(), false);
        QQmlEngine engine;
        RCSceneItemViewLayer layer;
        QQmlEngine::setContextForObject(&layer, engine.rootContext());
        layer.setModel(&model);
        QStringList logged;
        g_qmlLines = &logged;
        if (change.startsWith(u"flip")) {
            for (int i = 0; i < 2; ++i)
                model.item(i)->setData(QVariantMap{{u"mInEditState"_s, !edit}}, kXRole + 3);
        }
        if (change.endsWith(u", select") || change == u"select") {
            QSignalBlocker blocker(model);
            model.item(0)->setData(true, selectedRole);
            model.item(1)->setData(true, selectedRole);
            blocker.unblock();
            Q_EMIT model.dataChanged(model.index(0, 0), model.index(1, 0), {selectedRole});
        } else if (change == u"deselect") {
            model.item(0)->setData(false, selectedRole);
            model.item(1)->setData(false, selectedRole); // unchanged: no line
        } else {
            add(0, u"停止"_s, true);
        }
        g_qmlLines = nullptr;
        QCOMPARE(logged, lines);
    }

    // A scene switch: the panel takes the layer out of the window, resets the model, puts it back.
    // The face as the view completes: name, colour, size, bold, enabled, area check, icon path,
    // URL and caching, selection, turn; then the icon after the references resolve anew.
    void buttonFace_data()
    {
        QTest::addColumn<QVariantMap>("values");
        QTest::addColumn<QVariantList>("face");
        QTest::addColumn<QString>("resolvedAgain");
        QTest::newRow("none") << QVariantMap{}
                              << QVariantList{"", "#ffffff", 12, false, true, false, "", "", false, false, 0}
                              << "";
        QTest::newRow("given") << QVariantMap{{"Name", 5},
                                              {"TextColor", "#80112233"},
                                              {"TextSize", " 18 "},
                                              {"TextBold", true},
                                              {"EnableClick", 0},
                                              {"ClickAreaCheck", "x"},
                                              {"IconPath", "qrc:/i.png"},
                                              {"Select", true},
                                              {"Angle", 90}}
                               << QVariantList{"5",          "#80112233",  18,   true, false, true,
                                               "qrc:/i.png", "qrc:/i.png", true, true, 90}
                               << "qrc:/i.png";
        QTest::newRow("no colour, no size")
            << QVariantMap{{"Name", QVariant()},
                           {"TextColor", "nonsense"},
                           {"TextSize", -2},
                           {"EnableClick", QVariant::fromValue(nullptr)}}
            << QVariantList{"", "#ffffff", 12, false, true, false, "", "", false, false, 0} << "";
        QTest::newRow("reference")
            << QVariantMap{{"IconPath", "rcimg:/a.png"}, {"TextSize", 7.5}}
            << QVariantList{"",    "#ffffff", 7.5, false, true, false, "rcimg:/a.png", "1:rcimg:/a.png",
                            false, false,     0}
            << "2:rcimg:/a.png";
    }
    void buttonFace()
    {
        QFETCH(QVariantMap, values);
        QFETCH(QVariantList, face);
        QFETCH(QString, resolvedAgain);
        QTemporaryDir dir;
        QFile file(dir.filePath(u"Button.qml"_qs));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kButtonView) > 0);
        file.close();
        QQmlEngine engine;
        FakeImages images;
        QStandardItemModel model;
        enum
        {
            Path = Qt::UserRole + 3,
            Values,
            Properties,
            Selected,
            Angle
        };
        model.setItemRoleNames({{kIdRole, "itemId"},
                                {Path, "qmlPath"},
                                {Values, "values"},
                                {Properties, "viewProperties"},
                                {Selected, "selected"},
                                {Angle, "angle"}});
        QStandardItem* item = row(QStringLiteral("a"));
        item->setData(QUrl::fromLocalFile(file.fileName()).toString(), Path);
        item->setData(values, Values);
        item->setData(QVariantMap{{"mImageManager", QVariant::fromValue<QObject*>(&images)}}, Properties);
        item->setData(values.value(u"Select"_qs).toBool(), Selected);
        item->setData(values.value(u"Angle"_qs).toInt(), Angle);
        model.appendRow(item);
        RCSceneItemViewLayer layer;
        QQmlEngine::setContextForObject(&layer, engine.rootContext());
        layer.setModel(&model);
        QQuickItem* view = layer.itemAt(0)->item();
        QVERIFY(view);
        QCOMPARE(view->property("seen").toList(), face);
        images.resolution = 2;
        item->setData(
            QVariantMap{{"mImageManager", QVariant::fromValue<QObject*>(&images)}, {"mImageResolution", 1}},
            Properties);
        QCOMPARE(view->property("mIconUrl").toString(), resolvedAgain);
    }
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
