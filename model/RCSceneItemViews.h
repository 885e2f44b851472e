#pragma once

#include <QString>
#include <QStringList>

// The scene-item views that this program ships, the one list that decides which
// "QmlPath" values may reach the scene panel. Items arrive from project files, the
// clipboard, other panels and the media server, and the scene panel creates a QML
// component from the path, so nothing outside this list is ever kept.
class RCSceneItemViews
{
public:
    // How an item property reaches the item's view: most are values (Value); the place, size,
    // view file, selection and turn each have an input of their own.
    enum class Input
    {
        Value,
        X,
        Y,
        Width,
        Height,
        QmlPath,
        Select,
        Angle
    };
    // The input of the item property key ("X", "Y", "Width", "Height", "QmlPath", "Select",
    // "Angle"; Value for any other key).
    static Input inputOf(const QString& key);
    // "qrc:/qml/scenePanel/"
    static QString folder();
    // The view file names, such as "RCSceneItemActionButton.qml", each once, in the order of
    // the first control kind that uses it.
    static const QStringList& fileNames();
    // True only for folder() followed by one of fileNames(), compared exactly.
    static bool isKnownViewPath(const QString& path);
    // The view file of a control kind (IRCControl::EIRCControlType), or empty for none.
    static QString fileNameForControlType(int controlType);
    // folder() + fileNameForControlType(controlType), or empty for a kind without a view.
    static QString viewPathForControlType(int controlType);
};
