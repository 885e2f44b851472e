// Control-link latency and throughput on loopback, next to a bare socket
// ping-pong measured in the same run.
//  - BM_BareSocketOneWay: blocking TCP ping-pong between two threads with a
//    command-sized message; one-way latency = round trip / 2.
//  - BM_SendCmdToStandin: Terminal::sendCmd on the GUI thread until the stand-in
//    (in a thread of its own) has the whole command, one command at a time.
//  - BM_DeliverToGui/<blob>: the stand-in sends 20,000 commands at once whose
//    parameters carry a text of <blob> characters; counted when IRCTerminal::receiveCmd
//    reaches the GUI thread. 900 makes a command text of about 1 KB (one chunk);
//    1000 one just over 1 KB (two chunks, the second paced by the sender's timers).
// Latency figures are reported as counters in microseconds (median, p99).
#include "BenchSupport.h"
#include "LoopbackLink.h"
#include "network/Terminal.h"
#include "tools/mediaserver-standin/MediaServerStandin.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>

namespace {
using namespace LoopbackLink;
constexpr int kCommands = 10000;

void BM_BareSocketOneWay(benchmark::State& state)
{
    std::vector<double> oneWay;
    for (auto _ : state) {
        oneWay = bareSocketOneWay(kCommands);
        if (oneWay.empty())
            state.SkipWithError("socket failed");
    }
    state.counters["median_us"] = percentile(oneWay, 0.5);
    state.counters["p99_us"] = percentile(oneWay, 0.99);
}

// A stand-in in a thread of its own and a terminal linked to it.
struct Link
{
    StandinThread server;
    MediaServerStandin* standin = nullptr;
    std::unique_ptr<Terminal> terminal;

    bool open()
    {
        if (!server.start())
            return false;
        standin = server.standin;
        QUdpSocket probe;
        probe.bind(QHostAddress::LocalHost, 0);
        const int replyPort = probe.localPort();
        probe.close();
        terminal.reset(Terminal::create({"Tavix"}));
        terminal->setDiscoveryTarget(QHostAddress::LocalHost, standin->discoveryPort());
        QEventLoop loop;
        bool handshake = false;
        // The link is up once the server has answered the panel's first request, as the project
        // makes it on "connected".
        QObject::connect(terminal.get(), &IRCTerminal::receiveCmd, &loop, [&](const QString& cmd) {
            if (cmd == QLatin1String("connected")) {
                terminal->sendCmd(QStringLiteral("getProgramTable"), QJsonObject());
            } else if (cmd == QLatin1String("setProgramTable")) {
                handshake = true;
                loop.quit();
            }
        });
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        terminal->startServer(replyPort);
        loop.exec();
        return handshake;
    }

    ~Link() { terminal.reset(); }
};

void BM_SendCmdToStandin(benchmark::State& state)
{
    Link link;
    if (!link.open()) {
        state.SkipWithError("no link");
        return;
    }
    std::vector<Clock::time_point> arrived(kCommands);
    std::atomic<int> count{0};
    QObject::connect(
        link.standin, &MediaServerStandin::commandReceived, link.standin,
        [&](const QString&, const QJsonObject& params) {
            const int i = params.value("i").toInt();
            if (i >= 0 && i < kCommands)
                arrived[size_t(i)] = Clock::now();
            count.fetch_add(1, std::memory_order_release);
        },
        Qt::DirectConnection);
    std::vector<double> latency;
    latency.reserve(kCommands);
    const QJsonObject base{{"id", "{7d8a0f8e-3a53-4b7e-9d42-0c5f1a2b3c4d}"}, {"playState", 1}};
    for (auto _ : state) {
        latency.clear();
        count = 0;
        for (int i = 0; i < kCommands; ++i) {
            QJsonObject params = base;
            params.insert("i", i);
            const auto t0 = Clock::now();
            link.terminal->sendCmd("setProgramPlayState", params);
            while (count.load(std::memory_order_acquire) <= i)
                std::this_thread::yield();
            latency.push_back(std::chrono::duration<double, std::micro>(arrived[size_t(i)] - t0).count());
        }
    }
    state.counters["median_us"] = percentile(latency, 0.5);
    state.counters["p99_us"] = percentile(latency, 0.99);
}

void BM_DeliverToGui(benchmark::State& state)
{
    Link link;
    if (!link.open()) {
        state.SkipWithError("no link");
        return;
    }
    const int n = 20000;
    const QJsonObject payload{{"blob", QString(int(state.range(0)), 'x')}};
    int delivered = 0;
    QEventLoop loop;
    QObject::connect(link.terminal.get(), &IRCTerminal::receiveCmd, &loop, [&](const QString& cmd) {
        if (cmd == QLatin1String("bulk") && ++delivered == n)
            loop.quit();
    });
    for (auto _ : state) {
        delivered = 0;
        QMetaObject::invokeMethod(link.standin, [&] {
            for (int i = 0; i < n; ++i)
                link.standin->sendToAll("bulk", payload);
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        guard.start(60000);
        loop.exec();
        if (delivered != n)
            state.SkipWithError("commands lost");
    }
    state.counters["cmds/s"] =
        benchmark::Counter(double(n) * double(state.iterations()), benchmark::Counter::kIsRate);
}
} // namespace

BENCHMARK(BM_BareSocketOneWay)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SendCmdToStandin)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeliverToGui)->Arg(900)->Arg(1000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
