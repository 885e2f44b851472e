// Two real instances on one LAN hand a project from one to the other: a designer on host 1 issues
// its open packet to the panel on host 2, which accepts, receives and loads it. The LAN is a
// throw-away one made by scripts/lan-run.sh (two network namespaces joined by a veth pair), so the
// fixed ports are the real ones. The test re-runs itself under that script; where the LAN cannot
// be made (no user namespaces, no iproute2) it fails and says why.
#include "support/FileTree.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {
const QString kDesignerIp = QStringLiteral("198.18.0.1");
const QString kPanelIp = QStringLiteral("198.18.0.2");

QString driverPath()
{
    return qEnvironmentVariable("TAVIX_BINARY_DIR") + "/tools/distribution-driver/tavix-distribution-driver";
}

int runOnLan(int argc, char** argv)
{
    const QString script = qEnvironmentVariable("TAVIX_SOURCE_DIR") + "/scripts/lan-run.sh";
    if (!QFileInfo(script).isExecutable()) {
        std::printf("FAIL: no LAN script at %s (TAVIX_SOURCE_DIR unset?)\n", qPrintable(script));
        return 1;
    }
    if (QProcess::execute(script, {"true"}) != 0) {
        std::printf("FAIL: scripts/lan-run.sh cannot make a LAN of two hosts here (see its message)\n");
        return 1;
    }
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QProcess lan;
    lan.setProcessChannelMode(QProcess::ForwardedChannels);
    lan.start(script, args);
    if (!lan.waitForFinished(240000))
        return 1;
    return lan.exitStatus() == QProcess::NormalExit ? lan.exitCode() : 1;
}

// One instance on one host of the LAN, with a home of its own.
class Instance
{
public:
    Instance(int host, const QStringList& args, const QString& home)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home);
        env.insert("XDG_CONFIG_HOME", home + "/.config");
        process.setProcessEnvironment(env);
        process.start(qEnvironmentVariable("LAN_RUN"),
                      QStringList{"exec", QString::number(host), driverPath()} + args);
    }
    ~Instance()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    // Reads lines until one reports event (true), or the instance ends or stays silent (false).
    bool waitFor(const QString& event)
    {
        while (process.canReadLine() || process.waitForReadyRead(30000)) {
            while (process.canReadLine()) {
                const QJsonObject line = QJsonDocument::fromJson(process.readLine()).object();
                events << line;
                if (line.value("event").toString() == event)
                    return true;
            }
        }
        return false;
    }
    QProcess process;
    QList<QJsonObject> events;
};
} // namespace

class TestDistributionLan : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void projectTravelsBetweenTwoInstances();
};

void TestDistributionLan::projectTravelsBetweenTwoInstances()
{
    QTemporaryDir dir;
    const QString packet = dir.filePath("designer-home/shows/LAN show");
    const QJsonObject scene{
        {"propertyArray", QJsonArray{QJsonObject{{"name", "Name"}, {"value", "Stage left"}}}},
        {"itemArray", QJsonArray()}};
    const QJsonObject project{{"version", "3.0.0"},
                              {"sceneArray", QJsonObject{{"sceneArray", QJsonArray{scene}}}}};
    QVERIFY(writeFile(packet + "/project.tavx", QJsonDocument(project).toJson()));
    QVERIFY(writeFile(packet + "/image/backdrop.png", patternBytes(300 * 1024, 'p')));
    QVERIFY(writeFile(packet + "/thumbnail.png", "thumbnail"));

    Instance panel(2, {"panel"}, dir.filePath("panel-home"));
    QVERIFY2(panel.waitFor("ready"), qPrintable(panel.process.readAllStandardError()));
    Instance designer(1, {"designer", kPanelIp, packet}, dir.filePath("designer-home"));

    QVERIFY2(panel.waitFor("loaded"), qPrintable(panel.process.readAllStandardError()));
    const QJsonObject loaded = panel.events.last();
    QVERIFY(loaded.value("ok").toBool());
    QCOMPARE(loaded.value("scenes").toArray(), QJsonArray{"Stage left"});
    QVERIFY(panel.process.waitForFinished(10000));
    QCOMPARE(panel.process.exitCode(), 0);
    bool invitedByDesigner = false;
    for (const QJsonObject& event : std::as_const(panel.events))
        invitedByDesigner |= event.value("event") == "invited" && event.value("ip") == kDesignerIp;
    QVERIFY(invitedByDesigner);

    QVERIFY(designer.waitFor("disconnected"));
    QVERIFY(designer.process.waitForFinished(10000));
    QCOMPARE(designer.process.exitCode(), 0);

    const QString received = dir.filePath("panel-home/Tavix/downloadProject");
    QCOMPARE(loaded.value("folder").toString(), received);
    QCOMPARE(filesBelow(received), filesBelow(packet));
    for (const QString& file : filesBelow(packet))
        QCOMPARE(readFile(received + "/" + file), readFile(packet + "/" + file));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!qEnvironmentVariableIsSet("LAN_RUN"))
        return runOnLan(argc, argv);
    TestDistributionLan test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_distribution_lan.moc"
