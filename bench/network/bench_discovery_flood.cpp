// The discovery worker under a datagram flood. Floods loopback: run it only in a private
// network namespace,
//     unshare -rn scripts/netns-run.sh build/release-bench/bench/network/bench_discovery_flood
// BM_Flood/<kind>: a TerminalDetect listens on the reply port while 64 loopback addresses flood
// it for 2 s with one kind of datagram (0 empty, 1 unfinished heads, 2 unfinished messages,
// 3 well-formed replies, 4 garbage). Counters: resident memory when idle and at its peak during
// the flood (MB) and their ratio; the time to stop the worker in the middle of the flood and,
// measured in the same run as the baseline, to stop an idle one (ms); stopped_in_flood is 0 when
// the stop had to wait for the flood to end.
#include "IsolatedBenchmarks.h"
#include "network/TerminalDetect.h"
#include "tests/support/DatagramFlood.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

namespace {
constexpr int kReplyPort = 36545;

void pump(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// A listening worker: resends a reply until the worker reports it.
std::unique_ptr<TerminalDetect> listeningWorker()
{
    auto detect = std::make_unique<TerminalDetect>();
    std::atomic<bool> heard{false};
    QObject::connect(
        detect.get(), &TerminalDetect::serverDetected, detect.get(), [&] { heard = true; },
        Qt::DirectConnection);
    detect->startDetect(kReplyPort);
    QUdpSocket server;
    const QByteArray reply =
        DiscoveryDatagram::encode("serverConfig", QJsonObject{{"ip", "127.0.0.1"}, {"port", 4242}});
    for (int i = 0; i < 500 && !heard; ++i) {
        server.writeDatagram(reply, QHostAddress::LocalHost, kReplyPort);
        pump(10);
    }
    detect->disconnect();
    return heard ? std::move(detect) : nullptr;
}

double stopMs(std::unique_ptr<TerminalDetect>& detect)
{
    QElapsedTimer clock;
    clock.start();
    detect.reset();
    return double(clock.nsecsElapsed()) / 1e6;
}

void BM_Flood(benchmark::State& state)
{
    for (auto _ : state) {
        auto idleWorker = listeningWorker();
        if (!idleWorker) {
            state.SkipWithError("worker does not listen");
            return;
        }
        const double idleStop = stopMs(idleWorker);

        auto detect = listeningWorker();
        const qint64 idle = DatagramFlood::residentBytes();
        qint64 peak = idle;
        DatagramFlood flood(DatagramFlood::Kind(state.range(0)), kReplyPort, std::chrono::seconds(4));
        flood.start();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 2000) {
            pump(5);
            peak = qMax(peak, DatagramFlood::residentBytes());
        }
        const double floodStop = stopMs(detect);
        state.counters["stopped_in_flood"] = flood.running() ? 1 : 0;
        flood.stop();
        state.counters["idle_MB"] = double(idle) / (1 << 20);
        state.counters["peak_MB"] = double(peak) / (1 << 20);
        state.counters["peak/idle"] = double(peak) / double(idle);
        state.counters["stop_ms"] = floodStop;
        state.counters["idle_stop_ms"] = idleStop;
        state.counters["datagrams/s"] = double(flood.sent()) / 2.0;
    }
}
} // namespace

BENCHMARK(BM_Flood)->DenseRange(0, 4)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    return runIsolatedBenchmarks(argc, argv);
}
