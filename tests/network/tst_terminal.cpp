// The control link end to end against the stand-in media server, also over links
// that split, garble and cut what the server writes. Discovery is pointed at the
// stand-in's own (free) loopback port and the stand-in answers the address a probe
// came from; CTest runs this in a private network namespace, whose interface gives
// the probes an address to be sent for. Then its two workers on their own: the link
// worker against stand-in servers, the discovery worker against hand-made reply
// datagrams. Worker signals are emitted in the worker threads and recorded by the
// spies at once, so waits are on counts, never on a next emission.
#include "network/DiscoveryDatagram.h"
#include "network/DiscoveryFilter.h"
#include "network/LocalAddresses.h"
#include "network/NetworkLimits.h"
#include "network/RequestHead.h"
#include "network/RequestManager.h"
#include "network/Terminal.h"
#include "network/TerminalConnect.h"
#include "network/TerminalDetect.h"
#include "support/IsolatedNetwork.h"
#include "support/LoopbackStandin.h"
#include "support/ProcessThreads.h"
#include "support/SilentListener.h"
#include "support/SpyWaits.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include <sys/ioctl.h>
#include <sys/socket.h>

namespace {
std::unique_ptr<Terminal> startTerminal(const MediaServerStandin& standin, QStringList names = {"Tavix"})
{
    std::unique_ptr<Terminal> terminal(Terminal::create(names));
    terminal->setDiscoveryTarget(QHostAddress::LocalHost, standin.discoveryPort());
    terminal->startServer(freeUdpPort());
    return terminal;
}

// The most a TCP socket's kernel send queue may grow to (the third field of tcp_wmem); 0 when
// it cannot be read.
qint64 maxKernelSendQueue()
{
    QFile file("/proc/sys/net/ipv4/tcp_wmem");
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = file.readAll().simplified().split(' ');
    return fields.size() == 3 ? fields.at(2).toLongLong() : 0;
}

// A TCP port of 127.0.0.1 where nothing listened a moment ago.
int closedTcpPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

QByteArray reply(const QJsonObject& params, const QString& cmd = "serverConfig")
{
    return DiscoveryDatagram::encode(cmd, params);
}

// A discovery worker listening on a free loopback port, and a sender of datagrams to it.
struct DetectRig
{
    int port = freeUdpPort();
    TerminalDetect detect;
    QSignalSpy detected{&detect, &TerminalDetect::serverDetected};
    QUdpSocket v4;
    QUdpSocket v6;

    DetectRig()
    {
        v4.bind(QHostAddress::LocalHost, 0);
        v6.bind(QHostAddress::LocalHostIPv6, 0);
    }
    void send(const QByteArray& datagram, bool fromIPv6 = false)
    {
        (fromIPv6 ? v6 : v4)
            .writeDatagram(datagram, fromIPv6 ? QHostAddress::LocalHostIPv6 : QHostAddress::LocalHost,
                           quint16(port));
    }
    // Sends a well-formed reply naming port 9999 until it is reported (the worker binds in
    // its own thread, and a loaded machine may hold a sender's replies past its per-second
    // budget); what was reported before it is left in `detected`. At most 300 sends, 30 s.
    bool heard()
    {
        for (int i = 0; i < 300; ++i) {
            send(reply({{"ip", "127.0.0.1"}, {"port", 9999}}));
            if (QTest::qWaitFor([&] { return !detected.isEmpty() && detected.last().at(1) == 9999; }, 100)) {
                detected.removeLast();
                return true;
            }
        }
        return false;
    }
};
} // namespace

class TestTerminal : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void carriesCommandsBothWays_data();
    void carriesCommandsBothWays();
    void productNameFilter_data();
    void productNameFilter();
    void linkCutMidFrameIsFollowedByRediscovery();
    void resetLinkFiltersByAddress();
    void discoveryFilter_data();
    void discoveryFilter();
    void noisyHostKeepsNoServerAway_data();
    void noisyHostKeepsNoServerAway();
    void deadAnnouncedAddressIsSkipped_data();
    void deadAnnouncedAddressIsSkipped();
    void portlessRepliesTakeNoSenderSlot();
    void stopServerLeavesNoThreadAndNoLateEvents();

    void connectRequestWhileConnectedStartsNothing();
    void commandsBackToBackPastAFullKernelQueueArriveWholeInOrder();
    void silentAddressIsAbandoned_data();
    void silentAddressIsAbandoned();
    void detectRestartsAfterStop();
    void detectReportsWholeRepliesOnly_data();
    void detectReportsWholeRepliesOnly();
};

