#include "editing/RCSceneItemModel.h"

#include "model/RCKeys.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneItemViews.h"
#include "model/RCSceneManager.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

int roleOf(const QString& name)
{
    switch (RCSceneItemViews::inputOf(name)) {
    case RCSceneItemViews::Input::X:
        return RCSceneItemModel::XRole;
    case RCSceneItemViews::Input::Y:
        return RCSceneItemModel::YRole;
    case RCSceneItemViews::Input::Width:
        return RCSceneItemModel::WidthRole;
    case RCSceneItemViews::Input::Height:
        return RCSceneItemModel::HeightRole;
    case RCSceneItemViews::Input::QmlPath:
        return RCSceneItemModel::QmlPathRole;
    case RCSceneItemViews::Input::Select:
        return RCSceneItemModel::SelectedRole;
    case RCSceneItemViews::Input::Angle:
        return RCSceneItemModel::AngleRole;
    case RCSceneItemViews::Input::Value:
        break;
    }
    return RCSceneItemModel::ValuesRole;
}

// An angle value as whole degrees (a fraction cut off, as the view's int turn takes it); 0 for no
// finite number.
int degreesOf(const QVariant& value)
{
    const double degrees = value.toDouble();
    return std::isfinite(degrees) ? int(std::clamp(degrees, -1e9, 1e9)) : 0;
}

} // namespace

RCSceneItemModel::RCSceneItemModel(QObject* parent) : QAbstractListModel(parent) {}

RCSceneItemPresenter* RCSceneItemModel::presenter() const
{
    return m_presenter;
}

void RCSceneItemModel::setPresenter(RCSceneItemPresenter* presenter)
{
    if (presenter == m_presenter)
        return;
    if (m_presenter)
        disconnect(m_presenter, nullptr, this, nullptr);
    m_presenter = presenter;
    if (presenter) {
        connect(presenter, &RCSceneItemPresenter::itemAdded, this, &RCSceneItemModel::onItemAdded);
        connect(presenter, &RCSceneItemPresenter::itemRemoved, this, &RCSceneItemModel::onItemRemoved);
        connect(presenter, &RCSceneItemPresenter::itemPropertyValueChanged, this,
                &RCSceneItemModel::onItemPropertyValueChanged);
        connect(presenter, &RCSceneItemPresenter::itemsMoved, this, &RCSceneItemModel::onItemsMoved);
    }
    Q_EMIT presenterChanged();
    if (!m_ids.isEmpty() || !m_sceneId.isEmpty())
        reload();
}

QString RCSceneItemModel::sceneId() const
{
    return m_sceneId;
}

void RCSceneItemModel::setSceneId(const QString& sceneId)
{
    const bool changed = sceneId != m_sceneId;
    if (!changed && m_scene == RCSceneManager::instance()->getScene(sceneId))
        return;
    m_sceneId = sceneId;
    reload();
    if (changed)
        Q_EMIT sceneIdChanged();
}

QVariantMap RCSceneItemModel::viewProperties() const
{
    return m_viewProperties;
}

void RCSceneItemModel::setViewProperties(const QVariantMap& properties)
{
    if (properties == m_viewProperties)
        return;
    m_viewProperties = properties;
    Q_EMIT viewPropertiesChanged();
    if (!m_ids.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(m_ids.size()) - 1), {ViewPropertiesRole});
}

QRect RCSceneItemModel::selectionBox() const
{
    if (!m_selectionBoxKnown) {
        m_selectionBoxKnown = true;
        m_selectionEdges = {};
        for (const QString& id : m_scene ? m_scene->getSelectItems() : QStringList())
            extendSelectionBox(m_scene->getItemById(id));
    }
    const Edges& e = m_selectionEdges;
    return e.any ? QRect(e.left, e.top, e.right - e.left, e.bottom - e.top) : QRect(0, 0, 0, 0);
}

void RCSceneItemModel::extendSelectionBox(const IRCObject* item) const
{
    if (!item)
        return;
    const int x = item->getPropertyValue(RCKeys::X()).toInt();
    const int y = item->getPropertyValue(RCKeys::Y()).toInt();
    const int r = x + qMax(0, item->getPropertyValue(RCKeys::Width()).toInt());
    const int b = y + qMax(0, item->getPropertyValue(RCKeys::Height()).toInt());
    Edges& e = m_selectionEdges;
    e = e.any ? Edges{qMin(e.left, x), qMin(e.top, y), qMax(e.right, r), qMax(e.bottom, b), true}
              : Edges{x, y, r, b, true};
}

