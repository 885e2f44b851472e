// The cloud client against the stand-in relay over loopback: the frames it writes, the login
// answers it understands, the commands it relays both ways, the heartbeat, the end of a link and
// the size limit on what it takes in.
#include "cloud/CloudTestSupport.h"
#include "cloud/TavixCloudRelayUrl.h"
#include "cloud/TavixProjectCloudClient.h"
#include "cloud/TavixProjectCloudConnectWork.h"
#include "support/ProcessThreads.h"

#include <QDir>
#include <QJsonArray>
#include <QMetaMethod>
#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTcpServer>
#include <QThread>

namespace {

QStringList methodsOf(const QMetaObject& meta)
{
    QStringList methods;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        static const char* const kinds[] = {"method", "signal", "slot", "constructor"};
        methods.append(QStringLiteral("%1 %2").arg(QLatin1String(kinds[method.methodType()]),
                                                   QLatin1String(method.methodSignature())));
    }
    return methods;
}

QString macOfFirstLiveInterface()
{
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        const auto flags = iface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack))
            return iface.hardwareAddress();
    }
    return QString();
}

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

private Q_SLOTS:
    void init();
    void cleanup();

    void exitBeforeAnyJoinDoesNothing();
    void metaMethodsInOrder();
    void loginFramesAreExact();
    void loginAnswer_data();
    void loginAnswer();
    void refusedReloginLeavesTheProject();
    void sendCmdOnlyWhileJoined();
    void incomingFrames_data();
    void incomingFrames();
    void deviceLoadAnswer_data();
    void deviceLoadAnswer();
    void heartbeatRunsWhileConnected();
    void relayCloseEndsTheJoinForGood();
    void exitClosesNormally();
    void unreachableRelay();
    void exitWhileConnecting();
    void incomingSizeLimit_data();
    void incomingSizeLimit();
    void workerShutsDownInItsOwnThread();
    void clientShutsDownWithTheApplication();
    void relayUrl_data();
    void relayUrl();

private:
    // Joins project "p" with code "c" on the test's relay; the client's id there.
    QString join();

    TavixProjectCloudClient* m_client = TavixProjectCloudClient::instance();
    std::unique_ptr<CloudRelayStandin> m_relay;
};

void TestCloudClient::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("thread")));
    m_relay = startRelay();
    QVERIFY(m_relay);
    m_client->setRelayUrl(m_relay->url());
}

// Leaves the relay and waits until everything the end of the link emits has arrived, so that no
// signal reaches the next test.
void TestCloudClient::cleanup()
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

QString TestCloudClient::join()
{
    QSignalSpy joined(m_client, &TavixProjectCloudClient::joinSuccess);
    m_client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
    if (!joined.wait(5000))
        return QString();
    return m_relay->deviceIds().value(0);
}

// Runs first: the client has no link yet.
void TestCloudClient::exitBeforeAnyJoinDoesNothing()
{
    QSignalSpy exited(m_client, &TavixProjectCloudClient::exitSuccess);
    QSignalSpy connected(m_relay.get(), &CloudRelayStandin::deviceConnected);
    m_client->exitProject();
    m_client->sendCmd(QStringLiteral("x"), QJsonObject(), QString());
    QVERIFY(!connected.wait(200));
    QCOMPARE(exited.count(), 0);
    QVERIFY(!m_client->isJoinProject());
}

