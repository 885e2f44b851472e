#pragma once

#include "canvas/RCSceneItemViewLayer.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QQuickItem>
#include <QRectF>

#include <map>
#include <tuple>

class QSGNode;

// The blue veils over the selected views of a view layer (RCSceneItemViewLayer) in edit mode, all
// drawn by this one item, laid exactly over the view layer and stacked above it. A view is veiled
// while its slot is selected, its type declares "mSelectVeil" true and its "mInEditState" is true:
// a translucent blue rectangle (blue at opacity 0.3) over the view, turned with it, as a Rectangle
// filling the view drew it (over an unselected view stacked above a selected one, the veil now
// shows on top). The veils are bare scene graph nodes, no items: showing or hiding thousands of
// them runs no script and makes no object; a change touches only the nodes of the veils that
// changed. Follows the view layer's slotsChanged(). GUI thread only; the nodes live on the render
// thread.
class RCSceneItemVeilLayer : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(RCSceneItemViewLayer* views READ views WRITE setViews NOTIFY viewsChanged)
    // The number of views veiled now.
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    // A veil: the view's place in this item's coordinates and its turn (degrees, clockwise, about
    // its centre).
    struct Veil
    {
        QRectF rect;
        int angle = 0;
        bool operator==(const Veil& other) const { return rect == other.rect && angle == other.angle; }
        bool operator!=(const Veil& other) const { return !(*this == other); }
    };

    explicit RCSceneItemVeilLayer(QQuickItem* parent = nullptr);

    RCSceneItemViewLayer* views() const;
    void setViews(RCSceneItemViewLayer* views);
    int count() const;

Q_SIGNALS:
    void viewsChanged();
    void countChanged();

protected:
    void updatePolish() override;
    QSGNode* updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData* data) override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

private:
    // The views may have changed: gathered again at the next frame's polish.
    void refresh();

    QPointer<RCSceneItemViewLayer> m_views;
    QMetaObject::Connection m_connection;
    // The veils gathered at the last polish, by the slot of their view (a key only: never
    // dereferenced), and whether they changed since the last paint.
    QHash<const void*, Veil> m_veils;
    bool m_changed = true;
    // The node of each veil as painted (for a veil painted with others, their paint node), with
    // the veil it shows, and the nodes in reading order; dropped when the scene graph drops the
    // root.
    struct Painted
    {
        Veil veil;
        QSGNode* node = nullptr;
    };
    using OrderKey = std::tuple<qreal, qreal, const void*>;
    static OrderKey orderOf(const void* slot, const Veil& veil);
    QHash<const void*, Painted> m_nodes;
    std::map<OrderKey, QSGNode*> m_order;
    // The veils' nodes sit in groups under the root, with how many each holds. Many veils that
    // come at once form a group of their own, built before it joins the tree, and a group whose
    // veils all go leaves it whole, so that the renderer hears of one node instead of each. Groups
    // are transform nodes, as the root: the software renderer places a node added later by the
    // nearest node above it whose place it knows. For the software renderer, many that come at
    // once are instead one paint node (RCSceneItemVeilPaintNode), their node and group at once.
    QHash<QSGNode*, int> m_groups;
    // The group that veils coming few at a time join where the veil they come before, or the last
    // one, is painted with others (a paint node takes none later); null until one does.
    QSGNode* m_loose = nullptr;
    // The clear rectangle over the veils of the last change of many at once, the root's last
    // child; null before such a change.
    QSGNode* m_cover = nullptr;
    static constexpr int kManyChanges = 1024;
};
