#include "actions/RCActionManager.h"

#include "actions/RCAction_BottomAlignment.h"
#include "actions/RCAction_ClickProgram.h"
#include "actions/RCAction_ClickQuenorProgram.h"
#include "actions/RCAction_CloseAllDisplay.h"
#include "actions/RCAction_CopySceneItem.h"
#include "actions/RCAction_DownloadProject.h"
#include "actions/RCAction_ExcuteOtherSceneItem.h"
#include "actions/RCAction_FastBackCurrentProgram.h"
#include "actions/RCAction_FastForwardCurrentProgram.h"
#include "actions/RCAction_GetGlobalProperty.h"
#include "actions/RCAction_GetProgramTable.h"
#include "actions/RCAction_GetStageImage.h"
#include "actions/RCAction_GetTrackManager.h"
#include "actions/RCAction_HorBisectorAlignment.h"
#include "actions/RCAction_HorCenterAlignment.h"
#include "actions/RCAction_LeftAlignment.h"
#include "actions/RCAction_OpenAllDisplay.h"
#include "actions/RCAction_PasteSceneItem.h"
#include "actions/RCAction_PauseCurrentProgram.h"
#include "actions/RCAction_PlayClickSound.h"
#include "actions/RCAction_PlayCurrentProgram.h"
#include "actions/RCAction_PlayNextProgram.h"
#include "actions/RCAction_PlayPreProgram.h"
#include "actions/RCAction_RandPlay.h"
#include "actions/RCAction_Redo.h"
#include "actions/RCAction_RemoveSelectSceneItem.h"
#include "actions/RCAction_RightAlignment.h"
#include "actions/RCAction_SelectItemsMoveByKey.h"
#include "actions/RCAction_SelectItemsScaleByKey.h"
#include "actions/RCAction_SendCommand.h"
#include "actions/RCAction_SetGlobalProperty.h"
#include "actions/RCAction_SetProgramNode.h"
#include "actions/RCAction_SetTrack.h"
#include "actions/RCAction_StartupMachine.h"
#include "actions/RCAction_StopAllProgram.h"
#include "actions/RCAction_StopMultipleTrack.h"
#include "actions/RCAction_SwitchNetworkIp.h"
#include "actions/RCAction_SwitchProject.h"
#include "actions/RCAction_SwitchScene.h"
#include "actions/RCAction_TopAlignment.h"
#include "actions/RCAction_Undo.h"
#include "actions/RCAction_VerBisectorAlignment.h"
#include "actions/RCAction_VerCenterAlignment.h"
#include "actions/RCAction_VexaPlayNextProgram.h"
#include "actions/RCAction_VexaPlayOrPauseProgram.h"
#include "actions/RCAction_VexaPlayPreProgram.h"
#include "actions/RCAction_VexaProgramTryPause.h"
#include "actions/RCAction_VexaProgramTryPlay.h"
#include "actions/RCAction_VexaSetProgram.h"
#include "actions/RCAction_VexaStopProgram.h"
#include "actions/RCAction_VexaSwitchOutput.h"
#include "model/RCScriptValue.h"

#include <QJSValue>
#include <QJsonObject>

#include <limits>

namespace {

// JSON integers read back as 64-bit numbers, which the document's JSON form writes as text: they
// become int when they fit, else double, so they reach the wire as numbers.
QVariant withPlainNumbers(const QVariant& value)
{
    switch (value.userType()) {
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        const double number = value.toDouble();
        if (number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max())
            return int(value.toLongLong());
        return number;
    }
    case QMetaType::QVariantMap: {
        QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            it.value() = withPlainNumbers(it.value());
        return map;
    }
    case QMetaType::QVariantList: {
        QVariantList list = value.toList();
        for (QVariant& element : list)
            element = withPlainNumbers(element);
        return list;
    }
    default:
        return value;
    }
}

// A payload that came from QML (a script value or a null) as the plain value the actions read:
// objects become maps, arrays lists, null and undefined an invalid value. Native values stay as
// they are, so their exact types (int, bool) reach the wire.
QVariant plainData(const QVariant& data)
{
    const int type = data.userType();
    if (type != qMetaTypeId<QJSValue>() && type != QMetaType::Nullptr)
        return data;
    const QVariant plain = unwrapScriptValue(data);
    if (plain.userType() == QMetaType::QJsonObject)
        return withPlainNumbers(plain.toJsonObject().toVariantMap());
    return withPlainNumbers(plain);
}

} // namespace

IRCActionManager* RCActionManager::create(IRCProject* project)
{
    auto* manager = new RCActionManager(project);
    manager->initActions();
    return manager;
}

RCActionManager::RCActionManager(IRCProject* project) : m_project(project) {}

RCActionManager::~RCActionManager()
{
    for (IRCAction* action : std::as_const(m_actions))
        delete action;
    m_actions.clear();
}

