#include "model/RCKeys.h"
#include "project/RCSetting.h"
#include "project/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QJSEngine>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// The keys of "config.json", in the order the file lists them.
QStringList applicationKeys()
{
    return {RCKeys::DefaultIp(), RCKeys::DefaultPassword(), RCKeys::ProjectJoinPasswrod(),
            RCKeys::ProjectJoinUid(), RCKeys::TouchProjectName()};
}

} // namespace

class tst_RCSetting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void defaultsWithoutFileAndNoFileCreated();
    void applicationKeyWritesWholeFileInOrder();
    void projectKeyStaysOutOfTheFile();
    void valuesSurviveARestart_data();
    void valuesSurviveARestart();
    void unreadableFilesKeepDefaults_data();
    void unreadableFilesKeepDefaults();
    void badValueFallsBackToDefault();
    void extraMembersLastUntilNextWrite();
    void projectSettingsJson();
    void writesAtomically();

private:
    QString configPath() const { return m_home->appDir() + QStringLiteral("/config.json"); }
    void writeConfig(const QByteArray& content);
    QByteArray readConfig() const;

    std::unique_ptr<TemporaryHome> m_home;
};

void tst_RCSetting::init()
{
    m_home = std::make_unique<TemporaryHome>();
    QVERIFY(m_home->isValid());
    QDir().mkpath(m_home->appDir());
}

void tst_RCSetting::cleanup()
{
    m_home.reset();
}

void tst_RCSetting::writeConfig(const QByteArray& content)
{
    QFile file(configPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray tst_RCSetting::readConfig() const
{
    QFile file(configPath());
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void tst_RCSetting::defaultsWithoutFileAndNoFileCreated()
{
    RCSetting setting(configPath());
    QCOMPARE(QJSEngine::objectOwnership(&setting), QJSEngine::CppOwnership);
    const QVariantMap values = setting.getValues();
    QCOMPARE(values.keys(), applicationKeys());
    for (const QVariant& value : values) {
        QCOMPARE(value.metaType(), QMetaType::fromType<QString>());
        QCOMPARE(value.toString(), QString());
    }
    QCOMPARE(setting.getValue(RCKeys::SceneListVisible()), QVariant(true));
    QCOMPARE(readConfig(), QByteArray("<missing>"));
}

void tst_RCSetting::applicationKeyWritesWholeFileInOrder()
{
    RCSetting setting(configPath());
    QSignalSpy spy(&setting, &IRCSetting::settingValueChanged);
    setting.setValue(RCKeys::DefaultIp(), QStringLiteral("192.168.1.20"));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), RCKeys::DefaultIp());
    QCOMPARE(spy.at(0).at(1), QVariant(QStringLiteral("192.168.1.20")));

    const QByteArray text = readConfig();
    const QJsonObject json = QJsonDocument::fromJson(text).object();
    QCOMPARE(json.value(RCKeys::DefaultIp()).toString(), QStringLiteral("192.168.1.20"));
    QCOMPARE(json.value(RCKeys::ProjectJoinPasswrod()).toString(), QString());
    // Indented, one member per line, in key order.
    const QList<QByteArray> lines = text.trimmed().split('\n');
    QCOMPARE(lines.size(), 7);
    const QStringList order = applicationKeys();
    for (int i = 0; i < order.size(); ++i)
        QVERIFY(lines.at(i + 1).trimmed().startsWith('"' + order.at(i).toUtf8() + '"'));
}

// Only application keys reach the file; unknown keys (near-misses included) are never stored.
void tst_RCSetting::projectKeyStaysOutOfTheFile()
{
    RCSetting setting(configPath());
    QSignalSpy spy(&setting, &IRCSetting::settingValueChanged);
    setting.setValue(RCKeys::SceneListVisible(), false);
    setting.setValue(QStringLiteral("ProjectJoinPassword"), QStringLiteral("x"));
    setting.setValue(QStringLiteral("defaultip"), QStringLiteral("x"));
    QCOMPARE(spy.count(), 1);
    QVERIFY(!setting.getValue(QStringLiteral("ProjectJoinPassword")).isValid());
    QCOMPARE(readConfig(), QByteArray("<missing>"));
    QCOMPARE(setting.toJson().value(RCKeys::SceneListVisible()), QJsonValue(false));
    QVERIFY(!setting.getValues().contains(RCKeys::SceneListVisible()));
}

void tst_RCSetting::valuesSurviveARestart_data()
{
    QTest::addColumn<QVariant>("given");
    QTest::addColumn<QString>("text");
    QTest::newRow("chinese") << QVariant(QStringLiteral("密码")) << QStringLiteral("密码");
    // Text that looks like the typed form of other values stays text.
    for (const char* typed : {"#Size#10", "#Color#1,2,3", "$sl$x", "#UInt#abc"})
        QTest::newRow(typed) << QVariant(QString::fromLatin1(typed)) << QString::fromLatin1(typed);
    // QML hands a number typed into a text field over as a number.
    QTest::newRow("integer") << QVariant(1234) << QStringLiteral("1234");
    QTest::newRow("real") << QVariant(12.5) << QStringLiteral("12.5");
}

void tst_RCSetting::valuesSurviveARestart()
{
    QFETCH(QVariant, given);
    QFETCH(QString, text);
    const QString path = m_home->filePath(QStringLiteral("deep/er/config.json")); // folders made
    {
        RCSetting setting(path);
        setting.setValue(RCKeys::DefaultPassword(), given);
        setting.setValue(RCKeys::SceneListVisible(), false);
        QCOMPARE(setting.getValue(RCKeys::DefaultPassword()), QVariant(text));
    }
    RCSetting setting(path);
    QCOMPARE(setting.getValue(RCKeys::DefaultPassword()), QVariant(text));
    QCOMPARE(setting.getValue(RCKeys::SceneListVisible()), QVariant(true)); // project keys never persist here
}

void tst_RCSetting::unreadableFilesKeepDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("not json") << QByteArray("{\"DefaultIp\": ");
    QTest::newRow("array") << QByteArray("[\"DefaultIp\", \"1.2.3.4\"]");
    QTest::newRow("no application key") << QByteArray("{\"Other\": \"1\", \"SceneListVisible\": false}");
    QTest::newRow("empty") << QByteArray();
}