void TestTerminal::initTestCase()
{
    // Probes are sent once per usable local IPv4 address; without one nothing leaves.
    QVERIFY2(!LocalAddresses::localIPv4Addresses().isEmpty(),
             "no running non-loopback IPv4 interface: run this through CTest, which starts it in a "
             "private network namespace, or under `unshare -rn scripts/netns-run.sh`");
}

void TestTerminal::carriesCommandsBothWays_data()
{
    QTest::addColumn<int>("splitBytes");
    QTest::addColumn<int>("garbageBytes");
    QTest::newRow("plain") << 0 << 0;
    QTest::newRow("frames split into 7-byte writes") << 7 << 0;
    QTest::newRow("garbage before every frame") << 0 << 50;
    QTest::newRow("both") << 3 << 13;
}

void TestTerminal::carriesCommandsBothWays()
{
    QFETCH(int, splitBytes);
    QFETCH(int, garbageBytes);
    std::unique_ptr<Terminal> idle(Terminal::create({"Tavix"}));
    idle->sendCmd("getProgramTable", {}); // no workers: nothing happens
    QCOMPARE(idle->getConnectIp(), QString());

    StandinOptions options;
    options.splitBytes = splitBytes;
    options.garbageBytes = garbageBytes;
    auto standin = startStandin(options);
    QVERIFY(standin);
    QSignalSpy atServer(standin.get(), &MediaServerStandin::commandReceived);
    auto terminal = startTerminal(*standin);
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    terminal->sendCmd("early", {}); // no link yet: dropped, not queued

    QVERIFY(waitForFirst(connected));
    QCOMPARE(connected.at(0).at(0).toString(), QString("127.0.0.1"));
    QCOMPARE(terminal->getConnectIp(), QString("127.0.0.1"));
    QTRY_VERIFY(!incoming.isEmpty());
    QCOMPARE(incoming.at(0).at(0).toString(), QString("connected"));
    QVERIFY(!incoming.at(0).at(1).toJsonObject().value("uid").toString().isEmpty());

    // Order and content both ways, with a large command among small ones; "early" never arrives.
    incoming.clear();
    const int n = 200;
    for (int i = 0; i < n; ++i) {
        QJsonObject params{{"i", i}};
        if (i == 7)
            params.insert("blob", QString(5000, 'b'));
        terminal->sendCmd("cmd", params);
        standin->sendToAll("evt", params);
    }
    QTRY_COMPARE(atServer.size(), n);
    QTRY_COMPARE(incoming.size(), n);
    QSet<QString> uids;
    for (int i = 0; i < n; ++i) {
        QCOMPARE(atServer.at(i).at(1).toJsonObject().value("i").toInt(), i);
        const QJsonObject params = incoming.at(i).at(1).toJsonObject();
        QCOMPARE(params.value("i").toInt(), i);
        uids.insert(params.value("uid").toString());
    }
    QCOMPARE(uids.size(), n);
    QCOMPARE(atServer.at(7).at(1).toJsonObject().value("blob").toString().size(), 5000);
    QCOMPARE(incoming.at(7).at(1).toJsonObject().value("blob").toString().size(), 5000);
}

void TestTerminal::productNameFilter_data()
{
    QTest::addColumn<QString>("announced");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("exact") << "Tavix" << true;
    QTest::newRow("case differs") << "tavix" << false;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("other product") << "Stelvane" << false;
}

