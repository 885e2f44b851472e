#pragma once

#include "model/IRCCppObject.h"

#include <QString>
#include <QVariant>

class IRCAction;
class IRCProject;

// The registry of actions, one per action type, and the one door through which taps, keys,
// toolbar buttons, the mirror's requests and item scripts run them. Registered with QML as
// "Rc.IRCActionManager" 1.0; QML reaches the instance through IRCProject::getActionManager().
// The interface's own bodies answer false, -1 and null. Keeps C++ ownership. GUI thread only.
class IRCActionManager : public IRCCppObject
{
    Q_OBJECT

public:
    ~IRCActionManager() override;

    // Stores action under actionType and takes ownership of it; false, and nothing changes, when the
    // type is taken or action is null.
    virtual bool addAction(int actionType, IRCAction* action);
    // Removes every entry holding action and deletes it. Always true.
    virtual bool removeAction(IRCAction* action);
    // Removes and deletes the action of actionType; false when there was none.
    virtual bool removeAction(int actionType);
    // Runs the action of actionType and answers its result; -1 when none is registered. Values
    // that arrive from QML (null ids, script objects) are made plain first.
    Q_INVOKABLE virtual int execAction(const QString& sceneId, const QString& sceneItemId, int actionType,
                                       const QVariant& data);
    // The project that owns the manager (not owned).
    virtual IRCProject* getProject() const;

protected:
    explicit IRCActionManager(QObject* parent = nullptr);
};
