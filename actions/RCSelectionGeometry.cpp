#include "actions/RCSelectionGeometry.h"

#include "editing/RCCmdPresenter.h"
#include "editing/RCSceneItemPresenter.h"

#include <QList>
#include <QPoint>
#include <QSize>

#include <algorithm>
#include <limits>

namespace {

// One selected item's geometry, read once.
struct Box
{
    QString id;
    qint64 x = 0;
    qint64 y = 0;
    qint64 width = 0;
    qint64 height = 0;

    qint64 pos(RCSelectionGeometry::Axis axis) const
    {
        return axis == RCSelectionGeometry::Horizontal ? x : y;
    }
    qint64 size(RCSelectionGeometry::Axis axis) const
    {
        return axis == RCSelectionGeometry::Horizontal ? width : height;
    }
};

int clampToInt(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QList<Box> selectedBoxes(const QString& sceneId)
{
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    QList<Box> boxes;
    const QStringList ids = items->getSelectItems(sceneId);
    for (const QString& id : ids) {
        const QPoint pos = items->getPos(sceneId, id);
        const QSize size = items->getSize(sceneId, id);
        boxes.append(Box{id, pos.x(), pos.y(), qMax(0, size.width()), qMax(0, size.height())});
    }
    return boxes;
}

// Collects the changes of one edit and records them as one undo step.
class Edit
{
public:
    explicit Edit(const QString& sceneId) : m_sceneId(sceneId)
    {
        RCCmdPresenter::instance()->beginCommandGroup();
    }
    ~Edit() { RCCmdPresenter::instance()->endCommandGroup(); }
    Edit(const Edit&) = delete;
    Edit& operator=(const Edit&) = delete;

    // Moves box to the given position along axis; the other coordinate stays.
    void moveAlong(const Box& box, RCSelectionGeometry::Axis axis, qint64 pos)
    {
        const QPoint now(clampToInt(box.x), clampToInt(box.y));
        QPoint next = now;
        if (axis == RCSelectionGeometry::Horizontal)
            next.setX(clampToInt(pos));
        else
            next.setY(clampToInt(pos));
        moveTo(box, next);
    }
    void moveTo(const Box& box, const QPoint& next)
    {
        if (next != QPoint(clampToInt(box.x), clampToInt(box.y)))
            RCSceneItemPresenter::instance()->setPos(m_sceneId, box.id, next, true);
    }
    void resizeTo(const Box& box, const QSize& next)
    {
        if (next != QSize(clampToInt(box.width), clampToInt(box.height)))
            RCSceneItemPresenter::instance()->setSize(m_sceneId, box.id, next, true);
    }

private:
    QString m_sceneId;
};

// The unit step of an arrow key, or false for any other key.
bool arrowStep(int key, int& dx, int& dy)
{
    dx = dy = 0;
    switch (key) {
    case Qt::Key_Left:
        dx = -1;
        return true;
    case Qt::Key_Up:
        dy = -1;
        return true;
    case Qt::Key_Right:
        dx = 1;
        return true;
    case Qt::Key_Down:
        dy = 1;
        return true;
    default:
        return false;
    }
}

// Applies step to every selected item with the unit step of an arrow key, as one edit; -1 without a
// selection or for any other key.
template <typename Step> int stepByKey(const QString& sceneId, int key, Step step)
{
    int dx = 0;
    int dy = 0;
    const QList<Box> boxes = selectedBoxes(sceneId);
    if (boxes.isEmpty() || !arrowStep(key, dx, dy))
        return -1;
    Edit edit(sceneId);
    for (const Box& box : boxes)
        step(edit, box, dx, dy);
    return 0;
}

} // namespace

int RCSelectionGeometry::alignEdges(const QString& sceneId, Edge edge)
{
    const QList<Box> boxes = selectedBoxes(sceneId);
    if (boxes.size() < 2)
        return -1;
    const Axis axis = (edge == Top || edge == Bottom) ? Vertical : Horizontal;
    const bool far = (edge == Bottom || edge == Right);
    auto edgeOf = [&](const Box& box) { return far ? box.pos(axis) + box.size(axis) : box.pos(axis); };
    qint64 line = edgeOf(boxes.first());
    for (const Box& box : boxes)
        line = far ? qMax(line, edgeOf(box)) : qMin(line, edgeOf(box));

    Edit edit(sceneId);
    for (const Box& box : boxes)
        edit.moveAlong(box, axis, far ? line - box.size(axis) : line);
    return 0;
}

int RCSelectionGeometry::alignCentres(const QString& sceneId, Axis axis)
{
    const QList<Box> boxes = selectedBoxes(sceneId);
    if (boxes.size() < 2)
        return -1;
    auto centreOf = [axis](const Box& box) { return box.pos(axis) + box.size(axis) / 2; };
    qint64 lo = centreOf(boxes.first());
    qint64 hi = lo;
    for (const Box& box : boxes) {
        lo = qMin(lo, centreOf(box));
        hi = qMax(hi, centreOf(box));
    }
    if (lo == hi)
        return -1;
    const qint64 centre = lo + (hi - lo) / 2;

    Edit edit(sceneId);
    for (const Box& box : boxes)
        edit.moveAlong(box, axis, centre - box.size(axis) / 2);
    return 0;
}

int RCSelectionGeometry::distribute(const QString& sceneId, Axis axis)
{
    QList<Box> boxes = selectedBoxes(sceneId);
    const qint64 n = boxes.size();
    if (n < 3)
        return -1;
    std::stable_sort(boxes.begin(), boxes.end(),
                     [axis](const Box& a, const Box& b) { return a.pos(axis) < b.pos(axis); });
    qint64 sizes = 0;
    for (const Box& box : std::as_const(boxes))
        sizes += box.size(axis);
    const Box& first = boxes.first();
    const Box& last = boxes.last();
    // The free space between the outer edges, shared out so that the gaps differ by at most one
    // unit and the last item ends where it was.
    const qint64 free = last.pos(axis) + last.size(axis) - first.pos(axis) - sizes;

    Edit edit(sceneId);
    qint64 end = first.pos(axis) + first.size(axis);
    for (qint64 i = 1; i < n - 1; ++i) {
        const Box& box = boxes.at(i);
        const qint64 pos = end + (free * i) / (n - 1) - (free * (i - 1)) / (n - 1);
        edit.moveAlong(box, axis, pos);
        end = pos + box.size(axis);
    }
    return 0;
}

int RCSelectionGeometry::moveByKey(const QString& sceneId, int key)
{
    return stepByKey(sceneId, key, [](Edit& edit, const Box& box, int dx, int dy) {
        edit.moveTo(box, QPoint(clampToInt(box.x + dx), clampToInt(box.y + dy)));
    });
}

int RCSelectionGeometry::scaleByKey(const QString& sceneId, int key)
{
    return stepByKey(sceneId, key, [](Edit& edit, const Box& box, int dx, int dy) {
        edit.resizeTo(box, QSize(clampToInt(qMax<qint64>(1, box.width + dx)),
                                 clampToInt(qMax<qint64>(1, box.height + dy))));
    });
}
