#include "model/IRCControlManager.h"

IRCControlManager::IRCControlManager(QObject* parent) : IRCObject(parent) {}

IRCControlManager::~IRCControlManager() = default;

IRCControl* IRCControlManager::addControl(IRCControl::EIRCControlType, QString, QStringList, QString)
{
    return nullptr;
}

bool IRCControlManager::removeControl(QString)
{
    return false;
}

bool IRCControlManager::removeControl(IRCControl*)
{
    return false;
}

QList<IRCControl*> IRCControlManager::getControllist() const
{
    return QList<IRCControl*>();
}

int IRCControlManager::getControlCout() const
{
    return 0;
}

IRCControl* IRCControlManager::getControl(int) const
{
    return nullptr;
}

IRCControl* IRCControlManager::getControlById(QString) const
{
    return nullptr;
}

IRCControl* IRCControlManager::getControlByType(IRCControl::EIRCControlType) const
{
    return nullptr;
}
