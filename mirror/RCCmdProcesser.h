#pragma once

#include <QJsonObject>
#include <QObject>

class IRCProject;

// Applies one command of the media server. A processor holds no state: every call starts from
// the command's parameters (read by the rules of RCCmdParams) and reaches the mirror afresh
// through project->getStelvaneSyncer(). Created without a parent and owned by
// RCCmdProcesserManager. GUI thread only.
class RCCmdProcesser : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    virtual void process(const QJsonObject& params, IRCProject* project) = 0;
};
