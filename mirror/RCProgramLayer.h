#pragma once

#include "mirror/RCMirrorRecord.h"
#include "model/RCKeys.h"

// A row of the media server's program table: "Id", "Name" and "ProgramLayerType". Owned by
// RCProgramTable.
class RCProgramLayer : public RCMirrorRecord
{
public:
    RCProgramLayer(const QVariantMap& params, QObject* parent)
        : RCMirrorRecord({RCKeys::Id(), RCKeys::Name(), RCKeys::ProgramLayerType()}, params, parent)
    {
    }
};
