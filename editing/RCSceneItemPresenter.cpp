#include "editing/RCSceneItemPresenter.h"

#include "editing/RCCmdPresenter.h"
#include "editing/RCPropertyQuery.h"
#include "editing/RCSceneItemCommand_Add.h"
#include "editing/RCSceneItemCommand_Remove.h"
#include "editing/RCSceneItemCommand_Update.h"
#include "editing/RCSceneItemCommand_UpdatePos.h"
#include "editing/RCSceneItemCommand_UpdateSize.h"
#include "model/RCKeys.h"
#include "model/IRCProperty.h"
#include "model/RCProperties.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"

#include <QJSValue>
#include <QJsonArray>
#include <QLoggingCategory>
#include <QSet>

#include <memory>

Q_LOGGING_CATEGORY(lcSceneItemPresenter, "sceneItem.presenter", QtInfoMsg)

namespace {

RCScene* sceneOf(const QString& sceneId)
{
    return RCSceneManager::instance()->getScene(sceneId);
}

RCSceneItem* itemOf(const QString& sceneId, const QString& itemId)
{
    return RCSceneManager::instance()->getSceneItem(sceneId, itemId);
}

QString nameOf(const RCSceneItem* item)
{
    return item ? item->getName() : QString();
}

QJsonObject toItemObject(const QVariant& element)
{
    QVariant value = element;
    if (value.metaType() == QMetaType::fromType<QJSValue>())
        value = value.value<QJSValue>().toVariant();
    if (value.metaType() == QMetaType::fromType<QJsonObject>())
        return value.toJsonObject();
    if (value.metaType() == QMetaType::fromType<QJsonValue>())
        return value.toJsonValue().toObject();
    return QJsonObject::fromVariantMap(value.toMap());
}

QList<QJsonObject> toItemObjects(const QVariant& list)
{
    QVariant value = list;
    if (value.metaType() == QMetaType::fromType<QJSValue>())
        value = value.value<QJSValue>().toVariant();
    if (value.metaType() == QMetaType::fromType<QList<QJsonObject>>())
        return value.value<QList<QJsonObject>>();
    QList<QJsonObject> objects;
    if (value.metaType() == QMetaType::fromType<QJsonArray>()) {
        for (const QJsonValue element : value.toJsonArray())
            objects.append(element.toObject());
        return objects;
    }
    for (const QVariant& element : value.toList())
        objects.append(toItemObject(element));
    return objects;
}

} // namespace

RCSceneItemPresenter* RCSceneItemPresenter::instance()
{
    static RCSceneItemPresenter* presenter = new RCSceneItemPresenter();
    return presenter;
}

RCSceneItemPresenter::RCSceneItemPresenter(QObject* parent) : IRCCppObject(parent)
{
    RCCmdPresenter::instance(); // the command types are registered from here on
    connect(RCSceneManager::instance(), &RCSceneManager::sceneAdd, this, &RCSceneItemPresenter::onSceneAdded);
}

void RCSceneItemPresenter::onSceneAdded(RCScene* scene, int)
{
    if (!scene)
        return;
    // A moved scene is added again: unique connections relay each event once. They end with the
    // scene, so a later scene at the same address is a new sender.
    const auto unique = Qt::UniqueConnection;
    connect(scene, &RCScene::itemAdded, this, &RCSceneItemPresenter::onItemAdded, unique);
    connect(scene, &RCScene::itemRemove, this, &RCSceneItemPresenter::onItemRemove, unique);
    connect(scene, &RCScene::itemPropertyValueChanged, this,
            &RCSceneItemPresenter::onItemPropertyValueChanged, unique);
    connect(scene, &RCScene::itemSelectChanged, this, &RCSceneItemPresenter::onItemSelectChanged, unique);
}

RCScene* RCSceneItemPresenter::senderScene(const QString& sceneId) const
{
    auto* scene = qobject_cast<RCScene*>(sender());
    return scene && scene->getId() == sceneId ? scene : nullptr;
}