void RCSceneItemModel::markMoved(int row, int role)
{
    scheduleAnnouncement();
    if (m_immediateRows < kImmediateRows) {
        ++m_immediateRows;
        Q_EMIT dataChanged(index(row), index(row), {role});
        return;
    }
    if (m_moved.isEmpty())
        m_moved.resize(m_ids.size());
    m_moved[row] |= 1u << (role - Qt::UserRole);
}

void RCSceneItemModel::markSelectionBoxMoved()
{
    m_selectionBoxKnown = false;
    m_selectionBoxMoved = true;
    scheduleAnnouncement();
}

void RCSceneItemModel::scheduleAnnouncement()
{
    if (m_announcementPending)
        return;
    m_announcementPending = true;
    QMetaObject::invokeMethod(this, &RCSceneItemModel::announce, Qt::QueuedConnection);
}

void RCSceneItemModel::announce()
{
    m_announcementPending = false;
    m_immediateRows = 0;
    // taken first, as an announcement may cause further changes
    const QList<quint32> moved = std::exchange(m_moved, {});
    for (qsizetype first = 0; first < moved.size();) {
        if (!moved.at(first)) {
            ++first;
            continue;
        }
        qsizetype last = first;
        while (last + 1 < moved.size() && moved.at(last + 1) == moved.at(first))
            ++last;
        QList<int> roles;
        for (int bit = 0; bit < 32; ++bit) {
            if (moved.at(first) & (1u << bit))
                roles.append(Qt::UserRole + bit);
        }
        Q_EMIT dataChanged(index(int(first)), index(int(last)), roles);
        first = last + 1;
    }
    if (m_selectionBoxMoved) {
        m_selectionBoxMoved = false;
        Q_EMIT selectionBoxChanged();
    }
}

void RCSceneItemModel::reload()
{
    beginResetModel();
    if (m_scene)
        disconnect(m_scene, nullptr, this, nullptr);
    m_ids.clear();
    m_rows.clear();
    m_selected.clear();
    m_moved.clear();
    m_scene = m_presenter && !m_sceneId.isEmpty() ? RCSceneManager::instance()->getScene(m_sceneId) : nullptr;
    if (m_scene) {
        connect(m_scene, &QObject::destroyed, this, &RCSceneItemModel::onSceneDestroyed);
        const QList<IRCObject*> items = m_scene->getItemList();
        m_ids.reserve(items.size());
        m_selected.reserve(items.size());
        for (const IRCObject* item : items) {
            m_ids.append(item->getId());
            m_selected.append(m_scene->isItemSelected(m_ids.constLast()));
        }
        reindexFrom(0);
    }
    endResetModel();
    markSelectionBoxMoved();
}

void RCSceneItemModel::reindexFrom(int row)
{
    for (int i = row; i < m_ids.size(); ++i)
        m_rows.insert(m_ids.at(i), i);
}

void RCSceneItemModel::onSceneDestroyed()
{
    beginResetModel();
    m_ids.clear();
    m_rows.clear();
    m_selected.clear();
    m_moved.clear();
    endResetModel();
    markSelectionBoxMoved();
}

int RCSceneItemModel::rowOf(const QString& itemId) const
{
    return m_rows.value(itemId, -1);
}

QString RCSceneItemModel::itemIdAt(int row) const
{
    return row >= 0 && row < m_ids.size() ? m_ids.at(row) : QString();
}

int RCSceneItemModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_ids.size());
}

