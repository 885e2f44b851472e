// The two control-link workers on their own, over loopback sockets: the link
// worker against stand-in servers, the discovery worker against hand-made reply
// datagrams. Worker signals are emitted in the worker threads and recorded
// by the spies at once, so waits are on counts, never on a next emission.
#include "network/DiscoveryDatagram.h"
#include "network/RequestHead.h"
#include "network/TerminalConnect.h"
#include "network/TerminalDetect.h"
#include "support/LoopbackStandin.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

class TestTerminalWorkers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void connectRequestWhileConnectedStartsNothing();
    void silentAddressIsAbandoned();
    void detectRestartsAfterStop();
    void detectReportsWholeRepliesOnly_data();
    void detectReportsWholeRepliesOnly();
};

void TestTerminalWorkers::connectRequestWhileConnectedStartsNothing()
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

void TestTerminalWorkers::silentAddressIsAbandoned()
{
    // A listener with a full accept queue never completes a handshake: the attempt
    // hangs like one to an address that never answers.
    QTcpServer silent;
    silent.setListenBacklogSize(0);
    QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
    silent.pauseAccepting();
    QTcpSocket filler;
    filler.connectToHost(QHostAddress::LocalHost, silent.serverPort());
    QVERIFY(filler.waitForConnected(5000));

    auto live = startStandin();
    QVERIFY(live);
    TerminalConnect link;
    QSignalSpy connected(&link, &TerminalConnect::socketConnected);
    link.connectToServer("127.0.0.1", silent.serverPort());
    // Discovery keeps offering the live server; it is taken once the silent
    // attempt has been given up.
    for (int i = 0; i < 20 && connected.isEmpty(); ++i) {
        link.connectToServer("127.0.0.1", live->tcpPort());
        QTest::qWait(500); // the discovery period, shortened
    }
    QCOMPARE(connected.size(), 1);
    QTRY_COMPARE(live->clientCount(), 1);
}

namespace {
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
    // its own thread); what was reported before it is left in `detected`.
    bool heard()
    {
        for (int i = 0; i < 50; ++i) {
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

void TestTerminalWorkers::detectRestartsAfterStop()
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

void TestTerminalWorkers::detectReportsWholeRepliesOnly_data()
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
    QTest::newRow("no port") << QList<QByteArray>{reply({{"productName", "Tavix"}})} << false << "127.0.0.1"
                             << 0;
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

void TestTerminalWorkers::detectReportsWholeRepliesOnly()
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

QTEST_GUILESS_MAIN(TestTerminalWorkers)
#include "tst_terminalworkers.moc"
