#pragma once

#include "model/IRCControlManager.h"

#include <QMap>

// The control catalogue while the application runs. It owns its controls (each a child object,
// deleted when it leaves or when the manager is destroyed). At most one control per kind enters
// through addControl; fromJson does not look at kinds, and then getControlByType names the later
// control of a kind. Not part of any project file. GUI thread only.
class RCControlManager : public IRCControlManager
{
    Q_OBJECT
public:
    // A new, empty manager without parent; the caller owns it.
    static IRCControlManager* create();

    explicit RCControlManager(QObject* parent = nullptr);
    // Deletes every control in list order (each emits destroySelf()); emits no controlRemove.
    ~RCControlManager() override;

    eIRCObjectType getObjectType() const override;
    RCProperties* getProperties() const override;
    // {"controlArray": the controls' JSON forms in list order}
    QJsonObject toJson() const override;
    // Adds a control for every element of "controlArray"; ids already present are discarded.
    // Always true.
    bool fromJson(QJsonObject jsObj) override;

    IRCControl* addControl(IRCControl::EIRCControlType controlType, QString sName, QStringList sTypeNameList,
                           QString sIcon) override;
    bool removeControl(QString sControlId) override;
    bool removeControl(IRCControl* control) override;
    QList<IRCControl*> getControllist() const override;
    int getControlCout() const override;
    IRCControl* getControl(int i) const override;
    IRCControl* getControlById(QString sControlId) const override;
    IRCControl* getControlByType(IRCControl::EIRCControlType type) const override;

private:
    // Takes ownership; a control whose id is already held is deleted instead. True when the
    // control is held once its controlAdd handlers have run (they may remove it again).
    bool insertControl(IRCControl* control);

    QMap<QString, IRCControl*> m_controlsById;
    QList<IRCControl*> m_controls;
    QMap<int, IRCControl*> m_controlsByType;
};
