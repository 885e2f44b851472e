// Discovery over a real limited broadcast on the fixed ports (36543, 36545).
// The test runs itself inside a private network namespace that it creates
// (unshare -rn) with lo and a veth pair carrying two addresses, so broadcasts never
// leave it and parallel runs never share a port. Exits 77 (skipped) where user
// and network namespaces are not available.
#include "network/LocalAddresses.h"
#include "network/RequestManager.h"
#include "network/Terminal.h"
#include "network/TerminalDetect.h"
#include "tools/mediaserver-standin/MediaServerStandin.h"

#include <QNetworkDatagram>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

#include <cstdio>

namespace {
const char* const kInNamespace = "TAVIX_IN_NETNS";
constexpr int kSkipped = 77;
const QString kFirst = QStringLiteral("198.51.100.1");
const QString kSecond = QStringLiteral("198.51.100.7");

// Re-runs this program inside a fresh namespace; answers its exit code.
int runInNamespace(int argc, char** argv)
{
    if (QProcess::execute("unshare", {"-rn", "true"}) != 0) {
        std::printf("SKIP: user and network namespaces are not available here\n");
        return kSkipped;
    }
    const QString setup =
        QStringLiteral("ip link set lo up && ip link add v0 type veth peer name v1 && "
                       "ip addr add %1/24 dev v0 && ip addr add %2/24 dev v0 && "
                       "ip link set v0 up && ip link set v1 up && ip route add default dev v0 "
                       "|| exit %3; exec \"$0\" \"$@\"")
            .arg(kFirst, kSecond)
            .arg(kSkipped);
    QStringList args{"-rn", "sh", "-c", setup};
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kInNamespace, "1");
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
    void oneProbePerLocalAddress();
    void broadcastDiscoveryEndToEnd();
    void announcedAddressIsUsed();
};

void TestDiscoveryNetns::initTestCase()
{
    const QStringList locals = LocalAddresses::localIPv4Addresses();
    QCOMPARE(locals, (QStringList{kFirst, kSecond}));
}

void TestDiscoveryNetns::oneProbePerLocalAddress()
{
    QUdpSocket listener;
    QVERIFY(listener.bind(QHostAddress::AnyIPv4, TerminalDetect::kProbePort));
    RequestManager reader;
    QSignalSpy probes(&reader, &IRCRequestManager::cmdReceive);
    connect(&listener, &QUdpSocket::readyRead, this, [&] {
        while (listener.hasPendingDatagrams())
            reader.appendData(listener.receiveDatagram().data());
    });
    TerminalDetect detect;
    detect.startDetect(36545);
    detect.requestConnect(TerminalDetect::kProbePort);
    QTRY_COMPARE(probes.size(), 2);
    QStringList ips;
    for (const auto& args : probes) {
        QCOMPARE(args.at(0).toString(), QString("requestServerConfig"));
        const QJsonObject params = args.at(1).toJsonObject();
        QCOMPARE(params.value("port").toInt(), 36545);
        ips << params.value("ip").toString();
    }
    QCOMPARE(ips, (QStringList{kFirst, kSecond}));
}

void TestDiscoveryNetns::broadcastDiscoveryEndToEnd()
{
    StandinOptions options; // real discovery port 36543, any address
    MediaServerStandin standin(options);
    QVERIFY(standin.start());
    QSignalSpy probes(&standin, &MediaServerStandin::probeReceived);
    QSignalSpy atServer(&standin, &MediaServerStandin::commandReceived);

    std::unique_ptr<Terminal> terminal(Terminal::create({"Tavix"}));
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    terminal->startServer(36545);
    QVERIFY(waitFor(connected));
    QCOMPARE(connected.at(0).at(0).toString(), kFirst); // the sender of the reply
    QVERIFY(probes.size() >= 2);
    QCOMPARE(probes.at(0).at(1).toJsonObject().value("port").toInt(), 36545);

    QTRY_VERIFY(!incoming.isEmpty());
    QCOMPARE(incoming.at(0).at(0).toString(), QString("connected"));
    terminal->sendCmd("getTrackManager", {});
    QTRY_COMPARE(incoming.size(), 2);
    QCOMPARE(incoming.at(1).at(0).toString(), QString("setTrackManager"));
    QCOMPARE(atServer.last().at(0).toString(), QString("getTrackManager"));

    // No probes while the link is up.
    const int probesWhileUp = int(probes.size());
    QSignalSpy more(&standin, &MediaServerStandin::probeReceived);
    QVERIFY(!more.wait(2500));
    QCOMPARE(probes.size(), probesWhileUp);
    terminal->stopServer();
}

void TestDiscoveryNetns::announcedAddressIsUsed()
{
    StandinOptions options;
    options.announceIp = "127.0.0.1";
    options.replyToProbeIp = true;
    MediaServerStandin standin(options);
    QVERIFY(standin.start());
    QSignalSpy answered(&standin, &MediaServerStandin::probeAnswered);
    std::unique_ptr<Terminal> terminal(Terminal::create({"Tavix"}));
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    terminal->startServer(36545);
    QVERIFY(waitFor(connected));
    QCOMPARE(connected.at(0).at(0).toString(), QString("127.0.0.1"));
    QCOMPARE(answered.at(0).at(0).toString(), kFirst); // answered at the probe's own "ip"
}

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet(kInNamespace)) {
        QCoreApplication app(argc, argv);
        return runInNamespace(argc, argv);
    }
    QCoreApplication app(argc, argv);
    TestDiscoveryNetns test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_discovery_netns.moc"
