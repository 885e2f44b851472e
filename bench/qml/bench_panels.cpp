// Fill times of the two list panels against bare Qt Quick doing the same amount of work:
// the control list with the catalogue's 68 tiles against 68 plain tiles (icon and name) made the
// same way, and the scene strip over a project of 200 scenes against a bare list view of 200 rows.
// Each run creates the panel in a window and draws the window once (laid out and painted, as the
// user first sees it). The property panel is measured as the designer meets it: the focus moves
// between two items of the kind with the most properties and the panel rebuilds its rows, against
// bare rows (name, text input) made for the same properties; and over 1,000 focus changes the
// objects below the panel must not grow ("object_growth", both counts taken once the panel has
// filled and the count holds); a change of one property of the item it shows is timed against the
// same change with no panel. Every panel benchmark reports its time
// as a ratio to its baseline ("x_baseline"). Run in a Release build, inside a private network
// namespace (the project root starts the control link's discovery), on the offscreen platform:
//
//     unshare -rn scripts/netns-run.sh build/release-bench/bench/qml/bench_panels

#include "QmlBenchSupport.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCControlManager.h"
#include "tests/support/ObjectsBelow.h"

#include <QElapsedTimer>
#include <QImage>

namespace {

constexpr int kScenes = 200;
constexpr int kFocusChanges = 1000;

RatioReport g_ratios;
// The two items between which the property panel's focus moves.
QStringList g_itemIds;
QString g_sceneId;

const QByteArray kBareTiles = inMainWindow("", R"(
    Component { id: tile
        Item { property string name; property string icon; width: 44.4; height: 25
            Image { width: parent.width; height: 25; source: parent.icon; fillMode: Image.PreserveAspectFit }
            Text { y: 28; width: parent.width + 30; text: parent.name; color: "white"; wrapMode: Text.Wrap }
            MouseArea { anchors.fill: parent } } }
    Flickable { width: 300; height: 700; contentHeight: grid.height
        Grid { id: grid; columns: 3; spacing: 35 } }
    Component.onCompleted: {
        var controls = project.getControlManager()
        for (var n = 0; n < 68; ++n) {
            var control = controls.getControl(n % controls.getControlCout())
            tile.createObject(grid, {"name": control.getName(), "icon": control.getIconPath()})
        }
    })");

const QByteArray kControlPanel =
    inMainWindow("import \"qrc:/qml/controlListPanel\"",
                 "RCControlPanel { width: 300; height: 700; mControlManager: project.getControlManager() }");

const QByteArray kBareSceneList = inMainWindow("", R"(
    ListModel { id: rows }
    ListView { width: 954; height: 110; orientation: ListView.Horizontal; spacing: 1; model: rows
        ScrollBar.horizontal: ScrollBar {}
        delegate: Rectangle { width: 256; height: 110; color: "#1a1a1d"
            Text { anchors.centerIn: parent; text: model.name; color: "#FA5611" } } }
    Component.onCompleted: {
        var scenes = project.getScenePresenter()
        var ids = scenes.getSceneIds()
        for (var i = 0; i < ids.length; ++i)
            rows.append({"id": ids[i], "name": String(scenes.getPropertyValue(ids[i], "Name"))})
    })");

const QByteArray kSceneListPanel = inMainWindow(
    "import \"qrc:/qml/sceneListPanel\"", "RCSceneListPanel { width: 1024; height: 110; mProject: project; "
                                          "mScenePresenter: project.getScenePresenter() }");

// Bare rows for the properties of the focused item, rebuilt by step(): a name and a text input each.
const QByteArray kBareRows = inMainWindow("", R"(
    property var items: project.getSceneItemPresenter()
    property int turn: 0
    Component { id: row
        Item { property string name; property string value; width: 400; height: 36
            Rectangle { width: 140; height: 36; color: "#1a1a1c"
                Text { x: 10; anchors.verticalCenter: parent.verticalCenter; text: parent.parent.name; color: "white" } }
            Rectangle { x: 141; width: 259; height: 36; color: "#1a1a1c"
                TextInput { anchors.fill: parent; text: parent.parent.value; color: "white" } } } }
    Flickable { width: 400; height: 700; contentHeight: column.height
        Column { id: column; width: 400; spacing: 1 } }
    function step(sceneId, itemIds) {
        for (var c = column.children.length - 1; c >= 0; --c) {
            var old = column.children[c]; old.parent = null; old.destroy() }
        var itemId = itemIds[turn++ % itemIds.length]
        for (var i = 0; i < items.getPropertyCount(sceneId, itemId); ++i) {
            if (!items.getPropertyVisible(sceneId, itemId, i)) continue
            var name = items.getPropertyName(sceneId, itemId, i)
            row.createObject(column, {"name": items.getPropertyDescription(sceneId, itemId, name),
                                      "value": String(items.getPropertyValue(sceneId, itemId, name))})
        }
    })");

// The property panel; step() moves the focus to the next item, which rebuilds the rows.
const QByteArray kPropertyPanel = inMainWindow("import \"qrc:/qml/propertyPanel\"", R"(
    property var items: project.getSceneItemPresenter()
    property int turn: 0
    RCPropertyPanel { width: 400; height: 740; mPlatform: project.getPlatform()
        mScenePresenter: project.getScenePresenter(); mSceneItemPresenter: project.getSceneItemPresenter() }
    function step(sceneId, itemIds) {
        items.setPropertyValue(sceneId, itemIds[turn++ % itemIds.length], "Focus", true, false)
    })");

// Nothing that follows the items: what a property change costs without a panel.
const QByteArray kNoPanel = inMainWindow("", "function step(sceneId, itemIds) {}");

// Creates the QML in the window, draws the window, destroys the QML; answers nanoseconds.
double createOnce(QQmlComponent& component, benchmark::State& state)
{
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QObject> object(component.create());
    auto* item = qobject_cast<QQuickItem*>(object.get());
    if (!item) {
        state.SkipWithError(qPrintable(component.errorString()));
        return 0;
    }
    item->setParentItem(qmlBench().window->contentItem());
    benchmark::DoNotOptimize(qmlBench().window->grabWindow());
    const double elapsed = double(timer.nsecsElapsed());
    object.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return elapsed;
}

void run(benchmark::State& state, const QByteArray& qml, bool baseline)
{
    QQmlComponent component(qmlBench().engine);
    component.setData(qml, QUrl(QStringLiteral("qrc:/bench/panels.qml")));
    double total = 0;
    int64_t count = 0;
    for (auto _ : state) {
        total += createOnce(component, state);
        ++count;
    }
    g_ratios.report(state, total, count, baseline);
}

void BM_BareTiles68(benchmark::State& state)
{
    run(state, kBareTiles, true);
}
BENCHMARK(BM_BareTiles68)->Unit(benchmark::kMillisecond);
void BM_ControlPanelFill68(benchmark::State& state)
{
    run(state, kControlPanel, false);
}
BENCHMARK(BM_ControlPanelFill68)->Unit(benchmark::kMillisecond);

void BM_BareSceneList200(benchmark::State& state)
{
    run(state, kBareSceneList, true);
}
BENCHMARK(BM_BareSceneList200)->Unit(benchmark::kMillisecond);
void BM_SceneListFill200(benchmark::State& state)
{
    run(state, kSceneListPanel, false);
}
BENCHMARK(BM_SceneListFill200)->Unit(benchmark::kMillisecond);

// A QML object with a step() (one focus change or its bare counterpart) placed in the window for
// the life of the stepper.
class Stepper : public QmlObject
{
public:
    using QmlObject::QmlObject;
    // The objects below the stepper's object once the panel has filled: the window drawn and the
    // events run (what was dropped deleted) until the count holds for three rounds in a row.
    double filledObjectCount() const
    {
        int count = -1;
        for (int round = 0, steady = 0; round < 100 && steady < 3; ++round) {
            benchmark::DoNotOptimize(qmlBench().window->grabWindow());
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            const int now = objectsBelow(object());
            steady = now == count ? steady + 1 : 0;
            count = now;
        }
        return double(count);
    }
    // One step; what it dropped is deleted afterwards, as the event loop would.
    void step()
    {
        QMetaObject::invokeMethod(object(), "step", Q_ARG(QVariant, g_sceneId),
                                  Q_ARG(QVariant, QVariant::fromValue(g_itemIds)));
    }
};

// Takes the focus off both items, so that the first step of a stepper focuses one of them
// whichever the benchmark before ended on.
void clearFocus()
{
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    for (const QString& itemId : std::as_const(g_itemIds))
        items->setPropertyValue(g_sceneId, itemId, QStringLiteral("Focus"), false, false);
}

// One rebuild per iteration: step() and a drawn window.
void runRebuild(benchmark::State& state, const QByteArray& qml, bool baseline)
{
    clearFocus();
    Stepper stepper(qml, state);
    if (!stepper.isValid())
        return;
    double total = 0;
    int64_t count = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        stepper.step();
        benchmark::DoNotOptimize(qmlBench().window->grabWindow());
        total += double(timer.nsecsElapsed());
        ++count;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    g_ratios.report(state, total, count, baseline);
}

void BM_BareRowsRebuild(benchmark::State& state)
{
    runRebuild(state, kBareRows, true);
}
BENCHMARK(BM_BareRowsRebuild)->Unit(benchmark::kMillisecond);
void BM_PropertyPanelRebuild(benchmark::State& state)
{
    runRebuild(state, kPropertyPanel, false);
}
BENCHMARK(BM_PropertyPanelRebuild)->Unit(benchmark::kMillisecond);

// One change of a property of the item the panel shows (its "X", as a drag step writes it) per
// iteration; the baseline makes the same changes with no panel.
void runValueChanges(benchmark::State& state, const QByteArray& qml, bool baseline)
{
    clearFocus();
    Stepper stepper(qml, state);
    if (!stepper.isValid())
        return;
    stepper.step();
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    int x = 0;
    timeRuns(state, g_ratios, baseline, [&] {
        items->setPropertyValue(g_sceneId, g_itemIds.constFirst(), QStringLiteral("X"), ++x % 500, false);
    });
}

void BM_NoPanelValueChange(benchmark::State& state)
{
    runValueChanges(state, kNoPanel, true);
}
BENCHMARK(BM_NoPanelValueChange)->Unit(benchmark::kMicrosecond);
void BM_PropertyPanelValueChange(benchmark::State& state)
{
    runValueChanges(state, kPropertyPanel, false);
}
BENCHMARK(BM_PropertyPanelValueChange)->Unit(benchmark::kMicrosecond);

// kFocusChanges focus changes, the window drawn now and then; the objects below the panel before
// and after.
void BM_PropertyPanelFocusChurn(benchmark::State& state)
{
    clearFocus();
    Stepper stepper(kPropertyPanel, state);
    if (!stepper.isValid())
        return;
    for (auto _ : state) {
        stepper.step();
        const double before = stepper.filledObjectCount();
        for (int i = 0; i < kFocusChanges; ++i) {
            stepper.step();
            if (i % 50 == 0)
                benchmark::DoNotOptimize(qmlBench().window->grabWindow());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        // An even number of steps ends on the item the count began with.
        state.counters["objects_before"] = before;
        state.counters["object_growth"] = stepper.filledObjectCount() - before;
    }
}
BENCHMARK(BM_PropertyPanelFocusChurn)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runQmlBenchmarks(argc, argv, [](RCProject* project) {
        RCScenePresenter* scenes = RCScenePresenter::instance();
        for (int i = 1; i <= kScenes; ++i)
            scenes->addScene(QStringLiteral("场景%1").arg(i), QString(), QString(), false);
        // Two program managers, the kind with the most properties, in the selected scene.
        g_sceneId = scenes->getSceneId(0);
        scenes->setSelectScene(g_sceneId);
        const QJsonObject programManager = project->getControlManager()
                                               ->getControlByType(IRCControl::EIRCControlType_ProgramManager)
                                               ->getInstantiationParam()
                                               ->toJson();
        for (int i = 0; i < 2; ++i)
            g_itemIds << RCSceneItemPresenter::instance()->addItem(g_sceneId, programManager, false);
    });
}
