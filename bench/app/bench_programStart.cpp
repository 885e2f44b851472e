// Start-up of the program as users run it: its binary is executed with a home of its own and
// timed from the exec to the first frame that Qt's render loop reports on its output
// ("qt.scenegraph.time.renderloop"), without a project and with a project of 1,000 and of 5,000
// catalogue items named on its command line. Its twin, bare_startup (a bare window after a bare
// parse of the same file), is started and timed the same way; the starts of the two alternate,
// each going first in turn. With TAVIX_PREVIOUS_PROGRAM naming the program of another build,
// that one's starts alternate with them as well. Counters: "x_twin", the program's median start
// over the twin's, and "x_previous", over the other build's. Run in a Release build, inside a
// private network namespace (the programs start the control link's discovery):
//
//     export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
//     unshare -rn scripts/netns-run.sh build/release/bench/app/bench_programStart

#include "BenchSupport.h"
#include "ProjectBenchSupport.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "root/RCProjectRoot.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMap>
#include <QProcess>
#include <QQmlEngine>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kItemsPerScene = 200;
// Starts of each program per benchmark.
constexpr int kRuns = 5;
constexpr int kFrameTimeoutMs = 60000;

QTemporaryDir* g_home = nullptr;
// The project file of each item count.
QMap<int, QString> g_projectFiles;

// Scenes of 200 catalogue items each (every kind in turn); saved as a packet of 1,000 items after
// the 5th scene and of 5,000 after the 25th.
void buildProjects(RCProject* project)
{
    RCScenePresenter* scenes = RCScenePresenter::instance();
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QList<IRCControl*> controls = project->getControlManager()->getControllist();
    for (int s = 0; s < 25; ++s) {
        const QString sceneId =
            scenes->addScene(QStringLiteral("scene %1").arg(s), QString(), QString(), false);
        for (int i = 0; i < kItemsPerScene; ++i) {
            IRCControl* control = controls.at((s * kItemsPerScene + i) % controls.size());
            items->addItem(sceneId, control->getInstantiationParam()->toJson(), false);
        }
        const int count = (s + 1) * kItemsPerScene;
        if (count == 1000 || count == 5000) {
            const QString packet = g_home->filePath(QStringLiteral("items%1").arg(count));
            if (project->saveProjectPacket(packet))
                g_projectFiles.insert(count, packet + QStringLiteral("/project.tavx"));
        }
    }
}

// Starts the program with the arguments and a home of its own; the seconds from the start to the
// first frame that its render loop reports, or -1 when it reports none within a minute. The
// program is ended afterwards, untimed.
double secondsToFirstFrame(const QString& program, const QStringList& arguments)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral(".cache")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral(".local/share")));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("qt.scenegraph.time.renderloop.debug=true"));
    if (!environment.contains(QStringLiteral("QT_QUICK_BACKEND")))
        environment.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    QByteArray output;
    double seconds = -1;
    while (timer.elapsed() < kFrameTimeoutMs &&
           process.waitForReadyRead(int(kFrameTimeoutMs - timer.elapsed()))) {
        output += process.readAll().toLower();
        // "Frame rendered with 'software' renderloop …", "… syncAndRender: frame rendered in …"
        if (output.contains("frame rendered")) {
            seconds = double(timer.nsecsElapsed()) / 1e9;
            break;
        }
    }
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
    }
    return seconds;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void BM_ProgramStart(benchmark::State& state)
{
    const int items = int(state.range(0));
    QStringList arguments;
    if (items) {
        if (!g_projectFiles.contains(items)) {
            state.SkipWithError("the project was not saved");
            return;
        }
        arguments << g_projectFiles.value(items);
    }
    // twin, program, previous build
    QStringList programs{QStringLiteral(TAVIX_BARE_STARTUP), QStringLiteral(TAVIX_PROGRAM)};
    const QString previous = qEnvironmentVariable("TAVIX_PREVIOUS_PROGRAM");
    if (!previous.isEmpty())
        programs << previous;
    std::vector<std::vector<double>> times(size_t(programs.size()));
    int round = 0;
    for (auto _ : state) {
        for (int k = 0; k < programs.size(); ++k) {
            const int which = (k + round) % int(programs.size());
            const double seconds = secondsToFirstFrame(programs.at(which), arguments);
            if (seconds < 0) {
                state.SkipWithError(qPrintable(QStringLiteral("no first frame from ") + programs.at(which)));
                return;
            }
            times[size_t(which)].push_back(seconds);
        }
        state.SetIterationTime(times[1].back());
        ++round;
    }
    state.counters["twin_ms"] = median(times[0]) * 1e3;
    state.counters["median_ms"] = median(times[1]) * 1e3;
    state.counters["x_twin"] = median(times[1]) / median(times[0]);
    if (times.size() > 2) {
        state.counters["previous_ms"] = median(times[2]) * 1e3;
        state.counters["x_previous"] = median(times[1]) / median(times[2]);
    }
}
BENCHMARK(BM_ProgramStart)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(5000)
    ->Iterations(kRuns)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!enterIsolatedOffscreenHome(home))
        return 2;
    QGuiApplication app(argc, argv);
    quietBenchMessages();
    RCQmlRegistration::registerTypes();
    g_home = &home;
    {
        QQmlEngine engine;
        RCProjectRoot project(&engine, {QStringLiteral("Tavix")});
        buildProjects(&project);
    }
    return runRegisteredBenchmarks(argc, argv);
}
