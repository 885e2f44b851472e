#include "canvas/RCSceneItemViewLayer.h"

#include "canvas/RCSceneItemViewSlot.h"

#include <QLoggingCategory>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QtMath>

#include <array>
#include <cmath>

namespace {

using Shape = RCSceneItemViewLayer::Shape;

Shape shapeOf(const RCSceneItemViewSlot* slot)
{
    Shape shape{QRectF(slot->x(), slot->y(), slot->width(), slot->height())};
    shape.shown = true;
    // quarter turns exactly, so that the corners stay on the pixels they are drawn on
    switch (((slot->angle() % 360) + 360) % 360) {
    case 0:
        return shape;
    case 90:
        shape.cos = 0;
        shape.sin = 1;
        break;
    case 180:
        shape.cos = -1;
        shape.sin = 0;
        break;
    case 270:
        shape.cos = 0;
        shape.sin = -1;
        break;
    default:
        shape.cos = std::cos(qDegreesToRadians(double(slot->angle())));
        shape.sin = std::sin(qDegreesToRadians(double(slot->angle())));
    }
    shape.turned = true;
    return shape;
}

// p turned about centre by (cos, sin), clockwise on the screen for a positive angle.
QPointF turn(const QPointF& p, const QPointF& centre, double cos, double sin)
{
    const QPointF d = p - centre;
    return centre + QPointF(d.x() * cos - d.y() * sin, d.x() * sin + d.y() * cos);
}

bool strictlyInside(const QRectF& rect, const QPointF& p)
{
    return p.x() > rect.x() && p.x() < rect.x() + rect.width() && p.y() > rect.y() &&
           p.y() < rect.y() + rect.height();
}

bool hits(const Shape& shape, const QPointF& point)
{
    // the point turned back into the unturned rectangle
    return strictlyInside(shape.rect,
                          shape.turned ? turn(point, shape.rect.center(), shape.cos, -shape.sin) : point);
}

bool holds(const QRectF& band, const Shape& shape)
{
    const QRectF& r = shape.rect;
    const std::array<QPointF, 4> corners{r.topLeft(), QPointF(r.x() + r.width(), r.y()),
                                         QPointF(r.x(), r.y() + r.height()),
                                         QPointF(r.x() + r.width(), r.y() + r.height())};
    for (const QPointF& corner : corners) {
        if (strictlyInside(band, shape.turned ? turn(corner, r.center(), shape.cos, shape.sin) : corner))
            return true;
    }
    return false;
}

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

RCSceneItemViewLayer::RCSceneItemViewLayer(QQuickItem* parent) : QQuickItem(parent)
{
    std::fill(std::begin(m_roles), std::end(m_roles), -1);
}

RCSceneItemViewLayer::~RCSceneItemViewLayer()
{
    for (const QPointer<RCSceneItemViewSlot>& slot : std::as_const(m_parked))
        delete slot.data();
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
    forgetShapes();
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
    forgetShapes();
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

const QList<RCSceneItemViewLayer::Shape>& RCSceneItemViewLayer::shapes() const
{
    if (m_shapesKnown && m_shapes.size() == m_slots.size())
        return m_shapes;
    m_shapes.clear();
    m_shapes.reserve(m_slots.size());
    for (const RCSceneItemViewSlot* slot : m_slots)
        m_shapes.append(slot->item() ? shapeOf(slot) : Shape{});
    m_shapesKnown = true;
    return m_shapes;
}

QString RCSceneItemViewLayer::itemIdAt(const QPointF& point) const
{
    const QList<Shape>& shapes = this->shapes();
    for (qsizetype row = m_slots.size() - 1; row >= 0; --row) {
        if (shapes.at(row).shown && hits(shapes.at(row), point))
            return m_slots.at(row)->itemId();
    }
    return QString();
}

QStringList RCSceneItemViewLayer::selectedItemIdsApartFrom(const QPointF& point) const
{
    const QList<Shape>& shapes = this->shapes();
    QStringList ids;
    for (int row = 0; row < m_slots.size(); ++row) {
        const RCSceneItemViewSlot* slot = m_slots.at(row);
        if (shapes.at(row).shown && isSelected(slot, row) && !hits(shapes.at(row), point))
            ids.append(slot->itemId());
    }
    return ids;
}

QVariantMap RCSceneItemViewLayer::bandSelection(const QRectF& band) const
{
    const QList<Shape>& shapes = this->shapes();
    QStringList select;
    QStringList deselect;
    for (int row = 0; row < m_slots.size(); ++row) {
        if (!shapes.at(row).shown)
            continue;
        const RCSceneItemViewSlot* slot = m_slots.at(row);
        const bool held = holds(band, shapes.at(row));
        if (held != isSelected(slot, row))
            (held ? select : deselect).append(slot->itemId());
    }
    return {{QStringLiteral("select"), select}, {QStringLiteral("deselect"), deselect}};
}

void RCSceneItemViewLayer::forgetShapes()
{
    m_shapesKnown = false;
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
    if (change == ItemSceneChange && value.window) {
        m_window = value.window;
        if (!m_parked.isEmpty())
            awaitFrame();
    }
}

void RCSceneItemViewLayer::reset()
{
    if (!isComponentComplete())
        return;
    const bool hadSlots = !m_slots.isEmpty();
    park(std::exchange(m_slots, {}));
    forgetShapes();
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
    forgetShapes();
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
    forgetShapes();
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
            forgetShapes();
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
        forgetShapes();
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
    forgetShapes();
}

void RCSceneItemViewLayer::park(const QList<RCSceneItemViewSlot*>& dropped)
{
    // at most one replaced scene waits
    releaseParked(false);
    if (dropped.isEmpty())
        return;
    for (RCSceneItemViewSlot* slot : dropped) {
        slot->setParentItem(nullptr);
        slot->setParent(nullptr);
        m_parked.append(slot);
    }
    awaitFrame();
}

void RCSceneItemViewLayer::awaitFrame()
{
    QQuickWindow* window = this->window() ? this->window() : m_window.data();
    if (!window || !window->isExposed()) {
        releaseParked(false);
        return;
    }
    if (!m_frameConnections.isEmpty())
        return;
    // The first frame whose scene is taken after now (afterAnimating comes on this thread before
    // the scene is taken), then its swap, which may come from the render thread.
    m_frameConnections.append(connect(
        window, &QQuickWindow::afterAnimating, this,
        [this, window] {
            m_frameConnections.append(connect(
                window, &QQuickWindow::frameSwapped, this, [this] { releaseParked(true); },
                Qt::QueuedConnection));
        },
        Qt::SingleShotConnection));
    window->update();
}

void RCSceneItemViewLayer::releaseParked(bool collect)
{
    for (const QMetaObject::Connection& connection : std::as_const(m_frameConnections))
        disconnect(connection);
    m_frameConnections.clear();
    if (m_parked.isEmpty())
        return;
    const QList<QPointer<RCSceneItemViewSlot>> parked = std::exchange(m_parked, {});
    // Collected while the replaced views still live: the engine then makes room for a scene
    // beside the shown one instead of collecting in the middle of the next switch. What the
    // replaced views held goes at the collection after the next switch.
    if (QQmlEngine* engine = collect ? qmlEngine(this) : nullptr)
        engine->collectGarbage();
    for (const QPointer<RCSceneItemViewSlot>& slot : parked) {
        if (slot)
            slot->deleteLater();
    }
}