void TestTerminal::productNameFilter()
{
    QFETCH(QString, announced);
    QFETCH(bool, accepted);
    StandinOptions options;
    options.productName = announced;
    auto standin = startStandin(options);
    QVERIFY(standin);
    QSignalSpy answered(standin.get(), &MediaServerStandin::probeAnswered);
    QSignalSpy clients(standin.get(), &MediaServerStandin::clientConnected);
    auto terminal = startTerminal(*standin);
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    if (accepted) {
        QVERIFY(waitForFirst(connected));
    } else {
        // Two answered probes: the first reply has long been handled by the second.
        QTRY_VERIFY_WITH_TIMEOUT(answered.size() >= 2, 8000);
        QCOMPARE(clients.size(), 0);
        QCOMPARE(connected.size(), 0);
    }
}

void TestTerminal::linkCutMidFrameIsFollowedByRediscovery()
{
    StandinOptions options;
    options.dropAfterBytes = 2000; // "connected", then into the second chunk of a large command
    auto standin = startStandin(options);
    QVERIFY(standin);
    auto terminal = startTerminal(*standin);
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy disconnected(terminal.get(), &IRCTerminal::socketDisconnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    QVERIFY(waitForFirst(connected));
    QTRY_COMPARE(incoming.size(), 1);

    standin->sendToAll("large", QJsonObject{{"blob", QString(5000, 'b')}});
    QVERIFY(waitForFirst(disconnected));
    terminal->sendCmd("whileDown", {}); // dropped
    // Rediscovered at the next probe; the new link starts clean.
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 2, 4000);
    QTRY_COMPARE(incoming.size(), 2);
    standin->sendToAll("after", {});
    QTRY_COMPARE(incoming.size(), 3);
    QStringList names;
    for (const auto& args : incoming)
        names << args.at(0).toString();
    QCOMPARE(names, (QStringList{"connected", "connected", "after"}));
    QCOMPARE(terminal->getConnectIp(), QString("127.0.0.1"));
}

void TestTerminal::resetLinkFiltersByAddress()
{
    auto first = startStandin();
    QVERIFY(first);
    auto second = startStandin({}, QHostAddress("127.0.0.2"));
    QVERIFY(second);
    auto terminal = startTerminal(*first);
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy disconnected(terminal.get(), &IRCTerminal::socketDisconnected);
    QVERIFY(waitForFirst(connected));
    QCOMPARE(terminal->getConnectIp(), QString("127.0.0.1"));

    // The same filter again still drops the link; discovery finds the same server.
    terminal->resetLink("");
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 1, 3000);
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 2, 4000);

    // Only the second server is accepted now, written in its IPv4-mapped form.
    QSignalSpy firstAnswers(first.get(), &MediaServerStandin::probeAnswered);
    terminal->resetLink("::ffff:127.0.0.2");
    QCOMPARE(terminal->getEnableIp(), QString("::ffff:127.0.0.2"));
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 2, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(firstAnswers.size() >= 2, 8000);
    QCOMPARE(connected.size(), 2);                            // the first server's replies are refused
    QCOMPARE(terminal->getConnectIp(), QString("127.0.0.1")); // kept after the drop

    terminal->setDiscoveryTarget(QHostAddress("127.0.0.2"), second->discoveryPort());
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 3, 4000);
    QCOMPARE(connected.last().at(0).toString(), QString("127.0.0.2"));
    QCOMPARE(terminal->getConnectIp(), QString("127.0.0.2"));
}

void TestTerminal::discoveryFilter_data()
{
    QTest::addColumn<QString>("linkIp");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("product");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("pinned");
    const QString a = QStringLiteral("10.0.0.5");
    QTest::newRow("any server") << "" << a << 4000 << "Tavix" << true << false;
    QTest::newRow("no product name") << "" << a << 4000 << "" << true << false;
    QTest::newRow("other product") << "" << a << 4000 << "Stelvane" << false << false;
    QTest::newRow("case differs") << "" << a << 4000 << "tavix" << false << false;
    QTest::newRow("port 1") << "" << a << 1 << "Tavix" << true << false;
    QTest::newRow("port 65535") << "" << a << 65535 << "Tavix" << true << false;
    // Out of range, also where the low 16 bits would name a real port.
    QTest::newRow("port 0") << "" << a << 0 << "Tavix" << false << false;
    QTest::newRow("port 65536") << "" << a << 65536 << "Tavix" << false << false;
    QTest::newRow("port 65536 + 4000") << "" << a << 65536 + 4000 << "Tavix" << false << false;
    QTest::newRow("port 4000 - 65536") << "" << a << 4000 - 65536 << "Tavix" << false << false;
    QTest::newRow("pinned") << a << a << 4000 << "Tavix" << true << true;
    QTest::newRow("pinned, mapped form") << "::ffff:10.0.0.5" << a << 4000 << "Tavix" << true << true;
    QTest::newRow("pinned, other address") << a << "10.0.0.6" << 4000 << "Tavix" << false << false;
    QTest::newRow("pinned, other product") << a << a << 4000 << "Stelvane" << false << true;
    QTest::newRow("pinned by name") << QString("server") << QString("server") << 4000 << "" << true << true;
}

