#pragma once

#include "actions/IRCActionManager.h"

#include <QMap>

// The one action registry of the project: one action object per registered type, made once by
// create() after the project has its control link and mirror. Owns every action in its table and
// deletes them when it is deleted (by the project). GUI thread only.
class RCActionManager : public IRCActionManager
{
    Q_OBJECT

public:
    // A registry for project (not owned) holding one action of every implemented type.
    static IRCActionManager* create(IRCProject* project);
    ~RCActionManager() override;

    bool addAction(int actionType, IRCAction* action) override;
    bool removeAction(IRCAction* action) override;
    bool removeAction(int actionType) override;
    int execAction(const QString& sceneId, const QString& sceneItemId, int actionType,
                   const QVariant& data) override;
    IRCProject* getProject() const override;

private:
    explicit RCActionManager(IRCProject* project);
    // Registers the actions in ascending type order.
    void initActions();

    QMap<int, IRCAction*> m_actions;
    IRCProject* m_project = nullptr;
};
