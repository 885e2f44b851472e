#pragma once

#include "model/IRCObject.h"

#include <QString>
#include <QVariant>

class IRCActionManager;

// One numbered thing a tap, a key, a toolbar button, a request of the mirror or an item script can
// make the panel do. Actions are stateless command objects made once by the action manager, which
// owns them; the IRCObject operations keep their neutral defaults. Registered with QML as
// "Rc.IRCAction" 1.0 for its EActionType values only. Keeps C++ ownership. GUI thread only.
class IRCAction : public IRCObject
{
    Q_OBJECT

public:
    // Stored as integers in project files ("ActionType") and compared in QML: never renumber.
    enum EActionType
    {
        EActionType_None = 0,
        EActionType_SendCmd = 1,
        EActionType_GetStageImage = 2,
        EActionType_ClickProgram = 3,
        EActionType_GetProgramTable = 4,
        EActionType_SetProgramNode = 5,
        EActionType_GetProgramNode = 6,
        EActionType_SetGlobalProperty = 7,
        EActionType_GetGlobalProperty = 8,
        EActionType_PlayPreProgram = 9,
        EActionType_PlayNextProgram = 10,
        EActionType_StopAllProgram = 11,
        EActionType_PlayCurrentProgram = 12,
        EActionType_PauseCurrentProgram = 13,
        EActionType_OpenAllDisplay = 14,
        EActionType_CloseAllDisplay = 15,
        EActionType_GetTrackManager = 16,
        EActionType_SetTrack = 17,
        EActionType_DownloadProject = 18,
        EActionType_StartupMachine = 19,
        EActionType_SaveProject = 20,
        EActionType_CopySceneItem = 21,
        EActionType_PasteSceneItem = 22,
        EActionType_RemoveSelectSceneItem = 23,
        EActionType_ConnectNetwork = 24,
        EActionType_TopAlignment = 25,
        EActionType_BottomAlignment = 26,
        EActionType_LeftAlignment = 27,
        EActionType_RightAlignment = 28,
        EActionType_VerCenterAlignment = 29,
        EActionType_HorCenterAlignment = 30,
        EActionType_HorBisectorAlignment = 31,
        EActionType_VerBisectorAlignment = 32,
        EActionType_SelectItemsMoveByKey = 33,
        EActionType_SelectItemsScaleByKey = 34,
        EActionType_SwitchScene = 35,
        EActionType_ExcuteOtherSceneItem = 36,
        EActionType_FastForwardCurrentProgram = 37,
        EActionType_FastBackCurrentProgram = 38,
        EActionType_VexaProgramTryPlay = 39,
        EActionType_VexaProgramTryPause = 40,
        EActionType_RandPlay = 41,
        EActionType_StopMultipleTrack = 42,
        EActionType_VexaPlayOrPauseProgram = 43,
        EActionType_VexaStopProgram = 44,
        EActionType_VexaPlayNextProgram = 45,
        EActionType_VexaPlayPreProgram = 46,
        EActionType_VexaSwitchOutput = 47,
        EActionType_SwitchProject = 48,
        EActionType_VexaSetProgram = 49,
        EActionType_ClickQuenorProgram = 50,
        EActionType_SwitchNetworkIp = 51,
        EActionType_Undo = 52,
        EActionType_Redo = 53,
        EActionType_PlayClickSound = 54,
        EActionType_JoinProject = 55,
    };
    Q_ENUM(EActionType)

    ~IRCAction() override;

    // Runs the action for the item sceneItemId of scene sceneId (either may be empty) with the
    // caller's payload. 0 when it did its work, -1 when it could not apply.
    virtual int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data);
    // The manager that owns the action.
    virtual IRCActionManager* getActionManager() const;

protected:
    explicit IRCAction(QObject* parent = nullptr);
};