void TestTerminal::discoveryFilter()
{
    QFETCH(QString, linkIp);
    QFETCH(QString, ip);
    QFETCH(int, port);
    QFETCH(QString, product);
    QFETCH(bool, accepted);
    QFETCH(bool, pinned);
    const DiscoveryFilter filter({"Tavix"}, linkIp);
    QCOMPARE(filter.accepts(ip, port, product), accepted);
    QCOMPARE(filter.pins(ip), pinned);
    // A worker without a filter reports every product and address.
    QVERIFY(DiscoveryFilter().acceptsProduct(product) && DiscoveryFilter().acceptsAddress(ip));
}

void TestTerminal::noisyHostKeepsNoServerAway_data()
{
    QTest::addColumn<QString>("linkIp");
    QTest::addColumn<QString>("forgedIp");
    QTest::addColumn<QString>("forgedProduct");
    QTest::addColumn<int>("hosts"); // noisy hosts 127.0.1.1 and up; 0: the server's own host
    const auto row = [](const char* name, const char* linkIp, const char* forgedIp, const char* product,
                        int hosts) {
        QTest::newRow(name) << QString(linkIp) << QString(forgedIp) << QString(product) << hosts;
    };
    // Refused replies, dropped before any budget.
    row("another product", "", "127.0.0.1", "Stelvane", 1);
    row("another product, server pinned", "127.0.0.1", "127.0.0.1", "Stelvane", 1);
    row("another address, server pinned", "127.0.0.1", "127.0.0.7", "Tavix", 1);
    // Accepted replies past the budget of their senders, which leaves the server's own untouched.
    row("this product, one host", "", "127.0.0.7", "Tavix", 1);
    row("this product, 50 hosts", "", "127.0.0.7", "Tavix", 50);
    // From the server's own host: replies naming the pinned address are never budgeted.
    row("pinned address, the server's host", "127.0.0.1", "127.0.0.1", "Tavix", 0);
}

// Noisy hosts send 300 replies a second naming a port where nothing listens, for at most 15 s;
// the real server is linked at its first answer all the same.
void TestTerminal::noisyHostKeepsNoServerAway()
{
    QFETCH(QString, linkIp);
    QFETCH(QString, forgedIp);
    QFETCH(QString, forgedProduct);
    QFETCH(int, hosts);
    auto standin = startStandin();
    QVERIFY(standin);
    QSignalSpy answered(standin.get(), &MediaServerStandin::probeAnswered);
    std::unique_ptr<Terminal> terminal(Terminal::create({"Tavix"}));
    terminal->resetLink(linkIp);
    terminal->setDiscoveryTarget(QHostAddress::LocalHost, standin->discoveryPort());
    const int replyPort = freeUdpPort();
    terminal->startServer(replyPort);
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);

    std::vector<std::unique_ptr<QUdpSocket>> noisy;
    for (int i = 0; i < qMax(hosts, 1); ++i) {
        noisy.push_back(std::make_unique<QUdpSocket>());
        const QHostAddress from(hosts == 0 ? QStringLiteral("127.0.0.1") : QStringLiteral("127.0.1.%1").arg(i + 1));
        QVERIFY(noisy.back()->bind(from, 0));
    }
    const QByteArray forged = reply({{"ip", forgedIp}, {"port", closedTcpPort()}, {"productName", forgedProduct}});
    int sent = 0;
    QTimer trickle;
    connect(&trickle, &QTimer::timeout, this, [&] {
        for (int i = 0; i < 3 && sent < 4500; ++i, ++sent)
            noisy.at(size_t(sent) % noisy.size())->writeDatagram(forged, QHostAddress::LocalHost, quint16(replyPort));
    });
    trickle.start(10);
    QVERIFY(waitForFirst(answered, 3 * Terminal::kProbeIntervalMs));
    QVERIFY2(waitForFirst(connected, Terminal::kProbeIntervalMs), "the server's first answer was dropped");
    QCOMPARE(connected.first().first().toString(), QString("127.0.0.1"));
    trickle.stop();
    QVERIFY(sent > 100); // the hosts were noisy from before the first probe
}

