// The cloud client against the stand-in relay over loopback: the frames it writes, the login
// answers it understands, the commands it relays both ways, the heartbeat, the end of a link and
// the size limit on what it takes in.
#include "cloud/CloudTestSupport.h"
#include "cloud/TavixCloudRelayUrl.h"
#include "cloud/TavixProjectCloudClient.h"
#include "cloud/TavixProjectCloudConnectWork.h"
#include "support/ProcessThreads.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTcpServer>
#include <QThread>
#include <QTcpSocket>
#include <QWebSocket>
#include <QWebSocketProtocol>
#include <QWebSocketServer>

namespace {

QString compact(const QJsonObject& frame)
{
    return QString::fromUtf8(QJsonDocument(frame).toJson(QJsonDocument::Compact));
}

// A "send_message" frame as the relay delivers it.
QString relayed(const QString& data, const QString& sender = QStringLiteral("device-9"))
{
    return compact({{"type", "send_message"}, {"status", 0}, {"data", data}, {"sender", sender}});
}

const char* const kJoinAndExit = "--join-and-exit";

} // namespace

class TestCloudClient : public QObject
{
    Q_OBJECT

    TavixProjectCloudClient* m_client = TavixProjectCloudClient::instance();
    std::unique_ptr<CloudRelayStandin> m_relay;

