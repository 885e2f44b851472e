#include "model/RCScene.h"

#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCKeys.h"
#include "model/RCObjectManager.h"
#include "model/RCProperties.h"
#include "model/RCSceneItem.h"

#include <QDebug>
#include <QJsonArray>
#include <QUuid>

namespace {

using DT = IRCPropertyDisplay::EIRCPropertyDisplayType;

const QString kPropertyArray = QStringLiteral("propertyArray");
const QString kItemArray = QStringLiteral("itemArray");

} // namespace

RCScene::RCScene(QObject* parent) : IRCObject(parent)
{
    initProperties();
}

RCScene::RCScene(const QJsonObject& json, QObject* parent) : RCScene(json, nullptr, parent) {}

RCScene::RCScene(const QJsonObject& json, const RCSceneItemRecords::SceneRows* itemRows, QObject* parent)
    : IRCObject(parent)
{
    initProperties();
    fromJson(json, itemRows);
}

RCScene::RCScene(const QString& name, const QString& iconPath, const QString& backgroundImg, QObject* parent)
    : IRCObject(parent)
{
    initProperties();
    m_properties->setPropertyValue(RCKeys::Name(), name);
    m_properties->setPropertyValue(RCKeys::IconPath(), iconPath);
    m_properties->setPropertyValue(RCKeys::BackgroundImg(), backgroundImg);
}

RCScene::~RCScene()
{
    removeAllItems();
    delete m_properties;
}

QSize RCScene::defaultSize()
{
    return QSize(960, 540);
}

void RCScene::initProperties()
{
    if (!m_properties) {
        m_properties = new RCProperties;
        m_properties->relayValuesTo(this);
    }
    RCProperties* s = m_properties;
    s->addProperty(RCKeys::Id(), tr("唯一性标识"), true, false, QString(), DT::EIRCPropertyDisplayType_String,
                   QUuid::createUuid().toString(QUuid::WithBraces));
    s->addProperty(RCKeys::Name(), tr("名称"), false, true, QString(), DT::EIRCPropertyDisplayType_String,
                   QString());
    s->addProperty(RCKeys::TypeName(), tr("类型"), false, true, QString(), DT::EIRCPropertyDisplayType_String,
                   QString());
    s->addProperty(RCKeys::IndentLevel(), tr("缩进等级"), false, true, QString(),
                   DT::EIRCPropertyDisplayType_Int, 0);
    s->addProperty(RCKeys::Width(), tr("宽度"), false, true, QString(), DT::EIRCPropertyDisplayType_Int,
                   defaultSize().width());
    s->addProperty(RCKeys::Height(), tr("高度"), false, true, QString(), DT::EIRCPropertyDisplayType_Int,
                   defaultSize().height());
    s->addProperty(RCKeys::IconPath(), tr("图标"), false, true, QString(), DT::EIRCPropertyDisplayType_Icon,
                   QString());
    s->addProperty(RCKeys::BackgroundImg(), tr("背景图"), false, true, QString(),
                   DT::EIRCPropertyDisplayType_Icon, QString());
    s->addProperty(RCKeys::Focus(), tr("焦点"), false, false, QString(), DT::EIRCPropertyDisplayType_Bool,
                   false);
    s->addProperty(RCKeys::SingleSelection(), tr("是否单选"), false, false, QString(),
                   DT::EIRCPropertyDisplayType_Bool, false);
}

eIRCObjectType RCScene::getObjectType() const
{
    return eIRCObjectType_Scene;
}

QString RCScene::getId() const
{
    return m_properties->getPropertyValue(RCKeys::Id()).toString();
}

void RCScene::setPropertyValue(QString sName, QVariant var)
{
    m_properties->setPropertyValue(sName, var);
}

QVariant RCScene::getPropertyValue(QString sName) const
{
    return m_properties->getPropertyValue(sName);
}

RCProperties* RCScene::getProperties() const
{
    return m_properties;
}

void RCScene::setFocus(bool b)
{
    m_properties->setPropertyValue(RCKeys::Focus(), b);
}

QJsonObject RCScene::toJson() const
{
    QJsonArray items;
    for (IRCObject* item : m_items) {
        items.append(item->toJson());
    }
    return QJsonObject{{kPropertyArray, m_properties->toJson()}, {kItemArray, items}};
}

bool RCScene::fromJson(QJsonObject jsObj)
{
    return fromJson(jsObj, nullptr);
}

