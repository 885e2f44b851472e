#include "canvas/RCSceneItemViewLayer.h"

#include "canvas/RCSceneItemReplacedSlots.h"
#include "canvas/RCSceneItemViewSlot.h"

#include <QLoggingCategory>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>

namespace {

// The category of the selection lines: the one of QML's console, which wrote them before.
const QLoggingCategory& selectLog()
{
    static const QLoggingCategory category("qml");
    return category;
}

void logSelection(const RCSceneItemViewSlot* slot)
{
    if (!selectLog().isDebugEnabled() || !slot->showsVeil())
        return;
    const QString name = slot->values().value(QStringLiteral("Name")).toString();
    qCDebug(selectLog, "item select changed: %s selected: %s", qUtf8Printable(name),
            slot->selected() ? "true" : "false");
}

// The role name of each input, in input order.
const char* const kInputNames[] = {"itemId", "sceneId", "values",    "viewProperties", "selected", "angle",
                                   "itemX",  "itemY",   "itemWidth", "itemHeight",     "qmlPath"};

} // namespace

RCSceneItemViewLayer::RCSceneItemViewLayer(QQuickItem* parent)
    : QQuickItem(parent), m_replaced(new RCSceneItemReplacedSlots(this))
{
    std::fill(std::begin(m_roles), std::end(m_roles), -1);
}

QAbstractItemModel* RCSceneItemViewLayer::model() const
{
    return m_model;
}

void RCSceneItemViewLayer::setModel(QAbstractItemModel* model)
{
    if (model == m_model)
        return;
    for (const QMetaObject::Connection& connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_model = model;
    if (model) {
        m_connections = {
            connect(model, &QAbstractItemModel::modelReset, this, &RCSceneItemViewLayer::reset),
            connect(model, &QAbstractItemModel::layoutChanged, this, &RCSceneItemViewLayer::reset),
            connect(model, &QAbstractItemModel::rowsMoved, this, &RCSceneItemViewLayer::reset),
            connect(model, &QAbstractItemModel::rowsInserted, this,
                    [this](const QModelIndex& parent, int first, int last) {
                        if (!parent.isValid())
                            insertRows(first, last);
                    }),
            connect(model, &QAbstractItemModel::rowsRemoved, this,
                    [this](const QModelIndex& parent, int first, int last) {
                        if (!parent.isValid())
                            removeRows(first, last);
                    }),
            connect(
                model, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
                    if (!topLeft.parent().isValid())
                        updateRows(topLeft.row(), bottomRight.row(), roles);
                }),
            // The pointer is already null here, so the model is let go of directly.
            connect(model, &QObject::destroyed, this,
                    [this] {
                        m_connections.clear();
                        clear();
                        Q_EMIT countChanged();
                        Q_EMIT slotsChanged();
                        Q_EMIT modelChanged();
                    }),
        };
    }
    Q_EMIT modelChanged();
    if (isComponentComplete())
        reset();
}

QPointF RCSceneItemViewLayer::origin() const
{
    return m_origin;
}

void RCSceneItemViewLayer::setOrigin(const QPointF& origin)
{
    if (origin == m_origin)
        return;
    m_origin = origin;
    for (RCSceneItemViewSlot* slot : std::as_const(m_slots))
        slot->setOrigin(origin);
    forgetHitTest();
    Q_EMIT originChanged();
    Q_EMIT slotsChanged();
}

qreal RCSceneItemViewLayer::divisor() const
{
    return m_divisor;
}

void RCSceneItemViewLayer::setDivisor(qreal divisor)
{
    if (divisor == m_divisor || !(divisor > 0))
        return;
    m_divisor = divisor;
    for (RCSceneItemViewSlot* slot : std::as_const(m_slots))
        slot->setDivisor(divisor);
    forgetHitTest();
    Q_EMIT divisorChanged();
    Q_EMIT slotsChanged();
}

int RCSceneItemViewLayer::count() const
{
    return int(m_slots.size());
}

