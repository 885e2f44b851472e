#include "model/RCKeys.h"
#include "project/RCSetting.h"
#include "project/TemporaryHome.h"
#include "support/FileTree.h"

#include <QJSEngine>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The keys of "config.json", in the order the file lists them.
QStringList applicationKeys()
{
    return {RCKeys::CloudRelayUrl(),       RCKeys::DefaultIp(),      RCKeys::DefaultPassword(),
            RCKeys::ProjectJoinPasswrod(), RCKeys::ProjectJoinUid(), RCKeys::TouchProjectName()};
}

} // namespace

class tst_RCSetting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home.emplace();
        QDir().mkpath(m_home->appDir());
    }

    void defaultsAndUnknownKeys()
    {
        RCSetting setting(configPath());
        QCOMPARE(QJSEngine::objectOwnership(&setting), QJSEngine::CppOwnership);
        const QVariantMap values = setting.getValues();
        QCOMPARE(values.keys(), applicationKeys());
        for (const QVariant& value : values)
            QCOMPARE(value, QVariant(QString()));
        QCOMPARE(setting.getValue(RCKeys::SceneListVisible()), QVariant(true));

        // Only application keys reach the file; unknown keys (near-misses included) are never stored.
        QSignalSpy spy(&setting, &IRCSetting::settingValueChanged);
        setting.setValue(RCKeys::SceneListVisible(), false);
        setting.setValue(u"ProjectJoinPassword"_s, u"x"_s);
        setting.setValue(u"defaultip"_s, u"x"_s);
        QCOMPARE(spy.count(), 1);
        QVERIFY(!setting.getValue(u"ProjectJoinPassword"_s).isValid());
        QVERIFY(!setting.getValues().contains(RCKeys::SceneListVisible()));
        QVERIFY(!QFile::exists(configPath()));
    }

    void applicationKeyWritesWholeFileAtomically()
    {
        // A file with any known key is rewritten in the clean form at once, without unknown members.
        writeConfig("{\"Extra\": \"keep?\", \"DefaultIp\": \"10.0.0.1\"}");
        RCSetting setting(configPath());
        QCOMPARE(setting.getValue(RCKeys::DefaultIp()).toString(), u"10.0.0.1"_s);
        QFile before(configPath());
        QVERIFY(before.open(QIODevice::ReadOnly));
        QSignalSpy spy(&setting, &IRCSetting::settingValueChanged);
        setting.setValue(RCKeys::DefaultIp(), u"192.168.1.20"_s);
        QCOMPARE(spy.at(0), QVariantList({RCKeys::DefaultIp(), u"192.168.1.20"_s}));
        // The old file was replaced, not truncated and rewritten in place.
        QVERIFY(before.readAll().contains("10.0.0.1"));

        const QByteArray text = readConfig();
        QVERIFY(!text.contains("Extra"));
        // Indented, one member per line, in key order.
        const QList<QByteArray> lines = text.trimmed().split('\n');
        QCOMPARE(lines.size(), 8);
        const QStringList order = applicationKeys();
        for (int i = 0; i < order.size(); ++i)
            QVERIFY(lines.at(i + 1).trimmed().startsWith('"' + order.at(i).toUtf8() + '"'));
        QCOMPARE(QDir(m_home->appDir()).entryList(QDir::Files | QDir::Hidden), QStringList{u"config.json"_s});
    }

    void valuesSurviveARestart_data()
    {
        QTest::addColumn<QVariant>("given");
        QTest::addColumn<QString>("text");
        QTest::newRow("chinese") << QVariant(u"密码"_s) << u"密码"_s;
        // Text that looks like the typed form of other values stays text.
        for (const char* typed : {"#Size#10", "#Color#1,2,3", "$sl$x", "#UInt#abc"})
            QTest::newRow(typed) << QVariant(QString::fromLatin1(typed)) << QString::fromLatin1(typed);
        // QML hands a number typed into a text field over as a number.
        QTest::newRow("integer") << QVariant(1234) << u"1234"_s;
        QTest::newRow("real") << QVariant(12.5) << u"12.5"_s;
        // So is a truth value from a check box.
        QTest::newRow("true") << QVariant(true) << u"true"_s;
        QTest::newRow("false") << QVariant(false) << u"false"_s;
        // Values that have no text form are refused: the key keeps its text.
        QTest::newRow("list") << QVariant(QVariantList{u"a"_s, 1}) << u"before"_s;
        QTest::newRow("object") << QVariant(QVariantMap{{u"a"_s, 1}}) << u"before"_s;
        QTest::newRow("null") << QVariant::fromValue(nullptr) << u"before"_s;
        QTest::newRow("undefined") << QVariant() << u"before"_s;
    }
    void valuesSurviveARestart()
    {
        QFETCH(QVariant, given);
        QFETCH(QString, text);
        const QString path = m_home->filePath(u"deep/er/config.json"_s); // folders made
        {
            RCSetting setting(path);
            setting.setValue(RCKeys::DefaultPassword(), u"before"_s);
            QSignalSpy spy(&setting, &IRCSetting::settingValueChanged);
            const bool refused = text == QLatin1String("before");
            if (refused)
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not a text.*DefaultPassword"_s));
            setting.setValue(RCKeys::DefaultPassword(), given);
            QCOMPARE(spy.count(), refused ? 0 : 1);
            setting.setValue(RCKeys::SceneListVisible(), false);
            QCOMPARE(setting.getValue(RCKeys::DefaultPassword()), QVariant(text));
        }
        RCSetting setting(path);
        QCOMPARE(setting.getValue(RCKeys::DefaultPassword()), QVariant(text));
        // Project keys never persist here.
        QCOMPARE(setting.getValue(RCKeys::SceneListVisible()), QVariant(true));
    }

    void unreadableFilesKeepDefaults_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not json") << QByteArray("{\"DefaultIp\": ");
        QTest::newRow("array") << QByteArray("[\"DefaultIp\", \"1.2.3.4\"]");
        QTest::newRow("no application key") << QByteArray("{\"Other\": \"1\", \"SceneListVisible\": false}");
        QTest::newRow("empty") << QByteArray();
    }
    void unreadableFilesKeepDefaults()
    {
        QFETCH(QByteArray, content);
        writeConfig(content);
        RCSetting setting(configPath());
        QCOMPARE(setting.getValue(RCKeys::DefaultIp()).toString(), QString());
        QCOMPARE(setting.getValue(RCKeys::SceneListVisible()), QVariant(true));
        QCOMPARE(readConfig(), content); // not rewritten at start
    }

    void badValueFallsBackToDefault()
    {
        // Text keys keep stored text as it stands and a stored number as its text; a value of
        // another kind leaves the key at its default, and the start goes on.
        writeConfig("{\"DefaultIp\": \"#Size#10\", \"DefaultPassword\": 5, \"ProjectJoinUid\": {\"a\": 1}, "
                    "\"TouchProjectName\": \"panel\"}");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"bad value.*ProjectJoinUid"_s));
        RCSetting setting(configPath());
        QCOMPARE(setting.getValue(RCKeys::DefaultIp()), QVariant(u"#Size#10"_s));
        QCOMPARE(setting.getValue(RCKeys::DefaultPassword()), QVariant(u"5"_s));
        QCOMPARE(setting.getValue(RCKeys::ProjectJoinUid()), QVariant(QString()));
        QCOMPARE(setting.getValue(RCKeys::TouchProjectName()).toString(), u"panel"_s);
        // The file now holds the clean form.
        const QJsonObject json = QJsonDocument::fromJson(readConfig()).object();
        QCOMPARE(json.value(RCKeys::DefaultPassword()).toString(), u"5"_s);
        QCOMPARE(json.value(RCKeys::ProjectJoinUid()).toString(), QString());

        // Project settings: only project keys are taken; a project without the member, or with a
        // value that cannot be read as the key's type, keeps the present value.
        QSignalSpy spy(&setting, &IRCSetting::settingValueChanged);
        setting.fromJson(QJsonObject{{RCKeys::SceneListVisible(), false}, {RCKeys::DefaultIp(), u"x"_s}});
        setting.fromJson(QJsonObject{});
        setting.fromJson(QJsonObject{{RCKeys::SceneListVisible(), u"yes"_s}});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Not Implemented"_s));
        setting.fromJson(QJsonObject{{RCKeys::SceneListVisible(), u"#Size#10"_s}});
        QCOMPARE(spy.count(), 1);
        QCOMPARE(setting.toJson(), (QJsonObject{{RCKeys::SceneListVisible(), false}}));
        QCOMPARE(setting.getValue(RCKeys::DefaultIp()), QVariant(u"#Size#10"_s));
    }

private:
    QString configPath() const { return m_home->appDir() + u"/config.json"_s; }
    void writeConfig(const QByteArray& content) { QVERIFY(writeFile(configPath(), content)); }
    QByteArray readConfig() const { return readFile(configPath()); }

    std::optional<TemporaryHome> m_home;
};

QTEST_GUILESS_MAIN(tst_RCSetting)
#include "tst_RCSetting.moc"
