// The item views that follow the media server, each against a baseline measured in the same run
// and reported as a ratio ("x_baseline"):
// - replacing a program table of 200 programs x 50 layers (2,000 nodes, every cell filled) by
//   "setProgramTable" with the program table view showing it, window drawn, against the same
//   command while the view is not there (the aim is 2x or less);
// - one round of progress for 20 running nodes in the play-state view (as a server sends ten a
//   second), window drawn, against 20 bare rows of a ListView whose bars follow the same values;
// - 3,000 stage frames at 10 Hz into two stage views: the resident set at the end against the one
//   after the first 300 frames ("rss_end_per_warm", which stays near 1 when frames do not pile
//   up), next to the same frames with no stage view. TAVIX_BENCH_STAGE_FRAMES sets another count.
// Run in a Release build, inside a private network namespace, with the software renderer:
//
//     QT_QUICK_BACKEND=software unshare -rn scripts/netns-run.sh build/release-bench/bench/qml/bench_views

#include "QmlBenchSupport.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdProcesser_UpdateProgramTable.h"
#include "model/IRCControl.h"
#include "model/RCKeys.h"

#include <QEventLoop>
#include <QImage>
#include <QJsonArray>
#include <QTimer>

namespace {

constexpr int kPrograms = 200;
constexpr int kLayers = 50;
constexpr int kNodeSpan = 5;
constexpr int kRunningNodes = 20;
constexpr int kStageWarmFrames = 300;
constexpr int kStageIntervalMs = 100;

RatioReport g_tableRatios;
RatioReport g_progressRatios;
RatioReport g_stageRatios;

RCScenePresenter* scenes()
{
    return RCScenePresenter::instance();
}
RCSceneItemPresenter* items()
{
    return RCSceneItemPresenter::instance();
}
IRCStelvaneSyncer* mirror()
{
    return qmlBench().project->getStelvaneSyncer();
}

// A shown scene of 1920 x 1080 holding, when kind is not 0, one item of that kind filling it with
// the given values; answers the scene's id.
QString showScene(int kind, const QVariantMap& values = {})
{
    const QString sceneId = scenes()->addScene(QStringLiteral("views"), QString(), QString(), false);
    scenes()->setPropertyValue(sceneId, RCKeys::Width(), 1920, false);
    scenes()->setPropertyValue(sceneId, RCKeys::Height(), 1080, false);
    if (kind != 0) {
        const QString id =
            addPlacedItem(sceneId, IRCControl::EIRCControlType(kind), QPoint(10, 10), QSize(1180, 740));
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            items()->setPropertyValue(sceneId, id, it.key(), it.value(), false);
    }
    scenes()->setSelectScene(sceneId);
    return sceneId;
}

void runTable(benchmark::State& state, bool withView)
{
    const QJsonObject tables[] = {programTable(QStringLiteral("a"), kPrograms, kLayers, kNodeSpan),
                                  programTable(QStringLiteral("b"), kPrograms, kLayers, kNodeSpan)};
    RCCmdProcesser_UpdateProgramTable processor;
    const QString sceneId = showScene(withView ? IRCControl::EIRCControlType_ProgramTable : 0);
    QmlObject host(controlScenePanelQml(), state);
    processor.process(tables[1], qmlBench().project);
    // Shown before the first replace: what the view costs to make is not a replace's.
    benchmark::DoNotOptimize(qmlBench().window->grabWindow());
    int next = 0;
    if (host.isValid())
        timeDrawn(state, g_tableRatios, !withView,
                  [&] { processor.process(tables[next++ % 2], qmlBench().project); });
    processor.process(QJsonObject(), qmlBench().project);
    scenes()->removeScene(sceneId, false);
}

void BM_TableCommandAlone(benchmark::State& state)
{
    runTable(state, false);
}
BENCHMARK(BM_TableCommandAlone)->Iterations(4)->Unit(benchmark::kMillisecond);
void BM_TableCommandWithView(benchmark::State& state)
{
    runTable(state, true);
}
BENCHMARK(BM_TableCommandWithView)->Iterations(4)->Unit(benchmark::kMillisecond);

// Twenty bare rows whose bars and times follow a model, as the baseline of the play-state view.
const QByteArray kBareRows = inMainWindow("", R"(
    ListView { width: 1180; height: 740; spacing: 5; model: ListModel { id: rows; objectName: "rows" }
        Component.onCompleted: { for (var i = 0; i < 20; ++i) rows.append({"progress": 0}) }
        delegate: Rectangle { width: ListView.view.width; height: 30; color: "#707070"
            required property real progress
            Rectangle { width: parent.width * progress / 60000; height: parent.height; color: "#079CF8" }
            Text { anchors.right: parent.right; text: Math.round(progress) + " ms"; color: "white" } } }
    function step(value) { for (var i = 0; i < 20; ++i) rows.setProperty(i, "progress", value) })");

void BM_ProgressBareRows(benchmark::State& state)
{
    QmlObject host(kBareRows, state);
    int tick = 0;
    if (host.isValid())
        timeDrawn(state, g_progressRatios, true, [&] {
            QMetaObject::invokeMethod(host.object(), "step", Q_ARG(QVariant, (++tick % 600) * 100));
        });
}
BENCHMARK(BM_ProgressBareRows)->Unit(benchmark::kMillisecond);

void BM_ProgressPlayState20(benchmark::State& state)
{
    mirror()->addProgramLayer(
        {{RCKeys::Id(), "l1"}, {RCKeys::Name(), "Layer"}, {RCKeys::ProgramLayerType(), 0}});
    QStringList nodes;
    for (int i = 0; i < kRunningNodes; ++i) {
        nodes.append(QStringLiteral("n%1").arg(i));
        mirror()->addProgramNode({{RCKeys::Id(), nodes.last()},
                                  {RCKeys::Name(), nodes.last()},
                                  {RCKeys::State(), 1},
                                  {RCKeys::Length(), 60000},
                                  {RCKeys::Progress(), 0},
                                  {RCKeys::ProgramLayerId(), "l1"},
                                  {RCKeys::ProgramIdList(), QStringList()}});
    }
    const QString sceneId = showScene(IRCControl::EIRCControlType_PlayStateManager,
                                      {{RCKeys::PlayStateManager_ProgressBar_Height(), 30},
                                       {RCKeys::PlayStateManager_ProgressBar_ShowTimeType(), 2}});
    QmlObject host(controlScenePanelQml(), state);
    int tick = 0;
    if (host.isValid())
        timeDrawn(state, g_progressRatios, false, [&] {
            const int progress = (++tick % 600) * 100;
            for (const QString& node : nodes)
                mirror()->setProgramNodePropertyValue(node, RCKeys::Progress(), progress);
        });
    mirror()->clearProgramNode();
    mirror()->clearProgramLayer();
    scenes()->removeScene(sceneId, false);
}
BENCHMARK(BM_ProgressPlayState20)->Unit(benchmark::kMillisecond);

// frames stage images of 1280 x 720, one every kStageIntervalMs; the resident set after the warm
// frames and at the end.
void runStage(benchmark::State& state, bool withViews)
{
    const int frames =
        qMax(kStageWarmFrames + 1, qEnvironmentVariableIntValue("TAVIX_BENCH_STAGE_FRAMES") > 0
                                       ? qEnvironmentVariableIntValue("TAVIX_BENCH_STAGE_FRAMES")
                                       : 3000);
    const QString sceneId = scenes()->addScene(QStringLiteral("stage"), QString(), QString(), false);
    if (withViews) {
        for (int i = 0; i < 2; ++i)
            addPlacedItem(sceneId, IRCControl::EIRCControlType_StageView, QPoint(10 + 470 * i, 10), QSize(460, 300));
    }
    scenes()->setSelectScene(sceneId);
    QmlObject host(controlScenePanelQml(), state);
    QImage image(1280, 720, QImage::Format_RGB32);
    double warm = 0;
    double end = 0;
    for (auto _ : state) {
        for (int frame = 0; frame < frames; ++frame) {
            image.fill(QColor::fromHsv(frame % 360, 200, 200));
            mirror()->setStageImage(image);
            runEventLoop(kStageIntervalMs);
            if (frame + 1 == kStageWarmFrames)
                warm = residentSetKiB();
        }
        end = residentSetKiB();
    }
    state.counters["frames"] = frames;
    state.counters["rss_warm_MiB"] = warm / 1024;
    state.counters["rss_end_MiB"] = end / 1024;
    state.counters["rss_end_per_warm"] = warm > 0 ? end / warm : 0;
    g_stageRatios.report(state, warm > 0 ? end / warm : 0, 1, !withViews);
    scenes()->removeScene(sceneId, false);
}

void BM_StageFramesNoView(benchmark::State& state)
{
    runStage(state, false);
}
BENCHMARK(BM_StageFramesNoView)->Iterations(1)->Unit(benchmark::kSecond);
void BM_StageFramesTwoViews(benchmark::State& state)
{
    runStage(state, true);
}
BENCHMARK(BM_StageFramesTwoViews)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    return runQmlBenchmarks(argc, argv, [](RCProject*) {});
}