void TestTerminal::deadAnnouncedAddressIsSkipped_data()
{
    QTest::addColumn<int>("serverAnswers");
    QTest::addColumn<QString>("deadHost"); // the host announcing the dead address
    QTest::newRow("server answers every probe") << 1000 << "127.0.0.5";
    // Its later answers lost: it is tried from memory once the dead address is given up.
    QTest::newRow("server answers the first probe only") << 1 << "127.0.0.5";
    // As a second server of that host with a stale address would.
    QTest::newRow("the server's own host announces the dead address") << 1000 << "127.0.0.1";
}

// A host (another, or the server's own) announces this product at an address nobody holds (an
// attempt there hangs), answering every probe just before the real server. The real server is linked all the same: the attempt to
// the dead address is given up after its time-out, the server that answered meanwhile is tried at
// once, and the dead address is skipped for a while after that.
void TestTerminal::deadAnnouncedAddressIsSkipped()
{
    QFETCH(int, serverAnswers);
    QFETCH(QString, deadHost);
    QVERIFY_INSIDE_PRIVATE_NETWORK(); // the dead address is on the namespace's own LAN
    auto standin = startStandin();
    QVERIFY(standin);
    const int replyPort = freeUdpPort();
    const QByteArray dead = reply({{"ip", "198.18.0.77"}, {"port", 4000}, {"productName", "Tavix"}});
    const QByteArray live = reply({{"ip", "127.0.0.1"}, {"port", standin->tcpPort()}, {"productName", "Tavix"}});
    QUdpSocket hosts; // hears the probes and answers for both hosts, the dead one's first
    QVERIFY(hosts.bind(QHostAddress::LocalHost, 0));
    QUdpSocket deadSender;
    QVERIFY(deadSender.bind(QHostAddress(deadHost), 0));
    connect(&hosts, &QUdpSocket::readyRead, this, [&] {
        while (hosts.hasPendingDatagrams()) {
            char probe[2048];
            hosts.readDatagram(probe, sizeof probe);
            deadSender.writeDatagram(dead, QHostAddress::LocalHost, quint16(replyPort));
            if (serverAnswers-- > 0)
                hosts.writeDatagram(live, QHostAddress::LocalHost, quint16(replyPort));
        }
    });
    std::unique_ptr<Terminal> terminal(Terminal::create({"Tavix"}));
    terminal->setDiscoveryTarget(QHostAddress::LocalHost, hosts.localPort());
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    terminal->startServer(replyPort);
    // First answers after one probe period, the dead attempt given up after its time-out.
    QVERIFY2(waitForFirst(connected, 2 * Terminal::kProbeIntervalMs + TerminalConnect::kConnectTimeoutMs + 2000),
             "the real server was not tried");
    QCOMPARE(connected.first().first().toString(), QString("127.0.0.1"));
}

