// The two control-link workers on their own, over loopback sockets: the link
// worker against a plain framed TCP peer, the discovery worker against hand-made
// reply datagrams. Worker signals are emitted in the worker threads and recorded
// by the spies at once, so waits are on counts, never on a next emission.
#include "network/RequestHead.h"
#include "network/RequestManager.h"
#include "network/TerminalConnect.h"
#include "network/TerminalDetect.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>

#include <memory>

namespace {
// A framed TCP peer: accepts connections and records the commands it receives.
class FramedPeer : public QObject
{
    Q_OBJECT
public:
    QTcpServer server;
    QTcpSocket* socket = nullptr;
    RequestManager manager;

    FramedPeer()
    {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            socket = server.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this, [this] { manager.appendData(socket->readAll()); });
        });
        connect(&manager, &IRCRequestManager::buffSendRequest, this, [this](const QByteArray& b) {
            if (socket)
                socket->write(b);
        });
    }
    int port() const { return server.serverPort(); }
};

int freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

QByteArray replyDatagram(const QString& cmd, const QJsonObject& params)
{
    RequestManager framer;
    QByteArray out;
    QObject::connect(&framer, &IRCRequestManager::buffRadioRequest, &framer,
                     [&out](const QByteArray& b) { out += b; });
    framer.sendRadioCmd(cmd, params, QHostAddress::LocalHost, 0);
    return out;
}
} // namespace

class TestTerminalWorkers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void commandsOnlyTravelWhileConnected();
    void connectRequestWhileConnectedStartsNothing();
    void silentAddressIsAbandoned();
    void detectReportsReplies();
    void detectAssemblesFrameSplitOverDatagrams();
};

void TestTerminalWorkers::commandsOnlyTravelWhileConnected()
{
    FramedPeer peer;
    QSignalSpy atPeer(&peer.manager, &IRCRequestManager::cmdReceive);
    TerminalConnect link;
    QSignalSpy connected(&link, &TerminalConnect::socketConnected);
    QSignalSpy disconnected(&link, &TerminalConnect::socketDisconnect);
    QSignalSpy incoming(&link, &TerminalConnect::receiveCmd);

    link.disconnectFromServer(); // before any connect: nothing
    link.sendCmd("dropped", {});
    link.connectToServer("127.0.0.1", peer.port());
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 1, 5000);
    QCOMPARE(connected.at(0).at(0).toString(), QString("127.0.0.1"));
    QCOMPARE(link.serverAddress(), QString("127.0.0.1"));

    link.sendCmd("kept", QJsonObject{{"a", 1}});
    QTRY_COMPARE_WITH_TIMEOUT(atPeer.size(), 1, 5000);
    QCOMPARE(atPeer.at(0).at(0).toString(), QString("kept"));

    peer.manager.sendCmd("fromPeer", QJsonObject{{"b", 2}}, {});
    QTRY_COMPARE_WITH_TIMEOUT(incoming.size(), 1, 5000);
    QCOMPARE(incoming.at(0).at(0).toString(), QString("fromPeer"));
    QVERIFY(incoming.at(0).at(1).toJsonObject().contains("uid"));

    peer.socket->close();
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 1, 5000);
    QCOMPARE(link.serverAddress(), QString("127.0.0.1")); // kept after the drop
    link.sendCmd("droppedAgain", {});

    // The socket is reused for the next attempt.
    link.connectToServer("127.0.0.1", peer.port());
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 2, 5000);
    link.sendCmd("second", {});
    QTRY_COMPARE_WITH_TIMEOUT(atPeer.size(), 2, 5000);
    QCOMPARE(atPeer.at(1).at(0).toString(), QString("second"));
}

void TestTerminalWorkers::connectRequestWhileConnectedStartsNothing()
{
    FramedPeer first;
    FramedPeer second;
    QSignalSpy atFirst(&first.manager, &IRCRequestManager::cmdReceive);
    QSignalSpy secondConnections(&second.server, &QTcpServer::newConnection);
    TerminalConnect link;
    QSignalSpy connected(&link, &TerminalConnect::socketConnected);
    link.connectToServer("127.0.0.1", first.port());
    link.connectToServer("127.0.0.1", second.port()); // an attempt is under way
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 1, 5000);
    link.connectToServer("127.0.0.1", second.port()); // connected
    link.connectToServer("127.0.0.1", 0);             // not a port
    // Requests are handled in order: once this command arrives, both were ignored.
    link.sendCmd("marker", {});
    QTRY_COMPARE_WITH_TIMEOUT(atFirst.size(), 1, 5000);
    QCOMPARE(secondConnections.size(), 0);
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

    FramedPeer peer;
    TerminalConnect link;
    QSignalSpy connected(&link, &TerminalConnect::socketConnected);
    link.connectToServer("127.0.0.1", silent.serverPort());
    // Discovery keeps offering the live server; it is taken once the silent
    // attempt has been given up.
    for (int i = 0; i < 20 && connected.isEmpty(); ++i) {
        link.connectToServer("127.0.0.1", peer.port());
        QTest::qWait(500); // the discovery period, shortened
    }
    QCOMPARE(connected.size(), 1);
    QTRY_VERIFY(peer.socket != nullptr);
}

