// Discovery on a LAN without a gateway, over a real limited broadcast on the fixed ports
// (36543, 36545), and under datagram floods. The test runs itself inside a private network
// namespace that it creates (unshare -rn) with lo and a veth pair carrying two addresses and no
// route beyond their subnet: no default route, none for 255.255.255.255. Broadcasts and floods
// never leave it and parallel runs never share a port. Exits 77 (skipped) where user and network
// namespaces are not available.
#include "network/LocalAddresses.h"
#include "network/RequestManager.h"
#include "network/Terminal.h"
#include "network/TerminalDetect.h"
#include "support/DatagramFlood.h"
#include "tools/mediaserver-standin/MediaServerStandin.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>

namespace {
const char* const kInNamespace = "TAVIX_IN_NETNS";
constexpr int kSkipped = 77;
const QString kFirst = QStringLiteral("198.51.100.1");
const QString kSecond = QStringLiteral("198.51.100.7");
constexpr int kReplyPort = 36545;

// Re-runs this program inside a fresh namespace; answers its exit code.
int runInNamespace(int argc, char** argv)
{
    if (QProcess::execute("unshare", {"-rn", "true"}) != 0) {
        std::printf("SKIP: user and network namespaces are not available here\n");
        return kSkipped;
    }
    const QString setup = QStringLiteral("ip link set lo up && ip link add v0 type veth peer name v1 && "
                                         "ip addr add %1/24 dev v0 && ip addr add %2/24 dev v0 && "
                                         "ip link set v0 up && ip link set v1 up || exit %3; exec \"$0\" \"$@\"")
                              .arg(kFirst, kSecond)
                              .arg(kSkipped);
    QStringList args{"-rn", "sh", "-c", setup};
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kInNamespace, "1");
    // Memory is measured under floods: keep AddressSanitizer's quarantine of freed blocks
    // small, or its (bounded) growth hides what the program itself holds.
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":quarantine_size_mb=4");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start("unshare", args);
    if (!child.waitForFinished(240000))
        return 1;
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : 1;
}

bool waitFor(QSignalSpy& spy, int ms = 8000)
{
    return !spy.isEmpty() || spy.wait(ms);
}
} // namespace

class TestDiscoveryNetns : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void probesLeaveFromEveryAddress();
    void discoveryEndToEnd_data();
    void discoveryEndToEnd();
    void floodKeepsMemoryFlatAndStopPrompt_data();
    void floodKeepsMemoryFlatAndStopPrompt();
};

void TestDiscoveryNetns::initTestCase()
{
    QCOMPARE(LocalAddresses::localIPv4Addresses(), (QStringList{kFirst, kSecond}));
    // No gateway: a socket bound to no address has no way to the limited broadcast address.
    QUdpSocket unbound;
    QCOMPARE(unbound.writeDatagram("x", QHostAddress::Broadcast, TerminalDetect::kProbePort), -1);
}

void TestDiscoveryNetns::probesLeaveFromEveryAddress()
{
    QUdpSocket listener;
    QVERIFY(listener.bind(QHostAddress::AnyIPv4, TerminalDetect::kProbePort));
    RequestManager reader;
    QStringList senders;
    connect(&listener, &QUdpSocket::readyRead, this, [&] {
        while (listener.hasPendingDatagrams()) {
            const QNetworkDatagram datagram = listener.receiveDatagram();
            senders << datagram.senderAddress().toString();
            reader.appendData(datagram.data());
        }
    });
    QSignalSpy probes(&reader, &IRCRequestManager::cmdReceive);
    TerminalDetect detect;
    detect.startDetect(kReplyPort);
    detect.requestConnect(TerminalDetect::kProbePort);
    QTRY_COMPARE(probes.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(probes.at(i).at(0).toString(), QString("requestServerConfig"));
        const QJsonObject params = probes.at(i).at(1).toJsonObject();
        QCOMPARE(params.value("port").toInt(), kReplyPort);
        // Each probe names the address it was sent from.
        QCOMPARE(params.value("ip").toString(), senders.at(i));
    }
    senders.sort();
    QCOMPARE(senders, (QStringList{kFirst, kSecond}));
}

void TestDiscoveryNetns::discoveryEndToEnd_data()
{
    QTest::addColumn<QString>("announceIp");
    QTest::addColumn<QString>("linkedTo");
    // A server that names no address is reached at the address its reply came from.
    QTest::newRow("sender address") << QString() << kFirst;
    // A server that names one (answering at the probe's own "ip") is reached there.
    QTest::newRow("announced address") << QString("127.0.0.1") << QString("127.0.0.1");
}

