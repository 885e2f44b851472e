#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>

// The clipboard format "sceneItem" of copied scene items: the bytes of a Qt 5 binary JSON document
// {"sceneItemArray": [item, ...]}, each item as the project file holds it. Reading accepts only
// what could become a scene item again: the clipboard is shared with every other program, so its
// bytes are untrusted. GUI thread only; both calls fail without a GUI application.
class RCSceneItemClipboard
{
public:
    static constexpr const char* MimeType = "sceneItem";
    // Larger clipboard data is refused without being parsed.
    static constexpr qsizetype MaxBytes = 64 * 1024 * 1024;

    // The clipboard bytes of the items.
    static QByteArray encode(const QJsonArray& items);
    // Replaces the clipboard's content by the items. False without a GUI application.
    static bool write(const QJsonArray& items);
    // The bytes under "sceneItem"; empty when there are none or no GUI application.
    static QByteArray readBytes();
    // The well-formed items of the bytes, in order; entries that are not skipped. An item is
    // well-formed when it is an object whose "propertyArray" holds only records with a non-empty
    // text "name", one of them "QmlPath" naming a view this program ships, and whose "X" and "Y"
    // records, if any, hold finite numbers.
    static QList<QJsonObject> parseItems(const QByteArray& bytes);

private:
    RCSceneItemClipboard() = delete;
};
