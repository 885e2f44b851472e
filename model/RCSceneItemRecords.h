#pragma once

#include "model/RCProperty.h"

#include <QJsonObject>

#include <vector>

// The property records of scene items, read from their descriptions ahead of the build: a
// project's parse reads them on its own threads, and its items then take their rows as read
// (RCSceneItem, RCScene, RCSceneManager). Reads nothing but its argument; any thread.
class RCSceneItemRecords
{
public:
    // The records of one item's "propertyArray", one per element, as RCSceneItem reads them.
    using Rows = std::vector<RCProperty::Record>;
    // The rows of each item of one scene, in "itemArray" order.
    using SceneRows = std::vector<Rows>;

    static Rows ofItem(const QJsonObject& item);
    // The rows of each element of the scene's "itemArray".
    static SceneRows ofScene(const QJsonObject& scene);

private:
    RCSceneItemRecords() = delete;
};
