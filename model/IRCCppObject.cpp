#include "model/IRCCppObject.h"

#include <QJSEngine>

IRCCppObject::IRCCppObject(QObject* parent) : QObject(parent)
{
    QJSEngine::setObjectOwnership(this, QJSEngine::CppOwnership);
}

IRCCppObject::~IRCCppObject() = default;