void tst_RCSetting::unreadableFilesKeepDefaults()
{
    QFETCH(QByteArray, content);
    writeConfig(content);
    RCSetting setting(configPath());
    QCOMPARE(setting.getValue(RCKeys::DefaultIp()).toString(), QString());
    QCOMPARE(setting.getValue(RCKeys::SceneListVisible()), QVariant(true));
    QCOMPARE(readConfig(), content); // not rewritten at start
}

void tst_RCSetting::badValueFallsBackToDefault()
{
    // Text keys keep stored text as it stands and a stored number as its text; a value of
    // another kind leaves the key at its default, and the start goes on.
    writeConfig(R"({"DefaultIp": "#Size#10", "DefaultPassword": 5, "ProjectJoinUid": {"a": 1},
                    "TouchProjectName": "panel"})");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("bad value.*ProjectJoinUid")));
    RCSetting setting(configPath());
    QCOMPARE(setting.getValue(RCKeys::DefaultIp()), QVariant(QStringLiteral("#Size#10")));
    QCOMPARE(setting.getValue(RCKeys::DefaultPassword()), QVariant(QStringLiteral("5")));
    QCOMPARE(setting.getValue(RCKeys::ProjectJoinUid()), QVariant(QString()));
    QCOMPARE(setting.getValue(RCKeys::TouchProjectName()).toString(), QStringLiteral("panel"));
    // The file now holds the clean form.
    const QJsonObject json = QJsonDocument::fromJson(readConfig()).object();
    QCOMPARE(json.value(RCKeys::DefaultPassword()).toString(), QStringLiteral("5"));
    QCOMPARE(json.value(RCKeys::ProjectJoinUid()).toString(), QString());

    // A typed text that cannot be read as the key's type keeps the present value.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Not Implemented")));
    setting.fromJson(QJsonObject{{RCKeys::SceneListVisible(), QStringLiteral("#Size#10")}});
    QCOMPARE(setting.getValue(RCKeys::SceneListVisible()), QVariant(true));
}

void tst_RCSetting::extraMembersLastUntilNextWrite()
{
    writeConfig(R"({"Extra": "keep?", "DefaultIp": "10.0.0.1"})");
    RCSetting setting(configPath());
    QCOMPARE(setting.getValue(RCKeys::DefaultIp()).toString(), QStringLiteral("10.0.0.1"));
    QVERIFY(!setting.getValue(QStringLiteral("Extra")).isValid());
    setting.setValue(RCKeys::DefaultPassword(), QStringLiteral("pw"));
    const QJsonObject json = QJsonDocument::fromJson(readConfig()).object();
    QVERIFY(!json.contains(QStringLiteral("Extra")));
    QCOMPARE(json.value(RCKeys::DefaultIp()).toString(), QStringLiteral("10.0.0.1"));
}

void tst_RCSetting::projectSettingsJson()
{
    RCSetting setting(configPath());
    QSignalSpy spy(&setting, &IRCSetting::settingValueChanged);

    setting.fromJson(
        QJsonObject{{RCKeys::SceneListVisible(), false}, {RCKeys::DefaultIp(), QStringLiteral("x")}});
    QCOMPARE(setting.getValue(RCKeys::SceneListVisible()), QVariant(false));
    QCOMPARE(setting.getValue(RCKeys::DefaultIp()).toString(), QString()); // not a project key
    QCOMPARE(spy.count(), 1);

    // A project without the member keeps the previous project's value.
    setting.fromJson(QJsonObject{});
    QCOMPARE(setting.getValue(RCKeys::SceneListVisible()), QVariant(false));

    // A bad value keeps the present value.
    setting.fromJson(QJsonObject{{RCKeys::SceneListVisible(), QStringLiteral("yes")}});
    QCOMPARE(setting.getValue(RCKeys::SceneListVisible()), QVariant(false));

    QCOMPARE(setting.toJson(), (QJsonObject{{RCKeys::SceneListVisible(), false}}));
}

void tst_RCSetting::writesAtomically()
{
    RCSetting setting(configPath());
    setting.setValue(RCKeys::DefaultIp(), QStringLiteral("1.1.1.1"));
    QFile before(configPath());
    QVERIFY(before.open(QIODevice::ReadOnly));
    setting.setValue(RCKeys::DefaultIp(), QStringLiteral("2.2.2.2"));
    // The old file was replaced, not truncated and rewritten in place.
    QVERIFY(before.readAll().contains("1.1.1.1"));
    QVERIFY(readConfig().contains("2.2.2.2"));
    QCOMPARE(QDir(m_home->appDir()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("config.json")});
}

QTEST_GUILESS_MAIN(tst_RCSetting)
#include "tst_RCSetting.moc"
