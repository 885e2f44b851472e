#pragma once

#include "canvas/RCSceneItemHitTest.h"

#include <QAbstractItemModel>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QQuickItem>
#include <QStringList>
#include <QVariantMap>

#include <optional>

class RCSceneItemReplacedSlots;
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
// be the one whose tap removed the row; the slots a reset replaces (a scene switch) wait for the
// window's next frame (RCSceneItemReplacedSlots). Slots and their views are made in the layer's
// QML context and are owned by the layer (C++ ownership).
//
// The layer answers the scene canvas's hit tests in its own coordinates (canvas pixels) over the
// slots as they are (RCSceneItemHitTest, made again at the first test after a slot's place, turn
// or view may have changed). Whether a row is selected is read from the model at the time of
// asking, not from the slot, which follows the model only once the model has announced the change.
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
    explicit RCSceneItemViewLayer(QQuickItem* parent = nullptr);

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
    // The hit test over the slots as they are now, made again at the first test after
    // forgetHitTest() (a slot's place, turn or view may have changed): a rubber band asks at every
    // step, and a crowded scene's slots lie all over memory.
    const RCSceneItemHitTest& hitTest() const;
    void forgetHitTest();
    // Whether the row of slot is selected, as the model says now.
    bool isSelected(const RCSceneItemViewSlot* slot, int row) const;

    QPointer<QAbstractItemModel> m_model;
    QList<QMetaObject::Connection> m_connections;
    QPointF m_origin;
    qreal m_divisor = 1;
    // The slots in row order.
    QList<RCSceneItemViewSlot*> m_slots;
    // The slots a reset replaced, until the window's next frame.
    RCSceneItemReplacedSlots* m_replaced;
    // The model's role of each input, -1 when it names none.
    int m_roles[InputCount];
    mutable std::optional<RCSceneItemHitTest> m_hitTest;
};
