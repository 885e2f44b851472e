#include "editing/RCSceneItemCommand_Add.h"

#include "model/RCKeys.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"

#include <QJsonArray>

namespace {

QString propertyArrayKey()
{
    return QStringLiteral("propertyArray");
}

bool isIdRecord(const QJsonValue& record)
{
    return record.toObject().value(QStringLiteral("name")).toString() == RCKeys::Id();
}

// Replaces (or adds) the "Id" record of description by the one of the item as built.
void writeIdBack(QJsonObject& description, const RCSceneItem* item)
{
    QJsonObject idRecord;
    for (const QJsonValue record : item->toJson().value(propertyArrayKey()).toArray()) {
        if (isIdRecord(record)) {
            idRecord = record.toObject();
            break;
        }
    }
    if (idRecord.isEmpty())
        return;
    QJsonArray records = description.value(propertyArrayKey()).toArray();
    bool replaced = false;
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (isIdRecord(records.at(i))) {
            records.replace(i, idRecord);
            replaced = true;
            break;
        }
    }
    if (!replaced)
        records.prepend(idRecord);
    description.insert(propertyArrayKey(), records);
}

} // namespace

RCSceneItemCommand_Add::RCSceneItemCommand_Add() = default;

RCSceneItemCommand_Add::RCSceneItemCommand_Add(const QString& sceneId, const QJsonObject& itemJson)
    : m_sceneId(sceneId), m_itemJson(itemJson)
{
}

bool RCSceneItemCommand_Add::execute()
{
    RCScene* scene = RCSceneManager::instance()->getScene(m_sceneId);
    if (!scene)
        return false;
    auto* item = new RCSceneItem(m_itemJson, scene);
    const QString id = item->getId();
    if (scene->getItemById(id)) {
        delete item;
        return false;
    }
    if (m_itemId != id)
        writeIdBack(m_itemJson, item);
    m_itemId = id;
    scene->addItem(item);
    if (m_hasPos)
        item->setPos(m_pos);
    return true;
}

bool RCSceneItemCommand_Add::undo()
{
    RCSceneManager* scenes = RCSceneManager::instance();
    RCSceneItem* item = scenes->getSceneItem(m_sceneId, m_itemId);
    if (!item)
        return false;
    m_pos = item->getPos();
    m_hasPos = true;
    scenes->getScene(m_sceneId)->removeItem(m_itemId);
    return true;
}

QString RCSceneItemCommand_Add::typeName() const
{
    return QStringLiteral("RCSceneItemCommand_Add");
}

QString RCSceneItemCommand_Add::getItemId() const
{
    return m_itemId;
}
