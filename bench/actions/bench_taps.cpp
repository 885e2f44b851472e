// A tap on a command button until its bytes are at the stand-in media server, through the whole
// project root (item presenter -> project -> action manager -> action -> control link), next to
// the control link alone (Terminal::sendCmd of the same command) and a bare loopback socket, all
// in the same run. 10,000 taps each, one at a time; median and 99th percentile in microseconds,
// each as a ratio to the bare socket, and the tap's also as a ratio to the link alone. The project
// root's control link broadcasts discovery probes, so run it in a private network namespace:
//
//     unshare -rn scripts/netns-run.sh build/release-bench/bench/actions/bench_taps
#include "BenchSupport.h"
#include "LoopbackLink.h"
#include "ProjectBenchSupport.h"
#include "actions/IRCAction.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "network/Terminal.h"
#include "project/RCProject.h"
#include "root/RCProjectRoot.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <functional>

namespace {
using namespace LoopbackLink;
constexpr int kTaps = 10000;

double g_bareMedian = 0;
double g_bareP99 = 0;
double g_linkMedian = 0;
double g_linkP99 = 0;

void report(benchmark::State& state, const std::vector<double>& latency)
{
    const double median = percentile(latency, 0.5);
    const double p99 = percentile(latency, 0.99);
    state.counters["median_us"] = median;
    state.counters["p99_us"] = p99;
    if (g_bareMedian > 0) {
        state.counters["median_x_bare"] = median / g_bareMedian;
        state.counters["p99_x_bare"] = p99 / g_bareP99;
    }
}

void BM_BareSocketOneWay(benchmark::State& state)
{
    std::vector<double> oneWay;
    for (auto _ : state)
        oneWay = bareSocketOneWay(kTaps);
    if (oneWay.empty()) {
        state.SkipWithError("socket failed");
        return;
    }
    g_bareMedian = percentile(oneWay, 0.5);
    g_bareP99 = percentile(oneWay, 0.99);
    report(state, oneWay);
}

// The project root connected to a stand-in, and a command button in a scene.
struct TapRig
{
    StandinThread server;
    QQmlEngine engine;
    std::unique_ptr<RCProject> project;
    QString sceneId;
    QString itemId;
    std::atomic<int> arrivals{0};
    Clock::time_point lastArrival;

    bool open()
    {
        if (!server.start())
            return false;
        project = std::make_unique<RCProjectRoot>(&engine, QStringList{QStringLiteral("Tavix")});
        auto* terminal = qobject_cast<Terminal*>(project->getTerminal());
        QEventLoop loop;
        QObject::connect(terminal, &IRCTerminal::receiveCmd, &loop, [&](const QString& sCmd) {
            if (sCmd == QLatin1String("connected"))
                loop.quit();
        });
        QTimer::singleShot(10000, &loop, [&] { loop.exit(1); });
        terminal->setDiscoveryTarget(QHostAddress::LocalHost, server.standin->discoveryPort());
        if (loop.exec() != 0)
            return false;
        // Let whatever the connection itself sends arrive before anything is timed.
        QTimer::singleShot(500, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::connect(
            server.standin, &MediaServerStandin::commandReceived, server.standin,
            [this] {
                lastArrival = Clock::now();
                arrivals.fetch_add(1, std::memory_order_release);
            },
            Qt::DirectConnection);

        sceneId = project->getScenePresenter()->addScene(QStringLiteral("taps"), QString(), QString(), false);
        IRCControl* button =
            project->getControlManager()->getControlByType(IRCControl::EIRCControlType_FastForward);
        itemId = project->getSceneItemPresenter()->addItem(sceneId, button->getInstantiationParam()->toJson(),
                                                           false);
        return !itemId.isEmpty();
    }

    // Latency of each of kTaps sends, each timed until the stand-in has the whole command.
    std::vector<double> time(const std::function<void()>& send)
    {
        std::vector<double> latency;
        latency.reserve(kTaps);
        for (int i = 0; i < kTaps; ++i) {
            const int before = arrivals.load(std::memory_order_acquire);
            const auto t0 = Clock::now();
            send();
            while (arrivals.load(std::memory_order_acquire) == before)
                std::this_thread::yield();
            latency.push_back(microseconds(lastArrival - t0));
        }
        return latency;
    }
};

TapRig* g_rig = nullptr;

void BM_LinkAlone(benchmark::State& state)
{
    IRCTerminal* terminal = g_rig->project->getTerminal();
    const QJsonObject params{{QStringLiteral("sec"), 5.0}};
    std::vector<double> latency;
    for (auto _ : state)
        latency =
            g_rig->time([&] { terminal->sendCmd(QStringLiteral("fastForwardCurrentProgram"), params); });
    report(state, latency);
    g_linkMedian = percentile(latency, 0.5);
    g_linkP99 = percentile(latency, 0.99);
}

void BM_TapCommandButton(benchmark::State& state)
{
    RCSceneItemPresenter* items = g_rig->project->getSceneItemPresenter();
    std::vector<double> latency;
    for (auto _ : state)
        latency = g_rig->time([&] {
            items->triggerAction(g_rig->sceneId, g_rig->itemId, IRCAction::EActionType_SendCmd, QString());
        });
    report(state, latency);
    if (g_linkMedian > 0) {
        state.counters["median_x_link"] = percentile(latency, 0.5) / g_linkMedian;
        state.counters["p99_x_link"] = percentile(latency, 0.99) / g_linkP99;
    }
}

} // namespace

BENCHMARK(BM_BareSocketOneWay)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinkAlone)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TapCommandButton)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!enterIsolatedHome(home))
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    TapRig rig;
    if (!rig.open()) {
        std::fprintf(stderr, "no link to the stand-in\n");
        return 1;
    }
    g_rig = &rig;
    const int result = runRegisteredBenchmarks(argc, argv);
    rig.project.reset();
    return result;
}