    // Joins project "p" with code "c", the relay answering status: the error, or "" once joined.
    QString joinAnswer(const QJsonValue& status = 0)
    {
        m_relay->setLoginStatus(status);
        QSignalSpy joined(m_client, &TavixProjectCloudClient::joinSuccess);
        QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
        m_client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
        if (!QTest::qWaitFor([&] { return !joined.isEmpty() || !failed.isEmpty(); }, 5000))
            return QStringLiteral("no answer");
        return failed.isEmpty() ? QString() : failed.first().first().toString();
    }

private Q_SLOTS:
    void init()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("thread")));
        m_relay = startRelay();
        QVERIFY(m_relay);
        m_client->setRelayUrl(m_relay->url());
    }

    // Leaves the relay and waits until everything the end of the link emits has arrived, so that no
    // signal reaches the next test.
    void cleanup()
    {
        if (m_relay && m_relay->connectionCount() > 0) {
            const bool joined = m_client->isJoinProject();
            QSignalSpy exited(m_client, &TavixProjectCloudClient::exitSuccess);
            QSignalSpy gone(m_relay.get(), &CloudRelayStandin::deviceDisconnected);
            m_client->exitProject();
            QVERIFY(gone.wait(5000));
            if (joined)
                QTRY_COMPARE(exited.count(), 1);
        }
        m_relay.reset();
        m_client->setHeartbeatInterval(TavixProjectCloudConnectWork::DefaultHeartbeatInterval);
        QVERIFY(!m_client->isJoinProject());
    }

    // Runs first: the client has no link yet.
    void exitBeforeAnyJoinDoesNothing()
    {
        QSignalSpy exited(m_client, &TavixProjectCloudClient::exitSuccess);
        QSignalSpy connected(m_relay.get(), &CloudRelayStandin::deviceConnected);
        m_client->exitProject();
        m_client->sendCmd(QStringLiteral("x"), QJsonObject(), QString());
        QVERIFY(!connected.wait(200));
        QCOMPARE(exited.count(), 0);
    }

    // The first frame after a join is the login, byte for byte; a join over the open link logs in
    // again at once on the same link; a command goes out wrapped, its message as compact text.
    // (Defined below the class: moc misreads the raw strings in it.)
    void framesAreExact();

    // The status is read as a number or as numeric text; anything else is an error, never a join. A
    // relay that cannot be reached (undefined here) is a network error. None of them is an exit. A
    // join lasts: still joined, with no error, at the time of the row from the join on.
    void loginAnswer_data()
    {
        QTest::addColumn<QJsonValue>("status");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("stillJoinedAtMs");
        const QString refused = TavixProjectCloudConnectWork::loginErrorText();
        const QString expired = TavixProjectCloudConnectWork::userExpiredText();
        const QString unknown = TavixProjectCloudConnectWork::unknownErrorText();
        const QString network = TavixProjectCloudConnectWork::networkErrorText();
        QCOMPARE(QStringList({refused, expired, unknown, network}),
                 QStringList({"登陆错误", "用户信息失效", "未知错误", "网络连接错误"}));
        const auto row = [](const char* name, const QJsonValue& status, const QString& error,
                            int stillJoinedAtMs = 0) {
            QTest::newRow(name) << status << error << stillJoinedAtMs;
        };
        row("0 as text", "0", "");
        row("0, still joined at 20 s", 0, "", 20000);
        row("0", 0, "");
        row("-1 as text", "-1", refused);
        row("-1", -1, refused);
        row("401 as text", "401", expired);
        row("401", 401, expired);
        row("other code", "500", unknown);
        row("not a number", "ok", unknown);
        row("empty text", "", unknown);
        row("fraction", 0.5, unknown);
        row("boolean", false, unknown);
        row("null", QJsonValue::Null, unknown);
        row("no relay", QJsonValue::Undefined, network);
    }
    void loginAnswer()
    {
        QFETCH(QJsonValue, status);
        QFETCH(QString, error);
        if (status.isUndefined()) {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            m_client->setRelayUrl(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(closed.serverPort())));
        }
        QFETCH(int, stillJoinedAtMs);
        QSignalSpy exited(m_client, &TavixProjectCloudClient::exitSuccess);
        QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
        QElapsedTimer sinceJoin;
        sinceJoin.start();
        QCOMPARE(joinAnswer(status), error);
        if (stillJoinedAtMs > 0)
            QTest::qWait(int(qMax<qint64>(0, stillJoinedAtMs - sinceJoin.elapsed())));
        QCOMPARE(m_client->isJoinProject(), error.isEmpty());
        if (error.isEmpty())
            QCOMPARE(failed.count(), 0);
        QCOMPARE(exited.count(), 0);
        if (stillJoinedAtMs > 0)
            QCOMPARE(m_relay->connectionCount(), 1);
    }

    // While the link is up but the login refused, commands are dropped and pings still go out.
    void refusedLinkSendsOnlyPings()
    {
        m_client->setHeartbeatInterval(50);
        QSignalSpy frames(m_relay.get(), &CloudRelayStandin::textReceived);
        QVERIFY(!joinAnswer("401").isEmpty());
        m_client->sendCmd(QStringLiteral("dropped"), QJsonObject(), QString());
        const QString peer = frames.first().at(0).toString();
        QTRY_VERIFY(framesFrom(frames, peer).count(R"({"type":"ping"})") >= 2);
        for (const QString& frame : framesFrom(frames, peer))
            QVERIFY2(!frame.contains("dropped"), qPrintable(frame));
    }

    // What reaches the panel from the relay: only objects with "status" count, and a message only
    // when its text holds both "cmdType" and "cmdParams".
    void incomingFrames_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<bool>("delivered");
        const QString command = QStringLiteral(R"({"cmdType":"play","cmdParams":{"id":"x"}})");
        QTest::newRow("command") << relayed(command) << true;
        QTest::newRow("null params") << relayed(R"({"cmdType":"play","cmdParams":null})") << true;
        QTest::newRow("no status") << compact({{"type", "send_message"}, {"data", command}}) << false;
        QTest::newRow("no cmdParams") << relayed(R"({"cmdType":"play"})") << false;
        QTest::newRow("no cmdType") << relayed(R"({"cmdParams":{}})") << false;
        QTest::newRow("data not JSON") << relayed(QStringLiteral("play")) << false;
        QTest::newRow("data an array") << relayed(QStringLiteral("[1]")) << false;
        QTest::newRow("data an object, not text")
            << R"({"type":"send_message","status":0,"data":{"cmdType":"a","cmdParams":1}})" << false;
        QTest::newRow("other type") << compact({{"type", "news"}, {"status", 0}, {"data", command}}) << false;
        QTest::newRow("not JSON") << "send_message" << false;
        QTest::newRow("array") << "[{\"status\":0}]" << false;
        QTest::newRow("empty object") << "{}" << false;
    }
    void incomingFrames()
    {
        QFETCH(QString, frame);
        QFETCH(bool, delivered);
        QVERIFY(joinAnswer().isEmpty());
        QSignalSpy received(m_client, &TavixProjectCloudClient::receiveCmd);
        m_relay->sendToAll(frame);
        // A marker behind the frame: whatever the frame gave arrives before it.
        m_relay->sendToAll(relayed(R"({"cmdType":"marker","cmdParams":[]})", QStringLiteral("m")));
        QTRY_VERIFY(!received.isEmpty() && received.last().at(0).toString() == QLatin1String("marker"));
        QCOMPARE(received.count(), delivered ? 2 : 1);
        if (delivered) {
            const QJsonObject message = objectOf(objectOf(frame).value("data").toString());
            QCOMPARE(received.first(), QVariantList({message.value("cmdType").toString(),
                                                     QVariant::fromValue(message.value("cmdParams")),
                                                     QStringLiteral("device-9")}));
        }
    }

    // Another device asks for the load figures; the answer goes back to it with measured numbers for
    // what it asked and knows, and nothing else.
    void deviceLoadAnswer_data()
    {
        QTest::addColumn<QJsonValue>("asked");
        QTest::addColumn<QStringList>("answered");
        QTest::newRow("all") << QJsonValue(QJsonArray{"cpu_rate", "memory_rate", "gpu_rate"})
                             << QStringList{"cpu_rate", "memory_rate"};
        QTest::newRow("cpu and unknown")
            << QJsonValue(QJsonArray{"cpu_rate", "disk_rate"}) << QStringList{"cpu_rate"};
        QTest::newRow("none known") << QJsonValue(QJsonArray{1, "gpu_rate"}) << QStringList();
        QTest::newRow("not an array") << QJsonValue(QJsonObject{{"cpu_rate", true}}) << QStringList();
    }
    void deviceLoadAnswer()
    {
        QFETCH(QJsonValue, asked);
        QFETCH(QStringList, answered);
        QVERIFY(joinAnswer().isEmpty());
        const QString panel = m_relay->deviceIds().value(0);
        QSignalSpy frames(m_relay.get(), &CloudRelayStandin::textReceived);
        m_relay->sendToAll(relayed(compact({{"cmdType", "request_device_operInfo"}, {"cmdParams", asked}})));
        QTRY_COMPARE(frames.count(), 1);
        const QJsonObject reply = objectOf(frames.first().at(1).toString());
        QCOMPARE(reply.value("sender").toString(), panel);
        QCOMPARE(reply.value("receiver").toString(), QStringLiteral("device-9"));
        const QJsonObject message = objectOf(reply.value("message").toString());
        QCOMPARE(message.value("cmdType").toString(), QStringLiteral("reply_device_operInfo"));
        const QJsonObject figures = message.value("cmdParams").toObject();
        QCOMPARE(figures.keys(), answered);
        for (const QJsonValue& figure : figures)
            QVERIFY2(figure.isDouble() && figure.toDouble() >= 0 && figure.toDouble() <= 100,
                     qPrintable(QString::number(figure.toDouble())));
        if (figures.contains("memory_rate"))
            QVERIFY(figures.value("memory_rate").toDouble() > 0);
    }

    // The relay going away ends the join; nothing reconnects by itself.
    void relayCloseEndsTheJoinForGood()
    {
        m_client->setHeartbeatInterval(50);
        QVERIFY(joinAnswer().isEmpty());
        QSignalSpy exited(m_client, &TavixProjectCloudClient::exitSuccess);
        QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
        QSignalSpy connected(m_relay.get(), &CloudRelayStandin::deviceConnected);
        m_relay->closeAll();
        QVERIFY(exited.wait(5000));
        QVERIFY(!m_client->isJoinProject());
        QVERIFY(!connected.wait(500));
        QCOMPARE(failed.count(), 0);
        QCOMPARE(m_relay->connectionCount(), 0);
    }

    // A refused login while joined (a switch of project or code) ends the join on the open link, and
    // leaving ends it closing the link with code 1000. A link that was never joined ends without
    // exitSuccess.
    void joinsEndWithExitSuccess()
    {
        QVERIFY(joinAnswer().isEmpty());
        QSignalSpy exited(m_client, &TavixProjectCloudClient::exitSuccess);
        QSignalSpy gone(m_relay.get(), &CloudRelayStandin::deviceDisconnected);
        QVERIFY(!joinAnswer(-1).isEmpty());
        QTRY_COMPARE(exited.count(), 1);
        QVERIFY(!m_client->isJoinProject());
        QCOMPARE(m_relay->connectionCount(), 1);

        QVERIFY(joinAnswer(0).isEmpty());
        m_client->exitProject();
        QTRY_COMPARE(exited.count(), 2);
        QTRY_COMPARE(gone.count(), 1);
        QCOMPARE(gone.first().at(1).toInt(), 1000);

        QVERIFY(!joinAnswer("-1").isEmpty());
        m_client->exitProject();
        QVERIFY(gone.wait(5000));
        // Anything the end of that link emitted arrives before the answer to a later join.
        QVERIFY(!joinAnswer("-1").isEmpty());
        QCOMPARE(exited.count(), 2);
    }

    // Leaving before the link is up cancels the join: no login goes out, no error is reported.
    void exitWhileConnecting()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QSignalSpy logins(m_relay.get(), &CloudRelayStandin::deviceLoggedIn);
        QSignalSpy joined(m_client, &TavixProjectCloudClient::joinSuccess);
        QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
        m_client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
        m_client->exitProject();
        QVERIFY(!logins.wait(500));
        QCOMPARE(joined.count() + failed.count(), 0);
    }

    // A relay that takes the connection and then says nothing, either before the WebSocket handshake
    // or after it (the login goes unanswered), ends the join 15 s after it started with a network
    // error and a closed link; it is never shown as joined. Both relays are tried at once.
    void silentRelayFailsAfterFifteenSeconds()
    {
        QTcpServer mute; // accepts TCP, never completes the handshake
        QVERIFY(mute.listen(QHostAddress::LocalHost));
        QWebSocketServer deaf(QStringLiteral("deaf"), QWebSocketServer::NonSecureMode);
        QVERIFY(deaf.listen(QHostAddress::LocalHost)); // completes the handshake, never answers
        QSignalSpy tcpAccepted(&mute, &QTcpServer::newConnection);
        // Taken as the handshake completes, so that the login that follows is seen.
        std::unique_ptr<QWebSocket> ws; // the caller's to delete
        std::unique_ptr<QSignalSpy> wsGone, wsLogin;
        connect(&deaf, &QWebSocketServer::newConnection, this, [&] {
            ws.reset(deaf.nextPendingConnection());
            wsGone = std::make_unique<QSignalSpy>(ws.get(), &QWebSocket::disconnected);
            wsLogin = std::make_unique<QSignalSpy>(ws.get(), &QWebSocket::textMessageReceived);
        });
        const QList<QUrl> urls{QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(mute.serverPort())),
                               QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(deaf.serverPort()))};
        std::vector<std::unique_ptr<TavixProjectCloudConnectWork>> workers;
        // What each worker reported, taken in this thread.
        struct Reports
        {
            QStringList errors;
            qint64 firstErrorAfter = -1;
            int joins = 0;
            int exits = 0;
        };
        QList<Reports> reports(urls.size());
        QElapsedTimer clock;
        QObject context;
        for (int i = 0; i < urls.size(); ++i) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("relay gave no answer to the login"));
            workers.push_back(std::make_unique<TavixProjectCloudConnectWork>(urls.at(i)));
            auto* worker = workers.back().get();
            Reports* report = &reports[i];
            connect(worker, &TavixProjectCloudConnectWork::joinError, &context,
                    [report, &clock](const QString& e) {
                        if (report->errors.isEmpty())
                            report->firstErrorAfter = clock.elapsed();
                        report->errors.append(e);
                    });
            connect(worker, &TavixProjectCloudConnectWork::joinSuccess, &context,
                    [report] { ++report->joins; });
            connect(worker, &TavixProjectCloudConnectWork::exitSuccess, &context,
                    [report] { ++report->exits; });
        }
        clock.start();
        for (const auto& worker : workers)
            Q_EMIT worker->sig_joinProject(QStringLiteral("p"), QStringLiteral("c"));
        QVERIFY(tcpAccepted.wait(5000));
        QTcpSocket* tcp = mute.nextPendingConnection();
        QSignalSpy tcpGone(tcp, &QTcpSocket::disconnected);
        QTRY_VERIFY_WITH_TIMEOUT(wsLogin && wsLogin->count() > 0, 5000);
        QVERIFY(wsLogin->first().first().toString().contains(R"("type":"device_login")"));

        QTRY_VERIFY_WITH_TIMEOUT(!reports[0].errors.isEmpty() && !reports[1].errors.isEmpty(), 20000);
        QVERIFY(tcpGone.count() > 0 || tcpGone.wait(5000));
        QVERIFY(wsGone->count() > 0 || wsGone->wait(5000));
        QTest::qWait(200); // anything more the end of the links gives
        for (int i = 0; i < urls.size(); ++i) {
            QCOMPARE(reports[i].errors, QStringList{QStringLiteral("网络连接错误")});
            QVERIFY2(reports[i].firstErrorAfter >= 14990 && reports[i].firstErrorAfter < 18000,
                     qPrintable(QString::number(reports[i].firstErrorAfter)));
            QCOMPARE(reports[i].joins + reports[i].exits, 0);
            QVERIFY(!workers[i]->isJoinProject());
        }
    }

    // A message above the limit is refused before it is held: the link ends, nothing is delivered,
    // and the user is told of a network error before the join ends, with the reason in the log.
    void incomingSizeLimit_data()
    {
        QTest::addColumn<int>("size");
        const int limit = int(TavixProjectCloudConnectWork::MaxIncomingMessageSize);
        QTest::newRow("at the limit") << limit;
        QTest::newRow("one byte over") << limit + 1;
        QTest::newRow("far over") << 8 * limit;
    }
    void incomingSizeLimit()
    {
        QFETCH(int, size);
        const bool delivered = size <= int(TavixProjectCloudConnectWork::MaxIncomingMessageSize);
        QVERIFY(joinAnswer().isEmpty());
        QSignalSpy received(m_client, &TavixProjectCloudClient::receiveCmd);
        QSignalSpy exited(m_client, &TavixProjectCloudClient::exitSuccess);
        QSignalSpy gone(m_relay.get(), &CloudRelayStandin::deviceDisconnected);
        QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
        int failedAtExit = -1;
        QObject exitWatch;
        connect(m_client, &TavixProjectCloudClient::exitSuccess, &exitWatch,
                [&] { failedAtExit = int(failed.count()); });
        const QString empty = relayed(R"({"cmdType":"big","cmdParams":""})");
        const QString frame = relayed(QStringLiteral(R"({"cmdType":"big","cmdParams":"%1"})")
                                          .arg(QString(size - int(empty.size()), QLatin1Char('x'))));
        QCOMPARE(frame.size(), size);
        if (!delivered)
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression("relay link closed: a message above the size limit"));
        m_relay->sendToAll(frame);
        if (delivered) {
            QVERIFY(received.wait(5000));
            QCOMPARE(received.first().at(1).toString().size(), size - empty.size());
            QVERIFY(m_client->isJoinProject());
            QCOMPARE(failed.count(), 0);
            return;
        }
        QVERIFY(exited.wait(5000));
        QCOMPARE(failedAtExit, 1);
        QCOMPARE(failed.first().first().toString(), TavixProjectCloudConnectWork::networkErrorText());
        QTRY_COMPARE(gone.count(), 1);
        // Closed with 1009; a relay still writing the rest of the message sees the link drop.
        const int closeCode = gone.first().at(1).toInt();
        QVERIFY2(closeCode == QWebSocketProtocol::CloseCodeTooMuchData ||
                     closeCode == QWebSocketProtocol::CloseCodeAbnormalDisconnection,
                 qPrintable(QString::number(closeCode)));
        QCOMPARE(received.count(), 0);
    }

    // Destroying a joined worker releases its socket and timer in its own thread, closes the link
    // normally and leaves no thread behind.
    void workerShutsDownInItsOwnThread()
    {
        const int threadsBefore = runningThreads();
        auto* worker = new TavixProjectCloudConnectWork(m_relay->url());
        worker->setHeartbeatInterval(20);
        QSignalSpy joined(worker, &TavixProjectCloudConnectWork::joinSuccess);
        Q_EMIT worker->sig_joinProject(QStringLiteral("p"), QStringLiteral("c"));
        QVERIFY(joined.wait(5000));
        QVERIFY(worker->isJoinProject());
        QThread* thread = worker->workerThread();
        QVERIFY(thread->isRunning());
        QSignalSpy finished(thread, &QThread::finished);
        QSignalSpy gone(m_relay.get(), &CloudRelayStandin::deviceDisconnected);
        delete worker;
        QCOMPARE(finished.count(), 1);
        QVERIFY(gone.wait(5000));
        QCOMPARE(gone.first().at(1).toInt(), 1000);
        QTRY_VERIFY_WITH_TIMEOUT(runningThreads() <= threadsBefore, 5000);
    }

    // A receiver that takes none of the relayed commands gets the first MaxWaiting of them, in order,
    // and no more: the worker holds, sending its heartbeat still, until the receiver catches up.
    void heldWorkerStopsAtTheBound()
    {
        auto worker = std::make_unique<TavixProjectCloudConnectWork>(m_relay->url());
        worker->setHeartbeatInterval(20);
        QSignalSpy joined(worker.get(), &TavixProjectCloudConnectWork::joinSuccess);
        QSignalSpy received(worker.get(), &TavixProjectCloudConnectWork::receiveCmd);
        Q_EMIT worker->sig_joinProject(QStringLiteral("p"), QStringLiteral("c"));
        QVERIFY(joined.wait(5000));
        const int bound = TavixProjectCloudConnectWork::MaxWaiting;
        for (int i = 0; i < bound + 100; ++i)
            m_relay->sendToAll(relayed(QStringLiteral(R"({"cmdType":"c","cmdParams":%1})").arg(i)));
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), bound, 20000);
        QSignalSpy frames(m_relay.get(), &CloudRelayStandin::textReceived);
        QTRY_VERIFY(frames.count() >= 3);
        QCOMPARE(received.count(), bound);
        // Once the receiver has caught up by half, the worker reads on: the rest arrive, in order.
        for (int i = 0; i < bound / 2; ++i)
            worker->deliveryTaken();
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), bound + 100, 20000);
        for (int i = 0; i < bound + 100; ++i)
            QCOMPARE(received.at(i).at(1).value<QJsonValue>().toInt(), i);
        QSignalSpy gone(m_relay.get(), &CloudRelayStandin::deviceDisconnected);
        worker.reset();
        QVERIFY(gone.wait(5000));
    }

    // A worker that holds with no link at all (messages handed to it directly, as the fuzz target
    // does) holds through its heartbeats with nothing to ping or flush, and reads on once the
    // receiver has caught up.
    void heldWorkerWithoutSocket()
    {
        auto worker = std::make_unique<TavixProjectCloudConnectWork>(m_relay->url());
        worker->setHeartbeatInterval(5);
        QSignalSpy received(worker.get(), &TavixProjectCloudConnectWork::receiveCmd);
        const int bound = TavixProjectCloudConnectWork::MaxWaiting;
        const QString frame = relayed(R"({"cmdType":"c","cmdParams":1})");
        TavixProjectCloudConnectWork* w = worker.get();
        for (int i = 0; i < bound + 10; ++i)
            QMetaObject::invokeMethod(w, [w, frame] { w->onTextMessageReceived(frame); });
        QTRY_COMPARE(received.count(), bound);
        QVERIFY(!received.wait(100));
        for (int i = 0; i < bound / 2; ++i)
            worker->deliveryTaken();
        QTRY_COMPARE(received.count(), bound + 10);
    }

    // A program that ends while joined closes the link normally on its way out (the client goes with
    // the application object) and says nothing about threads.
    void clientShutsDownWithTheApplication()
    {
        QSignalSpy gone(m_relay.get(), &CloudRelayStandin::deviceDisconnected);
        QProcess program;
        QSignalSpy finished(&program, &QProcess::finished);
        program.start(QCoreApplication::applicationFilePath(),
                      {QLatin1String(kJoinAndExit), m_relay->url().toString()});
        // The relay answers in this thread's event loop: wait without blocking it.
        QVERIFY(finished.wait(20000));
        const QByteArray errors = program.readAllStandardError();
        QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0, errors.constData());
        QVERIFY2(!errors.contains("thread") && !errors.contains("QThread"), errors.constData());
        QTRY_COMPARE(gone.count(), 1);
        QCOMPARE(gone.first().at(1).toInt(), 1000);
    }

    // The built-in relay, overridden by the setting, overridden in turn by the environment; only "ws"
    // and "wss" URLs with a host count.
    void relayUrl_data()
    {
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("expected");
        const QString builtIn = QStringLiteral("ws://127.0.0.1:3000");
        const auto row = [](const char* name, const char* environment, const char* setting,
                            const QString& url) {
            QTest::newRow(name) << QString(environment) << QString(setting) << url;
        };
        row("built in", "", "", builtIn);
        row("setting", "", "ws://relay.example:3000", "ws://relay.example:3000");
        row("setting wss", "", " wss://relay.example/ws ", "wss://relay.example/ws");
        row("setting http", "", "http://relay.example", builtIn);
        row("setting no host", "", "ws:relay", builtIn);
        row("setting garbage", "", "relay:::3000", builtIn);
        row("environment first", "wss://127.0.0.1:4000", "ws://relay.example", "wss://127.0.0.1:4000");
        row("bad environment", "ftp://x", "ws://relay.example", "ws://relay.example");
    }
    void relayUrl()
    {
        QFETCH(QString, environment);
        QFETCH(QString, setting);
        QFETCH(QString, expected);
        qputenv(TavixCloudRelayUrl::EnvironmentVariable, environment.toUtf8());
        const QUrl url = TavixCloudRelayUrl::resolve(setting);
        qunsetenv(TavixCloudRelayUrl::EnvironmentVariable);
        QCOMPARE(url.toString(), expected);
        QCOMPARE(TavixCloudRelayUrl::defaultUrl().port(), 3000);
    }
};

