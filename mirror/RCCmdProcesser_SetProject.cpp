#include "mirror/RCCmdProcesser_SetProject.h"

#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCControlManager.h"
#include "model/RCKeys.h"
#include "project/IRCProject.h"

#include <QDebug>

#include <algorithm>

using P = RCCmdParams;
namespace K = RCCmdKeys;

namespace {
constexpr int kBandStartup = 0;
constexpr int kBandDisplays = 1;
constexpr int kBandTracks = 2;
} // namespace

void RCCmdProcesser_SetProject::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    const int setUid = P::readInt(params, K::id);
    if (!mirror->takeProjectRequest(setUid)) {
        qWarning() << "RCCmdProcesser_SetProject::process"
                   << "dropped a project this panel did not ask for, id" << setUid;
        return;
    }

    RCScenePresenter* scenes = RCScenePresenter::instance();
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QString sceneId = scenes->addScene(P::readString(params, K::name), QString(),
                                             QStringLiteral("qrc:/sceneBackground.png"), false);
    if (sceneId.isEmpty()) {
        qWarning() << "RCCmdProcesser_SetProject::process"
                   << "could not add the scene for project" << setUid;
        return;
    }
    const int sceneWidth = scenes->getPropertyValue(sceneId, RCKeys::Width()).toInt();
    IRCControlManager* controls = project->getControlManager();

    QStringList startupBand;
    if (P::has(params, K::macAddress)) {
        const QString itemId = addItemOf(sceneId, controlOf(controls, IRCControl::EIRCControlType_Startup));
        if (!itemId.isEmpty()) {
            items->setPropertyValue(sceneId, itemId, RCKeys::MacAddress(),
                                    P::readString(params, K::macAddress), false);
            startupBand.append(itemId);
        }
    }

    QStringList displayBand;
    for (const int type : {IRCControl::EIRCControlType_OpenDisplay, IRCControl::EIRCControlType_CloseDisplay,
                           IRCControl::EIRCControlType_StageLink}) {
        const QString itemId = addItemOf(sceneId, controlOf(controls, type));
        if (!itemId.isEmpty())
            displayBand.append(itemId);
    }

    QStringList trackBand;
    if (P::has(params, K::trackArray)) {
        const QJsonArray tracks = P::readArray(params, K::trackArray);
        if (tracks.size() > kMaxTracks) {
            qWarning() << "RCCmdProcesser_SetProject::process"
                       << "project" << setUid << "names" << tracks.size() << "tracks; buttons for the first"
                       << kMaxTracks;
        }
        IRCControl* const trackControls[] = {controlOf(controls, IRCControl::EIRCControlType_TrackPlay),
                                             controlOf(controls, IRCControl::EIRCControlType_TrackStop)};
        const qsizetype count = std::min<qsizetype>(tracks.size(), kMaxTracks);
        for (qsizetype i = 0; i < count; ++i) {
            const QString trackName = P::readString(P::elementObject(tracks.at(i)), K::name);
            for (IRCControl* control : trackControls) {
                const QString itemId = addItemOf(sceneId, control);
                if (itemId.isEmpty())
                    continue;
                items->setPropertyValue(sceneId, itemId, RCKeys::Name(), trackName, false);
                items->setPropertyValue(sceneId, itemId, RCKeys::TrackName(), trackName, false);
                trackBand.append(itemId);
            }
        }
    }

    layoutGeneratedControls(sceneId, kBandStartup, startupBand, sceneWidth);
    layoutGeneratedControls(sceneId, kBandDisplays, displayBand, sceneWidth);
    layoutGeneratedControls(sceneId, kBandTracks, trackBand, sceneWidth);
    scenes->setSelectScene(sceneId);
    mirror->setProject(setUid, params);
}

IRCControl* RCCmdProcesser_SetProject::controlOf(IRCControlManager* controls, int controlType)
{
    return controls ? controls->getControlByType(IRCControl::EIRCControlType(controlType)) : nullptr;
}

QString RCCmdProcesser_SetProject::addItemOf(const QString& sceneId, IRCControl* control)
{
    IRCControlInstantiationParam* templ = control ? control->getInstantiationParam() : nullptr;
    if (!templ)
        return QString();
    return RCSceneItemPresenter::instance()->addItem(sceneId, templ->toJson(), false);
}

int RCCmdProcesser_SetProject::itemsPerRow(int sceneWidth)
{
    // Widths are at most a few thousand: the sum cannot overflow for any stored int but the
    // extremes, which clamp the same way.
    const qint64 fit = (qint64(sceneWidth) + kColumnPitch - kItemWidth) / kColumnPitch;
    return int(std::clamp<qint64>(fit, 1, kMaxItemsPerRow));
}

void RCCmdProcesser_SetProject::layoutGeneratedControls(QString sceneId, int band, QStringList itemIds,
                                                        int sceneWidth)
{
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const int perRow = itemsPerRow(sceneWidth);
    for (int first = 0; first < itemIds.size(); first += perRow) {
        const int row = first / perRow;
        const int count = int(std::min<qsizetype>(perRow, itemIds.size() - first));
        const int y = kTopMargin + kRowPitch * (band + row);
        int x = int((qint64(sceneWidth) - qint64(kColumnPitch) * count + (kColumnPitch - kItemWidth)) / 2);
        for (int i = first; i < first + count; ++i) {
            items->setSize(sceneId, itemIds.at(i), QSize(kItemWidth, kItemHeight), false);
            items->setPos(sceneId, itemIds.at(i), QPoint(x, y), false);
            x += kColumnPitch;
        }
    }
}
