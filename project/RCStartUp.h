#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class QQmlEngine;
class RCProject;

// The builders that main uses: the built-in template list and the project root.
class RCStartUp
{
public:
    // The four built-in templates, the empty template first.
    static QVariantList buildTemplateProjectList();

    // One template record: "Name", "ProjectPacketPath", "ProjectFilePath" (the packet path and
    // "project.json" when isJsonFile, else "project.tavx"), "ThumbnailPath" and "DefaultSize".
    static QVariantMap makeTemplateProjectEntry(const QString& name, const QString& packetPath, bool isJsonFile,
                                                const QSize& size);

    // The one project root, without a parent; main owns and deletes it.
    static RCProject* createProject(QQmlEngine* engine, const QStringList& productNames);

private:
    RCStartUp() = delete;
};
