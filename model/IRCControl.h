#pragma once

#include "model/IRCControlInstantiationParam.h"
#include "model/IRCObject.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

// Interface of one entry of the control catalogue: a kind of scene item that the designer can
// place, with a name, an icon, the groups under which the control list shows it, and the template
// (instantiation parameter) of the items it creates. The bodies here are the neutral defaults.
// GUI thread only.
class IRCControl : public IRCObject
{
    Q_OBJECT
public:
    // The control kinds. 0 is no kind (an item made without a template); 20, 25 and 41 are unused.
    // The numbers are stored in projects ("ControlType") and must never change.
    enum EIRCControlType : int
    {
        EIRCControlType_Custom = 1,
        EIRCControlType_StageView = 2,
        EIRCControlType_ProgramManager = 3,
        EIRCControlType_PlayStateManager = 4,
        EIRCControlType_StageLink = 5,
        EIRCControlType_Standby = 6,
        EIRCControlType_PlayPre = 7,
        EIRCControlType_PlayNext = 8,
        EIRCControlType_StopAllProgram = 9,
        EIRCControlType_FastForward = 10,
        EIRCControlType_FastBack = 11,
        EIRCControlType_CurrentProgramState = 12,
        EIRCControlType_TrackPlay = 13,
        EIRCControlType_TrackStop = 14,
        EIRCControlType_OpenDisplay = 15,
        EIRCControlType_CloseDisplay = 16,
        EIRCControlType_GlobalVolume = 17,
        EIRCControlType_GlobalBrightness = 18,
        EIRCControlType_Startup = 19,
        EIRCControlType_Label = 21,
        EIRCControlType_ProgramTable = 22,
        EIRCControlType_NetLink = 23,
        EIRCControlType_Exit = 24,
        EIRCControlType_SwitchScene = 26,
        EIRCControlType_Script = 27,
        EIRCControlType_SceneList = 28,
        EIRCControlType_VexaProgramManager = 29,
        EIRCControlType_RandPlay = 30,
        EIRCControlType_StopMultipleTrack = 31,
        EIRCControlType_Catalog = 32,
        EIRCControlType_VexaProgress = 33,
        EIRCControlType_VexaPlayTime = 34,
        EIRCControlType_VexaFinishTime = 35,
        EIRCControlType_VexaPlayOrPause = 36,
        EIRCControlType_VexaStop = 37,
        EIRCControlType_VexaPlayPre = 38,
        EIRCControlType_VexaPlayNext = 39,
        EIRCControlType_VexaSwitchOutput = 40,
        EIRCControlType_VexaPlayingName = 42,
        EIRCControlType_DisplayState = 43,
        EIRCControlType_QuenorProgramManager = 44,
        EIRCControlType_SwitchNetwork = 45,
        EIRCControlType_JoinProject = 46,
    };

    explicit IRCControl(QObject* parent = nullptr);
    ~IRCControl() override;

    Q_INVOKABLE virtual IRCControl::EIRCControlType getControlType() const;
    Q_INVOKABLE virtual QString getName() const;
    Q_INVOKABLE virtual void setName(QString sName);
    Q_INVOKABLE virtual QString getIconPath() const;
    Q_INVOKABLE virtual void setIconPath(QString sIconPath);
    Q_INVOKABLE virtual QStringList getGroupNameList() const;
    // Case-sensitive.
    Q_INVOKABLE virtual bool belongToGroup(QString sGroupName) const;
    // Owned by the control; lives as long as it.
    Q_INVOKABLE virtual IRCControlInstantiationParam* getInstantiationParam() const;

Q_SIGNALS:
    // A row of the control's property set took a new value. The control emits this one, never the
    // IRCObject signal of the same name.
    void propertyValueChanged(QString sProName, QVariant val);
    // Emitted once by the control's destructor, before its rows are deleted.
    void destroySelf();
};

Q_DECLARE_METATYPE(IRCControl::EIRCControlType)
