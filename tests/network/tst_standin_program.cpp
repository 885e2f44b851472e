// The stand-in media server as a person starts it: a separate program on
// loopback with free ports, a password, a scripted state, a replay file, frames
// split and garbled on the wire, and its JSON-lines log on stdout.
#include "network/RequestManager.h"
#include "support/FileTree.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString standinPath()
{
    return qEnvironmentVariable("TAVIX_BINARY_DIR") + "/tools/mediaserver-standin/tavix-mediaserver-standin";
}
} // namespace

class TestStandinProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void handshakeStateReplayAndLog();
};

// The options reach the server (what it does with them is tested on the class itself): the
// password is asked for, the replay follows "connected", the state answers, and the wire is split
// and garbled on the way.
void TestStandinProgram::handshakeStateReplayAndLog()
{
    QTemporaryDir dir;
    const QString state = dir.filePath("state.json");
    const QString replay = dir.filePath("replay.jsonl");
    QVERIFY(writeFile(state, R"({"globalProperties": {"brightness": 42}})"));
    QVERIFY(writeFile(replay, "# sent after \"connected\"\n"
                              "{\"cmd\": \"setGlobalProperty\", \"params\": {\"standby\": true}}\n"));

    QProcess standin;
    standin.start(standinPath(),
                  {"--bind", "127.0.0.1", "--discovery-port", "0", "--tcp-port", "0", "--password", "pw",
                   "--state", state, "--replay", replay, "--split-bytes", "5", "--garbage-bytes", "9"});
    QVERIFY2(standin.waitForStarted(10000), qPrintable(standin.errorString()));
    QVERIFY(standin.waitForReadyRead(10000));
    const QJsonObject listening = QJsonDocument::fromJson(standin.readLine()).object();
    QCOMPARE(listening.value("event").toString(), QString("listening"));
    const int port = listening.value("tcpPort").toInt();
    QVERIFY(port > 0);
    QVERIFY(listening.value("discoveryPort").toInt() > 0);

    QTcpSocket socket;
    RequestManager manager;
    QSignalSpy incoming(&manager, &IRCRequestManager::cmdReceive);
    connect(&manager, &IRCRequestManager::buffSendRequest, &socket,
            [&](const QByteArray& b) { socket.write(b); });
    connect(&socket, &QTcpSocket::readyRead, &manager, [&] { manager.appendData(socket.readAll()); });
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    QVERIFY(socket.waitForConnected(5000));
    QTRY_COMPARE(incoming.size(), 1);
    manager.sendCmd("connectVerify", QJsonObject{{"password", "nope"}}, {});
    QTRY_COMPARE(incoming.size(), 2);
    manager.sendCmd("connectVerify", QJsonObject{{"password", "pw"}}, {});
    QTRY_COMPARE_WITH_TIMEOUT(incoming.size(), 4, 5000);
    manager.sendCmd("getGlobalProperty", QJsonObject{{"name", "brightness"}}, {});
    QTRY_COMPARE(incoming.size(), 5);
    QStringList names;
    for (const auto& args : incoming)
        names << args.at(0).toString();
    QCOMPARE(names, (QStringList{"connectVerifyAsk", "passwordError", "connected", "setGlobalProperty",
                                 "setGlobalProperty"}));
    QCOMPARE(incoming.at(3).at(1).toJsonObject().value("standby").toBool(), true);
    QCOMPARE(incoming.at(4).at(1).toJsonObject().value("brightness").toInt(), 42);

    // Every received command is one JSON line, in order.
    const QStringList sent{"connectVerify", "connectVerify", "getGlobalProperty"};
    QStringList logged;
    QElapsedTimer clock;
    clock.start();
    while (logged.size() < sent.size() && clock.elapsed() < 5000) {
        if (!standin.canReadLine() && !standin.waitForReadyRead(100))
            continue;
        while (standin.canReadLine()) {
            QJsonParseError error;
            const QJsonDocument line = QJsonDocument::fromJson(standin.readLine(), &error);
            QCOMPARE(error.error, QJsonParseError::NoError);
            if (line.object().value("event").toString() == "command")
                logged << line.object().value("cmd").toString();
        }
    }
    QCOMPARE(logged, sent);

    socket.disconnectFromHost();
    standin.kill();
    standin.waitForFinished(5000);
}

QTEST_GUILESS_MAIN(TestStandinProgram)
#include "tst_standin_program.moc"
