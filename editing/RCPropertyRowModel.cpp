#include "editing/RCPropertyRowModel.h"

#include "editing/RCPropertyQuery.h"
#include "model/RCKeys.h"
#include "model/RCScene.h"
#include "model/RCSceneManager.h"

#include <algorithm>

namespace {

// A list held as display data; empty for anything else.
QVariantList listOf(const QVariant& data)
{
    switch (data.typeId()) {
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return data.toList();
    default:
        return QVariantList();
    }
}

} // namespace

RCPropertyRowModel::RCPropertyRowModel(QObject* parent) : QAbstractListModel(parent) {}

RCScenePresenter* RCPropertyRowModel::scenePresenter() const
{
    return m_scenes;
}

void RCPropertyRowModel::setScenePresenter(RCScenePresenter* presenter)
{
    if (presenter == m_scenes)
        return;
    if (m_scenes)
        disconnect(m_scenes, nullptr, this, nullptr);
    m_scenes = presenter;
    if (presenter) {
        connect(presenter, &RCScenePresenter::sceneSelectChanged, this,
                &RCPropertyRowModel::onSceneSelectChanged);
        connect(presenter, &RCScenePresenter::scenePropertyValueChanged, this,
                &RCPropertyRowModel::onScenePropertyValueChanged);
    }
    Q_EMIT scenePresenterChanged();
    follow();
}

RCSceneItemPresenter* RCPropertyRowModel::sceneItemPresenter() const
{
    return m_items;
}

void RCPropertyRowModel::setSceneItemPresenter(RCSceneItemPresenter* presenter)
{
    if (presenter == m_items)
        return;
    if (m_items)
        disconnect(m_items, nullptr, this, nullptr);
    m_items = presenter;
    if (presenter) {
        connect(presenter, &RCSceneItemPresenter::itemPropertyValueChanged, this,
                &RCPropertyRowModel::onItemPropertyValueChanged);
        connect(presenter, &RCSceneItemPresenter::itemSelectChanged, this,
                &RCPropertyRowModel::onItemSelectChanged);
    }
    Q_EMIT sceneItemPresenterChanged();
    follow();
}

QString RCPropertyRowModel::focusId() const
{
    return m_focusId;
}

void RCPropertyRowModel::setFocusId(const QString& id)
{
    if (id == m_focusId)
        return;
    m_focusId = id;
    // an object the user focused now counts more than the selection before it
    m_selectionFirst = id.isEmpty();
    Q_EMIT focusIdChanged();
    follow();
}

QString RCPropertyRowModel::objectId() const
{
    return m_itemId.isEmpty() ? m_sceneId : m_itemId;
}

bool RCPropertyRowModel::shown() const
{
    return m_shown;
}

void RCPropertyRowModel::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    Q_EMIT shownChanged();
    follow();
}

int RCPropertyRowModel::selectedItemCount() const
{
    return m_selectedItemCount;
}

void RCPropertyRowModel::followPending()
{
    if (!m_followPending)
        return;
    m_followPending = false;
    follow();
}

void RCPropertyRowModel::follow()
{
    m_followPending = false;
    RCSceneManager* manager = RCSceneManager::instance();
    RCScene* scene =
        m_shown && m_scenes && m_items ? manager->getScene(m_scenes->getSelectSceneId()) : nullptr;
    const QStringList selected = scene ? scene->getSelectItems() : QStringList();
    if (selected.size() != m_selectedItemCount) {
        m_selectedItemCount = int(selected.size());
        Q_EMIT selectedItemCountChanged();
    }
    if (!scene) {
        RCScene* focused = m_shown && m_scenes && m_items ? manager->getScene(m_focusId) : nullptr;
        show(focused, focused ? m_focusId : QString(), QString());
        return;
    }
    const QString sceneId = scene->getId();
    const bool focusInScene = m_focusId == sceneId || scene->getItemById(m_focusId);
    if (selected.size() == 1 && (m_selectionFirst || !focusInScene))
        show(scene->getItemById(selected.constFirst()), sceneId, selected.constFirst());
    else if (m_focusId.isEmpty())
        show(nullptr, QString(), QString());
    else if (m_focusId != sceneId && focusInScene)
        show(scene->getItemById(m_focusId), sceneId, m_focusId);
    else
        show(scene, sceneId, QString());
}

