#include "canvas/RCSceneItemVeilLayer.h"

#include "canvas/RCSceneItemViewLayer.h"
#include "canvas/RCSceneItemViewSlot.h"

#include <QHash>
#include <QMatrix4x4>
#include <QPainter>
#include <QQuickWindow>
#include <QSGRenderNode>
#include <QSGRendererInterface>

#include <cmath>

namespace {

// One tile's veils, painted with the software renderer's painter as a Rectangle { color: "blue";
// opacity: 0.3 } filling each view would be: unturned, its rectangle widened to whole pixels and
// filled without antialiasing; turned, drawn with the renderer's hints. Clipped to its tile.
class VeilTileNode : public QSGRenderNode
{
public:
    explicit VeilTileNode(QQuickWindow* window) : m_window(window) {}

    void setVeils(const QRectF& tile, const QList<RCSceneItemVeilLayer::Veil>& veils)
    {
        m_tile = tile;
        m_veils = veils;
    }

    void render(const RenderState* state) override
    {
        QSGRendererInterface* renderer = m_window ? m_window->rendererInterface() : nullptr;
        auto* painter = renderer ? static_cast<QPainter*>(
                                       renderer->getResource(m_window, QSGRendererInterface::PainterResource))
                                 : nullptr;
        if (!painter)
            return;
        // the clip is in device coordinates: set before the transform
        if (const QRegion* clip = state->clipRegion(); clip && !clip->isEmpty())
            painter->setClipRegion(*clip, Qt::ReplaceClip);
        const QMatrix4x4 base = *matrix();
        painter->setTransform(base.toTransform());
        painter->setClipRect(m_tile, Qt::IntersectClip);
        painter->setOpacity(inheritedOpacity() * 0.3);
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(Qt::blue));
        const bool antialiased = painter->testRenderHint(QPainter::Antialiasing);
        for (const RCSceneItemVeilLayer::Veil& veil : std::as_const(m_veils)) {
            // as the scene graph combines the slot's place and the view's turn about its centre
            QMatrix4x4 slot;
            slot.translate(float(veil.rect.x()), float(veil.rect.y()));
            QMatrix4x4 m = base * slot;
            if (veil.angle != 0) {
                const QPointF centre(veil.rect.width() / 2, veil.rect.height() / 2);
                QMatrix4x4 turn;
                turn.translate(float(centre.x()), float(centre.y()));
                turn.rotate(float(veil.angle), 0, 0, 1);
                turn.translate(float(-centre.x()), float(-centre.y()));
                m = m * turn;
            }
            const QTransform transform = m.toTransform();
            painter->setTransform(transform);
            const QRect rect = QRectF(0, 0, veil.rect.width(), veil.rect.height()).toAlignedRect();
            if (transform.isRotating()) {
                painter->setRenderHint(QPainter::Antialiasing, antialiased);
                painter->drawRect(rect);
            } else {
                painter->setRenderHint(QPainter::Antialiasing, false);
                painter->fillRect(rect, Qt::blue);
            }
        }
    }
    StateFlags changedStates() const override { return {}; }
    RenderingFlags flags() const override { return BoundedRectRendering; }
    QRectF rect() const override { return m_tile; }

private:
    QQuickWindow* m_window;
    QRectF m_tile;
    QList<RCSceneItemVeilLayer::Veil> m_veils;
};

// Whether view shows a veil now: its type declares "mSelectVeil" true (read from the first view of
// the type) and the view is in edit mode ("mInEditState"). Kept per type, checked by name, as a
// type's meta-object may be gone and its address taken by another.
bool veiled(const QObject* view)
{
    struct Type
    {
        bool veiled;
        int editState;
    };
    static QHash<const QMetaObject*, Type> types;
    const QMetaObject* meta = view->metaObject();
    auto it = types.find(meta);
    if (it == types.end() ||
        (it->editState >= 0 && qstrcmp(meta->property(it->editState).name(), "mInEditState") != 0)) {
        const int veil = meta->indexOfProperty("mSelectVeil");
        it = types.insert(meta, {veil >= 0 && meta->property(veil).read(view).toBool(),
                                 meta->indexOfProperty("mInEditState")});
    }
    return it->veiled && it->editState >= 0 && meta->property(it->editState).read(view).toBool();
}

// The bounds of veil as drawn (whole pixels, turned), in the coordinates of its rectangle.
QRectF boundsOf(const RCSceneItemVeilLayer::Veil& veil)
{
    const QRectF drawn(veil.rect.topLeft(),
                       QSizeF(std::ceil(veil.rect.width()), std::ceil(veil.rect.height())));
    if (veil.angle == 0)
        return drawn.adjusted(-1, -1, 1, 1);
    const QPointF centre = veil.rect.center();
    QTransform turn;
    turn.translate(centre.x(), centre.y());
    turn.rotate(veil.angle);
    turn.translate(-centre.x(), -centre.y());
    return turn.mapRect(drawn).adjusted(-1, -1, 1, 1);
}

} // namespace

RCSceneItemVeilLayer::RCSceneItemVeilLayer(QQuickItem* parent) : QQuickItem(parent)
{
    setFlag(ItemHasContents);
}