void RCSceneItemPresenter::onItemAdded(QString sceneId, QString itemId)
{
    if (senderScene(sceneId))
        Q_EMIT itemAdded(sceneId, itemId);
}

void RCSceneItemPresenter::onItemRemove(QString sceneId, QString itemId)
{
    RCScene* scene = senderScene(sceneId);
    if (!scene)
        return;
    qCInfo(lcSceneItemPresenter) << "Remove scene item"
                                 << nameOf(qobject_cast<RCSceneItem*>(scene->getItemById(itemId))) << "in"
                                 << scene->getName();
    Q_EMIT itemRemoved(sceneId, itemId);
}

void RCSceneItemPresenter::onItemPropertyValueChanged(QString sceneId, QString itemId, QString sName,
                                                      QVariant value)
{
    RCScene* scene = senderScene(sceneId);
    if (!scene)
        return;
    if (lcSceneItemPresenter().isDebugEnabled()) {
        if (auto* item = qobject_cast<RCSceneItem*>(scene->getItemById(itemId)))
            qCDebug(lcSceneItemPresenter)
                << "Item" << item->getName() << "property changed:" << sName << ":" << value;
    }
    Q_EMIT itemPropertyValueChanged(sceneId, itemId, sName, value);
}

void RCSceneItemPresenter::onItemSelectChanged(QString sceneId, QStringList selectedItemIds)
{
    RCScene* scene = senderScene(sceneId);
    if (!scene)
        return;
    // Per-id lines only when asked for: the list is the whole selection, and walking it on every
    // change would make selecting many items quadratic.
    if (lcSceneItemPresenter().isDebugEnabled()) {
        for (const QString& id : std::as_const(selectedItemIds)) {
            if (auto* item = qobject_cast<RCSceneItem*>(scene->getItemById(id)))
                qCDebug(lcSceneItemPresenter) << "Item" << item->getName() << "select changed.";
        }
    }
    Q_EMIT itemSelectChanged(sceneId, selectedItemIds);
}

QString RCSceneItemPresenter::addItem(QString sceneId, QJsonObject jsObj, bool record)
{
    auto cmd = std::make_unique<RCSceneItemCommand_Add>(sceneId, jsObj);
    RCSceneItemCommand_Add* add = cmd.get();
    if (!RCCmdPresenter::instance()->run(cmd, record))
        return QString();
    return add->getItemId();
}

QStringList RCSceneItemPresenter::addItemList(QString sceneId, QVariant jsObjList, bool record)
{
    return addItemList(sceneId, toItemObjects(jsObjList), record);
}

QStringList RCSceneItemPresenter::addItemList(const QString& sceneId, const QList<QJsonObject>& jsObjList,
                                              bool record)
{
    QStringList ids;
    ids.reserve(jsObjList.size());
    RCCmdPresenter::instance()->beginCommandGroup();
    for (const QJsonObject& object : jsObjList)
        ids.append(addItem(sceneId, object, record));
    RCCmdPresenter::instance()->endCommandGroup();
    return ids;
}

bool RCSceneItemPresenter::removeItem(QString sceneId, QString sItemId, bool record)
{
    auto cmd = std::make_unique<RCSceneItemCommand_Remove>(sceneId, sItemId);
    return RCCmdPresenter::instance()->run(cmd, record);
}

bool RCSceneItemPresenter::removeItemList(QString sceneId, QStringList sItemIdList, bool record)
{
    RCCmdPresenter::instance()->beginCommandGroup();
    for (const QString& id : std::as_const(sItemIdList))
        removeItem(sceneId, id, record);
    RCCmdPresenter::instance()->endCommandGroup();
    return true;
}

QStringList RCSceneItemPresenter::getItemIds(QString sceneId)
{
    QStringList ids;
    if (RCScene* scene = sceneOf(sceneId)) {
        const QList<IRCObject*> items = scene->getItemList();
        ids.reserve(items.size());
        for (const IRCObject* item : items)
            ids.append(item->getId());
    }
    return ids;
}

