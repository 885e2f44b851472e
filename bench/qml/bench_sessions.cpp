// The scene canvas in the real main window, in the states a working session passes through, each
// figure against a twin measured in the same run ("x_baseline"):
// - "fresh": edit mode, only the edit layout made;
// - "saved": edit mode after a save drew its thumbnail (which makes the control layout);
// - "control": control mode after edit mode (the edit layout made and hidden); a drag, which
//   control mode does not have, is measured back in edit mode after the visit.
// Figures, each with the whole window drawn: a switch between two scenes of 300 buttons, against
// the same window (fresh, showing an empty scene) replacing 300 plain items (icon, caption, mouse
// area) laid over its canvas, each timed until the window's render loop has shown the frame after
// it, ten switches a run, each switch's wall-clock and main-thread CPU time divided by the twin's
// median ("switch_min_x", "switch_median_x", "switch_max_x"; "switch_cpu_..." alike), so that a slow
// switch among fast ones shows; a drag step of 200 selected buttons, against that window moving
// 200 plain items (the drag's frame rate is 1 / "x_baseline" of the twin's); "setProgramTable"
// of 200 programs x 50 layers replacing a table of the same size or of one program more
// ("resize"), with the program table view showing, against the same commands while the window
// shows a scene without the view. Each benchmark makes its own main window.
// Run in a Release build, inside a private network namespace (the project root starts the control
// link's discovery), with the software renderer:
//
//     QT_QUICK_BACKEND=software unshare -rn scripts/netns-run.sh build/release-bench/bench/qml/bench_sessions

#include "QmlBenchSupport.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "mirror/RCCmdProcesser_UpdateProgramTable.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/RCKeys.h"
#include "root/RCStartUp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>

namespace {

constexpr int kSwitchItems = 300;
constexpr int kSwitches = 10;
// A switch's frame is waited for this long at most; the event loop runs this long after it.
constexpr int kFrameTimeoutMs = 5000;
constexpr int kSettleMs = 100;
constexpr int kDragItems = 200;
constexpr int kPrograms = 200;
constexpr int kLayers = 50;
constexpr int kNodeSpan = 5;

enum State
{
    Fresh,
    Saved,
    Control
};

QQmlEngine* g_engine = nullptr;
RCProject* g_project = nullptr;
QString g_folder;
RatioReport g_switchRatios;
RatioReport g_dragRatios;
RatioReport g_tableRatios[2];

RCScenePresenter* scenes()
{
    return RCScenePresenter::instance();
}
RCSceneItemPresenter* items()
{
    return RCSceneItemPresenter::instance();
}

QJsonObject controlJson(int kind)
{
    return g_project->getControlManager()
        ->getControlByType(IRCControl::EIRCControlType(kind))
        ->getInstantiationParam()
        ->toJson();
}

// The main window with its content shown, brought into state; null (the benchmark skipped) when
// it cannot be made. backToEdit: in the control state, return to edit mode after the visit.
std::unique_ptr<QQuickWindow> openWindow(benchmark::State& bench, State state, bool backToEdit = false)
{
    g_project->setAppModel(IRCProject::EAppModel_Edit);
    QQmlComponent component(g_engine, QUrl(QStringLiteral("qrc:/qml/main/RCMainWindow.qml")));
    std::unique_ptr<QQuickWindow> window(
        qobject_cast<QQuickWindow*>(component.createWithInitialProperties(RCStartUp::mainWindowInputs(g_engine))));
    if (!window) {
        bench.SkipWithError(qPrintable(component.errorString()));
        return nullptr;
    }
    window->setProperty("mCurrentPanelName", QStringLiteral("contentPanel"));
    runEventLoop(50);
    if (state == Saved) {
        const QString path = g_folder + QStringLiteral("/thumbnail.png");
        QFile::remove(path);
        QMetaObject::invokeMethod(window.get(), "grabImage", Q_ARG(QVariant, path));
        for (int i = 0; i < 100 && !QFileInfo::exists(path); ++i)
            runEventLoop(20);
        if (!QFileInfo::exists(path)) {
            bench.SkipWithError("no thumbnail was drawn");
            return nullptr;
        }
    } else if (state == Control) {
        g_project->setAppModel(IRCProject::EAppModel_Control);
        runEventLoop(50);
        if (backToEdit) {
            g_project->setAppModel(IRCProject::EAppModel_Edit);
            runEventLoop(50);
        }
    }
    return window;
}

// The scene panel of the layout shown.
QObject* shownPanel(QQuickWindow* window)
{
    const bool edit = g_project->getAppModel() == IRCProject::EAppModel_Edit;
    return window->findChild<QObject*>(edit ? QStringLiteral("editScenePanel") : QStringLiteral("controlScenePanel"));
}

// Times fn, the deletions it left behind and the drawn window once per iteration.
template <typename Fn>
void timeDrawn(benchmark::State& state, QQuickWindow* window, RatioReport& ratios, bool baseline, Fn fn)
{
    timeRuns(state, ratios, baseline, [&] {
        fn();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        benchmark::DoNotOptimize(window->grabWindow());
    });
}

const char* kStateNames[] = {"fresh", "saved", "control"};

// The calling thread's CPU time in ns.
double threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}

