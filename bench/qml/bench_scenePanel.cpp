// The scene canvas against what it cannot do without, each reported as a ratio ("x_baseline"):
// - showing a scene of 300 buttons (the panel switching scenes, the old views deleted, the window
//   drawn) against bare Qt Quick replacing 300 plain items (icon, caption, mouse area);
// - one drag step of N selected items (N = 25 ... 200) in the panel against the same N moves
//   through the item presenter while no view shows them; "us_per_item" across N shows whether a
//   step stays linear;
// - the same drag step with the window drawn after it (a frame of the drag) against bare Qt Quick
//   moving N plain items and drawing the window; the drag's frame rate is 1 / "x_baseline" of the
//   bare twin's;
// - select all then deselect all of 1,000 and of 8,000 shown buttons through the presenter, the
//   canvas following every change (its frame included); the figure is the 8,000 case against the
//   1,000 one ("x_baseline", 8 when the cost per item stays the same);
// - one step of a rubber band over 1,000 and 8,000 shown buttons (the band's corner moves by about
//   a button, the selection follows, the window is drawn) against bare Qt Quick resizing a band
//   over as many plain items and drawing the window; "fps" is the band's frame rate;
// - a rubber band around all of 1,000 and of 8,000 shown buttons, released and drawn, then a press
//   on the empty canvas that clears it, drawn: the figure is the 8,000 case against the 1,000 one;
// - the CPU time an idle window takes with 100 buttons that check their icons' transparent pixels,
//   against 100 buttons that do not ("cpu_ms_per_s").
// Run in a Release build, inside a private network namespace (the project root starts the control
// link's discovery), on the offscreen platform:
//
//     unshare -rn scripts/netns-run.sh build/release-bench/bench/qml/bench_scenePanel

#include "QmlBenchSupport.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

