#include "project/RCMessageBox.h"

#include <QUuid>

RCMessageBox::RCMessageBox(QObject* parent)
    : IRCCppObject(parent), m_id(QUuid::createUuid().toString(QUuid::WithBraces))
{
}
