#include "model/RCSceneItemRecords.h"

#include <QJsonArray>

RCSceneItemRecords::Rows RCSceneItemRecords::ofItem(const QJsonObject& item)
{
    const QJsonArray array = item.value(QLatin1StringView("propertyArray")).toArray();
    Rows rows;
    rows.reserve(size_t(array.size()));
    for (const QJsonValue& element : array)
        rows.emplace_back(element.toObject());
    return rows;
}

RCSceneItemRecords::SceneRows RCSceneItemRecords::ofScene(const QJsonObject& scene)
{
    const QJsonArray items = scene.value(QLatin1StringView("itemArray")).toArray();
    SceneRows rows;
    rows.reserve(size_t(items.size()));
    for (const QJsonValue& element : items)
        rows.push_back(ofItem(element.toObject()));
    return rows;
}