namespace {

constexpr int kSwitchItems = 300;
constexpr int kIdleButtons = 100;
constexpr int kIdleMs = 2000;

RatioReport g_ratios;
RatioReport g_frameRatios;

RCScenePresenter* scenes()
{
    return RCScenePresenter::instance();
}
RCSceneItemPresenter* items()
{
    return RCSceneItemPresenter::instance();
}

const QByteArray kPanel = inMainWindow("import \"qrc:/qml/scenePanel\"", R"(
    RCScenePanel { id: panel; objectName: "panel"; width: 1200; height: 760
        mScenePresenter: project.getScenePresenter(); mSceneItemPresenter: project.getSceneItemPresenter()
        mWindow: mainWindow; mProject: project; mStelvaneSyncer: stelvaneSyncer; mImageManager: getImageManager
        mInterface: getRCInterface; mCloudClient: tavixProjectCloudClient })");

// n plain items, each an icon, a caption and an input area, in rows of 20: what a twin shows in
// place of as many buttons.
QByteArray plainItemsQml(int n)
{
    return QByteArray(R"(
        Repeater { model: %1
            Item { required property int index; x: 40 * (index % 20); y: 30 * Math.floor(index / 20)
                width: 36; height: 26
                Image { anchors.fill: parent; source: "qrc:/control/stop.png" }
                Text { anchors.top: parent.bottom; text: "停止所有节目"; color: "white" }
                MouseArea { anchors.fill: parent } } })").replace("%1", QByteArray::number(n));
}

// Moves its n plain items (as many as the drag moves, in the same rows) by dx at each move(dx).
QByteArray bareDragQml(int n)
{
    return inMainWindow("", QByteArray(R"(
    Item { id: layer; objectName: "layer"; width: 1200; height: 760; clip: true
        Rectangle { anchors.fill: parent; color: "black" }
        %1 }
    function move(dx) {
        for (var c = 1; c < layer.children.length; ++c) {
            var tile = layer.children[c]
            if (tile.index !== undefined) { tile.x += dx; tile.y += dx } }
    })").replace("%1", plainItemsQml(n)));
}

// Replaces its 300 plain items by 300 new ones at each step().
const QByteArray kBareItems = inMainWindow("", R"(
    Item { id: layer; objectName: "layer"; width: 1200; height: 760; clip: true
        Rectangle { anchors.fill: parent; color: "black" } }
    Component { id: tile
        Item { width: 36; height: 26
            Image { anchors.fill: parent; source: "qrc:/control/stop.png" }
            Text { anchors.top: parent.bottom; text: "停止所有节目"; color: "white" }
            MouseArea { anchors.fill: parent } } }
    function step() {
        for (var c = layer.children.length - 1; c > 0; --c) {
            var old = layer.children[c]; old.parent = null; old.destroy() }
        for (var i = 0; i < 300; ++i)
            tile.createObject(layer, {"x": 40 * (i % 20), "y": 30 * Math.floor(i / 20)})
    })");

void BM_BareItems300(benchmark::State& state)
{
    QmlObject host(kBareItems, state);
    if (host.isValid())
        timeDrawn(state, g_ratios, true, [&] { QMetaObject::invokeMethod(host.object(), "step"); });
}
BENCHMARK(BM_BareItems300)->Unit(benchmark::kMillisecond);

void BM_SceneSwitch300(benchmark::State& state)
{
    const QString a = addButtonScene(qmlBench().project, QStringLiteral("A"), kSwitchItems);
    const QString b = addButtonScene(qmlBench().project, QStringLiteral("B"), kSwitchItems);
    QmlObject host(kPanel, state);
    bool toA = true;
    if (host.isValid())
        timeDrawn(state, g_ratios, false, [&] {
            scenes()->setSelectScene(toA ? a : b);
            toA = !toA;
        });
    scenes()->removeScene(a, false);
    scenes()->removeScene(b, false);
}
BENCHMARK(BM_SceneSwitch300)->Unit(benchmark::kMillisecond);

// One drag step of n selected items per iteration, moving them there and back; drawn: the window
// is drawn after each step.
void runDrag(benchmark::State& state, bool throughPanel, bool drawn = false)
{
    const int n = int(state.range(0));
    const QString sceneId = addButtonScene(qmlBench().project, QStringLiteral("drag"), n, {{QStringLiteral("Select"), true}});
    const QStringList ids = items()->getItemIds(sceneId);
    // The presenter alone: the panel shows no scene.
    QmlObject host(kPanel, state);
    scenes()->setSelectScene(throughPanel ? sceneId : QString());
    QObject* editLayer = host.find("sceneEditLayer");
    QMetaObject::invokeMethod(editLayer, "updateFrame");
    QMetaObject::invokeMethod(editLayer, "beginDrag");
    const QPointF origin(0, 0);
    double total = 0;
    int64_t count = 0;
    int step = 0;
    for (auto _ : state) {
        const int dx = (++step % 2) * 10;
        QElapsedTimer timer;
        timer.start();
        if (throughPanel) {
            QMetaObject::invokeMethod(editLayer, "moveSelection", Q_ARG(QVariant, QPointF(dx, dx)),
                                      Q_ARG(QVariant, origin));
        } else {
            for (int i = 0; i < n; ++i)
                items()->setPos(sceneId, ids.at(i), QPoint(40 * (i % 20) + dx, 30 * (i / 20) + dx), false);
        }
        if (drawn)
            benchmark::DoNotOptimize(qmlBench().window->grabWindow());
        total += double(timer.nsecsElapsed());
        ++count;
    }
    state.counters["us_per_item"] = count ? total / double(count) / n / 1000 : 0;
    if (!drawn)
        g_ratios.report(state, total, count, !throughPanel);
    else
        g_frameRatios.report(state, total, count, false);
    QMetaObject::invokeMethod(editLayer, "releasePress");
    scenes()->removeScene(sceneId, false);
}

void BM_PresenterMoves(benchmark::State& state)
{
    runDrag(state, false);
}
void BM_DragStep(benchmark::State& state)
{
    runDrag(state, true);
}
BENCHMARK(BM_PresenterMoves)->Arg(25)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragStep)->Arg(25)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PresenterMoves)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragStep)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PresenterMoves)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragStep)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PresenterMoves)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragStep)->Arg(200)->Unit(benchmark::kMicrosecond);

