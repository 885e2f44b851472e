#include "canvas/RCSceneItemVeilPaintNode.h"

#include <QPainter>
#include <QQuickWindow>
#include <QSGRendererInterface>

RCSceneItemVeilPaintNode::RCSceneItemVeilPaintNode(QQuickWindow* window, const QColor& color)
    : m_window(window), m_color(color)
{
}

void RCSceneItemVeilPaintNode::add(const void* key, const QRectF& rect, const QMatrix4x4& place, bool turned)
{
    Shape shape;
    if (!turned) {
        shape.rect = place.mapRect(rect);
    } else {
        shape.rect = rect;
        shape.place = place;
        shape.placed = false;
    }
    m_bounds |= place.mapRect(rect);
    m_shapes.insert(key, shape);
}

void RCSceneItemVeilPaintNode::remove(const void* key)
{
    if (m_shapes.remove(key))
        markDirty(DirtyMaterial);
}

int RCSceneItemVeilPaintNode::count() const
{
    return int(m_shapes.size());
}

void RCSceneItemVeilPaintNode::render(const RenderState* state)
{
    auto* painter = static_cast<QPainter*>(
        m_window->rendererInterface()->getResource(m_window, QSGRendererInterface::PainterResource));
    if (!painter)
        return;
    // The renderer saved the painter's state and restores it after. The clip it gives is in the
    // window's pixels; it asks a changed node to paint even where none of it is to be drawn (all
    // of it scrolled out of a clipping item), and then gives an empty one.
    const QRegion* clip = state->clipRegion();
    if (clip && clip->isEmpty())
        return;
    painter->resetTransform();
    if (clip)
        painter->setClipRegion(*clip, Qt::ReplaceClip);
    painter->setOpacity(inheritedOpacity());
    // as the renderer places a node: the product of the matrices, then made a transform
    const QTransform base = matrix()->toTransform();
    painter->setTransform(base);
    for (const Shape& shape : std::as_const(m_shapes)) {
        if (shape.placed) {
            painter->fillRect(shape.rect, m_color);
        } else {
            painter->setTransform((*matrix() * shape.place).toTransform());
            painter->fillRect(shape.rect, m_color);
            painter->setTransform(base);
        }
    }
}

QSGRenderNode::RenderingFlags RCSceneItemVeilPaintNode::flags() const
{
    return BoundedRectRendering;
}

QRectF RCSceneItemVeilPaintNode::rect() const
{
    return m_bounds;
}

QSGRenderNode::StateFlags RCSceneItemVeilPaintNode::changedStates() const
{
    return {};
}
