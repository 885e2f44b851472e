// A media server that sends state commands faster than the panel applies them, with the views
// that follow them shown (the play-state view of 20 running nodes, the program table, the volume
// slider) in the project root's window:
// - BM_StreamDirect (the twin): the commands made and handed to the project's command dispatch on
//   the GUI thread, kBatch per turn of the event loop, as fast as it applies them;
// - BM_StreamOverLink: a server thread writes the same commands to the project's control link
//   over loopback as fast as TCP takes them.
// Counters: "applied_per_s" (commands applied per second, from the first to the last),
// "peak_rss_MiB" (the process's peak resident set during the stream) and "max_stall_ms" (the
// longest the GUI thread left a 10 ms timer waiting, which is how long the interface did not
// answer); the link's "rate_x_direct" and "peak_rss_x_direct" are its figures as ratios to the
// twin's. The twin runs first, so that what the link's stream leaves behind does not count for it.
// kCommands state commands unless TAVIX_BENCH_STREAM_COMMANDS sets another count. Run in a
// Release build, inside a private network namespace, with the software renderer:
//
//     QT_QUICK_BACKEND=software unshare -rn scripts/netns-run.sh build/release-bench/bench/qml/bench_stream

#include "QmlBenchSupport.h"
#include "editing/RCScenePresenter.h"
#include "network/IRCTerminal.h"
#include "network/MessageRequest.h"
#include "network/NetworkLimits.h"
#include "network/RequestHead.h"
#include "tests/support/LoopbackFlood.h"

#include <QJsonArray>
#include <QUdpSocket>

#include <thread>

namespace {

constexpr int kCommands = 300000;
constexpr int kNodes = 20;
constexpr int kPrograms = 10;
constexpr int kBatch = 512;
// The project root's discovery reply port.
constexpr int kReplyPort = 36545;

double g_directRate = 0;
double g_directPeak = 0;

int commandCount()
{
    const int n = qEnvironmentVariableIntValue("TAVIX_BENCH_STREAM_COMMANDS");
    return n > 0 ? n : kCommands;
}

// Programs, a window layer and kNodes running nodes, what the stream then updates.
QJsonObject programTable()
{
    QJsonArray programs;
    for (int p = 0; p < kPrograms; ++p)
        programs.append(
            QJsonObject{{"id", QStringLiteral("p%1").arg(p)}, {"name", QStringLiteral("P%1").arg(p)}});
    QJsonArray nodes;
    for (int n = 0; n < kNodes; ++n)
        nodes.append(QJsonObject{{"id", QStringLiteral("n%1").arg(n)},
                                 {"name", QStringLiteral("N%1").arg(n)},
                                 {"playState", 1},
                                 {"length", 60000},
                                 {"programLayerId", "l0"},
                                 {"programIdArray", QJsonArray{QStringLiteral("p%1").arg(n % kPrograms)}}});
    return QJsonObject{
        {"programArray", programs},
        {"programLayerArray", QJsonArray{QJsonObject{{"id", "l0"}, {"name", "L0"}, {"programLayerType", 0}}}},
        {"programNodeArray", nodes}};
}

// Command i of the stream: mostly progress, now and then a play state or the volume.
void stateCommand(int i, QString& name, QJsonObject& params)
{
    switch (i % 10) {
    case 8:
        name = QStringLiteral("setProgram");
        params = {{"id", QStringLiteral("p%1").arg(i % kPrograms)}, {"playState", (i / 10) % 3}};
        break;
    case 9:
        name = QStringLiteral("setGlobalProperty");
        params = {{"volume", (i % 100) / 100.0}};
        break;
    default:
        name = QStringLiteral("setProgramNode");
        params = {{"id", QStringLiteral("n%1").arg(i % kNodes)}, {"progress", (i * 40) % 60000}};
    }
}

// The frames a server writes for one command.
QByteArray frames(quint64 uid, const QString& name, const QJsonObject& params)
{
    const QByteArray text = MessageRequest::buildText(name, params, uid);
    QByteArray out;
    for (qsizetype at = 0; at < text.size() || at == 0; at += NetworkLimits::kChunkSize) {
        const bool last = at + NetworkLimits::kChunkSize >= text.size();
        out += RequestHead::frame(uid, ERequestType_Message, last, text.mid(at, NetworkLimits::kChunkSize));
    }
    return out;
}

// Resets the process's peak resident set, and reads it in KiB.
void resetPeakResidentSet()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}
double peakResidentSetKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble();
    return 0;
}

// The shown scene: the play-state view, the program table and the volume slider side by side.
QString showViews()
{
    const QString sceneId =
        RCScenePresenter::instance()->addScene(QStringLiteral("stream"), QString(), QString(), false);
    const IRCControl::EIRCControlType kinds[] = {IRCControl::EIRCControlType_PlayStateManager,
                                                 IRCControl::EIRCControlType_ProgramTable,
                                                 IRCControl::EIRCControlType_GlobalVolume};
    int x = 10;
    for (IRCControl::EIRCControlType kind : kinds) {
        addPlacedItem(sceneId, kind, QPoint(x, 10), QSize(380, 700));
        x += 390;
    }
    RCScenePresenter::instance()->setSelectScene(sceneId);
    return sceneId;
}

// Counts the commands applied (after the project's own handling of each) from the program table
// on, and watches how long the GUI thread leaves a 10 ms timer waiting meanwhile.
struct StreamWatch
{
    int total;
    int applied = -1; // the table is not counted
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 maxStall = 0;
    double seconds = 0;
    QEventLoop loop;
    QTimer ticker;

