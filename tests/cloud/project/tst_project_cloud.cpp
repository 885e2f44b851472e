// The project root's cloud wiring: the client published to QML, the join data kept in the
// settings, the stored project joined again at start and the relay taken from the environment or
// the settings. Runs in a network namespace of its own (see the folder's CMakeLists.txt); the
// relay is a stand-in on loopback.
#include "cloud/CloudTestSupport.h"
#include "cloud/TavixCloudRelayUrl.h"
#include "cloud/TavixProjectCloudClient.h"
#include "model/RCKeys.h"
#include "project/IRCSetting.h"
#include "project/RCProject.h"
#include "project/TemporaryHome.h"
#include "root/RCProjectRoot.h"
#include "support/IsolatedNetwork.h"

#include <QDir>
#include <QFile>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTcpServer>

class TestProjectCloud : public QObject
{
    Q_OBJECT

    TavixProjectCloudClient* m_client = TavixProjectCloudClient::instance();
    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<CloudRelayStandin> m_relay;
    std::unique_ptr<RCProject> m_project;

    // Starts the project root on a configuration file holding values.
    void startProject(const QJsonObject& values)
    {
        QVERIFY(QDir().mkpath(m_home->appDir()));
        QFile file(m_home->appDir() + QStringLiteral("/config.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(values).toJson());
        file.close();
        m_project = std::make_unique<RCProjectRoot>(m_engine.get(), QStringList{QStringLiteral("Tavix")});
    }
    IRCSetting* setting() const { return m_project->getSetting(); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY_INSIDE_PRIVATE_NETWORK();
    }
    void init()
    {
        m_home = std::make_unique<TemporaryHome>();
        QVERIFY(m_home->isValid());
        m_engine = std::make_unique<QQmlEngine>();
        m_relay = startRelay();
        QVERIFY(m_relay);
        qputenv(TavixCloudRelayUrl::EnvironmentVariable, m_relay->url().toEncoded());
    }
    void cleanup()
    {
        if (m_relay && m_relay->connectionCount() > 0) {
            QSignalSpy gone(m_relay.get(), &CloudRelayStandin::deviceDisconnected);
            m_client->exitProject();
            QVERIFY(gone.wait(5000));
        }
        QTRY_VERIFY(!m_client->isJoinProject());
        m_project.reset();
        m_relay.reset();
        m_engine.reset();
        m_home.reset();
        qunsetenv(TavixCloudRelayUrl::EnvironmentVariable);
    }

    // Both id and code stored: the project joins at once; either missing: it waits for the user.
    void storedProjectJoinedAtStart_data()
    {
        QTest::addColumn<QString>("uid");
        QTest::addColumn<QString>("code");
        QTest::newRow("both") << QString("stored-project") << QString("stored-code");
        QTest::newRow("no code") << QString("stored-project") << QString("");
        QTest::newRow("no id") << QString("") << QString("stored-code");
    }
    void storedProjectJoinedAtStart()
    {
        QFETCH(QString, uid);
        QFETCH(QString, code);
        const bool joins = !uid.isEmpty() && !code.isEmpty();
        QSignalSpy logins(m_relay.get(), &CloudRelayStandin::deviceLoggedIn);
        startProject({{RCKeys::ProjectJoinUid(), uid}, {RCKeys::ProjectJoinPasswrod(), code}});
        QCOMPARE(m_engine->rootContext()->contextProperty("tavixProjectCloudClient").value<QObject*>(),
                 m_client);
        QCOMPARE(QQmlEngine::objectOwnership(m_client), QQmlEngine::CppOwnership);

        if (!joins) // The first login the relay sees is then the user's own.
            m_client->joinProject(QStringLiteral("typed"), QStringLiteral("typed-code"));
        QVERIFY(logins.wait(5000));
        const QJsonObject login = logins.first().at(1).toJsonObject();
        QCOMPARE(login.value("project_num").toString(), joins ? uid : QStringLiteral("typed"));
        QCOMPARE(login.value("bind_code").toString(), joins ? code : QStringLiteral("typed-code"));
        QTRY_VERIFY(m_client->isJoinProject());
    }

    // The id is kept as soon as a join is tried, the code once it is accepted; only a refusal
    // forgets the code, so a failing network or an unexpected answer does not keep the panel out
    // next time.
    void joinDataKeptInSettings_data()
    {
        QTest::addColumn<QJsonValue>("status"); // null: the relay is unreachable
        QTest::addColumn<QString>("storedCode");
        QTest::newRow("accepted") << QJsonValue("0") << "new-code";
        QTest::newRow("refused") << QJsonValue("-1") << "";
        QTest::newRow("user expired") << QJsonValue(401) << "";
        QTest::newRow("unknown answer") << QJsonValue("busy") << "old-code";
        QTest::newRow("network error") << QJsonValue() << "old-code";
    }
    void joinDataKeptInSettings()
    {
        QFETCH(QJsonValue, status);
        QFETCH(QString, storedCode);
        startProject({{RCKeys::ProjectJoinPasswrod(), "old-code"}});
        if (status.isNull()) { // a port that was free a moment ago
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            m_client->setRelayUrl(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(closed.serverPort())));
        }
        m_relay->setLoginStatus(status);
        QSignalSpy joined(m_client, &TavixProjectCloudClient::joinSuccess);
        QSignalSpy failed(m_client, &TavixProjectCloudClient::joinError);
        m_client->joinProject(QStringLiteral("new-project"), QStringLiteral("new-code"));
        QCOMPARE(setting()->getValue(RCKeys::ProjectJoinUid()).toString(), QStringLiteral("new-project"));
        QTRY_COMPARE_WITH_TIMEOUT(joined.count() + failed.count(), 1, 5000);
        QCOMPARE(setting()->getValue(RCKeys::ProjectJoinPasswrod()).toString(), storedCode);
    }

    void relayFromSettingUnlessEnvironment()
    {
        qunsetenv(TavixCloudRelayUrl::EnvironmentVariable);
        startProject({{RCKeys::CloudRelayUrl(), "wss://relay.example:3000"}});
        QCOMPARE(m_client->relayUrl(), QUrl(QStringLiteral("wss://relay.example:3000")));
        setting()->setValue(RCKeys::CloudRelayUrl(), QString());
        QCOMPARE(m_client->relayUrl(), TavixCloudRelayUrl::defaultUrl());
        qputenv(TavixCloudRelayUrl::EnvironmentVariable, m_relay->url().toEncoded());
        setting()->setValue(RCKeys::CloudRelayUrl(), QStringLiteral("ws://relay.example"));
        QCOMPARE(m_client->relayUrl(), m_relay->url());
    }
};

QTEST_MAIN(TestProjectCloud)
#include "tst_project_cloud.moc"