RCSceneItemViewLayer* RCSceneItemVeilLayer::views() const
{
    return m_views;
}

void RCSceneItemVeilLayer::setViews(RCSceneItemViewLayer* views)
{
    if (views == m_views)
        return;
    disconnect(m_connection);
    m_views = views;
    if (views)
        m_connection =
            connect(views, &RCSceneItemViewLayer::slotsChanged, this, &RCSceneItemVeilLayer::refresh);
    refresh();
    Q_EMIT viewsChanged();
}

int RCSceneItemVeilLayer::count() const
{
    return m_count;
}

void RCSceneItemVeilLayer::itemChange(ItemChange change, const ItemChangeData& value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemSceneChange && value.window)
        refresh();
}

void RCSceneItemVeilLayer::refresh()
{
    // gathered at the polish of the next frame, painted at its sync: one frame, asked for here
    polish();
    update();
}

void RCSceneItemVeilLayer::updatePolish()
{
    // Tiles are kTile square in the window's coordinates, so that their edges fall on whole pixels.
    const QPointF scenePos = mapToScene(QPointF(0, 0));
    struct Entry
    {
        TileKey key;
        Veil veil;
    };
    std::vector<Entry> entries;
    int count = 0;
    const RCSceneItemViewLayer* views = m_views;
    const QPointF offset = views ? views->mapToItem(this, QPointF(0, 0)) : QPointF();
    for (int row = 0; views && row < views->count(); ++row) {
        const RCSceneItemViewSlot* slot = views->itemAt(row);
        const QQuickItem* view = slot->selected() ? slot->item() : nullptr;
        if (!view || !veiled(view))
            continue;
        const Veil veil{QRectF(slot->x() + offset.x(), slot->y() + offset.y(), slot->width(), slot->height()),
                        slot->angle()};
        const QRectF bounds = boundsOf(veil).translated(scenePos);
        const int top = int(std::floor(bounds.top() / kTile));
        const int bottom = int(std::floor(bounds.bottom() / kTile));
        const int left = int(std::floor(bounds.left() / kTile));
        const int right = int(std::floor(bounds.right() / kTile));
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x)
                entries.push_back({{y, x}, veil});
        }
        ++count;
    }
    // each tile's veils in row order
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.key < b.key; });
    bool changed = false;
    auto tile = m_tiles.begin();
    for (auto first = entries.cbegin(); first != entries.cend();) {
        const TileKey key = first->key;
        auto last = first;
        while (last != entries.cend() && last->key == key)
            ++last;
        for (; tile != m_tiles.end() && tile->first < key; changed = true) {
            m_emptied.append(tile->first);
            tile = m_tiles.erase(tile);
        }
        if (tile == m_tiles.end() || tile->first != key)
            tile = m_tiles.emplace_hint(tile, key, Tile());
        const QRectF rect(key.second * kTile - scenePos.x(), key.first * kTile - scenePos.y(), kTile, kTile);
        QList<Veil>& veils = tile->second.veils;
        const bool same = tile->second.rect == rect && veils.size() == last - first &&
                          std::equal(first, last, veils.cbegin(),
                                     [](const Entry& e, const Veil& v) { return e.veil == v; });
        if (!same) {
            tile->second.rect = rect;
            veils.clear();
            veils.reserve(last - first);
            for (auto e = first; e != last; ++e)
                veils.append(e->veil);
            tile->second.changed = true;
        }
        changed = changed || tile->second.changed;
        ++tile;
        first = last;
    }
    for (; tile != m_tiles.end(); changed = true) {
        m_emptied.append(tile->first);
        tile = m_tiles.erase(tile);
    }
    // the frame this polish belongs to was asked for with it
    Q_UNUSED(changed);
    if (count != m_count) {
        m_count = count;
        Q_EMIT countChanged();
    }
}

QSGNode* RCSceneItemVeilLayer::updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData*)
{
    QSGNode* root = oldNode;
    if (!root) {
        // a new scene graph: every tile is made anew
        root = new QSGNode;
        m_nodes.clear();
        for (auto& [key, tile] : m_tiles)
            tile.changed = true;
    }
    for (const TileKey& key : std::as_const(m_emptied)) {
        const auto it = m_nodes.find(key);
        if (it == m_nodes.end())
            continue;
        root->removeChildNode(it->second);
        delete it->second;
        m_nodes.erase(it);
    }
    m_emptied.clear();
    for (auto& [key, tile] : m_tiles) {
        if (!tile.changed)
            continue;
        tile.changed = false;
        auto it = m_nodes.find(key);
        if (it == m_nodes.end()) {
            // in tile order, top row first: the renderer meets them in order and merges their
            // rectangles cheaply
            auto* node = new VeilTileNode(window());
            const auto next = m_nodes.upper_bound(key);
            if (next != m_nodes.end())
                root->insertChildNodeBefore(node, next->second);
            else
                root->appendChildNode(node);
            it = m_nodes.emplace(key, node).first;
        }
        static_cast<VeilTileNode*>(it->second)->setVeils(tile.rect, tile.veils);
        it->second->markDirty(QSGNode::DirtyMaterial);
    }
    return root;
}