// Replies naming port 0 (nowhere to connect to) from 1,000 senders, more than are counted in one
// second, come just before the real server's: it is reported all the same.
void TestTerminal::portlessRepliesTakeNoSenderSlot()
{
    DetectRig rig;
    rig.detect.startDetect(rig.port);
    QVERIFY(rig.heard());
    const QByteArray portless = reply({{"ip", "127.0.0.1"}, {"port", 0}, {"productName", "Tavix"}});
    QTest::qWait(1100); // the next datagram opens a new one-second window
    for (int i = 0; i < 1000; ++i) {
        QUdpSocket sender;
        QVERIFY(sender.bind(QHostAddress(0x7f010001u + quint32(i / 250) * 256 + quint32(i % 250)), 0));
        sender.writeDatagram(portless, QHostAddress::LocalHost, quint16(rig.port));
        if (i % 50 == 49)
            QTest::qWait(2); // keeps the worker's receive queue from overflowing
    }
    // A few tries, all well within the window.
    const auto server = [&] {
        return std::any_of(rig.detected.cbegin(), rig.detected.cend(),
                           [](const QList<QVariant>& args) { return args.at(1).toInt() == 9999; });
    };
    for (int i = 0; i < 3 && !server(); ++i) {
        rig.send(reply({{"ip", "127.0.0.1"}, {"port", 9999}}));
        QTest::qWaitFor(server, 100);
    }
    QVERIFY2(server(), "the server's reply was dropped");
}

void TestTerminal::stopServerLeavesNoThreadAndNoLateEvents()
{
    auto standin = startStandin();
    QVERIFY(standin);
    QSignalSpy clients(standin.get(), &MediaServerStandin::clientVerified);
    QSignalSpy gone(standin.get(), &MediaServerStandin::clientDisconnected);
    const int threadsBefore = settledThreads();
    auto terminal = startTerminal(*standin);
    QCOMPARE(runningThreads(), threadsBefore + 1); // discovery; a link brings its own worker
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy disconnected(terminal.get(), &IRCTerminal::socketDisconnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);

    // Stop while the link worker's reports of the new connection (and of the
    // "connected" command) may still be queued for the GUI thread.
    QVERIFY(waitForFirst(clients));
    QCOMPARE(runningThreads(), threadsBefore + 2);
    terminal->stopServer();
    const int connectedAtStop = int(connected.size());
    const int incomingAtStop = int(incoming.size());
    QCOMPARE(disconnected.size(), 1);
    // The worker threads have finished; the system may take a moment to reap them.
    QTRY_COMPARE(runningThreads(), threadsBefore);
    QVERIFY(waitForFirst(gone));
    QCoreApplication::processEvents();
    QCOMPARE(connected.size(), connectedAtStop);
    QCOMPARE(incoming.size(), incomingAtStop);
    terminal->sendCmd("afterStop", {});
    QCOMPARE(terminal->getConnectIp(), QString());

    // Started again, it finds the server again.
    terminal->startServer(freeUdpPort());
    QTRY_VERIFY_WITH_TIMEOUT(connected.size() > connectedAtStop, 6000);
    terminal.reset(); // the destructor stops as well
    QTRY_COMPARE(runningThreads(), threadsBefore);
}

void TestTerminal::connectRequestWhileConnectedStartsNothing()
{
    auto first = startStandin();
    auto second = startStandin();
    QVERIFY(first && second);
    QSignalSpy atFirst(first.get(), &MediaServerStandin::commandReceived);
    QSignalSpy atSecond(second.get(), &MediaServerStandin::clientConnected);
    TerminalConnect link;
    QSignalSpy connected(&link, &TerminalConnect::socketConnected);
    link.disconnectFromServer(); // before any connect: nothing
    link.connectToServer("127.0.0.1", first->tcpPort());
    link.connectToServer("127.0.0.1", second->tcpPort()); // an attempt is under way
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 1, 5000);
    link.connectToServer("127.0.0.1", second->tcpPort()); // connected
    link.connectToServer("127.0.0.1", 0);                 // not a port
    // Requests are handled in order: once this command arrives, both were ignored.
    link.sendCmd("marker", {});
    QTRY_COMPARE_WITH_TIMEOUT(atFirst.size(), 1, 5000);
    QCOMPARE(atSecond.size(), 0);
    QCOMPARE(connected.size(), 1);
}

