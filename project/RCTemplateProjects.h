#pragma once

#include <QSize>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

// The built-in project templates that start-up hands to the project (setTemplateProjectList).
// Each record is a QVariantMap keyed by RCKeys: "Name", "ProjectPacketPath" (the template's
// resource folder as a "qrc:" URL), "ProjectFilePath", "ThumbnailPath" and "DefaultSize" (QSize,
// the scene size of a project made from the template). The packets themselves are resources
// under resources/<folder>/. Pure functions; any thread.
class RCTemplateProjects
{
public:
    // The four built-in templates, always in this order: "空模板" (the empty template, whose file
    // is "project.json"), "手机(1200x540)", "Pad(1024x768)", "PC(1920x1080)".
    static QVariantList buildTemplateProjectList();

    // One template record. "ProjectFilePath" is packetPath + "/" + "project.json" when
    // useJsonFileName is true, else + "/" + "project.tavx"; "ThumbnailPath" is packetPath + "/" +
    // "thumbnail.png".
    static QVariantMap makeTemplateProjectEntry(const QString& name, const QString& packetPath,
                                                bool useJsonFileName, const QSize& size);

    RCTemplateProjects() = delete;
};
