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

QVariantMap RCStartUp::mainWindowInputs(QQmlEngine* engine)
{
    // The window's property and the root-context name it is read from.
    static const struct
    {
        const char* input;
        const char* published;
    } kInputs[] = {
        {"mProject", "project"},
        {"mMessageBoxManager", "getRCMessageBoxManager"},
        {"mInterface", "getRCInterface"},
        {"mImageManager", "getImageManager"},
        {"mCloudClient", "tavixProjectCloudClient"},
        {"mLog", "rcLog"},
        {"mWindowEventFilter", "windowEventFilter"},
        {"mCursorPosition", "mousePosition"},
        {"mFileVersion", "getVersion"},
    };
    const QQmlContext* context = engine->rootContext();
    QVariantMap inputs;
    for (const auto& entry : kInputs)
        inputs.insert(QLatin1String(entry.input), context->contextProperty(QLatin1String(entry.published)));
    return inputs;
}
