// The stand-in relay as a person starts it: a separate program on a free loopback port that
// answers logins with the status it was given, answers pings and logs every frame on stdout.
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWebSocket>

namespace {

QString relayPath()
{
    return qEnvironmentVariable("TAVIX_BINARY_DIR") + "/tools/cloud-relay-standin/tavix-cloud-relay-standin";
}

// The next JSON line the program writes, waiting for it.
QJsonObject nextLine(QProcess& process)
{
    while (!process.canReadLine())
        if (!process.waitForReadyRead(5000))
            return QJsonObject();
    return QJsonDocument::fromJson(process.readLine()).object();
}

QJsonObject nextReply(QSignalSpy& received)
{
    if (received.isEmpty() && !received.wait(5000))
        return QJsonObject();
    return QJsonDocument::fromJson(received.takeFirst().at(0).toString().toUtf8()).object();
}

} // namespace

class TestRelayProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void answersAndLogs_data();
    void answersAndLogs();
};

void TestRelayProgram::answersAndLogs_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QJsonValue>("status");
    QTest::addColumn<QString>("id");

    QTest::newRow("accepts by default") << QStringList() << QJsonValue("0") << "device-1";
    QTest::newRow("refuses as told") << QStringList{"--login-status", "-1"} << QJsonValue(-1) << "";
    QTest::newRow("text status") << QStringList{"--login-status", "\"401\""} << QJsonValue("401") << "";
}

void TestRelayProgram::answersAndLogs()
{
    QFETCH(QStringList, arguments);
    QFETCH(QJsonValue, status);
    QFETCH(QString, id);

    QProcess relay;
    relay.start(relayPath(), QStringList{"--port", "0"} + arguments);
    QVERIFY2(relay.waitForStarted(10000), qPrintable(relay.errorString()));
    const QJsonObject listening = nextLine(relay);
    QCOMPARE(listening.value("event").toString(), QStringLiteral("listening"));
    const QUrl url(listening.value("url").toString());
    QCOMPARE(url.host(), QStringLiteral("127.0.0.1"));
    QVERIFY(url.port() > 0);

    QWebSocket socket;
    QSignalSpy received(&socket, &QWebSocket::textMessageReceived);
    QSignalSpy connected(&socket, &QWebSocket::connected);
    socket.open(url);
    QVERIFY(connected.wait(5000));
    QCOMPARE(nextLine(relay).value("event").toString(), QStringLiteral("connected"));

    socket.sendTextMessage(R"({"type":"device_login","project_num":"p","bind_code":"c"})");
    QCOMPARE(nextReply(received), QJsonObject({{"type", "device_login"}, {"status", status}, {"data", id}}));
    const QJsonObject in = nextLine(relay);
    QCOMPARE(in.value("dir").toString(), QStringLiteral("in"));
    QCOMPARE(in.value("frame").toObject().value("project_num").toString(), QStringLiteral("p"));
    QCOMPARE(nextLine(relay).value("dir").toString(), QStringLiteral("out"));

    socket.sendTextMessage(R"({"type":"ping"})");
    QCOMPARE(nextReply(received), QJsonObject({{"type", "pong"}, {"status", 0}}));
    socket.sendTextMessage("not json");
    socket.flush(); // nothing runs the event loop while the test reads the log
    QCOMPARE(nextLine(relay).value("frame").toObject().value("type").toString(), QStringLiteral("ping"));
    nextLine(relay); // the pong
    QCOMPARE(nextLine(relay).value("text").toString(), QStringLiteral("not json"));

    relay.terminate();
    QVERIFY(relay.waitForFinished(5000));
}

QTEST_GUILESS_MAIN(TestRelayProgram)
#include "tst_relay_program.moc"
