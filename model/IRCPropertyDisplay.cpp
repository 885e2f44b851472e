#include "model/IRCPropertyDisplay.h"

IRCPropertyDisplay::IRCPropertyDisplay(QObject* parent) : IRCCppObject(parent) {}
