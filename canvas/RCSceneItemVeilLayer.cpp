#include "canvas/RCSceneItemVeilLayer.h"

#include "canvas/RCSceneItemVeilPaintNode.h"
#include "canvas/RCSceneItemViewLayer.h"
#include "canvas/RCSceneItemViewSlot.h"

#include <QHash>
#include <QMatrix4x4>
#include <QQuickWindow>
#include <QSGRectangleNode>
#include <QSGRendererInterface>
#include <QSGTransformNode>

#include <cmath>

namespace {

// a blue rectangle at 0.3 opacity, as the colour's alpha (which the software renderer blends to
// the same pixels as a Rectangle at that opacity)
const QColor kVeilColour(0, 0, 255, 76);

// The place and turn of veil, as the scene graph combines the slot's place and the view's turn
// about its centre.
QMatrix4x4 matrixOf(const RCSceneItemVeilLayer::Veil& veil)
{
    QMatrix4x4 m;
    m.translate(float(veil.rect.x()), float(veil.rect.y()));
    if (veil.angle != 0) {
        const QPointF centre(veil.rect.width() / 2, veil.rect.height() / 2);
        m.translate(float(centre.x()), float(centre.y()));
        m.rotate(float(veil.angle), 0, 0, 1);
        m.translate(float(-centre.x()), float(-centre.y()));
    }
    return m;
}

// The rectangle of veil in its own place: the view's size widened to whole pixels, as a
// Rectangle's.
QRectF rectOf(const RCSceneItemVeilLayer::Veil& veil)
{
    return QRectF(QRectF(0, 0, veil.rect.width(), veil.rect.height()).toAlignedRect());
}

// The node of veil: a rectangle of the veil's colour, in place. Only a turned veil
// has a transform node of its own: each node is one more for the renderer to visit when thousands
// of veils come at once.
QSGNode* nodeOf(QQuickWindow* window, const RCSceneItemVeilLayer::Veil& veil)
{
    QSGRectangleNode* rect = window->createRectangleNode();
    rect->setColor(kVeilColour);
    if (veil.angle == 0) {
        const QMatrix4x4 place = matrixOf(veil);
        rect->setRect(place.mapRect(rectOf(veil)));
        return rect;
    }
    rect->setRect(rectOf(veil));
    auto* place = new QSGTransformNode;
    place->setMatrix(matrixOf(veil));
    place->appendChildNode(rect);
    return place;
}

bool isPaintNode(const QSGNode* node)
{
    return node->type() == QSGNode::RenderNodeType;
}

// The group a veil's node sits in: a veil painted with others has their paint node as node and
// group.
QSGNode* groupOf(QSGNode* node)
{
    return isPaintNode(node) ? node : node->parent();
}

} // namespace