// The time of every run of a benchmark, wall clock and main-thread CPU: the twin's medians, and a
// run's least, median and greatest run divided by them (the twin's own spread too).
class SpreadReport
{
public:
    void add(double wallNs, double cpuNs)
    {
        m_wall.push_back(wallNs);
        m_cpu.push_back(cpuNs);
    }
    void report(benchmark::State& state, bool twin)
    {
        if (twin) {
            m_twinWall = median(m_wall);
            m_twinCpu = median(m_cpu);
        }
        if (m_twinWall > 0 && m_twinCpu > 0 && !m_wall.empty()) {
            put(state, "switch_", m_wall, m_twinWall);
            put(state, "switch_cpu_", m_cpu, m_twinCpu);
        }
        m_wall.clear();
        m_cpu.clear();
    }

private:
    static double median(std::vector<double> times)
    {
        if (times.empty())
            return 0;
        std::sort(times.begin(), times.end());
        const size_t n = times.size();
        return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    }
    static void put(benchmark::State& state, const std::string& prefix, const std::vector<double>& times, double twin)
    {
        state.counters[prefix + "min_x"] = *std::min_element(times.begin(), times.end()) / twin;
        state.counters[prefix + "median_x"] = median(times) / twin;
        state.counters[prefix + "max_x"] = *std::max_element(times.begin(), times.end()) / twin;
    }

    std::vector<double> m_wall;
    std::vector<double> m_cpu;
    double m_twinWall = 0;
    double m_twinCpu = 0;
};

SpreadReport g_switchSpread;

// Times fn once per iteration until the window has shown the frame after it, drawn by its own
// render loop as a user sees it (manual time); what the event loop does after that frame runs
// untimed before the next iteration. Each run's time is kept in g_switchSpread.
template <typename Fn> void timeSwitches(benchmark::State& state, QQuickWindow* window, bool twin, Fn fn)
{
    double total = 0;
    int64_t count = 0;
    for (auto _ : state) {
        QEventLoop frame;
        const QMetaObject::Connection shown =
            QObject::connect(window, &QQuickWindow::frameSwapped, &frame, &QEventLoop::quit);
        QTimer::singleShot(kFrameTimeoutMs, &frame, [&frame] { frame.exit(1); });
        QElapsedTimer wall;
        const double cpu = threadCpuNs();
        wall.start();
        fn();
        window->update();
        const int missed = frame.exec();
        const double ns = double(wall.nsecsElapsed());
        const double cpuNs = threadCpuNs() - cpu;
        QObject::disconnect(shown);
        if (missed) {
            state.SkipWithError("the window drew no frame");
            break;
        }
        state.SetIterationTime(ns / 1e9);
        total += ns;
        ++count;
        g_switchSpread.add(ns, cpuNs);
        runEventLoop(kSettleMs);
    }
    g_switchRatios.report(state, total, count, twin);
    g_switchSpread.report(state, twin);
}

