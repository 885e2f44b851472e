#include "model/RCKeys.h"

QStringList RCKeys::allKeys()
{
    QStringList keys;
#define RC_KEYS_APPEND(name) keys.append(RCKeys::name());
    RC_KEYS_TABLE(RC_KEYS_APPEND)
#undef RC_KEYS_APPEND
    return keys;
}
