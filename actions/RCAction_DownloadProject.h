#pragma once

#include "actions/RCAction.h"

// Asks the media server for its project: sends "getProject" {"id": data as an integer}, the number
// by which the download view recognises the answer ("setProject" repeating it). Waits for nothing.
class RCAction_DownloadProject : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