void RCPropertyRowModel::show(IRCObject* object, const QString& sceneId, const QString& itemId)
{
    if (object == m_object && sceneId == m_sceneId && itemId == m_itemId)
        return;
    beginResetModel();
    if (m_object)
        disconnect(m_object, nullptr, this, nullptr);
    m_object = object;
    m_sceneId = object ? sceneId : QString();
    m_itemId = object ? itemId : QString();
    m_names.clear();
    m_rows.clear();
    if (object) {
        connect(object, &QObject::destroyed, this, &RCPropertyRowModel::onObjectDestroyed);
        const int count = RCPropertyQuery::count(object);
        for (int i = 0; i < count; ++i) {
            if (!RCPropertyQuery::visible(object, i) || RCPropertyQuery::qmlFile(object, i).isEmpty())
                continue;
            const QString name = RCPropertyQuery::name(object, i);
            if (name.isEmpty() || m_rows.contains(name))
                continue;
            m_rows.insert(name, int(m_names.size()));
            m_names.append(name);
        }
    }
    endResetModel();
    Q_EMIT objectChanged();
}

void RCPropertyRowModel::onObjectDestroyed()
{
    // The document is in the middle of a change: no rows until the signals that follow it.
    beginResetModel();
    m_object = nullptr;
    m_sceneId.clear();
    m_itemId.clear();
    m_names.clear();
    m_rows.clear();
    endResetModel();
    Q_EMIT objectChanged();
}

void RCPropertyRowModel::onItemSelectChanged(const QString& sceneId)
{
    if (!m_scenes || sceneId != m_scenes->getSelectSceneId())
        return;
    m_selectionFirst = true;
    if (m_followPending)
        return;
    m_followPending = true;
    QMetaObject::invokeMethod(this, &RCPropertyRowModel::followPending, Qt::QueuedConnection);
}

void RCPropertyRowModel::onSceneSelectChanged()
{
    m_selectionFirst = true;
    follow();
}

void RCPropertyRowModel::onScenePropertyValueChanged(const QString& sceneId, const QString& name)
{
    if (m_itemId.isEmpty() && !m_sceneId.isEmpty() && sceneId == m_sceneId)
        valueChanged(name);
}

void RCPropertyRowModel::onItemPropertyValueChanged(const QString& sceneId, const QString& itemId,
                                                    const QString& name)
{
    if (!m_itemId.isEmpty() && itemId == m_itemId && sceneId == m_sceneId)
        valueChanged(name);
}

void RCPropertyRowModel::valueChanged(const QString& name)
{
    const int row = rowOf(name);
    if (row >= 0)
        Q_EMIT dataChanged(index(row), index(row), {ValueRole});
}

int RCPropertyRowModel::rowOf(const QString& propertyName) const
{
    return m_rows.value(propertyName, -1);
}

void RCPropertyRowModel::setValue(const QString& objectId, int row, const QVariant& value)
{
    if (row < 0 || row >= m_names.size() || !m_object || objectId != this->objectId())
        return;
    // the write may change what this model shows
    const QString name = m_names.at(row);
    const QString sceneId = m_sceneId;
    const QString itemId = m_itemId;
    if (itemId.isEmpty()) {
        if (m_scenes)
            m_scenes->setPropertyValue(sceneId, name, value, true);
    } else if (m_items) {
        m_items->setPropertyValue(sceneId, itemId, name, value, true);
    }
}

int RCPropertyRowModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant RCPropertyRowModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) || !m_object)
        return QVariant();
    const QString& name = m_names.at(index.row());
    switch (role) {
    case PropertyNameRole:
        return name;
    case ObjectIdRole:
        return objectId();
    case DescriptionRole:
        return RCPropertyQuery::description(m_object, name);
    case ValueRole:
        return m_object->getPropertyValue(name);
    case DisplayTypeRole:
        return RCPropertyQuery::displayType(m_object, name);
    case ChoiceNamesRole:
    case ChoiceValuesRole: {
        // the two lists paired by position, up to the shorter one
        QVariantList names =
            listOf(RCPropertyQuery::displayData(m_object, name, RCKeys::ComboBoxItemNameList()));
        QVariantList values =
            listOf(RCPropertyQuery::displayData(m_object, name, RCKeys::ComboBoxItemDataList()));
        const qsizetype count = std::min(names.size(), values.size());
        if (role == ChoiceValuesRole)
            return values.mid(0, count);
        QStringList shown;
        shown.reserve(count);
        for (qsizetype i = 0; i < count; ++i)
            shown.append(names.at(i).toString());
        return shown;
    }
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> RCPropertyRowModel::roleNames() const
{
    return {{PropertyNameRole, "propertyName"},
            {DescriptionRole, "description"},
            {ValueRole, "value"},
            {DisplayTypeRole, "displayType"},
            {ChoiceNamesRole, "choiceNames"},
            {ChoiceValuesRole, "choiceValues"},
            {ObjectIdRole, "objectId"}};
}