void TestCloudClient::metaMethodsInOrder()
{
    QCOMPARE(
        methodsOf(TavixProjectCloudClient::staticMetaObject),
        QStringList({"signal tryJoin(QString,QString)", "signal joinSuccess(QString)",
                     "signal joinError(QString)", "signal exitSuccess()",
                     "signal receiveCmd(QString,QJsonValue,QString)", "method joinProject(QString,QString)",
                     "method exitProject()", "method sendCmd(QString,QJsonObject,QString)",
                     "method isJoinProject()", "method getProjectUid()", "method getProjectPassword()"}));
    QCOMPARE(methodsOf(TavixProjectCloudConnectWork::staticMetaObject),
             QStringList({"signal sig_joinProject(QString,QString)", "signal sig_exitProject()",
                          "signal sig_sendCmd(QString,QJsonObject,QString)", "signal joinSuccess(QString)",
                          "signal joinError(QString)", "signal exitSuccess()",
                          "signal receiveCmd(QString,QJsonValue,QString)",
                          "slot onTextMessageReceived(QString)", "slot on_sig_joinProject(QString,QString)",
                          "slot on_sig_exitProject()", "slot on_sig_sendCmd(QString,QJsonObject,QString)"}));
    // The worker's own base adds no methods in between.
    QCOMPARE(TavixProjectCloudConnectWork::staticMetaObject.methodOffset(),
             QObject::staticMetaObject.methodCount());
}

// The first frame after a join is the login, byte for byte; a join over the open link sends a new
// login at once without opening another link.
void TestCloudClient::loginFramesAreExact()
{
    QSignalSpy frames(m_relay.get(), &CloudRelayStandin::textReceived);
    QSignalSpy tried(m_client, &TavixProjectCloudClient::tryJoin);
    QSignalSpy joined(m_client, &TavixProjectCloudClient::joinSuccess);
    m_client->joinProject(QStringLiteral("项目-1"), QStringLiteral("code\"1"));
    QCOMPARE(tried.count(), 1);
    QCOMPARE(tried.first(), QVariantList({"项目-1", "code\"1"}));
    QVERIFY(joined.wait(5000));
    QCOMPARE(joined.first().first().toString(), QStringLiteral("项目-1"));
    QVERIFY(m_client->isJoinProject());
    QCOMPARE(m_client->getProjectUid(), QStringLiteral("项目-1"));
    QCOMPARE(m_client->getProjectPassword(), QStringLiteral("code\"1"));

    const QString login = QStringLiteral(R"({"bind_code":"code\"1","device_name":"%1","mac_id":"%2",)"
                                         R"("os":"windows","product_type":"Tavix","project_num":"%3",)"
                                         R"("type":"device_login"})")
                              .arg(QSysInfo::machineHostName(), macOfFirstLiveInterface());
    QCOMPARE(frames.count(), 1);
    QCOMPARE(frames.first().at(1).toString(), login.arg(QStringLiteral("项目-1")));

    m_client->joinProject(QStringLiteral("p2"), QStringLiteral("code\"1"));
    QVERIFY(joined.wait(5000));
    QCOMPARE(frames.count(), 2);
    QCOMPARE(frames.last().at(1).toString(), login.arg(QStringLiteral("p2")));
    QCOMPARE(m_relay->connectionCount(), 1);
}

// The status is read as a number or as numeric text; anything else is an error, never a join.
void TestCloudClient::loginAnswer_data()
{
    QTest::addColumn<QJsonValue>("status");
    QTest::addColumn<QString>("error");

    const QString refused = TavixProjectCloudConnectWork::loginErrorText();
    const QString expired = TavixProjectCloudConnectWork::userExpiredText();
    const QString unknown = TavixProjectCloudConnectWork::unknownErrorText();
    QCOMPARE(refused, QStringLiteral("登陆错误"));
    QCOMPARE(expired, QStringLiteral("用户信息失效"));
    QCOMPARE(unknown, QStringLiteral("未知错误"));
    QTest::newRow("text 0") << QJsonValue("0") << QString();
    QTest::newRow("number 0") << QJsonValue(0) << QString();
    QTest::newRow("text -1") << QJsonValue("-1") << refused;
    QTest::newRow("number -1") << QJsonValue(-1) << refused;
    QTest::newRow("text 401") << QJsonValue("401") << expired;
    QTest::newRow("number 401") << QJsonValue(401) << expired;
    QTest::newRow("other code") << QJsonValue("500") << unknown;
    QTest::newRow("garbage") << QJsonValue("ok") << unknown;
    QTest::newRow("empty text") << QJsonValue("") << unknown;
    QTest::newRow("fraction") << QJsonValue(0.5) << unknown;
    QTest::newRow("boolean") << QJsonValue(false) << unknown;
    QTest::newRow("null") << QJsonValue(QJsonValue::Null) << unknown;
}

