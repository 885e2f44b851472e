#include "root/RCProjectRoot.h"

#include "actions/IRCAction.h"
#include "actions/IRCActionManager.h"
#include "actions/RCActionManager.h"
#include "actions/RCSceneItemExcuteControler.h"
#include "cloud/TavixCloudRelayUrl.h"
#include "cloud/TavixProjectCloudClient.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "mirror/RCCmdProcesserManager.h"
#include "mirror/RCStelvaneSyncer.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "network/PacketServer.h"
#include "network/PacketTerminal.h"
#include "network/Terminal.h"
#include "project/PhotoCache.h"
#include "project/RCLogCategories.h"
#include "project/RCWindowEventFilter.h"
#include "root/RCQmlRegistration.h"

#include <QQmlContext>
#include <QQmlEngine>

namespace {

// The UDP port on which the control link listens for media-server announcements.
constexpr int kTerminalDetectPort = 36545;

// The services in their declaration order, each started as the running program needs it: the
// catalogue built, the control link discovering with automatic connection, the panel side of
// project distribution listening for invitations into downloadPath (the designer side waits).
RCProjectServices buildServices(IRCProject* project, QQmlEngine* engine, const QStringList& productNames,
                                const QString& downloadPath)
{
    RCProjectServices services;
    services.controlManager = ownService(RCControlManager::create());
    RCControlCatalogue::build(services.controlManager.get());

    services.terminal = ownService<IRCTerminal>(Terminal::create(productNames));
    services.terminal->startServer(kTerminalDetectPort);
    services.terminal->setAutoConnect(true);
    QQmlEngine::setObjectOwnership(services.terminal.get(), QQmlEngine::CppOwnership);

    services.packetServer = ownService<IRCPacketServer>(new PacketServer);
    QQmlEngine::setObjectOwnership(services.packetServer.get(), QQmlEngine::CppOwnership);
    services.packetTerminal = ownService<IRCPacketTerminal>(new PacketTerminal);
    QQmlEngine::setObjectOwnership(services.packetTerminal.get(), QQmlEngine::CppOwnership);
    services.packetTerminal->setReceiveDir(downloadPath);
    services.packetTerminal->startServer();

    // Registers its image provider with the engine.
    services.stelvaneSyncer = ownService<IRCStelvaneSyncer>(new RCStelvaneSyncer(
        engine, QQuickImageProvider::Image, QQuickImageProvider::ForceAsynchronousImageLoading, nullptr));
    services.cmdProcesserManager = ownService(new RCCmdProcesserManager(nullptr));
    services.actionManager = ownService(RCActionManager::create(project));
    services.sceneItemExcuteControler = ownService(new RCSceneItemExcuteControler(project));
    return services;
}

// Every command of the control link runs through the dispatch, and the link's state reaches the
// mirror.
void wireControlLink(IRCProject* project, const RCProjectServices& services)
{
    IRCTerminal* terminal = services.terminal.get();
    IRCStelvaneSyncer* mirror = services.stelvaneSyncer.get();
    RCCmdProcesserManager* commands = services.cmdProcesserManager.get();
    QObject::connect(terminal, &IRCTerminal::receiveCmd, commands,
                     [commands, project](const QString& sCmd, const QJsonObject& params) {
                         commands->process(sCmd, params, project);
                     });
    QObject::connect(terminal, &IRCTerminal::socketConnected, terminal,
                     [] { qCInfo(lcRcProject) << "Terminal find server, socket connect."; });
    // The project's connected flag follows connectToHost and socketDisconnected by itself.
    QObject::connect(project, &IRCProject::connectToHost, mirror, [mirror](const QString& sIp) {
        qCInfo(lcRcProject) << "Terminal project connected to server success." << sIp;
        mirror->connectToServer(sIp);
    });
    QObject::connect(project, &IRCProject::connectPasswordError, mirror, [mirror] {
        qCWarning(lcRcProject) << "Failed terminal connect to server with error password.";
        Q_EMIT mirror->connectPasswordError();
    });
    QObject::connect(project, &IRCProject::connectVerifyAsk, mirror, [mirror] {
        qCInfo(lcRcProject) << "Terminal project connecting to server with password verify.";
        Q_EMIT mirror->connectVerifyAsk();
    });
    QObject::connect(terminal, &IRCTerminal::socketDisconnected, mirror, [mirror] {
        qCInfo(lcRcProject) << "Terminal socket disconnect.";
        mirror->disconnectServer();
    });
}

// Taps on items and scenes, the mirror's requests for the server's data and runs of items all
// end in the actions.
void wireActions(const RCProjectServices& services)
{
    IRCActionManager* actions = services.actionManager.get();
    QObject::connect(RCSceneItemPresenter::instance(), &RCSceneItemPresenter::actionTrigger, actions,
                     &IRCActionManager::execAction);
    QObject::connect(RCScenePresenter::instance(), &RCScenePresenter::actionTrigger, actions,
                     [actions](const QString& sceneId, int actionType, const QVariant& data) {
                         actions->execAction(sceneId, QString(), actionType, data);
                     });
    QObject::connect(RCSceneItemPresenter::instance(), &RCSceneItemPresenter::itemExecute,
                     services.sceneItemExcuteControler.get(), &RCSceneItemExcuteControler::excute);

    // The mirror's requests go out through their actions, at once.
    auto request = [actions](int actionType, const QVariant& data = QString()) {
        actions->execAction(QString(), QString(), actionType, data);
    };
    IRCStelvaneSyncer* mirror = services.stelvaneSyncer.get();
    QObject::connect(mirror, &IRCStelvaneSyncer::stageImageRequest, actions,
                     [request] { request(IRCAction::EActionType_GetStageImage); });
    QObject::connect(mirror, &IRCStelvaneSyncer::programTableRequest, actions,
                     [request] { request(IRCAction::EActionType_GetProgramTable); });
    QObject::connect(mirror, &IRCStelvaneSyncer::trackManagerGet, actions,
                     [request] { request(IRCAction::EActionType_GetTrackManager); });
    QObject::connect(mirror, &IRCStelvaneSyncer::globalPropertyValueGet, actions,
                     [request](const QString& sProName) {
                         request(IRCAction::EActionType_GetGlobalProperty, QVariantMap{{RCKeys::ProName(), sProName}});
                     });
}

// Changes of "DefaultIp" and "DefaultPassword" reach the control link; the stored address
// filters discovery from the start.
void wireSettingsToTerminal(IRCSetting* setting, IRCTerminal* terminal)
{
    QObject::connect(
        setting, &IRCSetting::settingValueChanged, terminal,
        [terminal](const QString& sSettingName, const QVariant& settingValue) {
            if (sSettingName == RCKeys::DefaultIp()) {
                terminal->resetLink(settingValue.toString());
            } else if (sSettingName == RCKeys::DefaultPassword()) {
                terminal->sendCmd(QStringLiteral("connectVerify"),
                                  QJsonObject{{QStringLiteral("password"), settingValue.toString()}});
            }
        },
        Qt::DirectConnection);
    terminal->resetLink(setting->getValue(RCKeys::DefaultIp()).toString());
}

// Points the cloud client at its relay, keeps the join data in the settings (the code is
// forgotten only when the relay refuses it) and joins the stored cloud project again.
void initCloud(IRCSetting* setting)
{
    TavixProjectCloudClient* cloud = TavixProjectCloudClient::instance();
    cloud->setRelayUrl(TavixCloudRelayUrl::resolve(setting->getValue(RCKeys::CloudRelayUrl()).toString()));
    QObject::connect(setting, &IRCSetting::settingValueChanged, setting,
                     [cloud](const QString& sSettingName, const QVariant& settingValue) {
                         if (sSettingName == RCKeys::CloudRelayUrl())
                             cloud->setRelayUrl(TavixCloudRelayUrl::resolve(settingValue.toString()));
                     });
    QObject::connect(cloud, &TavixProjectCloudClient::tryJoin, setting, [setting](const QString& projectUid) {
        setting->setValue(RCKeys::ProjectJoinUid(), projectUid);
    });
    QObject::connect(cloud, &TavixProjectCloudClient::joinSuccess, setting, [setting, cloud] {
        setting->setValue(RCKeys::ProjectJoinPasswrod(), cloud->getProjectPassword());
    });
    // A network failure or an unknown answer keeps the code, so the next start tries again.
    QObject::connect(cloud, &TavixProjectCloudClient::joinError, setting, [setting](const QString& error) {
        if (TavixProjectCloudClient::isLoginRefusal(error))
            setting->setValue(RCKeys::ProjectJoinPasswrod(), QString());
    });

    const QString projectUid = setting->getValue(RCKeys::ProjectJoinUid()).toString();
    const QString password = setting->getValue(RCKeys::ProjectJoinPasswrod()).toString();
    if (!projectUid.isEmpty() && !password.isEmpty())
        cloud->joinProject(projectUid, password);
}

} // namespace

RCProjectRoot::RCProjectRoot(QQmlEngine* engine, const QStringList& productNames)
{
    RCProjectServices services = buildServices(this, engine, productNames, getDownloadPath());
    wireControlLink(this, services);
    wireActions(services);
    wireSettingsToTerminal(getSetting(), services.terminal.get());
    adoptServices(std::move(services));

    PhotoCache::instance()->clear();
    auto* windowEventFilter = new RCWindowEventFilter(this);
    if (engine) {
        RCQmlRegistration::publishServices(engine, this);
        engine->rootContext()->setContextProperty(QStringLiteral("windowEventFilter"), windowEventFilter);
    }
    initCloud(getSetting());
}
