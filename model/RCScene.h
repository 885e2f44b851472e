#pragma once

#include "model/IRCObject.h"
#include "model/IRCObjectWatcher.h"
#include "model/RCSceneItemRecords.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QSize>
#include <QStringList>

// One page of the panel: ordered scene items, the ids of the selected ones and the
// scene's own properties. Owns its items (they become its QObject children) and registers
// them with RCObjectManager while it holds them. Every item change is relayed as a signal
// that carries ids only (an item's id as the scene holds it). GUI thread only.
//
// JSON: {"propertyArray": [...], "itemArray": [item, ...]} in item order.
class RCScene : public IRCObject, private IRCObjectWatcher
{
    Q_OBJECT
public:
    explicit RCScene(QObject* parent = nullptr);
    RCScene(const QJsonObject& json, QObject* parent);
    // As from json, its items taking the rows read ahead for them (RCSceneItemRecords::ofScene of
    // the same json) when there is one per item.
    RCScene(const QJsonObject& json, const RCSceneItemRecords::SceneRows* itemRows, QObject* parent);
    RCScene(const QString& name, const QString& iconPath, const QString& backgroundImg,
            QObject* parent = nullptr);
    // Removes every item as removeItem does, first to last, with all its signals.
    ~RCScene() override;

    eIRCObjectType getObjectType() const override;
    QString getId() const override;
    void setPropertyValue(QString sName, QVariant var) override;
    QVariant getPropertyValue(QString sName) const override;
    RCProperties* getProperties() const override;
    void setFocus(bool b) override;
    QJsonObject toJson() const override;
    // Removes all items, merges "propertyArray", then adds an item per "itemArray" element.
    // An item id met twice keeps both items: the later one gets a new id (logged).
    bool fromJson(QJsonObject jsObj) override;
    bool fromJson(const QJsonObject& jsObj, const RCSceneItemRecords::SceneRows* itemRows);

    void initProperties();
    // The "Width" and "Height" of a scene that has not been given a size.
    static QSize defaultSize();
    // Takes ownership. An item whose id the scene already holds is deleted and nothing
    // changes; an item whose "Select" is already true enters the selection.
    void addItem(IRCObject* item);
    // As addItem, at index in the order; an index outside 0 .. count - 1 appends.
    void insertItem(IRCObject* item, int index);
    void removeItem(const QString& itemId);
    IRCObject* getItem(int index) const;
    IRCObject* getItemById(const QString& id) const;
    int getItemCount() const;
    QList<IRCObject*> getItemList() const;
    QStringList getSelectItems() const;
    // Whether the item of that id is in the selection (its "Select" is true), in constant time.
    bool isItemSelected(const QString& itemId) const;
    QString getName() const;
    QString getIconPath() const;
    QString getBackgroundImg() const;

    // Gives the scene a new braced QUuid id, bypassing the read-only flag and emitting
    // nothing; for a container that meets an id it already holds.
    QString renewId();

Q_SIGNALS:
    void itemAdded(QString sceneId, QString itemId);
    void itemRemove(QString sceneId, QString itemId);
    void itemPropertyValueChanged(QString sceneId, QString itemId, QString sName, QVariant value);
    void itemSelectChanged(QString sceneId, QStringList selectedItemIds);

private:
    // The scene watches each item it holds, tagged with the id it holds the item by.
    void watchedValueChanged(IRCObject* item, const QString& itemId, const QString& sName,
                             const QVariant& value) override;
    void removeFromSelection(const QString& itemId);
    void removeHeldItem(IRCObject* item, const QString& itemId);
    void removeAllItems();

    QHash<QString, IRCObject*> m_itemsById;
    QList<IRCObject*> m_items;
    QStringList m_selectedIds;
    QSet<QString> m_selectedSet; // the ids of m_selectedIds, for constant-time membership
    RCProperties* m_properties = nullptr;
};