void TestCloudClient::loginAnswer()
{
    QFETCH(QJsonValue, status);
    QFETCH(QString, error);
    m_relay->setLoginStatus(status);
    QSignalSpy joined(m_client, &TavixProjectCloudClient::joinSuccess);
    QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
    m_client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
    QVERIFY(error.isEmpty() ? joined.wait(5000) : failed.wait(5000));
    QCOMPARE(m_client->isJoinProject(), error.isEmpty());
    if (!error.isEmpty())
        QCOMPARE(failed.first().first().toString(), error);
}

// A refused login while joined (a switch of project or code) leaves no stale joined state.
void TestCloudClient::refusedReloginLeavesTheProject()
{
    QVERIFY(!join().isEmpty());
    m_relay->setLoginStatus(-1);
    QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
    QSignalSpy exited(m_client, &TavixProjectCloudClient::exitSuccess);
    m_client->joinProject(QStringLiteral("other"), QStringLiteral("wrong"));
    QVERIFY(exited.wait(5000));
    QCOMPARE(failed.count(), 1);
    QVERIFY(!m_client->isJoinProject());
    QCOMPARE(m_relay->connectionCount(), 1);
}

// Commands go out only while joined, wrapped with the message as compact text.
void TestCloudClient::sendCmdOnlyWhileJoined()
{
    QSignalSpy frames(m_relay.get(), &CloudRelayStandin::textReceived);
    m_relay->setLoginStatus("401");
    QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
    m_client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
    QVERIFY(failed.wait(5000));
    m_client->sendCmd(QStringLiteral("dropped"), QJsonObject(), QString());
    m_relay->setLoginStatus("0");
    const QString id = join();
    QCOMPARE(id, QStringLiteral("device-1"));
    m_client->sendCmd(QStringLiteral("play"), QJsonObject{{"a", 1}, {"说明", "é"}},
                      QStringLiteral("device-7"));
    QTRY_COMPARE(frames.count(), 3);
    QVERIFY(frames.at(0).at(1).toString().startsWith(QLatin1String(R"({"bind_code":)")));
    QVERIFY(frames.at(1).at(1).toString().startsWith(QLatin1String(R"({"bind_code":)")));
    QCOMPARE(frames.at(2).at(1).toString(),
             QStringLiteral(R"({"message":"{\"cmdParams\":{\"a\":1,\"说明\":\"é\"},\"cmdType\":\"play\"}",)"
                            R"("receiver":"device-7","sender":"device-1","type":"send_message"})"));
}

// What reaches the panel from the relay: only objects with "status" count, and a message only
// when its text holds both "cmdType" and "cmdParams".
void TestCloudClient::incomingFrames_data()
{
    QTest::addColumn<QString>("frame");
    QTest::addColumn<bool>("delivered");

    const QString command = QStringLiteral(R"({"cmdType":"play","cmdParams":{"id":"x"}})");
    QTest::newRow("command") << relayed(command) << true;
    QTest::newRow("null params") << relayed(R"({"cmdType":"play","cmdParams":null})") << true;
    QTest::newRow("no status") << compact({{"type", "send_message"}, {"data", command}, {"sender", "d"}})
                               << false;
    QTest::newRow("no cmdParams") << relayed(R"({"cmdType":"play"})") << false;
    QTest::newRow("no cmdType") << relayed(R"({"cmdParams":{}})") << false;
    QTest::newRow("data not JSON") << relayed(QStringLiteral("play")) << false;
    QTest::newRow("data an array") << relayed(QStringLiteral("[1]")) << false;
    QTest::newRow("data an object, not text")
        << QStringLiteral(R"({"type":"send_message","status":0,"data":{"cmdType":"a","cmdParams":1}})")
        << false;
    QTest::newRow("other type") << compact({{"type", "news"}, {"status", 0}, {"data", command}}) << false;
    QTest::newRow("not JSON") << QStringLiteral("send_message") << false;
    QTest::newRow("array") << QStringLiteral("[{\"status\":0}]") << false;
    QTest::newRow("empty object") << QStringLiteral("{}") << false;
}