int RCSceneItemPresenter::getItemCount(QString sceneId)
{
    RCScene* scene = sceneOf(sceneId);
    return scene ? scene->getItemCount() : -1;
}

QString RCSceneItemPresenter::getItemId(QString sceneId, int index)
{
    RCScene* scene = sceneOf(sceneId);
    const IRCObject* item = scene ? scene->getItem(index) : nullptr;
    return item ? item->getId() : QString();
}

QStringList RCSceneItemPresenter::getSelectItems(QString sceneId)
{
    RCScene* scene = sceneOf(sceneId);
    if (!scene)
        return QStringList();
    // The scene keeps its selection in the order the items became selected, which an undo
    // reshuffles; callers get the scene's order.
    const QStringList selected = scene->getSelectItems();
    if (selected.size() < 2)
        return selected;
    const QSet<QString> wanted(selected.cbegin(), selected.cend());
    QStringList ordered;
    ordered.reserve(selected.size());
    const QList<IRCObject*> items = scene->getItemList();
    for (const IRCObject* item : items) {
        const QString id = item->getId();
        if (wanted.contains(id)) {
            ordered.append(id);
            if (ordered.size() == selected.size())
                break;
        }
    }
    return ordered;
}

void RCSceneItemPresenter::setPropertyValue(QString sceneId, QString itemId, QString sName, QVariant var,
                                            bool record)
{
    auto cmd = std::make_unique<RCSceneItemCommand_Update>(sceneId, itemId, sName, var);
    RCCmdPresenter::instance()->run(cmd, record);
}

void RCSceneItemPresenter::setItemsSelected(QString sceneId, QStringList selectIds, QStringList deselectIds)
{
    for (const QString& id : std::as_const(deselectIds))
        setPropertyValue(sceneId, id, RCKeys::Select(), false, false);
    for (const QString& id : std::as_const(selectIds))
        setPropertyValue(sceneId, id, RCKeys::Select(), true, false);
}

int RCSceneItemPresenter::getPropertyCount(QString sceneId, QString itemId)
{
    return RCPropertyQuery::count(itemOf(sceneId, itemId));
}

QString RCSceneItemPresenter::getPropertyQmlFile(QString sceneId, QString itemId, int index)
{
    return RCPropertyQuery::qmlFile(itemOf(sceneId, itemId), index);
}

bool RCSceneItemPresenter::getPropertyVisible(QString sceneId, QString itemId, int index)
{
    return RCPropertyQuery::visible(itemOf(sceneId, itemId), index);
}

QString RCSceneItemPresenter::getPropertyName(QString sceneId, QString itemId, int index)
{
    return RCPropertyQuery::name(itemOf(sceneId, itemId), index);
}

QString RCSceneItemPresenter::getPropertyDescription(QString sceneId, QString itemId, QString name)
{
    return RCPropertyQuery::description(itemOf(sceneId, itemId), name);
}

QVariant RCSceneItemPresenter::getPropertyDisplayData(QString sceneId, QString itemId, QString nameProperty,
                                                      QString keyDisplay)
{
    return RCPropertyQuery::displayData(itemOf(sceneId, itemId), nameProperty, keyDisplay);
}

QVariant RCSceneItemPresenter::getPropertyValue(QString sceneId, QString itemId, QString sName)
{
    const RCSceneItem* item = itemOf(sceneId, itemId);
    return item ? item->getPropertyValue(sName) : QVariant();
}

QVariantMap RCSceneItemPresenter::getPropertyValues(QString sceneId, QString itemId)
{
    QVariantMap values;
    const RCSceneItem* item = itemOf(sceneId, itemId);
    const RCProperties* properties = item ? item->getProperties() : nullptr;
    const int count = properties ? properties->count() : 0;
    for (int i = 0; i < count; ++i) {
        const IRCProperty* property = properties->getPropertyAt(i);
        values.insert(property->getName(), property->getValue());
    }
    return values;
}

