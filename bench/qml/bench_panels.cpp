// Fill times of the two list panels against bare Qt Quick doing the same amount of work:
// the control list with the catalogue's 68 tiles against 68 plain tiles (icon and name) made the
// same way, and the scene strip over a project of 200 scenes against a bare list view of 200 rows.
// Each run creates the panel in a window and draws the window once (laid out and painted, as the
// user first sees it). Every panel benchmark reports its time as a ratio to its baseline
// ("x_baseline"). Run in a Release build, inside a private network namespace (the project root
// starts the control link's discovery), on the offscreen platform:
//
//     unshare -rn scripts/netns-run.sh build/release-bench/bench/qml/bench_panels

#include "BenchSupport.h"
#include "ProjectBenchSupport.h"
#include "editing/RCScenePresenter.h"
#include "project/CursorPosProvider.h"
#include "project/RCProject.h"
#include "project/RCStartUp.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kScenes = 200;

QQmlEngine* g_engine = nullptr;
QQuickWindow* g_window = nullptr;
double g_baselineNs = 0;

// QML that gives the panel what the main window gives it: `mainWindow` and `dp`.
QByteArray inWindow(const QByteArray& import, const QByteArray& body)
{
    return "import QtQuick\nimport QtQuick.Controls.Basic\n" + import +
           "\nItem { id: mainWindow; readonly property real dp: 1; width: 1024; height: 768\n" + body +
           "\n}\n";
}

const QByteArray kBareTiles = inWindow("", R"(
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
    inWindow("import \"qrc:/qml/controlListPanel\"",
             "RCControlPanel { width: 300; height: 700; mControlManager: project.getControlManager() }");

const QByteArray kBareSceneList = inWindow("", R"(
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

const QByteArray kSceneListPanel = inWindow("import \"qrc:/qml/sceneListPanel\"",
                                            "RCSceneListPanel { width: 1024; height: 110; mProject: project; "
                                            "mScenePresenter: project.getScenePresenter() }");

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
    item->setParentItem(g_window->contentItem());
    benchmark::DoNotOptimize(g_window->grabWindow());
    const double elapsed = double(timer.nsecsElapsed());
    object.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return elapsed;
}

void run(benchmark::State& state, const QByteArray& qml, bool baseline)
{
    QQmlComponent component(g_engine);
    component.setData(qml, QUrl(QStringLiteral("qrc:/bench/panels.qml")));
    double total = 0;
    int64_t count = 0;
    for (auto _ : state) {
        total += createOnce(component, state);
        ++count;
    }
    const double perRun = count ? total / double(count) : 0;
    if (baseline)
        g_baselineNs = perRun;
    else if (g_baselineNs > 0)
        state.counters["x_baseline"] = perRun / g_baselineNs;
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

void quiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!enterIsolatedHome(home))
        return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(quiet);

    QQmlEngine engine;
    CursorPosProvider cursor;
    std::unique_ptr<RCProject> project(RCStartUp::createProject(&engine, {QStringLiteral("Tavix")}));
    RCStartUp::publishRootContext(&engine, project.get(), &cursor);
    RCScenePresenter* scenes = RCScenePresenter::instance();
    for (int i = 1; i <= kScenes; ++i)
        scenes->addScene(QStringLiteral("场景%1").arg(i), QString(), QString(), false);
    QQuickWindow window;
    window.resize(1280, 800);
    window.show();
    g_engine = &engine;
    g_window = &window;

    return runRegisteredBenchmarks(argc, argv);
}
