#include "canvas/RCSceneItemReplacedSlots.h"

#include "canvas/RCSceneItemViewSlot.h"

#include <QQmlEngine>
#include <QQuickWindow>

RCSceneItemReplacedSlots::RCSceneItemReplacedSlots(QObject* parent) : QObject(parent) {}

RCSceneItemReplacedSlots::~RCSceneItemReplacedSlots()
{
    for (const QPointer<RCSceneItemViewSlot>& slot : std::as_const(m_held))
        delete slot.data();
}

void RCSceneItemReplacedSlots::hold(const QList<RCSceneItemViewSlot*>& replaced, QQuickWindow* window)
{
    release(false);
    if (replaced.isEmpty())
        return;
    for (RCSceneItemViewSlot* slot : replaced) {
        slot->setParentItem(nullptr);
        slot->setParent(nullptr);
        m_held.append(slot);
    }
    awaitFrame(window ? window : m_window.data());
}

void RCSceneItemReplacedSlots::follow(QQuickWindow* window)
{
    m_window = window;
    if (!m_held.isEmpty())
        awaitFrame(window);
}

void RCSceneItemReplacedSlots::awaitFrame(QQuickWindow* window)
{
    if (!window || !window->isExposed()) {
        release(false);
        return;
    }
    if (!m_frameConnections.isEmpty())
        return;
    // The first frame whose scene is taken after now (afterAnimating comes on this thread before
    // the scene is taken), then its swap, which may come from the render thread.
    m_frameConnections.append(connect(
        window, &QQuickWindow::afterAnimating, this,
        [this, window] {
            m_frameConnections.append(connect(
                window, &QQuickWindow::frameSwapped, this, [this] { release(true); }, Qt::QueuedConnection));
        },
        Qt::SingleShotConnection));
    window->update();
}

void RCSceneItemReplacedSlots::release(bool collect)
{
    for (const QMetaObject::Connection& connection : std::as_const(m_frameConnections))
        disconnect(connection);
    m_frameConnections.clear();
    if (m_held.isEmpty())
        return;
    const QList<QPointer<RCSceneItemViewSlot>> held = std::exchange(m_held, {});
    // Collected while the replaced views still live: the engine then makes room for a scene
    // beside the shown one instead of collecting in the middle of the next switch. What the
    // replaced views held goes at the collection after the next switch.
    if (QQmlEngine* engine = collect ? qmlEngine(parent()) : nullptr)
        engine->collectGarbage();
    for (const QPointer<RCSceneItemViewSlot>& slot : held) {
        if (slot)
            slot->deleteLater();
    }
}