void TestTerminal::commandsBackToBackPastAFullKernelQueueArriveWholeInOrder()
{
    // A peer with a small receive buffer that reads nothing until every command has reached the
    // link: the kernel's queues fill, the rest waits in the link's own buffer behind them.
    QTcpServer peer;
    QVERIFY(peer.listen(QHostAddress::LocalHost, 0));
    const int receiveBuffer = 64 * 1024; // the accepted socket inherits it
    QCOMPARE(::setsockopt(int(peer.socketDescriptor()), SOL_SOCKET, SO_RCVBUF, &receiveBuffer,
                          sizeof receiveBuffer),
             0);
    const qint64 sendQueue = maxKernelSendQueue();
    QVERIFY2(sendQueue > 0, "tcp_wmem unreadable: the kernel's share of the sent bytes is unknown");

    TerminalConnect link;
    QSignalSpy connected(&link, &TerminalConnect::socketConnected);
    link.connectToServer("127.0.0.1", peer.serverPort());
    QVERIFY(peer.waitForNewConnection(5000));
    std::unique_ptr<QTcpSocket> socket(peer.nextPendingConnection());
    QVERIFY(waitForFirst(connected));
    socket->write(DiscoveryDatagram::encode("connected", {})); // a peer that answers keeps the link

    // Single-chunk commands, and now and then one of three chunks that the link paces.
    const QString blob(900, 'b');
    const QString longBlob(2500, 'L');
    const qint64 total = 2 * sendQueue + 4 * receiveBuffer;
    const int n = int(total / 900) + 1;
    for (int i = 0; i < n; ++i)
        link.sendCmd("cmd", QJsonObject{{"i", i}, {"blob", i % 1000 == 999 ? longBlob : blob}});
    // The link's thread handles requests in order: once this has run there, every command above
    // has been handed to the socket.
    QVERIFY(QMetaObject::invokeMethod(
        &link, [] {}, Qt::BlockingQueuedConnection));
    int queuedAtPeer = 0;
    QCOMPARE(::ioctl(int(socket->socketDescriptor()), FIONREAD, &queuedAtPeer), 0);
    QVERIFY2(queuedAtPeer < total, "the peer's queue took everything: its receive buffer was not limited");

    RequestManager reader;
    QSignalSpy received(&reader, &IRCRequestManager::cmdReceive);
    connect(socket.get(), &QTcpSocket::readyRead, &reader, [&] { reader.appendData(socket->readAll()); });
    reader.appendData(socket->readAll());
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), n, 60000);
    for (int i = 0; i < n; ++i) {
        const QJsonObject params = received.at(i).at(1).toJsonObject();
        QCOMPARE(received.at(i).at(0).toString(), QString("cmd"));
        QCOMPARE(params.value("i").toInt(), i);
        QCOMPARE(params.value("blob").toString(), i % 1000 == 999 ? longBlob : blob);
    }
    QCOMPARE(reader.bufferedBytes(), 0);
    QCOMPARE(reader.incomingMessageCount(), 0);
}

void TestTerminal::silentAddressIsAbandoned_data()
{
    QTest::addColumn<bool>("disconnect");
    QTest::addColumn<bool>("refused");
    QTest::newRow("after the time-out") << false << false;
    // Dropped at once, not left hanging without its time-out.
    QTest::newRow("on a disconnect request") << true << false;
    // The host answered: reported so, that its other ports may be tried.
    QTest::newRow("a refused port") << false << true;
}

void TestTerminal::silentAddressIsAbandoned()
{
    QFETCH(bool, disconnect);
    QFETCH(bool, refused);
    // The attempt to it hangs like one to an address that never answers.
    SilentListener silent;
    QVERIFY(silent.listen());
    const int port = refused ? closedTcpPort() : silent.port();

    auto live = startStandin();
    QVERIFY(live);
    TerminalConnect link;
    QSignalSpy connected(&link, &TerminalConnect::socketConnected);
    QSignalSpy failed(&link, &TerminalConnect::connectFailed);
    link.connectToServer("127.0.0.1", port);
    if (disconnect)
        link.disconnectFromServer();
    // Discovery keeps offering the live server; it is taken once the silent
    // attempt has been given up.
    for (int i = 0; i < 20 && connected.isEmpty(); ++i) {
        link.connectToServer("127.0.0.1", live->tcpPort());
        QTest::qWait(500); // the discovery period, shortened
    }
    QCOMPARE(connected.size(), 1);
    QTRY_COMPARE(live->clientCount(), 1);
    // A given-up attempt is reported, one the link was asked to drop is not.
    QCOMPARE(failed.size(), disconnect ? 0 : 1);
    if (!disconnect)
        QCOMPARE(failed.at(0), (QVariantList{"127.0.0.1", port, refused}));
}

