// Project distribution of a 10 MiB packet (files of 4, 3, 2 and 1 MiB and a small project file) on
// loopback, the designer in a thread of its own, the panel on the GUI thread as in the program.
//  - BM_FramedFilesBaseline: the same files through a bare pair of request managers on a loopback
//    socket, nothing written on arrival: the pace of the file-transfer layer alone.
//  - BM_IssuePacket: issue() until the panel reports receiveComplate and the received packet is
//    installed (invitation, offer, acceptance, reception into the staging folder, swap). Counters: rss_growth_MiB (peak resident
//    set during the transfer minus the resident set before it, whole process), its ratio to the
//    largest file, and the worst lateness of a 5 ms timer on the GUI thread during the transfer.
// Compare BM_IssuePacket's time with the baseline's: their ratio is the cost of distribution.
// The designer invites the panel with its first LAN address, which the panel then connects to:
// run it in a private network namespace (unshare -rn scripts/netns-run.sh bench_distribution).
#include "IsolatedBenchmarks.h"
#include "network/LocalAddresses.h"
#include "network/PacketReception.h"
#include "network/PacketServer.h"
#include "network/PacketTerminal.h"
#include "network/RequestManager.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

#include <memory>

namespace {
const QList<qint64> kFileSizes{4 << 20, 3 << 20, 2 << 20, 1 << 20};
constexpr qint64 kLargest = 4 << 20;

struct Packet
{
    QTemporaryDir dir;
    QString folder = dir.filePath("packet");
    QStringList files;

    // The 10 MiB packet, or only its project file.
    explicit Packet(bool full = true)
    {
        QDir().mkpath(folder + "/image");
        for (int i = 0; full && i < kFileSizes.size(); ++i)
            write(QStringLiteral("image/%1.png").arg(i), kFileSizes.at(i));
        write("project.tavx", 4096);
    }
    void write(const QString& name, qint64 size)
    {
        QFile file(folder + "/" + name);
        file.open(QIODevice::WriteOnly);
        QByteArray block(64 * 1024, 'x');
        for (qint64 done = 0; done < size; done += block.size())
            file.write(block.constData(), qMin<qint64>(block.size(), size - done));
        files << name;
    }
};

// Resident set and its peak, in bytes, from /proc/self/status.
qint64 statusBytes(const char* key)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLongLong() * 1024;
    return 0;
}

// Starts a new peak of the resident set (Linux 4.0+).
void resetPeakRss()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

int freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

void BM_FramedFilesBaseline(benchmark::State& state)
{
    Packet packet;
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    QTcpSocket sender;
    sender.connectToHost(QHostAddress::LocalHost, server.serverPort());
    if (!sender.waitForConnected(5000) || !server.waitForNewConnection(5000)) {
        state.SkipWithError("no loopback link");
        return;
    }
    std::unique_ptr<QTcpSocket> receiver(server.nextPendingConnection());
    RequestManager out;
    RequestManager in;
    QObject::connect(&out, &IRCRequestManager::buffSendRequest, &sender,
                     [&](const QByteArray& buff) { sender.write(buff); });
    QObject::connect(receiver.get(), &QTcpSocket::readyRead, &in,
                     [&] { in.appendData(receiver->readAll()); });
    QEventLoop loop;
    int received = 0;
    int next = 0;
    auto sendNext = [&] {
        if (next < packet.files.size())
            out.sendFile(packet.folder + "/" + packet.files.at(next++), {});
    };
    QObject::connect(&out, &IRCRequestManager::fileContentSend, &loop, [&](qlonglong, bool last) {
        if (last)
            sendNext();
    });
    QObject::connect(&in, &IRCRequestManager::fileContentReceive, &loop, [&](const QByteArray&, bool last) {
        if (last && ++received == packet.files.size())
            loop.quit();
    });
    for (auto _ : state) {
        received = 0;
        next = 0;
        sendNext();
        loop.exec();
    }
}

void BM_IssuePacket(benchmark::State& state)
{
    Packet packet;
    const QString receive = packet.dir.filePath("downloadProject");
    QDir().mkpath(receive);
    const int invitationPort = freeUdpPort();

    QThread designerThread;
    designerThread.start();
    QObject designerContext;
    designerContext.moveToThread(&designerThread);
    PacketServer* server = nullptr;
    QMetaObject::invokeMethod(
        &designerContext,
        [&] {
            server = new PacketServer;
            server->setPorts(freeUdpPort(), 0, invitationPort);
            server->startServer();
        },
        Qt::BlockingQueuedConnection);

    PacketTerminal panel;
    panel.setInvitationPort(invitationPort);
    panel.setReceiveDir(receive);
    panel.startServer();

    QEventLoop loop;
    bool complete = false;
    QObject::connect(&panel, &IRCPacketTerminal::receiveDownloadInvitation, &panel,
                     [&] { panel.download(); });
    QObject::connect(&panel, &IRCPacketTerminal::receiveComplate, &loop, [&] {
        complete = PacketReception::installReceived(receive);
        loop.quit();
    });
    QObject::connect(&panel, &IRCPacketTerminal::serverDisconnected, &loop, [&] { loop.quit(); });
    // Designer and panel share the namespace's one LAN address, which the panel connects from.
    const QString panelIp = LocalAddresses::localIPv4Addresses().value(0);
    auto issue = [&](const QString& folder) {
        QMetaObject::invokeMethod(server, [=] { server->issue(panelIp, folder); });
    };

    // Untimed: link the panel with a one-file packet. The panel binds its invitation port in its
    // own thread, so an invitation may go unheard: issue again on each timeout, as a user would.
    Packet warmUp(false);
    const auto retry =
        QObject::connect(server, &IRCPacketServer::connectTimeout, &loop, [&] { issue(warmUp.folder); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    issue(warmUp.folder);
    guard.start(30000);
    loop.exec();
    QObject::disconnect(retry);
    if (!complete)
        state.SkipWithError("panel not linked");

    QElapsedTimer tick;
    qint64 worstLateNs = 0;
    QTimer gui;
    gui.setTimerType(Qt::PreciseTimer);
    gui.setInterval(5);
    QObject::connect(&gui, &QTimer::timeout, &loop, [&] {
        worstLateNs = qMax(worstLateNs, tick.nsecsElapsed() - 5'000'000);
        tick.restart();
    });

    qint64 growth = 0;
    for (auto _ : state) {
        complete = false;
        const qint64 before = statusBytes("VmRSS:");
        resetPeakRss();
        tick.start();
        gui.start();
        issue(packet.folder);
        guard.start(120000);
        loop.exec();
        gui.stop();
        growth = qMax(growth, statusBytes("VmHWM:") - before);
        if (!complete) {
            state.SkipWithError("packet not received");
            break;
        }
    }
    QMetaObject::invokeMethod(
        server, [&] { delete server; }, Qt::BlockingQueuedConnection);
    designerThread.quit();
    designerThread.wait();

    state.counters["rss_growth_MiB"] = double(growth) / (1 << 20);
    state.counters["rss_growth_per_largest_file"] = double(growth) / double(kLargest);
    state.counters["worst_gui_timer_delay_ms"] = double(worstLateNs) / 1e6;
    state.SetBytesProcessed(state.iterations() * (10 << 20));
}
} // namespace

BENCHMARK(BM_FramedFilesBaseline)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IssuePacket)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    return runIsolatedBenchmarks(argc, argv);
}
