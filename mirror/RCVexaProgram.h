#pragma once

#include "mirror/RCMirrorRecord.h"
#include "model/RCKeys.h"

// A program of a Vexa program list: "Name", "State" (any value but 0 counts as playing), "Id",
// "SubProgramId", "Length", "Progress", "BeginPos" and "EndPos". Owned by its RCVexaProgramList.
class RCVexaProgram : public RCMirrorRecord
{
public:
    RCVexaProgram(const QVariantMap& params, QObject* parent)
        : RCMirrorRecord({RCKeys::Name(), RCKeys::State(), RCKeys::Id(), RCKeys::SubProgramId(),
                          RCKeys::Length(), RCKeys::Progress(), RCKeys::BeginPos(), RCKeys::EndPos()},
                         params, parent)
    {
    }

    int getState() const { return getProperty(RCKeys::State()).toInt(); }
};
