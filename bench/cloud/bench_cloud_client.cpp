// The cloud client's incoming path on loopback, next to a bare WebSocket measured in the same run.
//  - BM_BareWebSocketToGui: the stand-in relay (in a thread of its own) sends 10,000 "send_message"
//    frames to a plain QWebSocket on the GUI thread; counted as textMessageReceived arrives.
//  - BM_CloudClientToGui: the same frames to the cloud client, whose worker thread parses each
//    frame and its message and hands the command to the GUI thread; counted at receiveCmd.
//    The ratio of the two msgs/s figures is the cost of parsing and the thread hop.
//  - BM_RequestsAnswered: the stand-in relay floods the client with 10,000 requests for the load
//    figures, as fast as the link takes them, and counts the answers, which the client's command
//    processor makes on the GUI thread and its worker writes; timed from the join to the last
//    answer. "x_baseline" is its time per request over BM_CloudClientToGui's per command: what
//    answering costs over delivering.
//  - BM_OversizedFrames: rounds of join, a 4 MiB frame (four times the limit) that the client
//    refuses, and the end of the link. "rss_growth_kib" is the growth of the resident size over
//    the rounds after the first ten (in which the relay's and the client's allocators settle,
//    about 10 MiB): flat means nothing of the refused frames is kept. Meaningless under ASan,
//    whose quarantine keeps freed memory resident.
#include "BenchSupport.h"
#include "cloud/TavixProjectCloudClient.h"
#include "cloud/TavixProjectCloudConnectWork.h"
#include "tools/cloud-relay-standin/CloudRelayStandin.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QTimer>
#include <QWebSocket>

#include <benchmark/benchmark.h>

namespace {

constexpr int kMessages = 10000;
// Rounds after which the allocators of both threads hold their working set of 4 MiB buffers.
constexpr int kWarmUpRounds = 10;

// A stand-in relay in a thread of its own.
struct Relay
{
    QThread thread;
    CloudRelayStandin* relay = nullptr;
    QUrl url;

    bool start(qint64 floodRequests = 0)
    {
        RelayStandinOptions options;
        options.port = 0;
        options.floodRequests = floodRequests;
        relay = new CloudRelayStandin(options);
        relay->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, relay, &QObject::deleteLater);
        thread.start();
        bool started = false;
        QMetaObject::invokeMethod(
            relay,
            [&] {
                started = relay->start();
                url = relay->url();
            },
            Qt::BlockingQueuedConnection);
        return started;
    }

    void sendToAll(const QString& text, int times)
    {
        QMetaObject::invokeMethod(relay, [this, text, times] {
            for (int i = 0; i < times; ++i)
                relay->sendToAll(text);
        });
    }

    ~Relay()
    {
        thread.quit();
        thread.wait();
    }
};

// Runs the event loop until done() holds, at most 60 s; whether it holds.
template <typename Done> bool runUntil(QEventLoop& loop, Done done)
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(60000);
    if (!done())
        loop.exec();
    return done();
}

QString commandFrame()
{
    const QJsonObject message{
        {"cmdType", "setTrack"},
        {"cmdParams",
         QJsonObject{{"id", "{7d8a0f8e-3a53-4b7e-9d42-0c5f1a2b3c4d}"}, {"volume", 80}, {"name", "Track 1"}}}};
    const QJsonObject frame{
        {"type", "send_message"},
        {"status", 0},
        {"data", QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact))},
        {"sender", "device-2"}};
    return QString::fromUtf8(QJsonDocument(frame).toJson(QJsonDocument::Compact));
}

// Each iteration has the relay send kMessages command frames and runs the event loop until the
// receiver's count (reset here, raised by the caller's connection) has them all; reports msgs/s.
// Time per command delivered to the client, against which the answers are measured.
RatioReport g_answerRatios;

void measureDelivery(benchmark::State& state, Relay& relay, QEventLoop& loop, int& received,
                     bool client = false)
{
    const QString frame = commandFrame();
    double total = 0;
    for (auto _ : state) {
        received = 0;
        QElapsedTimer timer;
        timer.start();
        relay.sendToAll(frame, kMessages);
        if (!runUntil(loop, [&] { return received == kMessages; }))
            state.SkipWithError("messages lost");
        total += double(timer.nsecsElapsed());
    }
    if (client)
        g_answerRatios.report(state, total, state.iterations() * kMessages, true);
    state.counters["msgs/s"] =
        benchmark::Counter(double(kMessages) * double(state.iterations()), benchmark::Counter::kIsRate);
}

long long residentKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

