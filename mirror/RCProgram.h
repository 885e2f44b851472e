#pragma once

#include "mirror/RCMirrorRecord.h"
#include "model/RCKeys.h"

// A column of the media server's program table: "Id", "Name" and "State" (the play state: 0
// stopped, 1 playing, 2 paused). Owned by RCProgramTable.
class RCProgram : public RCMirrorRecord
{
public:
    RCProgram(const QVariantMap& params, QObject* parent)
        : RCMirrorRecord({RCKeys::Id(), RCKeys::Name(), RCKeys::State()}, params, parent)
    {
    }
};
