#pragma once

#include <QColor>
#include <QHash>
#include <QMatrix4x4>
#include <QRectF>
#include <QSGRenderNode>

class QQuickWindow;

// Many veils of one colour painted by one node with the window's painter, for the software
// renderer. That renderer visits, clips and paints each node on its own, so thousands of veils that
// come at once (select all in a crowded scene) as a node each cost more than the views under them;
// as one node they cost a fill each. Each veil is painted as a rectangle node of the colour with
// the same rectangle and place paints it. The node keeps the bounds of the veils it was made with
// as veils leave it, so that a frame repaints what they covered. Only for a window whose scene
// graph is the software one: other renderers draw nothing for it. Changed on the GUI thread while
// the render loop waits (updatePaintNode); painted by the render loop.
class RCSceneItemVeilPaintNode : public QSGRenderNode
{
public:
    RCSceneItemVeilPaintNode(QQuickWindow* window, const QColor& color);

    // A veil, key, painted as a rectangle node with rect placed by place (onto the node's
    // coordinates): turned, under a transform node of place; else with rect mapped by place. Only
    // before the node joins the tree: it does not mark the node changed.
    void add(const void* key, const QRectF& rect, const QMatrix4x4& place, bool turned);
    // Drops the veil key, and marks the node changed.
    void remove(const void* key);
    int count() const;

    void render(const RenderState* state) override;
    RenderingFlags flags() const override;
    QRectF rect() const override;
    StateFlags changedStates() const override;

private:
    struct Shape
    {
        QRectF rect;
        QMatrix4x4 place;
        // unturned: rect is already placed
        bool placed = true;
    };

    QQuickWindow* m_window;
    QColor m_color;
    QHash<const void*, Shape> m_shapes;
    QRectF m_bounds;
};