// The bare twin of a drawn drag step: n plain items moved from QML, the window drawn.
void BM_BareDragFrame(benchmark::State& state)
{
    QmlObject host(bareDragQml(int(state.range(0))), state);
    if (!host.isValid())
        return;
    double total = 0;
    int64_t count = 0;
    int step = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QMetaObject::invokeMethod(host.object(), "move", Q_ARG(QVariant, (++step % 2) ? 10 : -10));
        benchmark::DoNotOptimize(qmlBench().window->grabWindow());
        total += double(timer.nsecsElapsed());
        ++count;
    }
    g_frameRatios.report(state, total, count, true);
}
void BM_DragFrame(benchmark::State& state)
{
    runDrag(state, true, true);
}
BENCHMARK(BM_BareDragFrame)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragFrame)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareDragFrame)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragFrame)->Arg(200)->Unit(benchmark::kMicrosecond);

RatioReport g_selectRatios;

// Select all, then deselect all, of n shown items per iteration, each change through the presenter
// as a rubber band around everything makes it; the posted work (the frame) is done in the time.
void BM_CanvasSelectAll(benchmark::State& state)
{
    const int n = int(state.range(0));
    const QString sceneId = addButtonScene(qmlBench().project, QStringLiteral("select"), n);
    const QStringList ids = items()->getItemIds(sceneId);
    QmlObject host(kPanel, state);
    scenes()->setSelectScene(sceneId);
    QCoreApplication::sendPostedEvents();
    auto selectAll = [&](bool select) {
        for (const QString& id : ids)
            items()->setPropertyValue(sceneId, id, QStringLiteral("Select"), select, false);
        QCoreApplication::sendPostedEvents();
    };
    timeRuns(state, g_selectRatios, n == 1000, [&] {
        selectAll(true);
        selectAll(false);
    });
    scenes()->setSelectScene(QString());
    scenes()->removeScene(sceneId, false);
}
BENCHMARK(BM_CanvasSelectAll)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);

// Resizes a green band over n plain items (as many as the band's scene shows, in the same rows)
// at each band(w, h) and draws the window.
QByteArray bareBandQml(int n)
{
    return inMainWindow("", QByteArray(R"(
    Item { id: layer; objectName: "layer"; width: 1200; height: 760; clip: true
        Rectangle { anchors.fill: parent; color: "black" }
        %1
        Rectangle { id: rubber; x: 5; y: 5; color: "transparent"; border.color: "green"; border.width: 2 } }
    function band(w, h) { rubber.width = w; rubber.height = h }
    )").replace("%1", plainItemsQml(n)));
}

// The edit layer of a panel showing a scene of n buttons, and the canvas point of a scene point.
struct BandHost
{
    explicit BandHost(benchmark::State& state)
        : sceneId(addButtonScene(qmlBench().project, QStringLiteral("band"), int(state.range(0)))),
          host(kPanel, state)
    {
        scenes()->setSelectScene(sceneId);
        QCoreApplication::sendPostedEvents();
        editLayer = host.find("sceneEditLayer");
        panel = host.find("panel");
    }
    ~BandHost()
    {
        scenes()->setSelectScene(QString());
        scenes()->removeScene(sceneId, false);
    }
    QVariant at(double sceneX, double sceneY) const
    {
        const double divisor = panel->property("mScale").toDouble();
        return QPointF(panel->property("mRectX").toDouble() + sceneX / divisor,
                       panel->property("mRectY").toDouble() + sceneY / divisor);
    }
    void press(double sceneX, double sceneY) const
    {
        QMetaObject::invokeMethod(editLayer, "pressAt", Q_ARG(QVariant, at(sceneX, sceneY)),
                                  Q_ARG(QVariant, int(Qt::NoModifier)));
    }
    void stretch(double sceneX, double sceneY) const
    {
        QMetaObject::invokeMethod(editLayer, "stretchBand", Q_ARG(QVariant, at(sceneX, sceneY)));
    }
    void release() const { QMetaObject::invokeMethod(editLayer, "releasePress"); }

    QString sceneId;
    QmlObject host;
    QObject* editLayer = nullptr;
    QObject* panel = nullptr;
};

RatioReport g_bandRatios;

void BM_BareBandFrame(benchmark::State& state)
{
    QmlObject host(bareBandQml(int(state.range(0))), state);
    if (!host.isValid())
        return;
    int step = 0;
    timeRuns(state, g_bandRatios, true, [&] {
        const int size = (++step % 2) ? 400 : 440;
        QMetaObject::invokeMethod(host.object(), "band", Q_ARG(QVariant, size), Q_ARG(QVariant, size));
        benchmark::DoNotOptimize(qmlBench().window->grabWindow());
    });
}
// One step of a band drawn from the empty canvas at the top-left of the shown part of the scene:
// its far corner goes back and forth by about a button each way, so that a row and a column of
// buttons join or leave the selection; the window is drawn after each step.
void BM_BandFrame(benchmark::State& state)
{
    BandHost band(state);
    if (!band.host.isValid())
        return;
    band.press(358, 158);
    int step = 0;
    QElapsedTimer all;
    all.start();
    timeRuns(state, g_bandRatios, false, [&] {
        const double corner = (++step % 2) ? 700 : 745;
        band.stretch(corner, corner);
        QCoreApplication::sendPostedEvents();
        benchmark::DoNotOptimize(qmlBench().window->grabWindow());
    });
    state.counters["fps"] = step ? step * 1e9 / double(all.nsecsElapsed()) : 0;
    band.release();
}
// Fixed counts: each run makes its scene's views anew.
BENCHMARK(BM_BareBandFrame)->Arg(8000)->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BandFrame)->Arg(1000)->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BandFrame)->Arg(8000)->Iterations(40)->Unit(benchmark::kMillisecond);

