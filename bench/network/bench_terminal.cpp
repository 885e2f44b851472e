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
#include "network/Terminal.h"
#include "tools/mediaserver-standin/MediaServerStandin.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kCommands = 10000;

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

bool readFully(int fd, char* buf, size_t n)
{
    while (n > 0) {
        const ssize_t r = ::read(fd, buf, n);
        if (r <= 0)
            return false;
        buf += r;
        n -= size_t(r);
    }
    return true;
}

void BM_BareSocketOneWay(benchmark::State& state)
{
    const size_t size = 120; // about one framed short command
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(listener, 1);
    socklen_t len = sizeof addr;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);

    std::thread echo([listener, size] {
        const int fd = ::accept(listener, nullptr, nullptr);
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::vector<char> buf(size);
        while (readFully(fd, buf.data(), size))
            if (::write(fd, buf.data(), size) != ssize_t(size))
                break;
        ::close(fd);
    });
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    std::vector<char> buf(size, 'p');
    std::vector<double> oneWay;
    oneWay.reserve(kCommands);
    for (auto _ : state) {
        oneWay.clear();
        for (int i = 0; i < kCommands; ++i) {
            const auto t0 = Clock::now();
            if (::write(fd, buf.data(), size) != ssize_t(size) || !readFully(fd, buf.data(), size))
                state.SkipWithError("socket failed");
            oneWay.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / 2);
        }
    }
    ::close(fd);
    echo.join();
    ::close(listener);
    state.counters["median_us"] = percentile(oneWay, 0.5);
    state.counters["p99_us"] = percentile(oneWay, 0.99);
}

// A stand-in in a thread of its own and a terminal linked to it.
struct Link
{
    QThread serverThread;
    MediaServerStandin* standin = nullptr;
    std::unique_ptr<Terminal> terminal;

    bool open()
    {
        StandinOptions options;
        options.bindAddress = QHostAddress::LocalHost;
        options.discoveryPort = 0;
        options.tcpPort = 0;
        standin = new MediaServerStandin(options);
        standin->moveToThread(&serverThread);
        QObject::connect(&serverThread, &QThread::finished, standin, &QObject::deleteLater);
        serverThread.start();
        bool started = false;
        QMetaObject::invokeMethod(
            standin, [&] { started = standin->start(); }, Qt::BlockingQueuedConnection);
        if (!started)
            return false;
        QUdpSocket probe;
        probe.bind(QHostAddress::LocalHost, 0);
        const int replyPort = probe.localPort();
        probe.close();
        terminal.reset(Terminal::create({"Tavix"}));
        terminal->setDiscoveryTarget(QHostAddress::LocalHost, standin->discoveryPort());
        QEventLoop loop;
        bool handshake = false;
        QObject::connect(terminal.get(), &IRCTerminal::receiveCmd, &loop, [&](const QString& cmd) {
            if (cmd == QLatin1String("connected")) {
                handshake = true;
                loop.quit();
            }
        });
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        terminal->startServer(replyPort);
        loop.exec();
        return handshake;
    }

    ~Link()
    {
        terminal.reset();
        serverThread.quit();
        serverThread.wait();
    }
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
