#include "root/RCStartUp.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "project/CursorPosProvider.h"
#include "project/RCLog.h"
#include "root/RCProjectRoot.h"

#include <QQmlContext>
#include <QQmlEngine>

RCProject* RCStartUp::createProject(QQmlEngine* engine, const QStringList& productNames)
{
    return new RCProjectRoot(engine, productNames);
}

void RCStartUp::publishRootContext(QQmlEngine* engine, RCProject* project,
                                   CursorPosProvider* cursorPosProvider)
{
    QQmlContext* context = engine->rootContext();
    context->setContextProperty(QStringLiteral("mousePosition"), cursorPosProvider);
    context->setContextProperty(QStringLiteral("project"), project);
    context->setContextProperty(QStringLiteral("rcLog"), RCLog::instance());
    context->setContextProperty(QStringLiteral("stelvaneSyncer"), project->getStelvaneSyncer());
}
