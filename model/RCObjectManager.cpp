#include "model/RCObjectManager.h"

#include "model/IRCObject.h"
#include "model/RCKeys.h"

#include <QLoggingCategory>

// From info: a debug line for every object registered and removed would fill the user's log.
Q_LOGGING_CATEGORY(lcObjectManager, "object.manager", QtInfoMsg)

RCObjectManager* RCObjectManager::instance()
{
    static RCObjectManager* manager = new RCObjectManager();
    return manager;
}

RCObjectManager::RCObjectManager(QObject* parent) : IRCCppObject(parent) {}

void RCObjectManager::addObject(IRCObject* obj)
{
    if (!obj) {
        qCWarning(lcObjectManager) << "object is null";
        return;
    }
    const QString id = obj->getId();
    qCDebug(lcObjectManager) << "Add object id" << id << "type" << int(obj->getObjectType());
    if (m_objects.contains(id)) {
        qCWarning(lcObjectManager) << "object already exist" << id;
        return;
    }
    // Before the connection below: an object never arrives focused, and the registry does not hear
    // of this change.
    obj->setFocus(false);
    m_objects.insert(id, obj);
    obj->addWatcher(this);
    connect(obj, &QObject::destroyed, this, &RCObjectManager::onObjectDestroyed, Qt::UniqueConnection);
}

void RCObjectManager::removeObject(IRCObject* obj)
{
    qCDebug(lcObjectManager) << "Remove object id" << (obj ? obj->getId() : QString());
    if (!obj || !forget(obj, obj->getId()))
        return;
    disconnect(obj, nullptr, this, nullptr);
    obj->removeWatcher(this);
    if (m_focusedObject == obj) {
        obj->setFocus(false);
        m_focusedObject = nullptr;
        Q_EMIT objectFocusChanged(QString());
    }
}

IRCObject* RCObjectManager::getObject(const QString& id) const
{
    return m_objects.value(id, nullptr);
}

bool RCObjectManager::forget(IRCObject* obj, const QString& id)
{
    const auto byId = m_objects.find(id);
    if (byId != m_objects.end() && byId.value() == obj) {
        m_objects.erase(byId);
        return true;
    }
    // The object may have been registered under an id it no longer holds.
    for (auto it = m_objects.begin(); it != m_objects.end(); ++it) {
        if (it.value() == obj) {
            m_objects.erase(it);
            return true;
        }
    }
    return false;
}

void RCObjectManager::onObjectDestroyed(QObject* obj)
{
    // Deleted without being removed first: drop the dangling entry and focus. Only the address is
    // compared; the object is no longer an IRCObject here.
    for (auto it = m_objects.begin(); it != m_objects.end(); ++it) {
        if (static_cast<QObject*>(it.value()) == obj) {
            qCDebug(lcObjectManager) << "Remove destroyed object id" << it.key();
            m_objects.erase(it);
            break;
        }
    }
    if (m_focusedObject && static_cast<QObject*>(m_focusedObject) == obj) {
        m_focusedObject = nullptr;
        Q_EMIT objectFocusChanged(QString());
    }
}

void RCObjectManager::watchedValueChanged(IRCObject* obj, const QString&, const QString& sName,
                                         const QVariant& value)
{
    if (sName != RCKeys::Focus())
        return;
    if (value.toBool())
        setFocusedObject(obj);
    else if (obj == m_focusedObject)
        setFocusedObject(nullptr);
}

void RCObjectManager::setFocusedObject(IRCObject* obj)
{
    if (obj == m_focusedObject)
        return;
    // Clearing the old focus re-enters this function through the focus rule and announces the
    // empty focus before the new one.
    if (m_focusedObject)
        m_focusedObject->setFocus(false);
    m_focusedObject = obj;
    if (obj) {
        obj->setFocus(true);
        Q_EMIT objectFocusChanged(obj->getId());
    } else {
        Q_EMIT objectFocusChanged(QString());
    }
}
