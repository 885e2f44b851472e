#pragma once

#include "model/RCKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// The text of a project file holding one empty scene named `sceneName`, as the program and older
// versions write it.
inline QByteArray projectFileText(const QString& sceneName, const QString& version = QStringLiteral("2.1.7"))
{
    const QJsonObject scene{
        {QStringLiteral("propertyArray"), QJsonArray{QJsonObject{{QStringLiteral("name"), RCKeys::Name()},
                                                                 {QStringLiteral("value"), sceneName}}}},
        {QStringLiteral("itemArray"), QJsonArray()}};
    const QJsonObject root{
        {QStringLiteral("version"), version},
        {QStringLiteral("sceneArray"), QJsonObject{{QStringLiteral("sceneArray"), QJsonArray{scene}}}},
        {QStringLiteral("setting"), QJsonObject{{RCKeys::SceneListVisible(), false}}}};
    return QJsonDocument(root).toJson();
}

// Writes `content` to `path`, making its folder; false when the file cannot be written.
inline bool writeTestFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}
