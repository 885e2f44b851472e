#include "canvas/RCSceneItemVeilLayer.h"

#include "canvas/RCSceneItemViewLayer.h"
#include "canvas/RCSceneItemViewSlot.h"

#include <QSGTransformNode>

#include <cmath>

RCSceneItemVeilLayer::RCSceneItemVeilLayer(QQuickItem* parent) : QQuickItem(parent)
{
    setFlag(ItemHasContents);
}

RCSceneItemViewLayer* RCSceneItemVeilLayer::views() const
{
    return m_views;
}

void RCSceneItemVeilLayer::setViews(RCSceneItemViewLayer* views)
{
    if (views == m_views)
        return;
    disconnect(m_connection);
    m_views = views;
    if (views)
        m_connection =
            connect(views, &RCSceneItemViewLayer::slotsChanged, this, &RCSceneItemVeilLayer::refresh);
    refresh();
    Q_EMIT viewsChanged();
}

int RCSceneItemVeilLayer::count() const
{
    return int(m_veils.size());
}

void RCSceneItemVeilLayer::itemChange(ItemChange change, const ItemChangeData& value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemSceneChange && value.window)
        refresh();
}

void RCSceneItemVeilLayer::refresh()
{
    // gathered at the polish of the next frame, painted at its sync: one frame, asked for here
    polish();
    update();
}

void RCSceneItemVeilLayer::updatePolish()
{
    RCSceneItemVeilNodes::Veils veils;
    const QPointF scenePos = mapToScene(QPointF(0, 0));
    const RCSceneItemViewLayer* views = m_views;
    const QPointF offset = views ? views->mapToItem(this, QPointF(0, 0)) : QPointF();
    for (int row = 0; views && row < views->count(); ++row) {
        const RCSceneItemViewSlot* slot = views->itemAt(row);
        if (!slot->selected() || !slot->showsVeil())
            continue;
        QPointF at(slot->x() + offset.x(), slot->y() + offset.y());
        int angle = slot->angle();
        // An unturned Rectangle (or one turned half way, which is not rotating either) fills the
        // whole pixels its edges round to, where a bare rectangle node would blend the pixels its
        // edges cut: such a veil is placed on whole pixels of the window, half a turn as the
        // Rectangle's size widened to whole pixels and flipped about its centre.
        if (angle % 360 == 180 || angle % 360 == -180) {
            at +=
                QPointF(slot->width() - std::ceil(slot->width()), slot->height() - std::ceil(slot->height()));
            angle = 0;
        }
        if (angle == 0)
            at = QPointF(std::round(scenePos.x() + at.x()) - scenePos.x(),
                         std::round(scenePos.y() + at.y()) - scenePos.y());
        veils.insert(slot, {QRectF(at, slot->size()), angle});
    }
    const int before = int(m_veils.size());
    if (veils != m_veils) {
        m_veils = std::move(veils);
        m_changed = true;
    }
    if (before != m_veils.size())
        Q_EMIT countChanged();
}

QSGNode* RCSceneItemVeilLayer::updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData*)
{
    QSGNode* root = oldNode;
    if (!root) {
        // a transform node, so that the software renderer knows the item's place for veils
        // added later
        root = new QSGTransformNode;
        m_nodes = std::make_unique<RCSceneItemVeilNodes>(root);
        m_changed = true;
    }
    if (m_changed) {
        m_changed = false;
        m_nodes->show(window(), m_veils);
    }
    return root;
}
