#include "QuickTestSetup.h"

#include "TestSupport.h"
#include "project/CursorPosProvider.h"
#include "project/RCProject.h"
#include "project/RCStartUp.h"
#include "project/RCTemplateProjects.h"
#include "support/IsolatedNetwork.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLoggingCategory>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickView>

#include <cstdio>
#include <cstdlib>

QuickTestSetup::QuickTestSetup() = default;

QuickTestSetup::~QuickTestSetup()
{
    releaseProject();
}

void QuickTestSetup::applicationAvailable()
{
    QString reason;
    if (!insidePrivateNetwork(&reason)) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        std::exit(1);
    }
    QLoggingCategory::setFilterRules(
        QStringLiteral("*.debug=false\n*.info=false\nqml.debug=true\njs.debug=true"));
    // Watches for the test file's view being shown, to end the project with that view.
    QCoreApplication::instance()->installEventFilter(this);
    m_cursorPosProvider = new CursorPosProvider(this);
    m_testSupport = new TestSupport(this);
}

void QuickTestSetup::qmlEngineAvailable(QQmlEngine* engine)
{
    releaseProject();
    m_engine = engine;
    m_project = RCStartUp::createProject(engine, {QStringLiteral("Tavix")});
    m_project->initDefaultScene();
    m_project->setTemplateProjectList(RCTemplateProjects::buildTemplateProjectList());
    RCStartUp::publishRootContext(engine, m_project, m_cursorPosProvider);
    engine->rootContext()->setContextProperty(QStringLiteral("testSupport"), m_testSupport);
}

void QuickTestSetup::cleanupTestCase()
{
    releaseProject();
}

bool QuickTestSetup::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        auto* view = qobject_cast<QQuickView*>(watched);
        // The view deletes the test file's objects first and then goes; the engine still exists.
        if (view && m_engine && view->engine() == m_engine)
            connect(view, &QObject::destroyed, this, &QuickTestSetup::releaseProject, Qt::UniqueConnection);
    }
    return QObject::eventFilter(watched, event);
}

void QuickTestSetup::releaseProject()
{
    delete m_project;
    m_project = nullptr;
}
