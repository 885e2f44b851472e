#pragma once

#include "model/RCKeys.h"
#include "support/FileTree.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

// The text of a project file holding one empty scene named `sceneName` (with the icon `iconPath`
// when given), as older versions of the program write it.
inline QByteArray projectFileText(const QString& sceneName, const QString& iconPath = QString())
{
    QJsonArray rows{QJsonObject{{QStringLiteral("name"), RCKeys::Name()}, {QStringLiteral("value"), sceneName}}};
    if (!iconPath.isEmpty())
        rows.append(QJsonObject{{QStringLiteral("name"), RCKeys::IconPath()}, {QStringLiteral("value"), iconPath}});
    const QJsonObject scene{{QStringLiteral("propertyArray"), rows}, {QStringLiteral("itemArray"), QJsonArray()}};
    const QJsonObject root{
        {QStringLiteral("version"), QStringLiteral("2.1.7")},
        {QStringLiteral("sceneArray"), QJsonObject{{QStringLiteral("sceneArray"), QJsonArray{scene}}}},
        {QStringLiteral("setting"), QJsonObject{{RCKeys::SceneListVisible(), false}}}};
    return QJsonDocument(root).toJson();
}

// Every file below `folder` (FileTree's filesBelow) with its bytes, keyed by the relative path.
inline QMap<QString, QByteArray> contentsBelow(const QString& folder)
{
    QMap<QString, QByteArray> contents;
    for (const QString& file : filesBelow(folder))
        contents.insert(file, readFile(QDir(folder).filePath(file)));
    return contents;
}

// Writes `content` to `path`, making its folder; false when the file cannot be written.
inline bool writeTestFile(const QString& path, const QByteArray& content)
{
    return writeFile(path, content);
}

// Writes a small PNG of one colour (so that no two pictures are taken for one) to `path`, making
// its folder; returns the path, or nothing when it cannot be written.
inline QString writePicture(const QString& path, QRgb colour)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage picture(4, 4, QImage::Format_ARGB32);
    picture.fill(colour);
    return picture.save(path, "png") ? path : QString();
}