void TestCloudClient::incomingFrames()
{
    QFETCH(QString, frame);
    QFETCH(bool, delivered);
    QVERIFY(!join().isEmpty());
    QSignalSpy received(m_client, &TavixProjectCloudClient::receiveCmd);
    m_relay->sendToAll(frame);
    // A marker behind the frame: whatever the frame gave arrives before it.
    m_relay->sendToAll(relayed(R"({"cmdType":"marker","cmdParams":[]})", QStringLiteral("m")));
    QTRY_VERIFY(!received.isEmpty() && received.last().at(0).toString() == QLatin1String("marker"));
    QCOMPARE(received.count(), delivered ? 2 : 1);
    if (delivered) {
        const QJsonObject message =
            QJsonDocument::fromJson(
                QJsonDocument::fromJson(frame.toUtf8()).object().value("data").toString().toUtf8())
                .object();
        QCOMPARE(received.first(),
                 QVariantList({message.value("cmdType").toString(),
                               QVariant::fromValue(message.value("cmdParams")), QStringLiteral("device-9")}));
    }
}

// Another device asks for the load figures; the answer goes back to it with measured numbers for
// what it asked and knows, and nothing else.
void TestCloudClient::deviceLoadAnswer_data()
{
    QTest::addColumn<QJsonValue>("asked");
    QTest::addColumn<QStringList>("answered");

    QTest::newRow("all") << QJsonValue(QJsonArray{"cpu_rate", "memory_rate", "gpu_rate"})
                         << QStringList{"cpu_rate", "memory_rate"};
    QTest::newRow("cpu and unknown") << QJsonValue(QJsonArray{"cpu_rate", "disk_rate"})
                                     << QStringList{"cpu_rate"};
    QTest::newRow("none known") << QJsonValue(QJsonArray{1, "gpu_rate"}) << QStringList();
    QTest::newRow("not an array") << QJsonValue(QJsonObject{{"cpu_rate", true}}) << QStringList();
}

void TestCloudClient::deviceLoadAnswer()
{
    QFETCH(QJsonValue, asked);
    QFETCH(QStringList, answered);
    const QString panel = join();
    QVERIFY(!panel.isEmpty());
    RelayPeer peer;
    const QString peerId = peer.login(m_relay->url(), QStringLiteral("p"));
    QVERIFY(!peerId.isEmpty());
    QSignalSpy frames(m_relay.get(), &CloudRelayStandin::textReceived);

    peer.sendCmd(QStringLiteral("request_device_operInfo"), asked, panel);
    const QJsonObject reply = peer.next();
    QCOMPARE(reply.value("sender").toString(), panel);
    const QJsonObject message = QJsonDocument::fromJson(reply.value("data").toString().toUtf8()).object();
    QCOMPARE(message.value("cmdType").toString(), QStringLiteral("reply_device_operInfo"));
    const QJsonObject figures = message.value("cmdParams").toObject();
    QCOMPARE(figures.keys(), answered);
    for (const QJsonValue& figure : figures) {
        QVERIFY(figure.isDouble());
        QVERIFY2(figure.toDouble() >= 0 && figure.toDouble() <= 100,
                 qPrintable(QString::number(figure.toDouble())));
    }
    if (figures.contains("memory_rate"))
        QVERIFY(figures.value("memory_rate").toDouble() > 0);
    const QStringList sent = framesFrom(frames, panel);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(QJsonDocument::fromJson(sent.first().toUtf8()).object().value("receiver").toString(), peerId);
}

