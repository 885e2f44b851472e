#pragma once

#include "model/IRCCppObject.h"

#include <QString>

// The small QML service over the object registry and the undo history: relays focus changes to the
// property panel, maps a focused id to a scene or scene-item id, and gives native callers the four
// undo-history forwarders. Created on first use, never deleted. GUI thread only.
class Platform : public IRCCppObject
{
    Q_OBJECT
public:
    static Platform* instance();

    // The id when it names a registered scene, else an empty string.
    Q_INVOKABLE QString tryGetSceneId(QString objectId);
    // The id when it names a registered scene item, else an empty string.
    Q_INVOKABLE QString tryGetSceneItemId(QString objectId);

    void clearCommands();
    bool canUndo();
    void undo();
    void redo();

Q_SIGNALS:
    // Re-emitted from RCObjectManager::objectFocusChanged.
    void objectFocusChanged(QString id);

private:
    explicit Platform(QObject* parent = nullptr);
};
