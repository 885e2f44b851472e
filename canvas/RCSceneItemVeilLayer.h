#pragma once

#include "canvas/RCSceneItemVeilNodes.h"
#include "canvas/RCSceneItemViewLayer.h"

#include <QPointer>
#include <QQuickItem>

#include <memory>

class QSGNode;

// The blue veils over the selected views of a view layer (RCSceneItemViewLayer) in edit mode, all
// drawn by this one item, laid exactly over the view layer and stacked above it. A view is veiled
// while its slot is selected, its type declares "mSelectVeil" true and its "mInEditState" is true:
// a translucent blue rectangle (blue at opacity 0.3) over the view, turned with it, as a Rectangle
// filling the view drew it (over an unselected view stacked above a selected one, the veil now
// shows on top). The veils are bare scene graph nodes, no items: showing or hiding thousands of
// them runs no script and makes no object; a change touches only the nodes of the veils that
// changed (RCSceneItemVeilNodes). Follows the view layer's slotsChanged(): the veils are gathered
// at the next frame's polish and their nodes brought in step at its sync. GUI thread only; the
// nodes live on the render thread.
class RCSceneItemVeilLayer : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(RCSceneItemViewLayer* views READ views WRITE setViews NOTIFY viewsChanged)
    // The number of views veiled now.
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
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
    // dereferenced), and whether they changed since the last sync.
    RCSceneItemVeilNodes::Veils m_veils;
    bool m_changed = true;
    // The nodes under the root node the scene graph holds now; made again with a new root.
    std::unique_ptr<RCSceneItemVeilNodes> m_nodes;
};
