#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>

class RCSceneItemViewSlot;

// The hit tests of the scene canvas over the views of a view layer's slots, as they were when it
// was made (one shape per slot, in row order): each view as drawn, its slot's place turned by the
// slot's angle (degrees, clockwise on the screen) about its centre; the row of a slot without a
// view is never hit nor held. A point hits a view strictly inside it; a rubber band holds a view
// with at least one of the view's four corners strictly inside the band. In the coordinates of
// the slots' parent. Keeps no pointer to the slots.
class RCSceneItemHitTest
{
public:
    explicit RCSceneItemHitTest(const QList<RCSceneItemViewSlot*>& viewSlots);

    int count() const;
    // Whether row's slot has a view.
    bool shown(int row) const;
    bool hits(int row, const QPointF& point) const;
    bool holds(int row, const QRectF& band) const;
    // The topmost (last) row whose view point hits; -1 when none does.
    int topmostAt(const QPointF& point) const;

private:
    // A view as drawn: the rectangle of its slot turned about its centre by cos and sin of its
    // angle; not shown while the slot has no view.
    struct Shape
    {
        QRectF rect;
        bool turned = false;
        double cos = 1;
        double sin = 0;
        bool shown = false;
    };
    static Shape shapeOf(const RCSceneItemViewSlot* slot);

    QList<Shape> m_shapes;
};
