#pragma once

#include "model/IRCCppObject.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QPoint>
#include <QSize>
#include <QStringList>
#include <QVariant>

#include <functional>

class RCScene;

// The interface, addressed by scene id and item id, through which QML and the other subsystems
// read and change scene items. Changes run as scene-item commands through RCCmdPresenter with a
// record flag; reads go to the scene and item found through RCSceneManager::instance(). Relays
// the item signals of every scene added to the scene manager after this presenter was made, each
// event once. Holds no document state. GUI thread only.
class RCSceneItemPresenter : public IRCCppObject
{
    Q_OBJECT
public:
    // The shared presenter, made on first use and never deleted.
    static RCSceneItemPresenter* instance();
    explicit RCSceneItemPresenter(QObject* parent = nullptr);

    // Id of the new item; "" when the scene is unknown or already holds an item of that id.
    Q_INVOKABLE QString addItem(QString sceneId, QJsonObject jsObj, bool record);
    // One undo step for the whole list. jsObjList: a JS array of item objects, or a native list
    // (QVariantList, QJsonArray, QList<QJsonObject>). The new ids in list order, "" for a failure.
    Q_INVOKABLE QStringList addItemList(QString sceneId, QVariant jsObjList, bool record);
    QStringList addItemList(const QString& sceneId, const QList<QJsonObject>& jsObjList, bool record);
    Q_INVOKABLE bool removeItem(QString sceneId, QString sItemId, bool record);
    // One undo step for the whole list; unknown ids are skipped. Always true.
    Q_INVOKABLE bool removeItemList(QString sceneId, QStringList sItemIdList, bool record);
    Q_INVOKABLE QStringList getItemIds(QString sceneId);
    Q_INVOKABLE int getItemCount(QString sceneId);
    Q_INVOKABLE QString getItemId(QString sceneId, int index);
    // The ids of the selected items in scene order (not in the order they became selected);
    // empty for an unknown scene.
    Q_INVOKABLE QStringList getSelectItems(QString sceneId);
    Q_INVOKABLE void setPropertyValue(QString sceneId, QString itemId, QString sName, QVariant var,
                                      bool record);
    // Sets "Select" false on the items of deselectIds, then true on those of selectIds, in list
    // order and unrecorded, as setPropertyValue does item by item: one call for a gesture's change
    // of the selection.
    Q_INVOKABLE void setItemsSelected(QString sceneId, QStringList selectIds, QStringList deselectIds);
    Q_INVOKABLE int getPropertyCount(QString sceneId, QString itemId);
    Q_INVOKABLE QString getPropertyQmlFile(QString sceneId, QString itemId, int index);
    Q_INVOKABLE bool getPropertyVisible(QString sceneId, QString itemId, int index);
    Q_INVOKABLE QString getPropertyName(QString sceneId, QString itemId, int index);
    Q_INVOKABLE QString getPropertyDescription(QString sceneId, QString itemId, QString name);
    Q_INVOKABLE QVariant getPropertyDisplayData(QString sceneId, QString itemId, QString nameProperty,
                                                QString keyDisplay);
    Q_INVOKABLE QVariant getPropertyValue(QString sceneId, QString itemId, QString sName);
    // Name -> value of every property of the item, in one call (a view reads its item with it);
    // empty when the scene or item is unknown.
    Q_INVOKABLE QVariantMap getPropertyValues(QString sceneId, QString itemId);
    // Name -> value of the item's text values that `keep` takes (given the name and the text),
    // without a copy of the others; empty when the scene or item is unknown.
    QVariantMap getTextValues(const QString& sceneId, const QString& itemId,
                              const std::function<bool(const QString&, const QString&)>& keep);
    Q_INVOKABLE void triggerAction(QString sceneId, QString itemId, int actType, QVariant data);
    Q_INVOKABLE bool containProperty(QString sceneId, QString itemId, QString sName);
    // (0, 0) when the item is missing.
    Q_INVOKABLE QPoint getPos(QString sceneId, QString itemId);
    Q_INVOKABLE void setPos(QString sceneId, QString itemId, QPoint pos, bool record);
    // An invalid size when the item is missing.
    Q_INVOKABLE QSize getSize(QString sceneId, QString itemId);
    Q_INVOKABLE void setSize(QString sceneId, QString itemId, QSize size, bool record);
    // Moves the scene's selected items by (dx, dy) scene units. With record true as one undo step
    // (a position command per item); with record false as one batch without commands: each
    // item's position is written and announced as usual while isMovingItems() is true, and
    // itemsMoved follows once.
    // One call per step of a drag.
    Q_INVOKABLE void moveSelectItems(QString sceneId, int dx, int dy, bool record);
    // True while an unrecorded moveSelectItems writes; listeners that follow itemsMoved may
    // leave the single position changes alone.
    bool isMovingItems() const;

    // Adds one property record (JSON form) to the item's property set, without a command.
    void updateItemProperties(const QString& sceneId, const QString& itemId, const QJsonObject& record);
    // Name -> value of the item's image and icon properties; empty when the item is missing.
    QMap<QString, QVariant> getImagePropertyValues(const QString& sceneId, const QString& itemId);
    bool containItem(const QString& sceneId, const QString& itemId);
    // The item's JSON object; null when the item is missing.
    QJsonValue getItemJson(const QString& sceneId, const QString& itemId);

Q_SIGNALS:
    void itemAdded(QString sceneId, QString itemId);
    void itemRemoved(QString sceneId, QString itemId);
    void itemPropertyValueChanged(QString sceneId, QString itemId, QString sName, QVariant value);
    void itemSelectChanged(QString sceneId, QStringList selectedItemIds);
    // An item asks for an action; the project forwards it to the action manager.
    void actionTrigger(QString sceneId, QString itemId, int actType, QVariant data);
    // Emitted by the action that runs another item as if tapped; never by the presenter itself.
    void itemExecute(QString sceneId, QString itemId);
    // An unrecorded moveSelectItems moved these items (scene order).
    void itemsMoved(QString sceneId, QStringList itemIds);

private Q_SLOTS:
    void onSceneAdded(RCScene* scene, int index);
    void onItemAdded(QString sceneId, QString itemId);
    void onItemRemove(QString sceneId, QString itemId);
    void onItemPropertyValueChanged(QString sceneId, QString itemId, QString sName, QVariant value);
    void onItemSelectChanged(QString sceneId, QStringList selectedItemIds);

private:
    // The sending scene when the event's scene id is its own; null otherwise.
    RCScene* senderScene(const QString& sceneId) const;

    bool m_movingItems = false;
};