QVariant RCSceneItemModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) || !m_scene)
        return QVariant();
    const QString& id = m_ids.at(index.row());
    if (role == ItemIdRole)
        return id;
    if (role == SceneIdRole)
        return m_sceneId;
    if (role == ViewPropertiesRole)
        return m_viewProperties;
    if (role == SelectedRole)
        return bool(m_selected.at(index.row()));
    const auto* item = qobject_cast<const RCSceneItem*>(m_scene->getItemById(id));
    if (!item)
        return QVariant();
    switch (role) {
    case QmlPathRole:
        return item->getPropertyValue(RCKeys::QmlPath()).toString();
    case XRole:
        return item->getPropertyValue(RCKeys::X()).toInt();
    case YRole:
        return item->getPropertyValue(RCKeys::Y()).toInt();
    case WidthRole:
        return item->getPropertyValue(RCKeys::Width()).toInt();
    case HeightRole:
        return item->getPropertyValue(RCKeys::Height()).toInt();
    case AngleRole:
        return degreesOf(item->getPropertyValue(RCKeys::Angle()));
    case ValuesRole:
        return m_presenter ? m_presenter->getPropertyValues(m_sceneId, id) : QVariantMap();
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> RCSceneItemModel::roleNames() const
{
    return {{ItemIdRole, "itemId"},     {QmlPathRole, "qmlPath"}, {XRole, "itemX"},
            {YRole, "itemY"},           {WidthRole, "itemWidth"}, {HeightRole, "itemHeight"},
            {SceneIdRole, "sceneId"},   {ValuesRole, "values"},   {ViewPropertiesRole, "viewProperties"},
            {SelectedRole, "selected"}, {AngleRole, "angle"}};
}

void RCSceneItemModel::onItemAdded(const QString& sceneId, const QString& itemId)
{
    if (sceneId != m_sceneId || !m_scene || m_rows.contains(itemId))
        return;
    const int row = int(m_scene->getItemList().indexOf(m_scene->getItemById(itemId)));
    if (row < 0)
        return;
    beginInsertRows(QModelIndex(), row, row);
    m_ids.insert(row, itemId);
    m_selected.insert(row, m_scene->isItemSelected(itemId));
    if (!m_moved.isEmpty())
        m_moved.insert(row, 0);
    reindexFrom(row);
    endInsertRows();
    markSelectionBoxMoved();
}

void RCSceneItemModel::onItemRemoved(const QString& sceneId, const QString& itemId)
{
    const int row = sceneId == m_sceneId ? rowOf(itemId) : -1;
    if (row < 0)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_ids.removeAt(row);
    m_rows.remove(itemId);
    m_selected.removeAt(row);
    if (!m_moved.isEmpty())
        m_moved.removeAt(row);
    reindexFrom(row);
    endRemoveRows();
    markSelectionBoxMoved();
}

void RCSceneItemModel::onItemPropertyValueChanged(const QString& sceneId, const QString& itemId,
                                                  const QString& name)
{
    if (sceneId != m_sceneId)
        return;
    const int row = rowOf(itemId);
    if (row < 0)
        return;
    const int role = roleOf(name);
    if (role == SelectedRole)
        m_selected[row] = m_scene && m_scene->isItemSelected(itemId);
    if (role == SelectedRole && m_selected.at(row)) {
        // a selection that only grows (a rubber band drawn out) extends the box it had
        if (m_selectionBoxKnown)
            extendSelectionBox(m_scene->getItemById(itemId));
        m_selectionBoxMoved = true;
        scheduleAnnouncement();
    } else if (role == XRole || role == YRole || role == WidthRole || role == HeightRole ||
               role == SelectedRole) {
        markSelectionBoxMoved();
    }
    // a batch move is announced once it is through
    if ((role == XRole || role == YRole) && m_presenter && m_presenter->isMovingItems())
        return;
    if (role != QmlPathRole) {
        markMoved(row, role);
        return;
    }
    // a new view is made with the values as they are now
    const QModelIndex at = index(row);
    Q_EMIT dataChanged(at, at, {ValuesRole});
    Q_EMIT dataChanged(at, at, {QmlPathRole});
}

void RCSceneItemModel::onItemsMoved(const QString& sceneId, const QStringList& itemIds)
{
    if (sceneId != m_sceneId)
        return;
    QList<int> rows;
    rows.reserve(itemIds.size());
    for (const QString& id : itemIds) {
        const int row = rowOf(id);
        if (row >= 0)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    const QList<int> roles{XRole, YRole};
    for (qsizetype first = 0; first < rows.size();) {
        qsizetype last = first;
        while (last + 1 < rows.size() && rows.at(last + 1) == rows.at(last) + 1)
            ++last;
        Q_EMIT dataChanged(index(rows.at(first)), index(rows.at(last)), roles);
        first = last + 1;
    }
    if (!rows.isEmpty())
        markSelectionBoxMoved();
}