RCSceneItemViewSlot* RCSceneItemViewLayer::itemAt(int row) const
{
    return row >= 0 && row < m_slots.size() ? m_slots.at(row) : nullptr;
}

const RCSceneItemHitTest& RCSceneItemViewLayer::hitTest() const
{
    if (!m_hitTest || m_hitTest->count() != m_slots.size())
        m_hitTest.emplace(m_slots);
    return *m_hitTest;
}

QString RCSceneItemViewLayer::itemIdAt(const QPointF& point) const
{
    const int row = hitTest().topmostAt(point);
    return row >= 0 ? m_slots.at(row)->itemId() : QString();
}

QStringList RCSceneItemViewLayer::selectedItemIdsApartFrom(const QPointF& point) const
{
    const RCSceneItemHitTest& test = hitTest();
    QStringList ids;
    for (int row = 0; row < m_slots.size(); ++row) {
        const RCSceneItemViewSlot* slot = m_slots.at(row);
        if (test.shown(row) && isSelected(slot, row) && !test.hits(row, point))
            ids.append(slot->itemId());
    }
    return ids;
}

QVariantMap RCSceneItemViewLayer::bandSelection(const QRectF& band) const
{
    const RCSceneItemHitTest& test = hitTest();
    QStringList select;
    QStringList deselect;
    for (int row = 0; row < m_slots.size(); ++row) {
        if (!test.shown(row))
            continue;
        const RCSceneItemViewSlot* slot = m_slots.at(row);
        const bool held = test.holds(row, band);
        if (held != isSelected(slot, row))
            (held ? select : deselect).append(slot->itemId());
    }
    return {{QStringLiteral("select"), select}, {QStringLiteral("deselect"), deselect}};
}

void RCSceneItemViewLayer::forgetHitTest()
{
    m_hitTest.reset();
}

bool RCSceneItemViewLayer::isSelected(const RCSceneItemViewSlot* slot, int row) const
{
    if (!m_model || m_roles[Selected] < 0)
        return slot->selected();
    return m_model->data(m_model->index(row, 0), m_roles[Selected]).toBool();
}

void RCSceneItemViewLayer::componentComplete()
{
    QQuickItem::componentComplete();
    reset();
}

void RCSceneItemViewLayer::itemChange(ItemChange change, const ItemChangeData& value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemSceneChange && value.window)
        m_replaced->follow(value.window);
}

void RCSceneItemViewLayer::reset()
{
    if (!isComponentComplete())
        return;
    const bool hadSlots = !m_slots.isEmpty();
    m_replaced->hold(std::exchange(m_slots, {}), window());
    forgetHitTest();
    std::fill(std::begin(m_roles), std::end(m_roles), -1);
    const int rows = m_model ? m_model->rowCount() : 0;
    if (rows > 0) {
        const QHash<int, QByteArray> names = m_model->roleNames();
        for (auto it = names.cbegin(); it != names.cend(); ++it) {
            for (int input = 0; input < InputCount; ++input) {
                if (it.value() == kInputNames[input])
                    m_roles[input] = it.key();
            }
        }
        m_slots.reserve(rows);
        for (int row = 0; row < rows; ++row)
            m_slots.append(makeSlot(row));
    }
    if (hadSlots || rows > 0) {
        Q_EMIT countChanged();
        Q_EMIT slotsChanged();
    }
}

void RCSceneItemViewLayer::insertRows(int first, int last)
{
    if (!isComponentComplete())
        return;
    if (m_slots.isEmpty() || first < 0 || first > m_slots.size() || last < first) {
        reset();
        return;
    }
    for (int row = first; row <= last; ++row) {
        RCSceneItemViewSlot* slot = makeSlot(row);
        if (row < m_slots.size())
            slot->stackBefore(m_slots.at(row));
        m_slots.insert(row, slot);
    }
    forgetHitTest();
    Q_EMIT countChanged();
    Q_EMIT slotsChanged();
}

