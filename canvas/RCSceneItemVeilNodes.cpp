#include "canvas/RCSceneItemVeilNodes.h"

#include "canvas/RCSceneItemVeilPaintNode.h"

#include <QMatrix4x4>
#include <QQuickWindow>
#include <QSGRectangleNode>
#include <QSGRendererInterface>
#include <QSGTransformNode>

namespace {

using Veil = RCSceneItemVeilNodes::Veil;

// a blue rectangle at 0.3 opacity, as the colour's alpha (which the software renderer blends to
// the same pixels as a Rectangle at that opacity)
const QColor kVeilColour(0, 0, 255, 76);

// A change is many, a group of its own and a cover, with as many veils coming, going or changing
// place at once as kManyChanges (a changed one counts twice), or as many changing place as
// kManyMoves. Veils that come or go alone (select all, a click that clears it) come in reading
// order, in which the software renderer unites their places cheaply, piece after piece. Veils that
// change place move with their views (a drag), and the renderer unites the places of the views,
// their captions and the veils, front to back and again back to front, each union a pass over the
// pieces of the region so far: for a few dozen that costs more than painting the rectangle around
// them all, which the cover, met first, makes the region at once.
constexpr int kManyChanges = 1024;
constexpr int kManyMoves = 32;

// The place and turn of veil, as the scene graph combines the slot's place and the view's turn
// about its centre.
QMatrix4x4 matrixOf(const Veil& veil)
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
QRectF rectOf(const Veil& veil)
{
    return QRectF(QRectF(0, 0, veil.rect.width(), veil.rect.height()).toAlignedRect());
}

// The node of veil: a rectangle of the veil's colour, in place. Only a turned veil has a transform
// node of its own: each node is one more for the renderer to visit.
QSGNode* nodeOf(QQuickWindow* window, const Veil& veil)
{
    QSGRectangleNode* rect = window->createRectangleNode();
    rect->setColor(kVeilColour);
    if (veil.angle == 0) {
        rect->setRect(matrixOf(veil).mapRect(rectOf(veil)));
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

RCSceneItemVeilNodes::RCSceneItemVeilNodes(QSGNode* root) : m_root(root) {}

void RCSceneItemVeilNodes::show(QQuickWindow* window, const Veils& veils)
{
    const Change change = changeTo(veils);
    if (change.leaving.size() + change.joining.size() < kManyChanges && change.moving < kManyMoves) {
        remove(change.leaving);
        addFew(window, change.joining);
        return;
    }
    // the last cover leaves first: after select all, it covers every veil a click then clears
    uncover();
    remove(change.leaving);
    addMany(window, change.joining);
    cover(window, change.area);
}

RCSceneItemVeilNodes::Change RCSceneItemVeilNodes::changeTo(const Veils& veils) const
{
    Change change;
    const auto include = [&change](const Veil& veil) { change.area |= matrixOf(veil).mapRect(rectOf(veil)); };
    for (auto it = m_painted.cbegin(); it != m_painted.cend(); ++it) {
        const auto veil = veils.constFind(it.key());
        if (veil == veils.cend() || *veil != it->veil) {
            change.leaving.append(it.key());
            include(it->veil);
        }
    }
    for (auto it = veils.cbegin(); it != veils.cend(); ++it) {
        const auto painted = m_painted.constFind(it.key());
        if (painted == m_painted.cend() || painted->veil != *it) {
            change.joining.append({it.key(), *it});
            include(*it);
            if (painted != m_painted.cend())
                ++change.moving;
        }
    }
    return change;
}

void RCSceneItemVeilNodes::remove(const QList<const void*>& keys)
{
    QHash<QSGNode*, int> leaving;
    for (const void* key : keys)
        ++leaving[groupOf(m_painted.value(key).node)];
    QList<QSGNode*> gone;
    for (auto it = leaving.cbegin(); it != leaving.cend(); ++it) {
        if (it.value() == m_groups.value(it.key())) {
            takeGroup(it.key());
            gone.append(it.key());
        }
    }
    for (const void* key : keys) {
        const Painted painted = m_painted.take(key);
        m_order.erase(orderOf(key, painted.veil));
        QSGNode* group = groupOf(painted.node);
        // a group that went whole takes its veils along
        if (!m_groups.contains(group))
            continue;
        if (isPaintNode(group)) {
            static_cast<RCSceneItemVeilPaintNode*>(group)->remove(key);
        } else {
            group->removeChildNode(painted.node);
            delete painted.node;
        }
        if (--m_groups[group] == 0) {
            takeGroup(group);
            delete group;
        }
    }
    qDeleteAll(gone);
}

void RCSceneItemVeilNodes::addFew(QQuickWindow* window, const Keyed& veils)
{
    for (const auto& [key, veil] : veils) {
        QSGNode* node = nodeOf(window, veil);
        const OrderKey order = orderOf(key, veil);
        const auto next = m_order.upper_bound(order);
        QSGNode* before = next != m_order.end() ? next->second : nullptr;
        QSGNode* after = !before && !m_order.empty() ? m_order.rbegin()->second : nullptr;
        QSGNode* group = nullptr;
        if (before && !isPaintNode(before)) {
            group = before->parent();
            group->insertChildNodeBefore(node, before);
        } else if (after && !isPaintNode(after)) {
            group = after->parent();
            group->appendChildNode(node);
        } else {
            if (!m_loose) {
                m_loose = new QSGTransformNode;
                m_cover ? m_root->insertChildNodeBefore(m_loose, m_cover) : m_root->appendChildNode(m_loose);
            }
            group = m_loose;
            group->appendChildNode(node);
        }
        ++m_groups[group];
        m_order.emplace(order, node);
        m_painted.insert(key, {veil, node});
    }
}

void RCSceneItemVeilNodes::addMany(QQuickWindow* window, const Keyed& veils)
{
    if (veils.isEmpty())
        return;
    auto* painted = window->rendererInterface()->graphicsApi() == QSGRendererInterface::Software
                        ? new RCSceneItemVeilPaintNode(window, kVeilColour)
                        : nullptr;
    QSGNode* group = painted ? static_cast<QSGNode*>(painted) : new QSGTransformNode;
    for (const auto& [key, veil] : veils) {
        QSGNode* node = painted;
        if (painted) {
            painted->add(key, rectOf(veil), matrixOf(veil), veil.angle != 0);
        } else {
            node = nodeOf(window, veil);
            group->appendChildNode(node);
        }
        m_order.emplace(orderOf(key, veil), node);
        m_painted.insert(key, {veil, node});
    }
    m_groups.insert(group, int(veils.size()));
    m_root->appendChildNode(group);
}

void RCSceneItemVeilNodes::cover(QQuickWindow* window, const QRectF& area)
{
    uncover();
    QSGRectangleNode* cover = window->createRectangleNode();
    cover->setColor(Qt::transparent);
    // whole pixels around it, as the renderer widens each veil's
    cover->setRect(QRectF(area.toAlignedRect().adjusted(-1, -1, 1, 1)));
    m_root->appendChildNode(cover);
    m_cover = cover;
}

void RCSceneItemVeilNodes::uncover()
{
    if (!m_cover)
        return;
    m_root->removeChildNode(m_cover);
    delete m_cover;
    m_cover = nullptr;
}

void RCSceneItemVeilNodes::takeGroup(QSGNode* group)
{
    m_root->removeChildNode(group);
    m_groups.remove(group);
    if (group == m_loose)
        m_loose = nullptr;
}

RCSceneItemVeilNodes::OrderKey RCSceneItemVeilNodes::orderOf(const void* key, const Veil& veil)
{
    return {veil.rect.y(), veil.rect.x(), key};
}
