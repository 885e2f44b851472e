#include "project/RCStartUp.h"

#include "project/RCProject.h"

RCProject* RCStartUp::createProject(QQmlEngine* engine, const QStringList& productNames)
{
    return new RCProject(engine, productNames);
}
