// The stand-in relay as a person starts it: a separate program on a free loopback port that
// answers logins with the status it was given (JSON text here), answers pings and logs every
// frame on stdout.
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWebSocket>

class TestRelayProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersAndLogs()
    {
        QProcess relay;
        // The next JSON line the program writes.
        const auto log = [&relay] {
            while (!relay.canReadLine())
                if (!relay.waitForReadyRead(5000))
                    return QJsonObject();
            return QJsonDocument::fromJson(relay.readLine()).object();
        };
        relay.start(qEnvironmentVariable("TAVIX_BINARY_DIR") +
                        "/tools/cloud-relay-standin/tavix-cloud-relay-standin",
                    {"--port", "0", "--login-status", "\"401\""});
        QVERIFY2(relay.waitForStarted(10000), qPrintable(relay.errorString()));
        const QJsonObject listening = log();
        QCOMPARE(listening.value("event").toString(), QStringLiteral("listening"));
        const QUrl url(listening.value("url").toString());
        QVERIFY(url.host() == QStringLiteral("127.0.0.1") && url.port() > 0);

        QWebSocket socket;
        QSignalSpy received(&socket, &QWebSocket::textMessageReceived);
        QSignalSpy connected(&socket, &QWebSocket::connected);
        socket.open(url);
        QVERIFY(connected.wait(5000));
        QCOMPARE(log().value("event").toString(), QStringLiteral("connected"));
        socket.sendTextMessage(R"({"type":"device_login","project_num":"p","bind_code":"c"})");
        socket.sendTextMessage(R"({"type":"ping"})");
        socket.sendTextMessage("not json");
        QTRY_COMPARE(received.count(), 2);
        QCOMPARE(received.at(0).at(0).toString(),
                 QStringLiteral(R"({"data":"","status":"401","type":"device_login"})"));
        QCOMPARE(received.at(1).at(0).toString(), QStringLiteral(R"({"status":0,"type":"pong"})"));
        QCOMPARE(log().value("frame").toObject().value("project_num").toString(), QStringLiteral("p"));
        QStringList rest;
        for (int i = 0; i < 4; ++i) {
            const QJsonObject line = log();
            rest << line.value("dir").toString() + " " +
                        (line.contains("text") ? line.value("text").toString()
                                               : line.value("frame").toObject().value("type").toString());
        }
        QCOMPARE(rest, QStringList({"out device_login", "in ping", "out pong", "in not json"}));
        relay.terminate();
        QVERIFY(relay.waitForFinished(5000));
    }
};

QTEST_GUILESS_MAIN(TestRelayProgram)
#include "tst_relay_program.moc"