// Pings go out while the link is up, joined or not.
void TestCloudClient::heartbeatRunsWhileConnected()
{
    m_client->setHeartbeatInterval(50);
    m_relay->setLoginStatus("-1");
    QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
    QSignalSpy frames(m_relay.get(), &CloudRelayStandin::textReceived);
    m_client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
    QVERIFY(failed.wait(5000));
    QTRY_VERIFY(framesFrom(frames, frames.first().at(0).toString()).count(R"({"type":"ping"})") >= 2);
}

// The relay going away ends the join; nothing reconnects by itself.
void TestCloudClient::relayCloseEndsTheJoinForGood()
{
    m_client->setHeartbeatInterval(50);
    QVERIFY(!join().isEmpty());
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

// Leaving closes the link with code 1000; a link that was never joined ends without exitSuccess.
void TestCloudClient::exitClosesNormally()
{
    QVERIFY(!join().isEmpty());
    QSignalSpy exited(m_client, &TavixProjectCloudClient::exitSuccess);
    QSignalSpy gone(m_relay.get(), &CloudRelayStandin::deviceDisconnected);
    m_client->exitProject();
    QVERIFY(exited.wait(5000));
    QTRY_COMPARE(gone.count(), 1);
    QCOMPARE(gone.first().at(1).toInt(), 1000);

    m_relay->setLoginStatus("-1");
    QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
    m_client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
    QVERIFY(failed.wait(5000));
    m_client->exitProject();
    QVERIFY(gone.wait(5000));
    // Anything the end of that link emitted arrives before the answer to a later join.
    m_client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
    QVERIFY(failed.wait(5000));
    QCOMPARE(exited.count(), 1);
}

// Leaving before the link is up cancels the join: no login goes out, no error is reported.
void TestCloudClient::exitWhileConnecting()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    QSignalSpy logins(m_relay.get(), &CloudRelayStandin::deviceLoggedIn);
    QSignalSpy joined(m_client, &TavixProjectCloudClient::joinSuccess);
    QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
    m_client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
    m_client->exitProject();
    QVERIFY(!logins.wait(500));
    QCOMPARE(joined.count(), 0);
    QCOMPARE(failed.count(), 0);
    QVERIFY(!m_client->isJoinProject());
}

void TestCloudClient::unreachableRelay()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const int port = closed.serverPort();
    closed.close();
    m_client->setRelayUrl(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(port)));
    QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
    QSignalSpy exited(m_client, &TavixProjectCloudClient::exitSuccess);
    m_client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
    QVERIFY(failed.wait(5000));
    QCOMPARE(failed.first().first().toString(), QStringLiteral("网络连接错误"));
    QCOMPARE(exited.count(), 0);
    QVERIFY(!m_client->isJoinProject());
}

// A message above the limit is refused before it is held: the link ends, nothing is delivered.
void TestCloudClient::incomingSizeLimit_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("delivered");

    const int limit = int(TavixProjectCloudConnectWork::MaxIncomingMessageSize);
    QTest::newRow("at the limit") << limit << true;
    QTest::newRow("one byte over") << limit + 1 << false;
    QTest::newRow("far over") << 8 * limit << false;
}

