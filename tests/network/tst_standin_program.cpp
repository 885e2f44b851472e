// The stand-in media server as a person starts it: a separate program on
// loopback with free ports, a password, a scripted state, a replay file, frames
// split and garbled on the wire, and its JSON-lines log on stdout.
#include "network/RequestManager.h"

#include <QElapsedTimer>
#include <QJsonArray>
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

bool writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}
} // namespace

class TestStandinProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void handshakeStateReplayAndLog();
};

void TestStandinProgram::handshakeStateReplayAndLog()
{
    QTemporaryDir dir;
    const QString state = dir.filePath("state.json");
    const QString replay = dir.filePath("replay.jsonl");
    QVERIFY(writeText(
        state, R"({"setProgramTable": {"programArray": [{"id": "only", "name": "One", "playState": 1}]},
                                 "globalProperties": {"brightness": 42}})"));
    QVERIFY(writeText(replay,
                      "# sent after \"connected\"\n"
                      "{\"cmd\": \"setGlobalProperty\", \"params\": {\"standby\": true}}\n"
                      "\n"
                      "{\"cmd\": \"addProgram\", \"params\": {\"id\": \"p9\"}, \"delayMs\": 20}\n"
                      "{\"cmd\": \"removeProgram\", \"params\": {\"id\": \"p9\"}, \"delayMs\": 5}\n"));

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
    QCOMPARE(incoming.at(0).at(0).toString(), QString("connectVerifyAsk"));
    manager.sendCmd("getProgramTable", {}, {}); // ignored before the handshake
    manager.sendCmd("connectVerify", QJsonObject{{"password", "nope"}}, {});
    QTRY_COMPARE(incoming.size(), 2);
    QCOMPARE(incoming.at(1).at(0).toString(), QString("passwordError"));
    manager.sendCmd("connectVerify", QJsonObject{{"password", "pw"}}, {});
    QTRY_COMPARE_WITH_TIMEOUT(incoming.size(), 6, 5000); // connected + three replayed
    const QStringList expected{"connected", "setGlobalProperty", "addProgram", "removeProgram"};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(incoming.at(2 + i).at(0).toString(), expected.at(i));
    QCOMPARE(incoming.at(3).at(1).toJsonObject().value("standby").toBool(), true);

    manager.sendCmd("getProgramTable", {}, {});
    manager.sendCmd("getGlobalProperty", QJsonObject{{"name", "brightness"}}, {});
    manager.sendCmd("getGlobalProperty", QJsonObject{{"name", "unknown"}}, {});
    manager.sendCmd("getProject", QJsonObject{{"id", 7}}, {}); // not in the state: no answer
    manager.sendCmd("custom", QJsonObject{{"n", 1}}, {});
    QTRY_COMPARE(incoming.size(), 8);
    QCOMPARE(incoming.at(6).at(0).toString(), QString("setProgramTable"));
    QCOMPARE(incoming.at(6).at(1).toJsonObject().value("programArray").toArray().size(), 1);
    QCOMPARE(incoming.at(7).at(1).toJsonObject().value("brightness").toInt(), 42);

    // Every received command is one JSON line, in order.
    const QStringList sent{"getProgramTable",   "connectVerify",     "connectVerify", "getProgramTable",
                           "getGlobalProperty", "getGlobalProperty", "getProject",    "custom"};
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
