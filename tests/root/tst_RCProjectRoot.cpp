// What the composition root leaves to others: the QML types are registered by the program, once
// per process; the services it hands over are owned by the project, which stops the control link
// first and then destroys them in reverse dependency order.
#include "actions/RCActionManager.h"
#include "actions/RCSceneItemExcuteControler.h"
#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdProcesserManager.h"
#include "project/TemporaryHome.h"
#include "root/RCProjectRoot.h"
#include "root/RCQmlRegistration.h"
#include "root/RCStartUp.h"
#include "support/HostedProject.h"
#include "support/IsolatedNetwork.h"

#include <QQmlEngine>
#include <QTest>

namespace {

// A control link that notes when it is stopped, and whether the mirror still stood then.
class RecordingTerminal : public IRCTerminal
{
public:
    RecordingTerminal(QStringList* log, IRCProject* project) : m_log(log), m_project(project) {}
    void stopServer() override
    {
        m_log->append(m_project->getStelvaneSyncer() ? QStringLiteral("stop, mirror standing")
                                                     : QStringLiteral("stop"));
    }

private:
    QStringList* m_log;
    IRCProject* m_project;
};

// Notes the service's name in log when it is destroyed.
template <typename T> RCServicePtr<T> recorded(T* service, const char* name, QStringList* log)
{
    QObject::connect(service, &QObject::destroyed, [log, name] { log->append(QLatin1String(name)); });
    return ownService(service);
}

} // namespace

class tst_RCProjectRoot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY_INSIDE_PRIVATE_NETWORK();
        QVERIFY(m_home.isValid());
    }

    // Runs first: nothing else in this process registers types.
    void typesAreRegisteredOnceByTheProgram()
    {
        QQmlEngine engine;
        delete new RCProjectRoot(&engine, {QStringLiteral("Tavix")});
        QList<int> ids;
        for (const RCQmlRegistration::Type& type : RCQmlRegistration::types())
            ids.append(qmlTypeId(type.module.constData(), 1, 0, type.name.constData()));
        QCOMPARE(ids, QList<int>(ids.size(), -1));

        RCQmlRegistration::registerTypes();
        ids.clear();
        for (const RCQmlRegistration::Type& type : RCQmlRegistration::types()) {
            ids.append(qmlTypeId(type.module.constData(), 1, 0, type.name.constData()));
            QVERIFY2(ids.last() >= 0, type.name.constData());
        }
        // Registering again would give each name a new id.
        RCQmlRegistration::registerTypes();
        for (qsizetype i = 0; i < ids.size(); ++i) {
            const RCQmlRegistration::Type& type = RCQmlRegistration::types().at(i);
            QCOMPARE(qmlTypeId(type.module.constData(), 1, 0, type.name.constData()), ids.at(i));
        }
    }

    // The file dialogs (Qt's own widgets) speak Chinese, as every text of the program does.
    void qtTextsAreChinese()
    {
        QVERIFY(RCStartUp::installQtTexts(QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("查找范围："));
    }

    void servicesGoInReverseOrderAfterTheLinkStops()
    {
        QStringList log;
        auto* project = new HostedProject;
        RCProjectServices services;
        services.controlManager = recorded(new IRCControlManager, "control manager", &log);
        services.terminal = recorded<IRCTerminal>(new RecordingTerminal(&log, project), "terminal", &log);
        services.packetServer = recorded(new IRCPacketServer, "packet server", &log);
        services.packetTerminal = recorded(new IRCPacketTerminal, "packet terminal", &log);
        services.stelvaneSyncer = recorded(new IRCStelvaneSyncer, "mirror", &log);
        services.cmdProcesserManager = recorded(new RCCmdProcesserManager, "commands", &log);
        services.actionManager = recorded(RCActionManager::create(project), "actions", &log);
        services.sceneItemExcuteControler = recorded(new RCSceneItemExcuteControler(project), "executor", &log);
        project->adoptServices(std::move(services));
        QVERIFY(log.isEmpty());

        delete project;
        QCOMPARE(log, QStringList({"stop, mirror standing", "executor", "actions", "commands", "mirror",
                                   "packet terminal", "packet server", "terminal", "control manager"}));
    }

private:
    TemporaryHome m_home;
};

QTEST_MAIN(tst_RCProjectRoot)
#include "tst_RCProjectRoot.moc"
