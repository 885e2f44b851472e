// The views of each catalogue kind as the scene panel makes and drops them: per iteration, a switch
// to a scene of 20 items of the kind and back to an empty scene, against the same with 20 stop
// buttons (a plain button view, "x_baseline"). The label names the kind. Run in a Release build,
// inside a private network namespace (the project root starts the control link's discovery), on
// the offscreen platform:
//
//     QT_QUICK_BACKEND=software unshare -rn scripts/netns-run.sh build/release-bench/bench/qml/bench_viewKinds

#include "QmlBenchSupport.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"

namespace {

constexpr int kViews = 20;

RatioReport g_ratios;

const QByteArray kPanel = inMainWindow("import \"qrc:/qml/scenePanel\"", R"(
    RCScenePanel { id: panel; objectName: "panel"; width: 1200; height: 760
        mScenePresenter: project.getScenePresenter(); mSceneItemPresenter: project.getSceneItemPresenter()
        mWindow: mainWindow; mProject: project; mStelvaneSyncer: stelvaneSyncer; mImageManager: getImageManager
        mInterface: getRCInterface; mCloudClient: tavixProjectCloudClient })");

void runKind(benchmark::State& state, IRCControl* control, bool baseline)
{
    RCScenePresenter* scenes = RCScenePresenter::instance();
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    state.SetLabel(QString::number(int(control->getControlType())).toStdString() + " " +
                   control->getName().toStdString());
    const QString shown = scenes->addScene(QStringLiteral("A"), QString(), QString(), false);
    const QString empty = scenes->addScene(QStringLiteral("B"), QString(), QString(), false);
    for (int i = 0; i < kViews; ++i)
        items->addItem(shown, control->getInstantiationParam()->toJson(), false);
    QmlObject host(kPanel, state);
    if (host.isValid())
        timeRuns(state, g_ratios, baseline, [&] {
            scenes->setSelectScene(shown);
            QCoreApplication::processEvents();
            scenes->setSelectScene(empty);
            QCoreApplication::processEvents();
        });
    scenes->removeScene(shown, false);
    scenes->removeScene(empty, false);
}

void BM_StopButtons(benchmark::State& state)
{
    runKind(state,
            qmlBench().project->getControlManager()->getControlByType(IRCControl::EIRCControlType_StopAllProgram),
            true);
}
BENCHMARK(BM_StopButtons)->Iterations(40)->Unit(benchmark::kMillisecond);

void BM_Kind(benchmark::State& state)
{
    const QList<IRCControl*> controls = qmlBench().project->getControlManager()->getControllist();
    if (state.range(0) >= controls.size()) {
        state.SkipWithError("no such kind");
        return;
    }
    runKind(state, controls.at(int(state.range(0))), false);
}
BENCHMARK(BM_Kind)->DenseRange(0, 42)->Iterations(40)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runQmlBenchmarks(argc, argv, [](RCProject*) {});
}
