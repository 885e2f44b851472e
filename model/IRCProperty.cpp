#include "model/IRCProperty.h"

#include "model/IRCPropertyDisplay.h"
#include "model/RCProperties.h"

IRCProperty::IRCProperty(QObject* parent) : IRCCppObject(parent) {}