void TestTerminal::detectRestartsAfterStop()
{
    DetectRig rig;
    rig.detect.startDetect(rig.port);
    rig.detect.startDetect(rig.port + 1); // already listening: ignored
    rig.detect.requestConnect(0);         // the reply port is known before any probe
    QVERIFY(rig.heard());
    rig.detect.stopDetect();
    rig.detect.startDetect(rig.port); // a new socket after a stop
    QVERIFY(rig.heard());
    QVERIFY(rig.detected.isEmpty());
}

void TestTerminal::detectReportsWholeRepliesOnly_data()
{
    QTest::addColumn<QList<QByteArray>>("datagrams");
    QTest::addColumn<bool>("fromIPv6");
    QTest::addColumn<QString>("ip"); // empty: nothing reported
    QTest::addColumn<int>("port");
    const QByteArray whole = reply({{"port", 4000}});
    QByteArray notLast = whole;
    notLast[16] = 0;
    QByteArray file = whole;
    file[20] = 1;
    QTest::newRow("named address") << QList<QByteArray>{reply({{"ip", "127.0.0.5"}, {"port", 4001}})} << false
                                   << "127.0.0.5" << 4001;
    QTest::newRow("sender address") << QList<QByteArray>{whole} << false << "127.0.0.1" << 4000;
    // Nowhere to connect to: no port, or one out of range.
    QTest::newRow("no port") << QList<QByteArray>{reply({{"productName", "Tavix"}})} << false << "" << 0;
    QTest::newRow("port 65536") << QList<QByteArray>{reply({{"port", 65536}})} << false << "" << 0;
    QTest::newRow("IPv6 sender, named address")
        << QList<QByteArray>{reply({{"ip", "127.0.0.6"}, {"port", 1}})} << true << "127.0.0.6" << 1;
    // Nowhere to connect to: the sender has no IPv4 form and names no address.
    QTest::newRow("IPv6 sender, no address") << QList<QByteArray>{whole} << true << "" << 0;
    QTest::newRow("other command") << QList<QByteArray>{reply({{"port", 1}}, "requestServerConfig")} << false
                                   << "" << 0;
    // Every datagram stands alone: nothing of one completes another.
    QTest::newRow("frame split over two")
        << QList<QByteArray>{whole.left(30), whole.mid(30)} << false << "" << 0;
    // A reply too large for one chunk cannot be encoded: an empty datagram goes out.
    QTest::newRow("empty") << QList<QByteArray>{reply({{"ip", QString(2000, 'x')}})} << false << "" << 0;
    QTest::newRow("unreadable text") << QList<QByteArray>{RequestHead::frame(1, 0, true, "{nope")} << false
                                     << "" << 0;
    QTest::newRow("garbage before the frame") << QList<QByteArray>{"xy" + whole} << false << "" << 0;
    QTest::newRow("bytes after the frame") << QList<QByteArray>{whole + "xy"} << false << "" << 0;
    QTest::newRow("not the last chunk") << QList<QByteArray>{notLast} << false << "" << 0;
    QTest::newRow("file chunk") << QList<QByteArray>{file} << false << "" << 0;
}

void TestTerminal::detectReportsWholeRepliesOnly()
{
    QFETCH(QList<QByteArray>, datagrams);
    QFETCH(bool, fromIPv6);
    QFETCH(QString, ip);
    QFETCH(int, port);
    DetectRig rig;
    rig.detect.startDetect(rig.port);
    QVERIFY(rig.heard());
    for (const QByteArray& datagram : datagrams)
        rig.send(datagram, fromIPv6);
    QVERIFY(rig.heard()); // handled in order: whatever the row caused is reported by now
    QCOMPARE(rig.detected.size(), ip.isEmpty() ? 0 : 1);
    if (!ip.isEmpty()) {
        QCOMPARE(rig.detected.at(0).at(0).toString(), ip);
        QCOMPARE(rig.detected.at(0).at(1).toInt(), port);
    }
}

QTEST_GUILESS_MAIN(TestTerminal)
#include "tst_terminal.moc"
