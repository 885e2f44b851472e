#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QRectF>

#include <map>
#include <tuple>

class QQuickWindow;
class QSGNode;

// The scene graph nodes of the veils of RCSceneItemVeilLayer under the layer's root node: which
// node paints each veil, in which group under the root, in what order. A veil's node sits in a
// group under the root, and the tree changes so that the software renderer, which adds the place
// of each node that comes, goes or changes to the region it repaints, hears of as few nodes as it
// can, in reading order:
//   - veils that come few at a time join the group of the veil they come before in reading order
//     (top row first, left first), or else that of the last one, so that the renderer meets their
//     places in order (places in no order would each cost it a pass over all the others); where
//     that veil is painted with others, they join the loose group;
//   - many veils that come at once form a group of their own, built before it joins the tree; for
//     the software renderer one paint node (RCSceneItemVeilPaintNode), their node and group at
//     once;
//   - a group whose veils all go leaves the tree whole;
//   - a clear rectangle over the places of many veils that change at once (the cover) goes on
//     top: met first, it makes the repainted region one rectangle that each veil's lies in.
// Groups are transform nodes, as the root: the software renderer places a node added later by the
// nearest node above it whose place it knows. Made with the root, which the scene graph owns and
// drops along with every node here. Render thread's nodes, changed on the GUI thread while the
// render loop waits (updatePaintNode).
class RCSceneItemVeilNodes
{
public:
    // A veil: the view's place in the layer's coordinates and its turn (degrees, clockwise, about
    // its centre).
    struct Veil
    {
        QRectF rect;
        int angle = 0;
        bool operator==(const Veil& other) const { return rect == other.rect && angle == other.angle; }
        bool operator!=(const Veil& other) const { return !(*this == other); }
    };
    using Veils = QHash<const void*, Veil>;

    // Over the veils of root, an empty transform node.
    explicit RCSceneItemVeilNodes(QSGNode* root);

    // Brings the tree in step with veils (by a key of each, never dereferenced): the veils that
    // went or changed leave it, those that came or changed join it.
    void show(QQuickWindow* window, const Veils& veils);

private:
    using Keyed = QList<QPair<const void*, Veil>>;
    using OrderKey = std::tuple<qreal, qreal, const void*>;
    struct Painted
    {
        Veil veil;
        QSGNode* node = nullptr;
    };
    // What a change to veils is: the keys of the veils that leave, the veils that join, how many
    // of them do both (changed place or turn), and the rectangle around the places of all.
    struct Change
    {
        QList<const void*> leaving;
        Keyed joining;
        int moving = 0;
        QRectF area;
    };
    Change changeTo(const Veils& veils) const;
    // Takes the veils of keys out of the tree; a group they all leave goes first, whole.
    void remove(const QList<const void*>& keys);
    // Adds each of veils where it comes in reading order.
    void addFew(QQuickWindow* window, const Keyed& veils);
    // Adds veils as a group of their own, after the others.
    void addMany(QQuickWindow* window, const Keyed& veils);
    // Puts a cover over area, the root's last child, in place of the last one.
    void cover(QQuickWindow* window, const QRectF& area);
    void uncover();
    // Takes group out of the tree (not deleted).
    void takeGroup(QSGNode* group);
    static OrderKey orderOf(const void* key, const Veil& veil);

    QSGNode* m_root;
    // The veils in the tree, each with its node (for a veil painted with others, their paint node).
    QHash<const void*, Painted> m_painted;
    // The nodes in reading order.
    std::map<OrderKey, QSGNode*> m_order;
    // The groups under the root, with how many veils each holds.
    QHash<QSGNode*, int> m_groups;
    // The group that veils coming few at a time join where the veil they come before, or the last
    // one, is painted with others (a paint node takes none later); null until one does.
    QSGNode* m_loose = nullptr;
    // The cover, the root's last child; null when none.
    QSGNode* m_cover = nullptr;
};
