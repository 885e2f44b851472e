#include "model/IRCControlInstantiationParam.h"

IRCControlInstantiationParam::IRCControlInstantiationParam(QObject* parent) : IRCObject(parent) {}

IRCControlInstantiationParam::~IRCControlInstantiationParam() = default;

void IRCControlInstantiationParam::setQmlPath(QString) {}

QString IRCControlInstantiationParam::getQmlPath() const
{
    return QString();
}

void IRCControlInstantiationParam::setSize(QSize) {}

QSize IRCControlInstantiationParam::getSize() const
{
    return QSize(0, 0);
}

IRCProperty* IRCControlInstantiationParam::addProperty(QString, QString, bool, bool, QString, int, QVariant)
{
    return nullptr;
}
