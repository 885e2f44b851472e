#pragma once

#include "project/IRCInterface.h"

// The process-wide IRCInterface ("getRCInterface"). GUI thread only.
class RCInterface : public IRCInterface
{
    Q_OBJECT

public:
    static RCInterface* instance();

    explicit RCInterface(QObject* parent = nullptr);

    // The item's "TypeNameList" (pieces separated by ";" or the full-width "；", kept
    // untrimmed) lists the "TypeName" of the scene sceneIdDest. False for an empty item id and
    // for a destination that is no scene or has an empty type name.
    Q_INVOKABLE bool sceneListItemContainScene(const QString& sceneIdSelf, const QString& sceneItemId,
                                               const QString& sceneIdDest) override;

    // "hh:mm:ss", hours as many digits as needed (at least two), so a duration of a day
    // or more keeps its whole days; a negative duration gets a leading "-". Milliseconds are
    // dropped, not rounded.
    Q_INVOKABLE QString msecToString(int msec) override;
};
