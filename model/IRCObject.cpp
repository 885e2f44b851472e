#include "model/IRCObject.h"

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