void TestCloudClient::framesAreExact()
{
    QSignalSpy frames(m_relay.get(), &CloudRelayStandin::textReceived);
    QSignalSpy tried(m_client, &TavixProjectCloudClient::tryJoin);
    QSignalSpy joined(m_client, &TavixProjectCloudClient::joinSuccess);
    m_client->joinProject(QStringLiteral("项目-1"), QStringLiteral("code\"1"));
    QCOMPARE(tried.first(), QVariantList({"项目-1", "code\"1"}));
    QVERIFY(joined.wait(5000));
    QCOMPARE(joined.first().first().toString(), QStringLiteral("项目-1"));
    QCOMPARE(m_client->getProjectUid(), QStringLiteral("项目-1"));
    QCOMPARE(m_client->getProjectPassword(), QStringLiteral("code\"1"));
    m_client->joinProject(QStringLiteral("p2"), QStringLiteral("code\"1"));
    QVERIFY(joined.wait(5000));
    m_client->sendCmd(QStringLiteral("play"), QJsonObject{{"a", 1}, {"说明", "é"}},
                      QStringLiteral("device-7"));
    QTRY_COMPARE(frames.count(), 3);
    QCOMPARE(m_relay->connectionCount(), 1);

    QString mac; // of the first interface that is up, running and not loopback
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        if (mac.isEmpty() && (iface.flags() & QNetworkInterface::IsUp) &&
            (iface.flags() & QNetworkInterface::IsRunning) &&
            !(iface.flags() & QNetworkInterface::IsLoopBack))
            mac = iface.hardwareAddress();
    }
    const QString login = QStringLiteral(R"({"bind_code":"code\"1","device_name":"%1","mac_id":"%2",)"
                                         R"("os":"windows","product_type":"Tavix","project_num":"%3",)"
                                         R"("type":"device_login"})")
                              .arg(QSysInfo::machineHostName(), mac);
    QCOMPARE(frames.at(0).at(1).toString(), login.arg(QStringLiteral("项目-1")));
    QCOMPARE(frames.at(1).at(1).toString(), login.arg(QStringLiteral("p2")));
    QCOMPARE(frames.at(2).at(1).toString(),
             QStringLiteral(R"({"message":"{\"cmdParams\":{\"a\":1,\"说明\":\"é\"},\"cmdType\":\"play\"}",)"
                            R"("receiver":"device-7","sender":"device-1","type":"send_message"})"));
}

// The program run by clientShutsDownWithTheApplication: joins the relay named by the argument and
// returns from main while joined.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], kJoinAndExit) == 0) {
        TavixProjectCloudClient* client = TavixProjectCloudClient::instance();
        client->setRelayUrl(QUrl(QString::fromLocal8Bit(argv[2])));
        QSignalSpy joined(client, &TavixProjectCloudClient::joinSuccess);
        client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
        return joined.wait(5000) ? 0 : 1;
    }
    TestCloudClient test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_cloud_client.moc"
