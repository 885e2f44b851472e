// A tap on a command button until its bytes are at the stand-in media server, through the whole
// project root (item presenter -> project -> action manager -> action -> control link), next to
// the control link alone (Terminal::sendCmd of the same command) and a bare socket, all in the
// same run and measured alike:
//  - the same peer: the bare socket is one more client of the same stand-in, so every series
//    ends in the same reading loop (its request manager parsing the frame into a command);
//  - the same bytes: the bare socket writes the frame the control link writes for the command
//    (a fresh uid each), built before the series, as a bare client would have it ready;
//  - the same clock: each sample is the wall time from the send until the stand-in thread has
//    the whole command, one at a time, kWarmUp untimed sends first and kTaps timed ones;
//  - the same waiting: the sending thread sleeps until the arrival, so it takes no core from the
//    link's worker or the stand-in.
// Median and 99th percentile in microseconds, each as a ratio to the bare socket, and the tap's
// also as a ratio to the link alone. cpu_time is the CPU of the whole process (sender, worker,
// stand-in) over the timed sends. The project root's control link broadcasts discovery probes,
// so run it in a private network namespace:
//
//     unshare -rn scripts/netns-run.sh build/release-bench/bench/actions/bench_taps
#include "BenchSupport.h"
#include "LoopbackLink.h"
#include "ProjectBenchSupport.h"
#include "actions/IRCAction.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "network/IRCRequestManager.h"
#include "network/MessageRequest.h"
#include "network/RequestHead.h"
#include "network/Terminal.h"
#include "project/RCProject.h"
#include "root/RCProjectRoot.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>

namespace {
using namespace LoopbackLink;
constexpr int kTaps = 10000;
constexpr int kWarmUp = 500;

// What the command button sends, and what the link alone and the bare socket send too.
const QString& command()
{
    static const QString name = QStringLiteral("fastForwardCurrentProgram");
    return name;
}

QJsonObject commandParams()
{
    return QJsonObject{{QStringLiteral("sec"), 5.0}};
}

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

// The project root connected to a stand-in, a command button in a scene, and the arrivals of the
// command at the stand-in.
struct TapRig
{
    StandinThread server;
    QQmlEngine engine;
    std::unique_ptr<RCProject> project;
    QString sceneId;
    QString itemId;

    std::mutex mutex;
    std::condition_variable arrival;
    int arrivals = 0;
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
            [this](const QString& sCmd) {
                if (sCmd != command())
                    return;
                const auto now = Clock::now();
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    lastArrival = now;
                    ++arrivals;
                }
                arrival.notify_one();
            },
            Qt::DirectConnection);

        sceneId = project->getScenePresenter()->addScene(QStringLiteral("taps"), QString(), QString(), false);
        IRCControl* button =
            project->getControlManager()->getControlByType(IRCControl::EIRCControlType_FastForward);
        itemId = project->getSceneItemPresenter()->addItem(sceneId, button->getInstantiationParam()->toJson(),
                                                           false);
        return !itemId.isEmpty();
    }

    // One send until the stand-in has the whole command; its latency in microseconds, or a
    // negative value when nothing arrived within ten seconds.
    double once(const std::function<void()>& send)
    {
        std::unique_lock<std::mutex> lock(mutex);
        const int before = arrivals;
        lock.unlock();
        const auto t0 = Clock::now();
        send();
        lock.lock();
        if (!arrival.wait_for(lock, std::chrono::seconds(10), [&] { return arrivals != before; }))
            return -1;
        return microseconds(lastArrival - t0);
    }

    // Latency of each of kTaps sends after kWarmUp untimed ones; empty when one never arrived.
    // send(i) makes the i-th send of the series, warm-up included.
    std::vector<double> time(benchmark::State& state, const std::function<void(int)>& send)
    {
        std::vector<double> latency;
        latency.reserve(kTaps);
        state.PauseTiming();
        for (int i = 0; i < kWarmUp; ++i) {
            if (once([&] { send(i); }) < 0)
                return {};
        }
        state.ResumeTiming();
        for (int i = 0; i < kTaps; ++i) {
            const double us = once([&] { send(kWarmUp + i); });
            if (us < 0)
                return {};
            latency.push_back(us);
        }
        return latency;
    }
};

TapRig* g_rig = nullptr;

// A blocking client socket with TCP_NODELAY linked to the stand-in's link port; -1 on failure.
int connectBare(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(quint16(port));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void BM_BareSocketOneWay(benchmark::State& state)
{
    // The frames a link writes for the command, one uid each.
    std::vector<QByteArray> frames;
    frames.reserve(size_t(kWarmUp + kTaps));
    for (int i = 0; i < kWarmUp + kTaps; ++i) {
        const quint64 uid = quint64(i) + 1;
        frames.push_back(RequestHead::frame(uid, ERequestType_Message, true,
                                            MessageRequest::buildText(command(), commandParams(), uid)));
    }
    const int fd = connectBare(g_rig->server.standin->tcpPort());
    if (fd < 0) {
        state.SkipWithError("socket failed");
        return;
    }
    std::vector<double> latency;
    for (auto _ : state) {
        latency = g_rig->time(state, [&](int i) {
            const QByteArray& frame = frames[size_t(i)];
            if (::write(fd, frame.constData(), size_t(frame.size())) != ssize_t(frame.size()))
                std::fprintf(stderr, "short write\n");
        });
    }
    ::close(fd);
    if (latency.empty()) {
        state.SkipWithError("a command never arrived");
        return;
    }
    g_bareMedian = percentile(latency, 0.5);
    g_bareP99 = percentile(latency, 0.99);
    report(state, latency);
}

void BM_LinkAlone(benchmark::State& state)
{
    IRCTerminal* terminal = g_rig->project->getTerminal();
    const QJsonObject params = commandParams();
    std::vector<double> latency;
    for (auto _ : state)
        latency = g_rig->time(state, [&](int) { terminal->sendCmd(command(), params); });
    if (latency.empty()) {
        state.SkipWithError("a command never arrived");
        return;
    }
    report(state, latency);
    g_linkMedian = percentile(latency, 0.5);
    g_linkP99 = percentile(latency, 0.99);
}

void BM_TapCommandButton(benchmark::State& state)
{
    RCSceneItemPresenter* items = g_rig->project->getSceneItemPresenter();
    std::vector<double> latency;
    for (auto _ : state)
        latency = g_rig->time(state, [&](int) {
            items->triggerAction(g_rig->sceneId, g_rig->itemId, IRCAction::EActionType_SendCmd, QString());
        });
    if (latency.empty()) {
        state.SkipWithError("a command never arrived");
        return;
    }
    report(state, latency);
    if (g_linkMedian > 0) {
        state.counters["median_x_link"] = percentile(latency, 0.5) / g_linkMedian;
        state.counters["p99_x_link"] = percentile(latency, 0.99) / g_linkP99;
    }
}

// One series each, wall clock per series, CPU of the whole process.
void oneSeries(benchmark::internal::Benchmark* b)
{
    b->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
}

} // namespace

BENCHMARK(BM_BareSocketOneWay)->Apply(oneSeries);
BENCHMARK(BM_LinkAlone)->Apply(oneSeries);
BENCHMARK(BM_TapCommandButton)->Apply(oneSeries);

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