// Plain items laid over the canvas of a window: step(n) replaces them by n new ones (icon,
// caption, mouse area), move(dx) moves them.
const QByteArray kBareLayer = R"(
import QtQuick
Item { id: layer; width: 700; height: 500; clip: true
    Component { id: tile
        Item { width: 36; height: 26
            Image { anchors.fill: parent; source: "qrc:/control/stop.png" }
            Text { anchors.top: parent.bottom; text: "停止所有节目"; color: "white" }
            MouseArea { anchors.fill: parent } } }
    function step(n) {
        for (var c = layer.children.length - 1; c >= 0; --c) {
            var old = layer.children[c]; old.parent = null; old.destroy() }
        for (var i = 0; i < n; ++i)
            tile.createObject(layer, {"x": 40 * (i % 20), "y": 30 * Math.floor(i / 20)})
    }
    function move(dx) {
        for (var c = 0; c < layer.children.length; ++c) {
            var t = layer.children[c]; t.x += dx; t.y += dx }
    } })";

// The twin's window: the main window, fresh, showing an empty scene, with a layer of plain items
// over its canvas (deleted with the window).
struct BareWindow
{
    QString sceneId;
    std::unique_ptr<QQuickWindow> window;
    QQuickItem* layer = nullptr;

    explicit BareWindow(benchmark::State& state)
    {
        sceneId = scenes()->addScene(QStringLiteral("bare"), QString(), QString(), false);
        scenes()->setSelectScene(sceneId);
        window = openWindow(state, Fresh);
        auto* panel = window ? qobject_cast<QQuickItem*>(shownPanel(window.get())) : nullptr;
        if (!panel)
            return;
        QQmlComponent component(g_engine);
        component.setData(kBareLayer, QUrl(QStringLiteral("qrc:/bench/bareLayer.qml")));
        layer = qobject_cast<QQuickItem*>(component.create());
        if (!layer) {
            state.SkipWithError(qPrintable(component.errorString()));
            return;
        }
        layer->setParent(window->contentItem());
        layer->setParentItem(window->contentItem());
        layer->setPosition(panel->mapToScene(QPointF(20, 20)));
    }
    ~BareWindow()
    {
        window.reset();
        scenes()->removeScene(sceneId, false);
    }
};

void BM_BareSwitch300(benchmark::State& state)
{
    BareWindow bare(state);
    if (bare.layer)
        timeSwitches(state, bare.window.get(), true,
                     [&] { QMetaObject::invokeMethod(bare.layer, "step", Q_ARG(QVariant, kSwitchItems)); });
}
BENCHMARK(BM_BareSwitch300)->Iterations(kSwitches)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SessionSwitch300(benchmark::State& state)
{
    state.SetLabel(kStateNames[state.range(0)]);
    const QString a = addButtonScene(g_project, QStringLiteral("A"), kSwitchItems);
    const QString b = addButtonScene(g_project, QStringLiteral("B"), kSwitchItems);
    scenes()->setSelectScene(a);
    std::unique_ptr<QQuickWindow> window = openWindow(state, State(state.range(0)));
    bool toA = false;
    if (window)
        timeSwitches(state, window.get(), false, [&] {
            scenes()->setSelectScene(toA ? a : b);
            toA = !toA;
        });
    window.reset();
    scenes()->removeScene(a, false);
    scenes()->removeScene(b, false);
}
BENCHMARK(BM_SessionSwitch300)
    ->DenseRange(Fresh, Control)
    ->Iterations(kSwitches)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_BareDragFrame200(benchmark::State& state)
{
    BareWindow bare(state);
    if (!bare.layer)
        return;
    QMetaObject::invokeMethod(bare.layer, "step", Q_ARG(QVariant, kDragItems));
    int step = 0;
    timeRuns(state, g_dragRatios, true, [&] {
        QMetaObject::invokeMethod(bare.layer, "move", Q_ARG(QVariant, (++step % 2) ? 10 : -10));
        benchmark::DoNotOptimize(bare.window->grabWindow());
    });
}
BENCHMARK(BM_BareDragFrame200)->Unit(benchmark::kMicrosecond);