void TestTerminalWorkers::detectReportsReplies()
{
    const int replyPort = freeUdpPort();
    TerminalDetect detect;
    QSignalSpy detected(&detect, &TerminalDetect::serverDetected);
    detect.startDetect(replyPort);
    detect.startDetect(replyPort + 1); // already listening: ignored
    detect.requestConnect(0);          // the reply port is known before any probe
    QUdpSocket sender;
    QVERIFY(sender.bind(QHostAddress::LocalHost, 0));
    auto send = [&](const QString& cmd, const QJsonObject& params) {
        sender.writeDatagram(replyDatagram(cmd, params), QHostAddress::LocalHost, quint16(replyPort));
    };
    // The worker binds in its own thread; resend until it listens.
    for (int i = 0; i < 50; ++i) {
        send("serverConfig", QJsonObject{{"ip", ""}, {"port", 4000}, {"productName", "Tavix"}});
        if (QTest::qWaitFor([&] { return !detected.isEmpty(); }, 100))
            break;
    }
    QVERIFY(!detected.isEmpty());
    detected.clear();

    send("otherCommand", QJsonObject{{"ip", "127.0.0.9"}, {"port", 1}});
    send("serverConfig", QJsonObject{{"ip", "127.0.0.5"}, {"port", 4001}, {"productName", "X"}});
    send("serverConfig", QJsonObject{{"productName", "NoPort"}});
    QTRY_COMPARE(detected.size(), 2);
    QCOMPARE(detected.at(0).at(0).toString(), QString("127.0.0.5"));
    QCOMPARE(detected.at(0).at(1).toInt(), 4001);
    QCOMPARE(detected.at(0).at(2).toString(), QString("X"));
    QCOMPARE(detected.at(1).at(0).toString(), QString("127.0.0.1")); // empty "ip": the sender
    QCOMPARE(detected.at(1).at(1).toInt(), 0);

    detect.stopDetect();
    detect.startDetect(replyPort); // a new socket after a stop
    detected.clear();
    for (int i = 0; i < 50; ++i) {
        send("serverConfig", QJsonObject{{"port", 4002}});
        if (QTest::qWaitFor([&] { return !detected.isEmpty(); }, 100))
            break;
    }
    QVERIFY(!detected.isEmpty());
    QCOMPARE(detected.at(0).at(1).toInt(), 4002);
}

void TestTerminalWorkers::detectAssemblesFrameSplitOverDatagrams()
{
    const int replyPort = freeUdpPort();
    TerminalDetect detect;
    QSignalSpy detected(&detect, &TerminalDetect::serverDetected);
    detect.startDetect(replyPort);
    QUdpSocket sender;
    QVERIFY(sender.bind(QHostAddress::LocalHost, 0));
    const QByteArray datagram = replyDatagram("serverConfig", QJsonObject{{"port", 5000}});
    for (int i = 0; i < 50; ++i) {
        sender.writeDatagram(datagram, QHostAddress::LocalHost, quint16(replyPort));
        if (QTest::qWaitFor([&] { return !detected.isEmpty(); }, 100))
            break;
    }
    QVERIFY(!detected.isEmpty());
    detected.clear();
    // Half a frame, then the rest from the same sender.
    sender.writeDatagram(datagram.left(30), QHostAddress::LocalHost, quint16(replyPort));
    sender.writeDatagram(datagram.mid(30), QHostAddress::LocalHost, quint16(replyPort));
    QTRY_COMPARE_WITH_TIMEOUT(detected.size(), 1, 5000);
    QCOMPARE(detected.at(0).at(1).toInt(), 5000);
}

QTEST_GUILESS_MAIN(TestTerminalWorkers)
#include "tst_terminalworkers.moc"