bool RCScene::fromJson(const QJsonObject& jsObj, const RCSceneItemRecords::SceneRows* itemRows)
{
    removeAllItems();
    m_properties->fromJson(jsObj.value(kPropertyArray).toArray());
    m_properties->enforceId();
    const QJsonArray items = jsObj.value(kItemArray).toArray();
    if (itemRows && itemRows->size() != size_t(items.size()))
        itemRows = nullptr;
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto* item = itemRows ? new RCSceneItem(itemRows->at(size_t(i)), this)
                              : new RCSceneItem(items.at(i).toObject(), this);
        const QString id = item->getId();
        if (m_itemsById.contains(id)) {
            const QString fresh = item->renewId();
            qWarning().noquote() << "RCScene::fromJson item id" << id << "appears twice in scene" << getId()
                                 << ", the later item gets the id" << fresh;
        }
        addItem(item);
    }
    return true;
}

QString RCScene::renewId()
{
    return m_properties->renewId();
}

void RCScene::addItem(IRCObject* item)
{
    insertItem(item, -1);
}

void RCScene::insertItem(IRCObject* item, int index)
{
    if (!item) {
        return;
    }
    const QString id = item->getId();
    if (IRCObject* held = m_itemsById.value(id, nullptr)) {
        if (held != item) {
            delete item;
        }
        return;
    }
    item->setParent(this);
    m_itemsById.insert(id, item);
    if (index >= 0 && index < m_items.size()) {
        m_items.insert(index, item);
    } else {
        m_items.append(item);
    }
    RCObjectManager::instance()->addObject(item);
    // Changes are reported under the id the scene holds the item by.
    item->addWatcher(this, id);
    const bool selected = item->getPropertyValue(RCKeys::Select()).toBool();
    if (selected) {
        m_selectedIds.append(id);
        m_selectedSet.insert(id);
    }
    Q_EMIT itemAdded(getId(), id);
    if (selected) {
        Q_EMIT itemSelectChanged(getId(), m_selectedIds);
    }
}

void RCScene::watchedValueChanged(IRCObject*, const QString& itemId, const QString& sName,
                                  const QVariant& value)
{
    const QString sceneId = getId();
    if (sName == RCKeys::Select()) {
        if (value.toBool()) {
            if (!m_selectedSet.contains(itemId)) {
                m_selectedIds.append(itemId);
                m_selectedSet.insert(itemId);
            }
        } else {
            removeFromSelection(itemId);
        }
        Q_EMIT itemSelectChanged(sceneId, m_selectedIds);
    }
    Q_EMIT itemPropertyValueChanged(sceneId, itemId, sName, value);
}

void RCScene::removeFromSelection(const QString& itemId)
{
    if (!m_selectedSet.remove(itemId)) {
        return;
    }
    // Usually found at the front when items go in order, which keeps clearing linear.
    const qsizetype index = m_selectedIds.indexOf(itemId);
    if (index >= 0) {
        m_selectedIds.removeAt(index);
    }
}

void RCScene::removeItem(const QString& itemId)
{
    if (itemId.isEmpty()) {
        return;
    }
    if (IRCObject* item = m_itemsById.value(itemId, nullptr)) {
        removeHeldItem(item, itemId);
    }
}

void RCScene::removeHeldItem(IRCObject* item, const QString& itemId)
{
    const QString sceneId = getId();
    Q_EMIT itemRemove(sceneId, itemId);
    m_itemsById.remove(itemId);
    m_items.removeOne(item);
    removeFromSelection(itemId);
    RCObjectManager::instance()->removeObject(item);
    Q_EMIT itemSelectChanged(sceneId, m_selectedIds);
    Q_EMIT destorySelf(item);
    delete item;
}

void RCScene::removeAllItems()
{
    while (!m_items.isEmpty()) {
        IRCObject* first = m_items.constFirst();
        QString id = first->getId();
        if (m_itemsById.value(id, nullptr) != first) {
            id = m_itemsById.key(first); // the item's id changed while held
        }
        removeHeldItem(first, id);
    }
}

IRCObject* RCScene::getItem(int index) const
{
    if (index < 0 || index >= m_items.size()) {
        return nullptr;
    }
    return m_items.at(index);
}

IRCObject* RCScene::getItemById(const QString& id) const
{
    return m_itemsById.value(id, nullptr);
}

int RCScene::getItemCount() const
{
    return int(m_items.size());
}

QList<IRCObject*> RCScene::getItemList() const
{
    return m_items;
}

QStringList RCScene::getSelectItems() const
{
    return m_selectedIds;
}

bool RCScene::isItemSelected(const QString& itemId) const
{
    return m_selectedSet.contains(itemId);
}

QString RCScene::getName() const
{
    return m_properties->getPropertyValue(RCKeys::Name()).toString();
}

QString RCScene::getIconPath() const
{
    return m_properties->getPropertyValue(RCKeys::IconPath()).toString();
}

QString RCScene::getBackgroundImg() const
{
    return m_properties->getPropertyValue(RCKeys::BackgroundImg()).toString();
}