void BM_BareWebSocketToGui(benchmark::State& state)
{
    Relay relay;
    if (!relay.start()) {
        state.SkipWithError("no relay");
        return;
    }
    QWebSocket socket;
    QEventLoop loop;
    bool connected = false;
    int received = 0;
    QObject::connect(&socket, &QWebSocket::connected, &loop, [&] {
        connected = true;
        loop.quit();
    });
    QObject::connect(&socket, &QWebSocket::textMessageReceived, &loop, [&] {
        if (++received == kMessages)
            loop.quit();
    });
    socket.open(relay.url);
    if (!runUntil(loop, [&] { return connected; })) {
        state.SkipWithError("no link");
        return;
    }
    measureDelivery(state, relay, loop, received);
}

// Joins the client to the relay; whether it got in.
bool join(TavixProjectCloudClient* client, QEventLoop& loop)
{
    bool joined = false;
    const auto connection = QObject::connect(client, &TavixProjectCloudClient::joinSuccess, &loop, [&] {
        joined = true;
        loop.quit();
    });
    client->joinProject(QStringLiteral("bench"), QStringLiteral("code"));
    const bool done = runUntil(loop, [&] { return joined; });
    QObject::disconnect(connection);
    return done;
}

// Leaves and waits for the end of the link.
void leave(TavixProjectCloudClient* client, QEventLoop& loop)
{
    bool exited = !client->isJoinProject();
    const auto connection = QObject::connect(client, &TavixProjectCloudClient::exitSuccess, &loop, [&] {
        exited = true;
        loop.quit();
    });
    client->exitProject();
    runUntil(loop, [&] { return exited; });
    QObject::disconnect(connection);
}

void BM_CloudClientToGui(benchmark::State& state)
{
    Relay relay;
    TavixProjectCloudClient* client = TavixProjectCloudClient::instance();
    client->setRelayUrl(relay.start() ? relay.url : QUrl());
    QEventLoop loop;
    if (!join(client, loop)) {
        state.SkipWithError("no join");
        return;
    }
    int received = 0;
    const auto counting = QObject::connect(client, &TavixProjectCloudClient::receiveCmd, &loop, [&] {
        if (++received == kMessages)
            loop.quit();
    });
    measureDelivery(state, relay, loop, received, true);
    QObject::disconnect(counting);
    leave(client, loop);
}

void BM_RequestsAnswered(benchmark::State& state)
{
    TavixProjectCloudClient* client = TavixProjectCloudClient::instance();
    QEventLoop loop;
    double total = 0;
    for (auto _ : state) {
        Relay relay;
        client->setRelayUrl(relay.start(kMessages) ? relay.url : QUrl());
        qint64 answered = 0;
        QObject::connect(relay.relay, &CloudRelayStandin::floodProgress, &loop,
                         [&](const QString&, qint64, qint64 count) {
                             answered = count;
                             if (count == kMessages)
                                 loop.quit();
                         });
        QElapsedTimer timer;
        timer.start();
        if (!join(client, loop) || !runUntil(loop, [&] { return answered == kMessages; })) {
            state.SkipWithError("requests not answered");
            break;
        }
        total += double(timer.nsecsElapsed());
        leave(client, loop);
    }
    state.counters["answers/s"] =
        benchmark::Counter(double(kMessages) * double(state.iterations()), benchmark::Counter::kIsRate);
    g_answerRatios.report(state, total, state.iterations() * kMessages, false);
}

void BM_OversizedFrames(benchmark::State& state)
{
    Relay relay;
    TavixProjectCloudClient* client = TavixProjectCloudClient::instance();
    client->setRelayUrl(relay.start() ? relay.url : QUrl());
    const QString oversized =
        QStringLiteral(R"({"type":"send_message","status":0,"data":"%1"})")
            .arg(QString(int(4 * TavixProjectCloudConnectWork::MaxIncomingMessageSize), 'x'));
    QEventLoop loop;
    long long afterWarmUp = -1;
    int rounds = 0;
    int delivered = 0;
    const auto counting =
        QObject::connect(client, &TavixProjectCloudClient::receiveCmd, &loop, [&] { ++delivered; });
    for (auto _ : state) {
        if (!join(client, loop)) {
            state.SkipWithError("no join");
            break;
        }
        bool exited = false;
        const auto connection = QObject::connect(client, &TavixProjectCloudClient::exitSuccess, &loop, [&] {
            exited = true;
            loop.quit();
        });
        relay.sendToAll(oversized, 1);
        const bool refused = runUntil(loop, [&] { return exited; });
        QObject::disconnect(connection);
        if (!refused) {
            state.SkipWithError("oversized frame not refused");
            break;
        }
        if (++rounds == kWarmUpRounds)
            afterWarmUp = residentKib();
    }
    QObject::disconnect(counting);
    state.counters["rss_growth_kib"] = double(residentKib() - afterWarmUp);
    state.counters["delivered"] = delivered;
}

} // namespace

BENCHMARK(BM_BareWebSocketToGui)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CloudClientToGui)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RequestsAnswered)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OversizedFrames)->Iterations(100)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