    StreamWatch(IRCTerminal* terminal, int total) : total(total)
    {
        QObject::connect(terminal, &IRCTerminal::receiveCmd, &loop, [this](const QString& sCmd) {
            if (applied < 0 && sCmd != QLatin1String("setProgramTable"))
                return;
            if (++applied == 0) {
                clock.start();
                lastTick = 0;
            } else if (applied == this->total) {
                seconds = double(clock.nsecsElapsed()) / 1e9;
                loop.quit();
            }
        });
        QObject::connect(&ticker, &QTimer::timeout, &loop, [this] {
            if (!clock.isValid())
                return;
            const qint64 now = clock.elapsed();
            maxStall = qMax(maxStall, now - lastTick);
            lastTick = now;
        });
        ticker.start(10);
    }
    // Runs until every command is applied; false after five minutes.
    bool run()
    {
        QTimer::singleShot(300000, &loop, [this] { loop.exit(1); });
        return loop.exec() == 0;
    }
};

void report(benchmark::State& state, const StreamWatch& watch, bool direct)
{
    const double rate = watch.seconds > 0 ? watch.total / watch.seconds : 0;
    const double peak = peakResidentSetKiB() / 1024;
    state.counters["commands"] = watch.total;
    state.counters["applied_per_s"] = rate;
    state.counters["peak_rss_MiB"] = peak;
    state.counters["max_stall_ms"] = double(watch.maxStall);
    if (direct) {
        g_directRate = rate;
        g_directPeak = peak;
    } else if (g_directRate > 0 && g_directPeak > 0) {
        state.counters["rate_x_direct"] = rate / g_directRate;
        state.counters["peak_rss_x_direct"] = peak / g_directPeak;
    }
}

void BM_StreamDirect(benchmark::State& state)
{
    IRCTerminal* terminal = qmlBench().project->getTerminal();
    const QString sceneId = showViews();
    QmlObject host(controlScenePanelQml(), state);
    const int total = commandCount();
    for (auto _ : state) {
        resetPeakResidentSet();
        StreamWatch watch(terminal, total);
        Q_EMIT terminal->receiveCmd(QStringLiteral("connected"), {});
        Q_EMIT terminal->receiveCmd(QStringLiteral("setProgramTable"), programTable());
        int next = 0;
        QTimer feeder;
        QObject::connect(&feeder, &QTimer::timeout, &watch.loop, [&] {
            QString name;
            QJsonObject params;
            for (int end = qMin(total, next + kBatch); next < end; ++next) {
                stateCommand(next, name, params);
                params.insert(QStringLiteral("uid"), QString::number(next));
                Q_EMIT terminal->receiveCmd(name, params);
            }
            if (next == total)
                feeder.stop();
        });
        feeder.start(0);
        if (!watch.run())
            state.SkipWithError("the stream did not end");
        report(state, watch, true);
    }
    RCScenePresenter::instance()->removeScene(sceneId, false);
}
BENCHMARK(BM_StreamDirect)->Iterations(1)->Unit(benchmark::kSecond);

void BM_StreamOverLink(benchmark::State& state)
{
    IRCTerminal* terminal = qmlBench().project->getTerminal();
    const QString sceneId = showViews();
    QmlObject host(controlScenePanelQml(), state);
    const int total = commandCount();
    for (auto _ : state) {
        LoopbackListener listener;
        if (!listener.listen()) {
            state.SkipWithError("cannot listen");
            break;
        }
        resetPeakResidentSet();
        StreamWatch watch(terminal, total);
        // The server: blocking writes of what it has ready, a batch of commands at a time.
        std::thread server([listener = listener.fd, total] {
            const int fd = ::accept(listener, nullptr, nullptr);
            QByteArray out =
                frames(1, QStringLiteral("connected"), {}) + frames(2, "setProgramTable", programTable());
            QString name;
            QJsonObject params;
            for (int i = 0; fd >= 0 && i <= total; ++i) {
                if (i < total) {
                    stateCommand(i, name, params);
                    out += frames(quint64(i) + 3, name, params);
                }
                if (out.size() < 64 * 1024 && i < total)
                    continue;
                if (!sendAll(fd, out))
                    return;
                out.clear();
            }
            // Closed once the panel has read everything.
            char sink[256];
            while (fd >= 0 && ::recv(fd, sink, sizeof sink, 0) > 0) {
            }
            if (fd >= 0)
                ::close(fd);
        });
        QUdpSocket discovery;
        const QByteArray answer =
            frames(4000000000ULL, QStringLiteral("serverConfig"),
                   {{"ip", "127.0.0.1"}, {"port", listener.port}, {"productName", "Tavix"}});
        QTimer announcer;
        QObject::connect(&announcer, &QTimer::timeout, &watch.loop, [&] {
            if (watch.applied < 0)
                discovery.writeDatagram(answer, QHostAddress::LocalHost, kReplyPort);
            else
                announcer.stop();
        });
        announcer.start(100);
        const bool ended = watch.run();
        report(state, watch, false);
        // The link goes; the server leaves once the panel closed it.
        terminal->resetLink(QString());
        listener.shutdown();
        server.join();
        if (!ended)
            state.SkipWithError("the stream did not end");
    }
    RCScenePresenter::instance()->removeScene(sceneId, false);
}
BENCHMARK(BM_StreamOverLink)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    return runQmlBenchmarks(argc, argv, [](RCProject*) {});
}