void RCActionManager::initActions()
{
    addAction(IRCAction::EActionType_SendCmd, new RCAction_SendCommand(this));
    addAction(IRCAction::EActionType_GetStageImage, new RCAction_GetStageImage(this));
    addAction(IRCAction::EActionType_ClickProgram, new RCAction_ClickProgram(this));
    addAction(IRCAction::EActionType_GetProgramTable, new RCAction_GetProgramTable(this));
    addAction(IRCAction::EActionType_SetProgramNode, new RCAction_SetProgramNode(this));
    addAction(IRCAction::EActionType_SetGlobalProperty, new RCAction_SetGlobalProperty(this));
    addAction(IRCAction::EActionType_GetGlobalProperty, new RCAction_GetGlobalProperty(this));
    addAction(IRCAction::EActionType_PlayPreProgram, new RCAction_PlayPreProgram(this));
    addAction(IRCAction::EActionType_PlayNextProgram, new RCAction_PlayNextProgram(this));
    addAction(IRCAction::EActionType_StopAllProgram, new RCAction_StopAllProgram(this));
    addAction(IRCAction::EActionType_PlayCurrentProgram, new RCAction_PlayCurrentProgram(this));
    addAction(IRCAction::EActionType_PauseCurrentProgram, new RCAction_PauseCurrentProgram(this));
    addAction(IRCAction::EActionType_OpenAllDisplay, new RCAction_OpenAllDisplay(this));
    addAction(IRCAction::EActionType_CloseAllDisplay, new RCAction_CloseAllDisplay(this));
    addAction(IRCAction::EActionType_GetTrackManager, new RCAction_GetTrackManager(this));
    addAction(IRCAction::EActionType_SetTrack, new RCAction_SetTrack(this));
    addAction(IRCAction::EActionType_DownloadProject, new RCAction_DownloadProject(this));
    addAction(IRCAction::EActionType_StartupMachine, new RCAction_StartupMachine(this));
    addAction(IRCAction::EActionType_CopySceneItem, new RCAction_CopySceneItem(this));
    addAction(IRCAction::EActionType_PasteSceneItem, new RCAction_PasteSceneItem(this));
    addAction(IRCAction::EActionType_RemoveSelectSceneItem, new RCAction_RemoveSelectSceneItem(this));
    addAction(IRCAction::EActionType_TopAlignment, new RCAction_TopAlignment(this));
    addAction(IRCAction::EActionType_BottomAlignment, new RCAction_BottomAlignment(this));
    addAction(IRCAction::EActionType_LeftAlignment, new RCAction_LeftAlignment(this));
    addAction(IRCAction::EActionType_RightAlignment, new RCAction_RightAlignment(this));
    addAction(IRCAction::EActionType_VerCenterAlignment, new RCAction_VerCenterAlignment(this));
    addAction(IRCAction::EActionType_HorCenterAlignment, new RCAction_HorCenterAlignment(this));
    addAction(IRCAction::EActionType_HorBisectorAlignment, new RCAction_HorBisectorAlignment(this));
    addAction(IRCAction::EActionType_VerBisectorAlignment, new RCAction_VerBisectorAlignment(this));
    addAction(IRCAction::EActionType_SelectItemsMoveByKey, new RCAction_SelectItemsMoveByKey(this));
    addAction(IRCAction::EActionType_SelectItemsScaleByKey, new RCAction_SelectItemsScaleByKey(this));
    addAction(IRCAction::EActionType_SwitchScene, new RCAction_SwitchScene(this));
    addAction(IRCAction::EActionType_ExcuteOtherSceneItem, new RCAction_ExcuteOtherSceneItem(this));
    addAction(IRCAction::EActionType_FastForwardCurrentProgram, new RCAction_FastForwardCurrentProgram(this));
    addAction(IRCAction::EActionType_FastBackCurrentProgram, new RCAction_FastBackCurrentProgram(this));
    addAction(IRCAction::EActionType_VexaProgramTryPlay, new RCAction_VexaProgramTryPlay(this));
    addAction(IRCAction::EActionType_VexaProgramTryPause, new RCAction_VexaProgramTryPause(this));
    addAction(IRCAction::EActionType_RandPlay, new RCAction_RandPlay(this));
    addAction(IRCAction::EActionType_StopMultipleTrack, new RCAction_StopMultipleTrack(this));
    addAction(IRCAction::EActionType_VexaPlayOrPauseProgram, new RCAction_VexaPlayOrPauseProgram(this));
    addAction(IRCAction::EActionType_VexaStopProgram, new RCAction_VexaStopProgram(this));
    addAction(IRCAction::EActionType_VexaPlayNextProgram, new RCAction_VexaPlayNextProgram(this));
    addAction(IRCAction::EActionType_VexaPlayPreProgram, new RCAction_VexaPlayPreProgram(this));
    addAction(IRCAction::EActionType_VexaSwitchOutput, new RCAction_VexaSwitchOutput(this));
    addAction(IRCAction::EActionType_SwitchProject, new RCAction_SwitchProject(this));
    addAction(IRCAction::EActionType_VexaSetProgram, new RCAction_VexaSetProgram(this));
    addAction(IRCAction::EActionType_ClickQuenorProgram, new RCAction_ClickQuenorProgram(this));
    addAction(IRCAction::EActionType_SwitchNetworkIp, new RCAction_SwitchNetworkIp(this));
    addAction(IRCAction::EActionType_Undo, new RCAction_Undo(this));
    addAction(IRCAction::EActionType_Redo, new RCAction_Redo(this));
    addAction(IRCAction::EActionType_PlayClickSound, new RCAction_PlayClickSound(this));
}

bool RCActionManager::addAction(int actionType, IRCAction* action)
{
    if (!action || m_actions.contains(actionType))
        return false;
    m_actions.insert(actionType, action);
    return true;
}

bool RCActionManager::removeAction(IRCAction* action)
{
    for (auto it = m_actions.begin(); it != m_actions.end();) {
        if (it.value() == action)
            it = m_actions.erase(it);
        else
            ++it;
    }
    delete action;
    return true;
}

bool RCActionManager::removeAction(int actionType)
{
    const auto it = m_actions.find(actionType);
    if (it == m_actions.end())
        return false;
    IRCAction* action = it.value();
    m_actions.erase(it);
    if (!action)
        return false;
    delete action;
    return true;
}

int RCActionManager::execAction(const QString& sceneId, const QString& sceneItemId, int actionType,
                                const QVariant& data)
{
    IRCAction* action = m_actions.value(actionType);
    if (!action)
        return -1;
    return action->execute(sceneId, sceneItemId, plainData(data));
}

IRCProject* RCActionManager::getProject() const
{
    return m_project;
}