void TestCloudClient::incomingSizeLimit()
{
    QFETCH(int, size);
    QFETCH(bool, delivered);
    QVERIFY(!join().isEmpty());
    QSignalSpy received(m_client, &TavixProjectCloudClient::receiveCmd);
    QSignalSpy exited(m_client, &TavixProjectCloudClient::exitSuccess);
    QSignalSpy gone(m_relay.get(), &CloudRelayStandin::deviceDisconnected);
    const QString empty = relayed(R"({"cmdType":"big","cmdParams":""})");
    QString frame = relayed(QStringLiteral(R"({"cmdType":"big","cmdParams":"%1"})")
                                .arg(QString(size - int(empty.size()), QLatin1Char('x'))));
    QCOMPARE(frame.size(), size);
    m_relay->sendToAll(frame);
    if (delivered) {
        QVERIFY(received.wait(5000));
        QCOMPARE(received.first().at(1).toString().size(), size - empty.size());
        QVERIFY(m_client->isJoinProject());
    } else {
        QVERIFY(exited.wait(5000));
        QTRY_COMPARE(gone.count(), 1);
        // Closed with 1009; a relay still writing the rest of the message sees the link drop.
        const int closeCode = gone.first().at(1).toInt();
        QVERIFY2(closeCode == QWebSocketProtocol::CloseCodeTooMuchData ||
                     closeCode == QWebSocketProtocol::CloseCodeAbnormalDisconnection,
                 qPrintable(QString::number(closeCode)));
        QCOMPARE(received.count(), 0);
    }
}

// Destroying a joined worker releases its socket and timer in its own thread, closes the link
// normally and leaves no thread behind.
void TestCloudClient::workerShutsDownInItsOwnThread()
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

// A program that ends while joined closes the link normally on its way out (the client goes with
// the application object) and says nothing about threads.
void TestCloudClient::clientShutsDownWithTheApplication()
{
    QSignalSpy gone(m_relay.get(), &CloudRelayStandin::deviceDisconnected);
    QProcess program;
    QSignalSpy finished(&program, &QProcess::finished);
    program.start(QCoreApplication::applicationFilePath(),
                  {QLatin1String(kJoinAndExit), m_relay->url().toString()});
    // The relay answers in this thread's event loop: wait without blocking it.
    QVERIFY(finished.wait(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    const QByteArray errors = program.readAllStandardError();
    QVERIFY2(program.exitCode() == 0, errors.constData());
    QVERIFY2(!errors.contains("QThread") && !errors.contains("thread"), errors.constData());
    QTRY_COMPARE(gone.count(), 1);
    QCOMPARE(gone.first().at(1).toInt(), 1000);
}

// The built-in relay, overridden by the setting, overridden in turn by the environment; only "ws"
// and "wss" URLs with a host count.
void TestCloudClient::relayUrl_data()
{
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("expected");

    const QString builtIn = QStringLiteral("ws://127.0.0.1:3000");
    QTest::newRow("built in") << QString() << QString() << builtIn;
    QTest::newRow("setting") << QString() << "ws://relay.example:3000"
                             << "ws://relay.example:3000";
    QTest::newRow("setting wss") << QString() << " wss://relay.example/ws "
                                 << "wss://relay.example/ws";
    QTest::newRow("setting http") << QString() << "http://relay.example" << builtIn;
    QTest::newRow("setting no host") << QString() << "ws:relay" << builtIn;
    QTest::newRow("setting garbage") << QString() << "relay:::3000" << builtIn;
    QTest::newRow("environment first") << "wss://127.0.0.1:4000"
                                       << "ws://relay.example"
                                       << "wss://127.0.0.1:4000";
    QTest::newRow("bad environment") << "ftp://x"
                                     << "ws://relay.example"
                                     << "ws://relay.example";
}

void TestCloudClient::relayUrl()
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

// The program run by clientShutsDownWithTheApplication: joins the relay named by the argument and
// returns from main while joined.
int joinAndExit(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TavixProjectCloudClient* client = TavixProjectCloudClient::instance();
    client->setRelayUrl(QUrl(QString::fromLocal8Bit(argv[2])));
    QSignalSpy joined(client, &TavixProjectCloudClient::joinSuccess);
    client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
    return joined.wait(5000) ? 0 : 1;
}

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], kJoinAndExit) == 0)
        return joinAndExit(argc, argv);
    QCoreApplication app(argc, argv);
    TestCloudClient test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_cloud_client.moc"
