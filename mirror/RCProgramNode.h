#pragma once

#include "mirror/RCMirrorRecord.h"
#include "model/RCKeys.h"

// A cell of the media server's program table: a node lies in the layer named by "ProgramLayerId"
// and spans the programs listed in "ProgramIdList". Its other keys: "Id", "Name", "State",
// "Progress", "Length", "ThumbnailPath" (the url of its thumbnail in the image provider) and
// "ProgramNodeTitle" (groups nodes under a tab title). Owned by RCProgramTable.
class RCProgramNode : public RCMirrorRecord
{
public:
    RCProgramNode(const QVariantMap& params, QObject* parent)
        : RCMirrorRecord({RCKeys::Id(), RCKeys::Name(), RCKeys::State(), RCKeys::Progress(), RCKeys::Length(),
                          RCKeys::ProgramIdList(), RCKeys::ProgramLayerId(), RCKeys::ThumbnailPath(),
                          RCKeys::ProgramNodeTitle()},
                         params, parent)
    {
    }

    QStringList programIds() const { return getProperty(RCKeys::ProgramIdList()).toStringList(); }
    QString layerId() const { return getProperty(RCKeys::ProgramLayerId()).toString(); }
};
