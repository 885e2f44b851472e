#include "QuickTestSetup.h"

#include "DistributionPeers.h"
#include "ServerPeers.h"
#include "TestMirror.h"
#include "TestSupport.h"
#include "project/CursorPosProvider.h"
#include "project/RCProject.h"
#include "project/RCTemplateProjects.h"
#include "root/RCQmlRegistration.h"
#include "root/RCStartUp.h"
#include "support/IsolatedNetwork.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QNetworkProxyFactory>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

// The names of this process's threads but the main one, leaving out Qt's D-Bus connection
// thread: the X11 platform's accessibility bridge starts it, and only exit() ends it.
QStringList otherThreads()
{
    QStringList names;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& id : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(id + QStringLiteral("/comm")));
        if (id.toLongLong() == QCoreApplication::applicationPid() || !comm.open(QIODevice::ReadOnly))
            continue;
        const QString name = QString::fromUtf8(comm.readAll().trimmed());
        if (name != QLatin1String("QDBusConnection"))
            names.append(name);
    }
    return names;
}

} // namespace

QuickTestSetup::QuickTestSetup() = default;

QuickTestSetup::~QuickTestSetup()
{
    releaseProject();
    // The application object is gone: every thread must have been awaited. One still running
    // would end during exit(), while LeakSanitizer stops the process for its check, which can
    // crash its tracer. An awaited thread leaves the task list a moment after wait() returned.
    for (int i = 0; i < 40 && !otherThreads().isEmpty(); ++i)
        QThread::msleep(50);
    const QStringList left = otherThreads();
    if (!left.isEmpty()) {
        std::fprintf(stderr, "FAIL!  : threads still running at exit: %s\n", qPrintable(left.join(u", ")));
        std::abort();
    }
}

void QuickTestSetup::applicationAvailable()
{
    QString reason;
    if (!insidePrivateNetwork(&reason)) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        std::exit(1);
    }
    RCQmlRegistration::registerTypes();
    // No proxy applies inside the private network namespace. Without this, the first socket
    // starts Qt's system-proxy lookup thread, which lives until exit() destroys it, so that its
    // thread may still be ending while LeakSanitizer stops the process for its check.
    QNetworkProxyFactory::setUseSystemConfiguration(false);
    QLoggingCategory::setFilterRules(
        QStringLiteral("*.debug=false\n*.info=false\nqml.debug=true\njs.debug=true"));
    m_cursorPosProvider = new CursorPosProvider(this);
    m_testSupport = new TestSupport(this);
    m_distributionPeers = new DistributionPeers(this);
    m_serverPeers = new ServerPeers(this);
    m_testMirror = new TestMirror(this);
}

void QuickTestSetup::qmlEngineAvailable(QQmlEngine* engine)
{
    releaseProject();
    m_project = RCStartUp::createProject(engine, {QStringLiteral("Tavix")});
    m_project->initDefaultScene();
    m_project->setTemplateProjectList(RCTemplateProjects::buildTemplateProjectList());
    RCStartUp::publishRootContext(engine, m_project, m_cursorPosProvider);
    // What main hands the main window, for the tests that make the real one.
    engine->rootContext()->setContextProperty(QStringLiteral("mainWindowInputs"),
                                              RCStartUp::mainWindowInputs(engine));
    engine->rootContext()->setContextProperty(QStringLiteral("testSupport"), m_testSupport);
    engine->rootContext()->setContextProperty(QStringLiteral("distributionPeers"), m_distributionPeers);
    m_serverPeers->setProject(m_project);
    engine->rootContext()->setContextProperty(QStringLiteral("serverPeers"), m_serverPeers);
    m_testMirror->setProject(m_project);
    engine->rootContext()->setContextProperty(QStringLiteral("testMirror"), m_testMirror);

    // The engine's destructor first tells the objects of its contexts that they go; this one
    // then ends the project while the engine is whole. The engine deletes it afterwards.
    QQmlComponent sentinel(engine);
    sentinel.setData("import QtQml\nQtObject { signal ending; Component.onDestruction: ending() }\n", QUrl());
    QObject* ending = sentinel.create();
    ending->setParent(engine);
    connect(ending, SIGNAL(ending()), this, SLOT(releaseProject()));
}

void QuickTestSetup::cleanupTestCase()
{
    releaseProject();
}

void QuickTestSetup::releaseProject()
{
    if (m_serverPeers)
        m_serverPeers->setProject(nullptr);
    if (m_testMirror)
        m_testMirror->setProject(nullptr);
    delete m_project;
    m_project = nullptr;
}
