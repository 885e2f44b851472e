#pragma once

#include "model/IRCControl.h"
#include "model/IRCObject.h"

#include <QList>
#include <QString>
#include <QStringList>

// Interface of the holder of the control catalogue: every control, findable by id, by kind and
// by position in the order in which it entered. QML calls these by name, so the unusual spellings
// (getControllist, getControlCout) are part of the contract. GUI thread only.
class IRCControlManager : public IRCObject
{
    Q_OBJECT
public:
    explicit IRCControlManager(QObject* parent = nullptr);
    ~IRCControlManager() override;

    // Null when the manager already holds a control of the kind, or when the new control is no
    // longer held once addControl returns (a controlAdd handler removed it).
    Q_INVOKABLE virtual IRCControl* addControl(IRCControl::EIRCControlType controlType, QString sName,
                                               QStringList sTypeNameList, QString sIcon);
    Q_INVOKABLE virtual bool removeControl(QString sControlId);
    Q_INVOKABLE virtual bool removeControl(IRCControl* control);
    Q_INVOKABLE virtual QList<IRCControl*> getControllist() const;
    Q_INVOKABLE virtual int getControlCout() const;
    Q_INVOKABLE virtual IRCControl* getControl(int i) const;
    Q_INVOKABLE virtual IRCControl* getControlById(QString sControlId) const;
    Q_INVOKABLE virtual IRCControl* getControlByType(IRCControl::EIRCControlType type) const;

Q_SIGNALS:
    // Never emitted; kept for the user interface that connects to it.
    void controlAddRequest();
    // After a control has entered the manager.
    void controlAdd(IRCControl* control);
    // After a control has left the manager, just before it is deleted.
    void controlRemove(IRCControl* control);
    // Never emitted; kept for the user interface that connects to it.
    void controlPropertyValueChanged(IRCControl* control, QString sProName, QVariant var);
};
