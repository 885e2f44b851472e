#pragma once

#include "actions/RCAction.h"

// Asks the media server for its project: records data (as an integer) with the mirror as a
// download this panel asked for (IRCStelvaneSyncer::addProjectRequest), then sends "getProject"
// {"id": that number}; the server's "setProject" repeats it. Waits for nothing.
class RCAction_DownloadProject : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
