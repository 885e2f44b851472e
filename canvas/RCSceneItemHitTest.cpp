#include "canvas/RCSceneItemHitTest.h"

#include "canvas/RCSceneItemViewSlot.h"

#include <QtMath>

#include <array>
#include <cmath>

namespace {

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

} // namespace

RCSceneItemHitTest::RCSceneItemHitTest(const QList<RCSceneItemViewSlot*>& viewSlots)
{
    m_shapes.reserve(viewSlots.size());
    for (const RCSceneItemViewSlot* slot : viewSlots)
        m_shapes.append(slot->item() ? shapeOf(slot) : Shape{});
}

RCSceneItemHitTest::Shape RCSceneItemHitTest::shapeOf(const RCSceneItemViewSlot* slot)
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

int RCSceneItemHitTest::count() const
{
    return int(m_shapes.size());
}

bool RCSceneItemHitTest::shown(int row) const
{
    return m_shapes.at(row).shown;
}

bool RCSceneItemHitTest::hits(int row, const QPointF& point) const
{
    const Shape& shape = m_shapes.at(row);
    // the point turned back into the unturned rectangle
    return shape.shown &&
           strictlyInside(shape.rect,
                          shape.turned ? turn(point, shape.rect.center(), shape.cos, -shape.sin) : point);
}

bool RCSceneItemHitTest::holds(int row, const QRectF& band) const
{
    const Shape& shape = m_shapes.at(row);
    if (!shape.shown)
        return false;
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

int RCSceneItemHitTest::topmostAt(const QPointF& point) const
{
    for (int row = count() - 1; row >= 0; --row) {
        if (hits(row, point))
            return row;
    }
    return -1;
}
