#include "model/IRCObject.h"

#include "model/IRCObjectWatcher.h"

#include <QMetaMethod>

IRCObject::IRCObject(QObject* parent) : IRCCppObject(parent) {}

IRCObject::~IRCObject() = default;

eIRCObjectType IRCObject::getObjectType() const
{
    return eIRCObjectType_None;
}

QString IRCObject::getId() const
{
    return QString();
}

void IRCObject::setPropertyValue(QString, QVariant) {}

QVariant IRCObject::getPropertyValue(QString) const
{
    return QVariant();
}

RCProperties* IRCObject::getProperties() const
{
    return nullptr;
}

void IRCObject::setFocus(bool) {}

QJsonObject IRCObject::toJson() const
{
    return QJsonObject();
}

bool IRCObject::fromJson(QJsonObject)
{
    return false;
}

void IRCObject::addWatcher(IRCObjectWatcher* watcher, const QString& tag)
{
    if (!watcher)
        return;
    for (const Watch& watch : std::as_const(m_watchers)) {
        if (watch.watcher == watcher)
            return;
    }
    m_watchers.append(Watch{watcher, tag});
}

void IRCObject::removeWatcher(IRCObjectWatcher* watcher)
{
    for (qsizetype i = 0; i < m_watchers.size(); ++i) {
        if (m_watchers.at(i).watcher == watcher) {
            m_watchers.remove(i);
            return;
        }
    }
}

void IRCObject::announcePropertyValue(const QString& name, const QVariant& value)
{
    if (m_watchers.isEmpty() && !m_valueSignalConnected)
        return;
    if (signalsBlocked())
        return;
    // By index, each entry copied: a watcher may add or remove watchers of this object.
    for (qsizetype i = 0; i < m_watchers.size(); ++i) {
        const Watch watch = m_watchers.at(i);
        watch.watcher->watchedValueChanged(this, watch.tag, name, value);
    }
    if (m_valueSignalConnected)
        Q_EMIT propertyValueChanged(name, value);
}

void IRCObject::connectNotify(const QMetaMethod& signal)
{
    if (signal == QMetaMethod::fromSignal(&IRCObject::propertyValueChanged))
        m_valueSignalConnected = true;
}