RatioReport g_bandSelectRatios;

// A band from the empty canvas around every button, released and drawn; then a press on the empty
// canvas, which clears the selection, released and drawn.
void BM_BandSelectAll(benchmark::State& state)
{
    const int n = int(state.range(0));
    BandHost band(state);
    if (!band.host.isValid())
        return;
    auto settle = [] {
        QCoreApplication::sendPostedEvents();
        benchmark::DoNotOptimize(qmlBench().window->grabWindow());
    };
    timeRuns(state, g_bandSelectRatios, n == 1000, [&] {
        band.press(-10, -10);
        band.stretch(900, 30.0 * (n / 20) + 100);
        band.release();
        settle();
        band.press(-10, -10);
        band.release();
        settle();
    });
}
BENCHMARK(BM_BandSelectAll)->Arg(1000)->Arg(8000)->Iterations(8)->Unit(benchmark::kMillisecond);

double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// kIdleMs of an idle event loop per iteration with kIdleButtons buttons in control mode.
void runIdle(benchmark::State& state, bool clickAreaCheck)
{
    const QString sceneId =
        addButtonScene(qmlBench().project, QStringLiteral("idle"), kIdleButtons, {{QStringLiteral("ClickAreaCheck"), clickAreaCheck}});
    QmlObject host(kPanel, state);
    host.find("panel")->setProperty("mInEditState", false);
    scenes()->setSelectScene(sceneId);
    runEventLoop(500); // the icons load and are drawn
    double total = 0;
    int64_t count = 0;
    for (auto _ : state) {
        const double before = cpuMs();
        runEventLoop(kIdleMs);
        total += cpuMs() - before;
        ++count;
    }
    const double perSecond = count ? total / double(count) / (kIdleMs / 1000.0) : 0;
    state.counters["cpu_ms_per_s"] = perSecond;
    g_ratios.report(state, perSecond, 1, !clickAreaCheck);
    scenes()->removeScene(sceneId, false);
}

void BM_IdleButtons100(benchmark::State& state)
{
    runIdle(state, false);
}
BENCHMARK(BM_IdleButtons100)->Iterations(3)->Unit(benchmark::kMillisecond);
void BM_IdleClickCheckButtons100(benchmark::State& state)
{
    runIdle(state, true);
}
BENCHMARK(BM_IdleClickCheckButtons100)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runQmlBenchmarks(argc, argv, [](RCProject*) {});
}
