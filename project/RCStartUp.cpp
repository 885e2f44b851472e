#include "project/RCStartUp.h"

#include "model/RCKeys.h"
#include "project/RCProject.h"

QVariantMap RCStartUp::makeTemplateProjectEntry(const QString& name, const QString& packetPath, bool isJsonFile,
                                                const QSize& size)
{
    QVariantMap entry;
    entry.insert(RCKeys::Name(), name);
    entry.insert(RCKeys::ProjectPacketPath(), packetPath);
    entry.insert(RCKeys::ProjectFilePath(),
                 packetPath + QLatin1Char('/') +
                     (isJsonFile ? QStringLiteral("project.json") : QStringLiteral("project.tavx")));
    entry.insert(RCKeys::ThumbnailPath(), packetPath + QStringLiteral("/thumbnail.png"));
    entry.insert(RCKeys::DefaultSize(), size);
    return entry;
}

QVariantList RCStartUp::buildTemplateProjectList()
{
    return {
        makeTemplateProjectEntry(QStringLiteral("空模板"), QStringLiteral("qrc:/empty"), true, QSize(960, 540)),
        makeTemplateProjectEntry(QStringLiteral("手机(1200x540)"), QStringLiteral("qrc:/MobilePhone(1200x540)"), false,
                                 QSize(1200, 540)),
        makeTemplateProjectEntry(QStringLiteral("Pad(1024x768)"), QStringLiteral("qrc:/Pad(1024x768)"), false,
                                 QSize(1024, 768)),
        makeTemplateProjectEntry(QStringLiteral("PC(1920x1080)"), QStringLiteral("qrc:/PC(1920x1080)"), false,
                                 QSize(1920, 1080)),
    };
}

RCProject* RCStartUp::createProject(QQmlEngine* engine, const QStringList& productNames)
{
    return new RCProject(engine, productNames);
}
