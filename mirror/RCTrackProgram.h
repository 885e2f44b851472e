#pragma once

#include "mirror/RCMirrorRecord.h"
#include "model/RCKeys.h"

// A program on a track: "Id", "Name", "CountdownTime" and "State" (the play state). Owned by its
// RCTrack.
class RCTrackProgram : public RCMirrorRecord
{
public:
    RCTrackProgram(const QVariantMap& params, QObject* parent)
        : RCMirrorRecord({RCKeys::Id(), RCKeys::Name(), RCKeys::CountdownTime(), RCKeys::State()}, params,
                         parent)
    {
    }
};
