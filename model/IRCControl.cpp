#include "model/IRCControl.h"

#include "model/IRCControlInstantiationParam.h"

IRCControl::IRCControl(QObject* parent) : IRCObject(parent) {}

IRCControl::~IRCControl() = default;

IRCControl::EIRCControlType IRCControl::getControlType() const
{
    return EIRCControlType(0);
}

QString IRCControl::getName() const
{
    return QString();
}

void IRCControl::setName(QString) {}

QString IRCControl::getIconPath() const
{
    return QString();
}

void IRCControl::setIconPath(QString) {}

QStringList IRCControl::getGroupNameList() const
{
    return QStringList();
}

bool IRCControl::belongToGroup(QString) const
{
    return false;
}

IRCControlInstantiationParam* IRCControl::getInstantiationParam() const
{
    return nullptr;
}
