#pragma once

#include <QList>
#include <QPointF>
#include <QPointer>
#include <QQuickItem>
#include <QRectF>

#include <map>
#include <utility>
#include <vector>

#include "canvas/RCSceneItemViewLayer.h"

// The blue veils over the selected views of a view layer (RCSceneItemViewLayer) in edit mode, all
// drawn by this one item, laid exactly over the view layer and stacked above it. A view is veiled
// while its slot is selected, the view declares "mSelectVeil" true and its "mInEditState" is true:
// a translucent blue rectangle (blue at opacity 0.3) over the view, turned with it. The layer is
// cut into square tiles of kTile scene pixels, each drawn by a node of its own, and a change marks
// only the tiles whose veils changed: the software renderer then merges a few tile rectangles where
// thousands of small veils would each add a rectangle to the region it repaints. Follows the view
// layer's viewsChanged(). GUI thread only; the nodes live on the render thread.
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
    };
    static constexpr int kTile = 16;

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
    // The views may have changed: gathered again for the next frame.
    void refresh();

    using TileKey = std::pair<int, int>; // (row, column), in drawing order
    struct Tile
    {
        QRectF rect; // this item's coordinates
        QList<Veil> veils;
        bool changed = true;
    };

    QPointer<RCSceneItemViewLayer> m_views;
    QMetaObject::Connection m_connection;
    std::map<TileKey, Tile> m_tiles;
    // Tiles that lost their last veil: their nodes go at the next paint.
    QList<TileKey> m_emptied;
    int m_count = 0;
    // The tile nodes as made, keyed as the tiles; dropped when the scene graph drops the root.
    std::map<TileKey, QSGNode*> m_nodes;
};