void BM_SessionDragFrame200(benchmark::State& state)
{
    state.SetLabel(kStateNames[state.range(0)]);
    const QString sceneId = addButtonScene(g_project, QStringLiteral("drag"), kDragItems, {{RCKeys::Select(), true}});
    scenes()->setSelectScene(sceneId);
    std::unique_ptr<QQuickWindow> window = openWindow(state, State(state.range(0)), true);
    QObject* panel = window ? shownPanel(window.get()) : nullptr;
    QObject* editLayer = panel ? panel->findChild<QObject*>(QStringLiteral("sceneEditLayer")) : nullptr;
    if (window && !editLayer)
        state.SkipWithError("no edit layer shown");
    if (editLayer) {
        QMetaObject::invokeMethod(editLayer, "updateFrame");
        QMetaObject::invokeMethod(editLayer, "beginDrag");
        const QPointF origin(0, 0);
        int step = 0;
        timeRuns(state, g_dragRatios, false, [&] {
            const int dx = (++step % 2) * 10;
            QMetaObject::invokeMethod(editLayer, "moveSelection", Q_ARG(QVariant, QPointF(dx, dx)),
                                      Q_ARG(QVariant, origin));
            benchmark::DoNotOptimize(window->grabWindow());
        });
        QMetaObject::invokeMethod(editLayer, "releasePress");
    }
    window.reset();
    scenes()->removeScene(sceneId, false);
}
BENCHMARK(BM_SessionDragFrame200)->DenseRange(Fresh, Control)->Unit(benchmark::kMicrosecond);

// range(0): the state, -1 for the twin (a fresh window showing a scene without the view);
// range(1): 0 same-size replaces, 1 replaces that add or remove a program.
void BM_SessionTable(benchmark::State& state)
{
    const bool twin = state.range(0) < 0;
    const int resize = int(state.range(1));
    state.SetLabel(std::string(twin ? "without view" : kStateNames[state.range(0)]) + (resize ? ", resize" : ", same size"));
    const QJsonObject tables[] = {programTable(QStringLiteral("a"), kPrograms, kLayers, kNodeSpan),
                                  programTable(QStringLiteral("b"), kPrograms + resize, kLayers, kNodeSpan)};
    RCCmdProcesser_UpdateProgramTable processor;
    const QString sceneId = scenes()->addScene(QStringLiteral("table"), QString(), QString(), false);
    scenes()->setPropertyValue(sceneId, RCKeys::Width(), 1920, false);
    scenes()->setPropertyValue(sceneId, RCKeys::Height(), 1080, false);
    if (!twin) {
        const QString id = items()->addItem(sceneId, controlJson(IRCControl::EIRCControlType_ProgramTable), false);
        items()->setPos(sceneId, id, QPoint(10, 10), false);
        items()->setSize(sceneId, id, QSize(1180, 740), false);
    }
    scenes()->setSelectScene(sceneId);
    std::unique_ptr<QQuickWindow> window = openWindow(state, twin ? Fresh : State(state.range(0)));
    processor.process(tables[1], g_project);
    // Shown before the first replace: what the view costs to make is not a replace's.
    if (window)
        benchmark::DoNotOptimize(window->grabWindow());
    int next = 0;
    if (window)
        timeDrawn(state, window.get(), g_tableRatios[resize], twin,
                  [&] { processor.process(tables[next++ % 2], g_project); });
    processor.process(QJsonObject(), g_project);
    window.reset();
    scenes()->removeScene(sceneId, false);
}
BENCHMARK(BM_SessionTable)
    ->ArgsProduct({{-1, Fresh, Saved, Control}, {0, 1}})
    ->Iterations(4)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!enterIsolatedOffscreenHome(home))
        return 2;
    QApplication app(argc, argv);
    quietBenchMessages();

    QmlBenchProject bench;
    bench.project->initDefaultScene();
    g_engine = &bench.engine;
    g_project = bench.project.get();
    g_folder = home.path();
    return runRegisteredBenchmarks(argc, argv);
}