void TestDiscoveryNetns::discoveryEndToEnd()
{
    QFETCH(QString, announceIp);
    QFETCH(QString, linkedTo);
    StandinOptions options; // real discovery port 36543, any address
    options.announceIp = announceIp;
    options.replyToProbeIp = !announceIp.isEmpty();
    MediaServerStandin standin(options);
    QVERIFY(standin.start());
    QSignalSpy probes(&standin, &MediaServerStandin::probeReceived);

    std::unique_ptr<Terminal> terminal(Terminal::create({"Tavix"}));
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    terminal->startServer(kReplyPort);
    QVERIFY(waitFor(connected));
    QCOMPARE(connected.at(0).at(0).toString(), linkedTo);
    QVERIFY(probes.size() >= 2);
    QCOMPARE(probes.at(0).at(1).toJsonObject().value("port").toInt(), kReplyPort);
    QTRY_VERIFY(!incoming.isEmpty());
    QCOMPARE(incoming.at(0).at(0).toString(), QString("connected"));
    if (!announceIp.isEmpty())
        return;

    // No probes while the link is up.
    const int probesWhileUp = int(probes.size());
    QVERIFY(!probes.wait(2500));
    QCOMPARE(probes.size(), probesWhileUp);
}

void TestDiscoveryNetns::floodKeepsMemoryFlatAndStopPrompt_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("empty datagrams") << int(DatagramFlood::Empty);
    QTest::newRow("unfinished heads") << int(DatagramFlood::UnfinishedHeads);
    QTest::newRow("unfinished messages") << int(DatagramFlood::UnfinishedMessages);
    QTest::newRow("replies") << int(DatagramFlood::Replies);
    QTest::newRow("garbage") << int(DatagramFlood::Garbage);
}

// A host floods the reply port from 64 addresses. The worker's memory stays within 50 MB of
// idle, a server's reply is heard again right after the flood, and stopping the worker in the
// middle of a flood does not wait for the flood to end.
void TestDiscoveryNetns::floodKeepsMemoryFlatAndStopPrompt()
{
    QFETCH(int, kind);
    constexpr int kServerPort = 4242;
    auto detect = std::make_unique<TerminalDetect>();
    int heard = 0;
    connect(detect.get(), &TerminalDetect::serverDetected, this, [&](const QString&, int port) {
        if (port == kServerPort)
            ++heard;
    });
    QUdpSocket server;
    QVERIFY(server.bind(QHostAddress::LocalHost, 0));
    const QByteArray reply = DiscoveryDatagram::encode(
        "serverConfig", QJsonObject{{"ip", "127.0.0.1"}, {"port", kServerPort}, {"productName", "Tavix"}});
    // Resent until heard: the worker starts listening in its own thread, and a flood may
    // have filled the socket's receive queue.
    auto serverHeard = [&] {
        const int before = heard;
        for (int i = 0; i < 100 && heard == before; ++i) {
            server.writeDatagram(reply, QHostAddress::LocalHost, kReplyPort);
            QTest::qWait(20);
        }
        return heard > before;
    };
    detect->startDetect(kReplyPort);
    QVERIFY(serverHeard());

    const qint64 idle = DatagramFlood::residentBytes();
    qint64 peak = idle;
    QTimer sampler;
    connect(&sampler, &QTimer::timeout, this, [&] { peak = qMax(peak, DatagramFlood::residentBytes()); });
    sampler.start(5);
    quint64 sent = 0;
    {
        DatagramFlood flood(DatagramFlood::Kind(kind), kReplyPort);
        QVERIFY(flood.isValid());
        flood.start();
        QTest::qWait(1500);
        flood.stop();
        sent = flood.sent();
    }
    QVERIFY2(serverHeard(), "no reply heard after the flood");
    sampler.stop();

    DatagramFlood flood(DatagramFlood::Kind(kind), kReplyPort);
    flood.start();
    QTest::qWait(300);
    QElapsedTimer stopping;
    stopping.start();
    detect.reset();
    const qint64 stopMs = stopping.elapsed();
    const bool floodWasRunning = flood.running();
    flood.stop();

    qInfo("%llu datagrams in 1.5 s; resident memory idle %lld MB, peak %lld MB; stopped in %lld ms", sent,
          idle >> 20, peak >> 20, stopMs);
    QVERIFY2(peak - idle < 50 * 1024 * 1024, "memory grew under the flood");
    QVERIFY2(floodWasRunning, "stopping the worker waited for the flood to end");
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!qEnvironmentVariableIsSet(kInNamespace))
        return runInNamespace(argc, argv);
    TestDiscoveryNetns test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_discovery_netns.moc"
