#include "model/IRCObjectWatcher.h"

IRCObjectWatcher::~IRCObjectWatcher() = default;