RCSceneItemVeilLayer::OrderKey RCSceneItemVeilLayer::orderOf(const void* slot, const Veil& veil)
{
    return {veil.rect.y(), veil.rect.x(), slot};
}

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
    QHash<const void*, Veil> veils;
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
        m_nodes.clear();
        m_order.clear();
        m_groups.clear();
        m_loose = nullptr;
        m_cover = nullptr;
        m_changed = true;
    }
    if (!m_changed)
        return root;
    m_changed = false;
    // Many veils changing at once (select all in a crowded scene, a click that clears it, a zoom
    // step with much selected): the software renderer adds the rectangle of each node that comes, goes or
    // changes to the region it repaints, and rectangles in no useful order cost it a pass over all the
    // others, thousands of times. So a clear rectangle over the veils that change goes on top:
    // met first, it makes the region one rectangle that each veil's already lies in. The one of
    // the last such change leaves the tree before any veil does, for the same end: after select
    // all, it covers every veil a click then clears.
    int changes = 0;
    QRectF changed;
    const auto add = [&](const Veil& veil) {
        ++changes;
        changed |= matrixOf(veil).mapRect(rectOf(veil));
    };
    for (auto it = m_nodes.cbegin(); it != m_nodes.cend(); ++it) {
        const auto veil = m_veils.constFind(it.key());
        if (veil == m_veils.cend() || *veil != it->veil)
            add(it->veil);
        if (veil != m_veils.cend() && *veil != it->veil)
            add(*veil);
    }
    for (auto it = m_veils.cbegin(); it != m_veils.cend(); ++it) {
        if (!m_nodes.contains(it.key()))
            add(it.value());
    }
    const bool many = changes >= kManyChanges;
    if (many && m_cover) {
        root->removeChildNode(m_cover);
        delete m_cover;
        m_cover = nullptr;
    }
    // The veils that went or changed leave the tree; a group they all leave goes first, whole.
    QHash<QSGNode*, int> leaving;
    for (auto it = m_nodes.cbegin(); it != m_nodes.cend(); ++it) {
        const auto veil = m_veils.constFind(it.key());
        if (veil == m_veils.cend() || veil->rect != it->veil.rect || veil->angle != it->veil.angle)
            ++leaving[groupOf(it->node)];
    }
    QList<QSGNode*> gone;
    for (auto it = leaving.cbegin(); it != leaving.cend(); ++it) {
        if (it.value() == m_groups.value(it.key())) {
            root->removeChildNode(it.key());
            m_groups.remove(it.key());
            gone.append(it.key());
            if (it.key() == m_loose)
                m_loose = nullptr;
        }
    }
    for (auto it = m_nodes.begin(); it != m_nodes.end();) {
        const auto veil = m_veils.constFind(it.key());
        if (veil != m_veils.cend() && veil->rect == it->veil.rect && veil->angle == it->veil.angle) {
            ++it;
            continue;
        }
        QSGNode* group = groupOf(it->node);
        if (m_groups.contains(group)) {
            if (isPaintNode(group)) {
                static_cast<RCSceneItemVeilPaintNode*>(group)->remove(it.key());
            } else {
                group->removeChildNode(it->node);
                delete it->node;
            }
            if (--m_groups[group] == 0) {
                root->removeChildNode(group);
                m_groups.remove(group);
                if (group == m_loose)
                    m_loose = nullptr;
                delete group;
            }
        }
        m_order.erase(orderOf(it.key(), it->veil));
        it = m_nodes.erase(it);
    }
    // the groups that went take their veils along
    qDeleteAll(gone);
    // Many new ones form a group of their own, after the others: for the software renderer one node
    // that paints them all. Few join the group of the veil they come before in reading order (top
    // row first, left first), or else that of the last one: the software renderer meets them in
    // order and adds each one's rectangle to the region it repaints at once, where rectangles in no
    // order would each cost a pass over all the others. Where that veil is painted with others,
    // they join the loose group.
    auto* painted = many && window()->rendererInterface()->graphicsApi() == QSGRendererInterface::Software
                        ? new RCSceneItemVeilPaintNode(window(), kVeilColour)
                        : nullptr;
    QSGNode* manyGroup = painted ? static_cast<QSGNode*>(painted) : many ? new QSGTransformNode : nullptr;
    for (auto it = m_veils.cbegin(); it != m_veils.cend(); ++it) {
        if (m_nodes.contains(it.key()))
            continue;
        const Veil& veil = it.value();
        const auto key = orderOf(it.key(), veil);
        QSGNode* node = painted;
        QSGNode* group = manyGroup;
        if (painted) {
            painted->add(it.key(), rectOf(veil), matrixOf(veil), veil.angle != 0);
        } else {
            node = nodeOf(window(), veil);
            const auto next = m_order.upper_bound(key);
            QSGNode* before = next != m_order.end() ? next->second : nullptr;
            QSGNode* after = !before && !m_order.empty() ? m_order.rbegin()->second : nullptr;
            if (group) {
                group->appendChildNode(node);
            } else if (before && !isPaintNode(before)) {
                group = before->parent();
                group->insertChildNodeBefore(node, before);
            } else if (after && !isPaintNode(after)) {
                group = after->parent();
                group->appendChildNode(node);
            } else {
                if (!m_loose) {
                    m_loose = new QSGTransformNode;
                    m_cover ? root->insertChildNodeBefore(m_loose, m_cover) : root->appendChildNode(m_loose);
                }
                group = m_loose;
                group->appendChildNode(node);
            }
        }
        ++m_groups[group];
        m_order.emplace(key, node);
        m_nodes.insert(it.key(), {veil, node});
    }
    if (manyGroup) {
        if (m_groups.value(manyGroup))
            root->appendChildNode(manyGroup);
        else
            delete manyGroup;
    }
    if (many) {
        QSGRectangleNode* cover = window()->createRectangleNode();
        cover->setColor(Qt::transparent);
        // whole pixels around it, as the renderer widens each veil's
        cover->setRect(QRectF(changed.toAlignedRect().adjusted(-1, -1, 1, 1)));
        root->appendChildNode(cover);
        m_cover = cover;
    }
    return root;
}