void RCSceneItemViewLayer::removeRows(int first, int last)
{
    if (!isComponentComplete())
        return;
    if (first < 0 || last >= m_slots.size() || last < first) {
        reset();
        return;
    }
    for (int row = last; row >= first; --row)
        dropSlot(m_slots.takeAt(row));
    forgetHitTest();
    Q_EMIT countChanged();
    Q_EMIT slotsChanged();
}

void RCSceneItemViewLayer::updateRows(int first, int last, const QList<int>& roles)
{
    if (!isComponentComplete())
        return;
    QList<Input> inputs;
    for (int input = 0; input < InputCount; ++input) {
        if (m_roles[input] >= 0 && (roles.isEmpty() || roles.contains(m_roles[input])))
            inputs.append(Input(input));
    }
    if (inputs.isEmpty())
        return;
    for (int row = qMax(0, first); row <= last && row < m_slots.size(); ++row)
        write(m_slots.at(row), row, inputs);
    for (Input input : std::as_const(inputs)) {
        if (input == Angle || input == ItemX || input == ItemY || input == ItemWidth || input == ItemHeight ||
            input == QmlPath)
            forgetHitTest();
    }
    Q_EMIT slotsChanged();
}

void RCSceneItemViewLayer::write(RCSceneItemViewSlot* slot, int row, const QList<Input>& inputs)
{
    const QModelIndex index = m_model->index(row, 0);
    for (Input input : inputs) {
        const QVariant value = m_model->data(index, m_roles[input]);
        switch (input) {
        case ItemId:
            slot->setItemId(value.toString());
            break;
        case SceneId:
            slot->setSceneId(value.toString());
            break;
        case Values:
            slot->setValues(value.toMap());
            break;
        case ViewProperties:
            slot->setViewProperties(value.toMap());
            break;
        case Selected:
            if (value.toBool() != slot->selected()) {
                slot->setSelected(value.toBool());
                logSelection(slot);
            }
            break;
        case Angle:
            slot->setAngle(value.toInt());
            break;
        case ItemX:
            slot->setItemX(value.toInt());
            break;
        case ItemY:
            slot->setItemY(value.toInt());
            break;
        case ItemWidth:
            slot->setItemWidth(value.toInt());
            break;
        case ItemHeight:
            slot->setItemHeight(value.toInt());
            break;
        case QmlPath:
            slot->setQmlPath(value.toString());
            break;
        case InputCount:
            break;
        }
    }
}

RCSceneItemViewSlot* RCSceneItemViewLayer::makeSlot(int row)
{
    auto* slot = new RCSceneItemViewSlot;
    QQmlEngine::setObjectOwnership(slot, QQmlEngine::CppOwnership);
    if (QQmlContext* context = qmlContext(this))
        QQmlEngine::setContextForObject(slot, context);
    QQmlParserStatus* status = slot;
    status->classBegin();
    slot->setParent(this);
    slot->setParentItem(this);
    slot->setOrigin(m_origin);
    slot->setDivisor(m_divisor);
    // a view made for a selected item shows it selected from the start
    connect(slot, &RCSceneItemViewSlot::itemChanged, this, [this, slot] {
        forgetHitTest();
        if (slot->item() && slot->selected())
            logSelection(slot);
        Q_EMIT slotsChanged();
    });
    static const QList<Input> everyInput = [] {
        QList<Input> inputs;
        for (int input = 0; input < InputCount; ++input)
            inputs.append(Input(input));
        return inputs;
    }();
    QList<Input> inputs;
    for (Input input : everyInput) {
        if (m_roles[input] >= 0)
            inputs.append(input);
    }
    write(slot, row, inputs);
    // the view is made now, with every input written
    status->componentComplete();
    return slot;
}

void RCSceneItemViewLayer::dropSlot(RCSceneItemViewSlot* slot)
{
    slot->setParentItem(nullptr);
    slot->deleteLater();
}

void RCSceneItemViewLayer::clear()
{
    const QList<RCSceneItemViewSlot*> dropped = std::exchange(m_slots, {});
    for (RCSceneItemViewSlot* slot : dropped)
        dropSlot(slot);
    forgetHitTest();
}