QVariantMap RCSceneItemPresenter::getTextValues(const QString& sceneId, const QString& itemId,
                                                const std::function<bool(const QString&, const QString&)>& keep)
{
    QVariantMap values;
    const RCSceneItem* item = itemOf(sceneId, itemId);
    const RCProperties* properties = item ? item->getProperties() : nullptr;
    const int count = properties ? properties->count() : 0;
    for (int i = 0; i < count; ++i) {
        const IRCProperty* property = properties->getPropertyAt(i);
        const QVariant value = property->getValue();
        if (value.typeId() == QMetaType::QString && keep(property->getName(), value.toString()))
            values.insert(property->getName(), value);
    }
    return values;
}

void RCSceneItemPresenter::triggerAction(QString sceneId, QString itemId, int actType, QVariant data)
{
    Q_EMIT actionTrigger(sceneId, itemId, actType, data);
}

bool RCSceneItemPresenter::containProperty(QString sceneId, QString itemId, QString sName)
{
    return RCPropertyQuery::contains(itemOf(sceneId, itemId), sName);
}

QPoint RCSceneItemPresenter::getPos(QString sceneId, QString itemId)
{
    const RCSceneItem* item = itemOf(sceneId, itemId);
    return item ? item->getPos() : QPoint();
}

void RCSceneItemPresenter::setPos(QString sceneId, QString itemId, QPoint pos, bool record)
{
    auto cmd = std::make_unique<RCSceneItemCommand_UpdatePos>(sceneId, itemId, pos);
    RCCmdPresenter::instance()->run(cmd, record);
}

QSize RCSceneItemPresenter::getSize(QString sceneId, QString itemId)
{
    const RCSceneItem* item = itemOf(sceneId, itemId);
    return item ? item->getSize() : QSize();
}

void RCSceneItemPresenter::setSize(QString sceneId, QString itemId, QSize size, bool record)
{
    auto cmd = std::make_unique<RCSceneItemCommand_UpdateSize>(sceneId, itemId, size);
    RCCmdPresenter::instance()->run(cmd, record);
}

void RCSceneItemPresenter::moveSelectItems(QString sceneId, int dx, int dy, bool record)
{
    if (dx == 0 && dy == 0)
        return;
    const QStringList ids = getSelectItems(sceneId);
    if (ids.isEmpty())
        return;
    if (record)
        RCCmdPresenter::instance()->beginCommandGroup();
    const bool nested = m_movingItems;
    m_movingItems = !record;
    const QPoint by(dx, dy);
    for (const QString& id : ids) {
        RCSceneItem* item = itemOf(sceneId, id);
        if (!item)
            continue;
        // a step of a gesture that ends recorded needs no command of its own
        if (record)
            setPos(sceneId, id, item->getPos() + by, true);
        else
            item->setPos(item->getPos() + by);
    }
    m_movingItems = nested;
    if (record)
        RCCmdPresenter::instance()->endCommandGroup();
    else
        Q_EMIT itemsMoved(sceneId, ids);
}

bool RCSceneItemPresenter::isMovingItems() const
{
    return m_movingItems;
}

void RCSceneItemPresenter::updateItemProperties(const QString& sceneId, const QString& itemId,
                                                const QJsonObject& record)
{
    if (RCSceneItem* item = itemOf(sceneId, itemId))
        item->getProperties()->addProperty(record);
}

QMap<QString, QVariant> RCSceneItemPresenter::getImagePropertyValues(const QString& sceneId,
                                                                     const QString& itemId)
{
    const RCSceneItem* item = itemOf(sceneId, itemId);
    return item ? item->getImagePropertyValues() : QMap<QString, QVariant>();
}

bool RCSceneItemPresenter::containItem(const QString& sceneId, const QString& itemId)
{
    RCScene* scene = sceneOf(sceneId);
    return scene && scene->getItemById(itemId);
}

QJsonValue RCSceneItemPresenter::getItemJson(const QString& sceneId, const QString& itemId)
{
    const RCSceneItem* item = itemOf(sceneId, itemId);
    return item ? QJsonValue(item->toJson()) : QJsonValue(QJsonValue::Null);
}
