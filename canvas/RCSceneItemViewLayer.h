#pragma once

#include <QAbstractItemModel>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QQuickItem>
#include <QStringList>
#include <QVariantMap>

class RCSceneItemViewSlot;

// The layer of the scene canvas that holds one RCSceneItemViewSlot per row of its model, in row
// order (a later row stacks above an earlier one), each a child item filling nothing but its own
// place. The model's roles reach the slot as the slot's properties of the same names ("itemId",
// "sceneId", "qmlPath", "values", "viewProperties", "selected", "angle", "itemX", "itemY",
// "itemWidth", "itemHeight"); a role the model does not name is left alone. A reset replaces
// every slot, inserted and removed rows make and drop theirs, and a dataChanged writes the named
// roles (all of them when it names none) into the slots of its rows, "qmlPath" last, so that a new
// view is made with the row's values as they are then. Every slot takes the layer's origin and
// divisor. A slot whose row goes leaves the layer at once and is deleted later, as its view may
// be the one whose tap removed the row. The slots a reset replaces (a scene switch) are deleted
// only once the window the layer was last in has drawn a frame after the reset, right after the
// script engine collected its garbage there: neither the deletion nor a collection is part of the
// time until the new scene shows, and the engine goes into the next switch with room for a scene
// beside the shown one. Until then they wait out of the layer (not its children); a later reset,
// a window that is not exposed or a layer that never was in a window has them deleted at once. Slots
// and their views are made in the layer's QML context and are owned by the layer (C++ ownership).
//
// The layer answers the scene canvas's hit tests in its own coordinates (canvas pixels), over the
// slots that hold a view, each view as drawn: its slot's place turned by the row's angle
// (degrees, clockwise) about its centre. A point hits a view strictly inside it; a rubber band
// holds a view with at least one of the view's four corners strictly inside the band. Whether a
// row is selected is read from the model at the time of asking, not from the slot, which follows
// the model only once the model has announced the change.
//
// A view that declares "mSelectVeil" true (its veil is drawn by RCSceneItemVeilLayer) has every
// change of its selection logged while its "mInEditState" is true, as the debug line "item select
// changed: <Name> selected: <true|false>" of category "qml": when the layer writes it, and when the
// view is made for a selected item. GUI thread only.
class RCSceneItemViewLayer : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QAbstractItemModel* model READ model WRITE setModel NOTIFY modelChanged)
    // The canvas point of the scene's top-left, and the zoom divisor, handed to every slot.
    Q_PROPERTY(QPointF origin READ origin WRITE setOrigin NOTIFY originChanged)
    Q_PROPERTY(qreal divisor READ divisor WRITE setDivisor NOTIFY divisorChanged)
    // The number of slots, one per row.
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    // A view as drawn, for the hit tests: the rectangle of its slot turned about its centre by cos
    // and sin of its angle; not shown while the slot has no view.
    struct Shape
    {
        QRectF rect;
        bool turned = false;
        double cos = 1;
        double sin = 0;
        bool shown = false;
    };

    explicit RCSceneItemViewLayer(QQuickItem* parent = nullptr);
    ~RCSceneItemViewLayer() override;

    QAbstractItemModel* model() const;
    void setModel(QAbstractItemModel* model);
    QPointF origin() const;
    void setOrigin(const QPointF& origin);
    qreal divisor() const;
    void setDivisor(qreal divisor);
    int count() const;

    // The slot of row, null outside the rows.
    Q_INVOKABLE RCSceneItemViewSlot* itemAt(int row) const;
    // The item id of the topmost view that point hits; "" when none does.
    Q_INVOKABLE QString itemIdAt(const QPointF& point) const;
    // The item ids of the selected views that point does not hit, in row order.
    Q_INVOKABLE QStringList selectedItemIdsApartFrom(const QPointF& point) const;
    // What a rubber band changes in the selection, in row order: "select", the ids of the views it
    // holds that are not selected; "deselect", those of the selected views it does not hold.
    Q_INVOKABLE QVariantMap bandSelection(const QRectF& band) const;

Q_SIGNALS:
    void modelChanged();
    void originChanged();
    void divisorChanged();
    void countChanged();
    // The slots, or the selection, place, turn, view or view properties of some slot, may have
    // changed: once per change of the model, origin or divisor, and when a slot's view is made or
    // dropped.
    void slotsChanged();

protected:
    void componentComplete() override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

private:
    enum Input
    {
        ItemId,
        SceneId,
        Values,
        ViewProperties,
        Selected,
        Angle,
        ItemX,
        ItemY,
        ItemWidth,
        ItemHeight,
        QmlPath, // last: its view is made with the inputs before it
        InputCount
    };

    void reset();
    void insertRows(int first, int last);
    void removeRows(int first, int last);
    void updateRows(int first, int last, const QList<int>& roles);
    // Writes the model's values of row for the inputs into the slot, in input order.
    void write(RCSceneItemViewSlot* slot, int row, const QList<Input>& inputs);
    RCSceneItemViewSlot* makeSlot(int row);
    void dropSlot(RCSceneItemViewSlot* slot);
    void clear();
    // The shape of each slot's view, in row order: gathered again at the first hit test after a
    // slot's place, turn or view may have changed (forgetShapes()); a rubber band asks at every
    // step, and a crowded scene's slots lie all over memory.
    const QList<Shape>& shapes() const;
    void forgetShapes();
    // Whether the row of slot is selected, as the model says now.
    bool isSelected(const RCSceneItemViewSlot* slot, int row) const;
    // The slots a reset replaced: out of the layer, deleted after the window's next frame.
    void park(const QList<RCSceneItemViewSlot*>& dropped);
    void awaitFrame();
    // Deletes the waiting slots (later); collect: then lets the script engine collect.
    void releaseParked(bool collect);

    QPointer<QAbstractItemModel> m_model;
    QList<QMetaObject::Connection> m_connections;
    QPointF m_origin;
    qreal m_divisor = 1;
    // The slots in row order.
    QList<RCSceneItemViewSlot*> m_slots;
    // The slots a reset replaced (no longer children: a search of the layer finds only the shown
    // ones), and the window whose frame they wait for (the last one the layer was in: a reset may
    // find the layer out of it for the moment).
    QList<QPointer<RCSceneItemViewSlot>> m_parked;
    QPointer<QQuickWindow> m_window;
    QList<QMetaObject::Connection> m_frameConnections;
    // The model's role of each input, -1 when it names none.
    int m_roles[InputCount];
    mutable QList<Shape> m_shapes;
    mutable bool m_shapesKnown = false;
};
