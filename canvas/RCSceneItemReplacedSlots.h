#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QQuickWindow;
class RCSceneItemViewSlot;

// The slots a reset of a view layer replaced (a scene switch), out of the layer, deleted only once
// the window the layer was last in has drawn a frame after the reset, right after the script
// engine of the parent (the layer) collected its garbage there: neither the deletion nor a
// collection is part of the time until the new scene shows, and the engine goes into the next
// switch with room for a scene beside the shown one. At most one replaced scene waits: slots
// handed in while others wait have those deleted at once, and so does a window that is not
// exposed or none at all. Owns the slots it holds. GUI thread only.
class RCSceneItemReplacedSlots : public QObject
{
    Q_OBJECT

public:
    explicit RCSceneItemReplacedSlots(QObject* parent = nullptr);
    ~RCSceneItemReplacedSlots() override;

    // Takes replaced out of their layer (parent item and parent: a search of the layer finds only
    // the shown slots) and holds them until the next frame of window, or, when window is null (a
    // reset may find the layer out of its window for the moment), of the last one given to
    // follow().
    void hold(const QList<RCSceneItemViewSlot*>& replaced, QQuickWindow* window);
    // The layer is now in window: what is held waits for its next frame.
    void follow(QQuickWindow* window);

private:
    void awaitFrame(QQuickWindow* window);
    // Deletes the held slots (later); collect: then lets the script engine collect first.
    void release(bool collect);

    QList<QPointer<RCSceneItemViewSlot>> m_held;
    QPointer<QQuickWindow> m_window;
    QList<QMetaObject::Connection> m_frameConnections;
};
