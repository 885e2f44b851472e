#include "actions/RCSceneItemExcuteControler.h"

#include "actions/IRCAction.h"
#include "editing/RCSceneItemPresenter.h"
#include "mirror/IRCStelvaneSyncer.h"
#include "model/IRCControl.h"
#include "model/RCKeys.h"
#include "model/RCSceneItemViews.h"
#include "project/IRCProject.h"

#include <QHash>

namespace {

// The kinds whose view the executor imitates; each view file is found through the kind, so the
// file names live only in the table of shipped views.
const QList<int> kExecutableKinds{
    IRCControl::EIRCControlType_Custom, // every action button shares this view
    IRCControl::EIRCControlType_CurrentProgramState,
    IRCControl::EIRCControlType_DisplayState,
    IRCControl::EIRCControlType_Exit,
    IRCControl::EIRCControlType_StageLink,
    IRCControl::EIRCControlType_Standby,
    IRCControl::EIRCControlType_TrackPlay,
    IRCControl::EIRCControlType_TrackStop,
};

// View file name -> the kind whose click it stands for.
const QHash<QString, int>& kindByViewFile()
{
    static const QHash<QString, int> table = [] {
        QHash<QString, int> t;
        for (int kind : kExecutableKinds)
            t.insert(RCSceneItemViews::fileNameForControlType(kind), kind);
        return t;
    }();
    return table;
}

void trigger(const QString& sceneId, const QString& sceneItemId, int actionType, const QVariant& data)
{
    Q_EMIT RCSceneItemPresenter::instance()->actionTrigger(sceneId, sceneItemId, actionType, data);
}

} // namespace

RCSceneItemExcuteControler::RCSceneItemExcuteControler(IRCProject* project, QObject* parent)
    : QObject(parent), m_project(project)
{
}

const QList<int>& RCSceneItemExcuteControler::executableControlTypes()
{
    return kExecutableKinds;
}

void RCSceneItemExcuteControler::excute(const QString& sceneId, const QString& sceneItemId)
{
    if (sceneId.isEmpty() || sceneItemId.isEmpty())
        return;
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QString view = items->getPropertyValue(sceneId, sceneItemId, RCKeys::QmlPath()).toString();
    const int kind = kindByViewFile().value(view.mid(view.lastIndexOf(QLatin1Char('/')) + 1), 0);
    if (kind == IRCControl::EIRCControlType_Custom) {
        trigger(sceneId, sceneItemId,
                items->getPropertyValue(sceneId, sceneItemId, RCKeys::ActionType()).toInt(), QString());
        return;
    }
    if (kind == IRCControl::EIRCControlType_Exit) {
        if (m_project)
            m_project->requestClose();
        return;
    }
    IRCStelvaneSyncer* mirror = m_project ? m_project->getStelvaneSyncer() : nullptr;
    if (!mirror)
        return;
    auto toggle = [&](const QString& key, bool now) {
        trigger(sceneId, sceneItemId, IRCAction::EActionType_SetGlobalProperty, QVariantMap{{key, !now}});
    };
    switch (kind) {
    case IRCControl::EIRCControlType_CurrentProgramState:
        trigger(sceneId, sceneItemId,
                mirror->getProgramState(mirror->getCurrentProgram()) == 1
                    ? IRCAction::EActionType_PauseCurrentProgram
                    : IRCAction::EActionType_PlayCurrentProgram,
                QVariantMap());
        break;
    case IRCControl::EIRCControlType_DisplayState:
        toggle(RCKeys::DisplayOpen(), mirror->getVexaDisplayOutputState());
        break;
    case IRCControl::EIRCControlType_StageLink:
        toggle(RCKeys::StageLink(), mirror->getStageLink());
        break;
    case IRCControl::EIRCControlType_Standby:
        toggle(RCKeys::Standby(), mirror->getGlobalProperty(RCKeys::Standby()).toBool());
        break;
    case IRCControl::EIRCControlType_TrackPlay:
    case IRCControl::EIRCControlType_TrackStop: {
        const QString name = items->getPropertyValue(sceneId, sceneItemId, RCKeys::TrackName()).toString();
        const QString id = mirror->getTrackPropertyByName(name, RCKeys::Id()).toString();
        if (id.isEmpty())
            break;
        int state = 0;
        if (kind == IRCControl::EIRCControlType_TrackPlay)
            state = mirror->getTrackPropertyByName(name, RCKeys::State()).toInt() == 1 ? 2 : 1;
        trigger(sceneId, sceneItemId, IRCAction::EActionType_SetTrack,
                QVariantMap{{RCKeys::Id(), id}, {RCKeys::State(), state}});
        break;
    }
    default:
        break;
    }
}
