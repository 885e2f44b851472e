#include "model/RCControlManager.h"

#include "model/RCControl.h"
#include "model/RCKeys.h"

#include <QJsonArray>
#include <QPointer>

IRCControlManager* RCControlManager::create()
{
    return new RCControlManager();
}

RCControlManager::RCControlManager(QObject* parent) : IRCControlManager(parent) {}

RCControlManager::~RCControlManager()
{
    const QList<IRCControl*> controls = m_controls;
    for (IRCControl* control : controls)
        delete control;
    m_controls.clear();
    m_controlsById.clear();
    m_controlsByType.clear();
}

eIRCObjectType RCControlManager::getObjectType() const
{
    return eIRCObjectType_ControlManager;
}

RCProperties* RCControlManager::getProperties() const
{
    return nullptr;
}

QJsonObject RCControlManager::toJson() const
{
    QJsonArray controlArray;
    for (const IRCControl* control : m_controls)
        controlArray.append(control->toJson());
    QJsonObject jsObj;
    jsObj.insert(QStringLiteral("controlArray"), controlArray);
    return jsObj;
}

bool RCControlManager::fromJson(QJsonObject jsObj)
{
    const QJsonArray controlArray = jsObj.value(QStringLiteral("controlArray")).toArray();
    for (const QJsonValue& value : controlArray)
        insertControl(new RCControl(value.toObject(), this));
    return true;
}

IRCControl* RCControlManager::addControl(IRCControl::EIRCControlType controlType, QString sName,
                                         QStringList sTypeNameList, QString sIcon)
{
    if (m_controlsByType.contains(controlType))
        return nullptr;
    auto* control = new RCControl(controlType, this);
    control->setPropertyValue(RCKeys::Name(), sName);
    control->setPropertyValue(RCKeys::ControlGroupNameList(), sTypeNameList);
    if (!sIcon.isEmpty())
        control->setPropertyValue(RCKeys::IconPath(), sIcon);
    return insertControl(control) ? control : nullptr;
}

bool RCControlManager::insertControl(IRCControl* control)
{
    if (!control)
        return false;
    const QString id = control->getId();
    if (m_controlsById.contains(id)) {
        delete control;
        return false;
    }
    m_controlsById.insert(id, control);
    m_controls.append(control);
    m_controlsByType.insert(control->getControlType(), control);
    const QPointer<IRCControl> guard(control);
    emit controlAdd(control);
    return guard && m_controlsById.value(id) == control;
}

bool RCControlManager::removeControl(QString sControlId)
{
    if (sControlId.isEmpty())
        return false;
    IRCControl* control = m_controlsById.take(sControlId);
    if (!control)
        return false;
    m_controls.removeAll(control);
    // Only when the entry names this control: after fromJson a later control of the kind may own it.
    const int type = control->getControlType();
    if (m_controlsByType.value(type) == control)
        m_controlsByType.remove(type);
    emit controlRemove(control);
    delete control;
    return true;
}

bool RCControlManager::removeControl(IRCControl* control)
{
    if (!control)
        return false;
    return removeControl(control->getId());
}

QList<IRCControl*> RCControlManager::getControllist() const
{
    return m_controls;
}

int RCControlManager::getControlCout() const
{
    return m_controls.size();
}

IRCControl* RCControlManager::getControl(int i) const
{
    if (i < 0 || i >= m_controls.size())
        return nullptr;
    return m_controls.at(i);
}

IRCControl* RCControlManager::getControlById(QString sControlId) const
{
    return m_controlsById.value(sControlId, nullptr);
}

IRCControl* RCControlManager::getControlByType(IRCControl::EIRCControlType type) const
{
    return m_controlsByType.value(type, nullptr);
}
