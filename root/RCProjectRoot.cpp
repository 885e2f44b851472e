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

} // namespace

RCProjectRoot::RCProjectRoot(QQmlEngine* engine, const QStringList& productNames) : m_engine(engine)
{
    initSceneItemExcuteControler();
    initStelvaneSyncer();

    m_controlManager = RCControlManager::create();
    setControlManager(m_controlManager);

    initTerminal(productNames);
    initCmdProcesserManager();

    RCQmlRegistration::registerTypes();
    if (m_engine)
        RCQmlRegistration::publishServices(m_engine, this);

    PhotoCache::instance()->clear();

    wireConnectionState();

    RCControlCatalogue::build(m_controlManager);

    initActionManager();
    wireSettingsToTerminal();

    auto* windowEventFilter = new RCWindowEventFilter(this);
    if (m_engine)
        m_engine->rootContext()->setContextProperty(QStringLiteral("windowEventFilter"), windowEventFilter);

    initPacketDistribution();
    initCloud();
}

RCProjectRoot::~RCProjectRoot()
{
    setControlManager(nullptr);
    delete m_controlManager;
    m_controlManager = nullptr;
    // Stopping emits socketDisconnected, whose handler still runs here and clears the connected
    // flag.
    m_terminal->stopServer();
    setTerminal(nullptr);
    delete m_terminal;
    m_terminal = nullptr;
    setPacketDistribution(nullptr, nullptr);
    delete m_packetServer;
    m_packetServer = nullptr;
    delete m_packetTerminal;
    m_packetTerminal = nullptr;
    setStelvaneSyncer(nullptr);
    delete m_stelvaneSyncer;
    m_stelvaneSyncer = nullptr;
    delete m_cmdProcesserManager;
    m_cmdProcesserManager = nullptr;
    setActionManager(nullptr);
    delete m_actionManager;
    m_actionManager = nullptr;
    delete m_sceneItemExcuteControler;
    m_sceneItemExcuteControler = nullptr;
    PhotoCache::instance()->clear();
}

void RCProjectRoot::initSceneItemExcuteControler()
{
    m_sceneItemExcuteControler = new RCSceneItemExcuteControler(this);
    connect(RCSceneItemPresenter::instance(), &RCSceneItemPresenter::itemExecute, m_sceneItemExcuteControler,
            &RCSceneItemExcuteControler::excute);
}

void RCProjectRoot::initStelvaneSyncer()
{
    m_stelvaneSyncer = new RCStelvaneSyncer(m_engine, QQuickImageProvider::Image,
                                            QQuickImageProvider::ForceAsynchronousImageLoading, nullptr);
    setStelvaneSyncer(m_stelvaneSyncer);
}

void RCProjectRoot::initTerminal(const QStringList& productNames)
{
    m_terminal = Terminal::create(productNames);
    m_terminal->startServer(kTerminalDetectPort);
    m_terminal->setAutoConnect(true);
    QQmlEngine::setObjectOwnership(m_terminal, QQmlEngine::CppOwnership);
    setTerminal(m_terminal);
}

void RCProjectRoot::initCmdProcesserManager()
{
    m_cmdProcesserManager = new RCCmdProcesserManager(nullptr);
    connect(m_terminal, &IRCTerminal::receiveCmd, this,
            [this](const QString& sCmd, const QJsonObject& params) {
                m_cmdProcesserManager->process(sCmd, params, this);
            });
}

void RCProjectRoot::wireConnectionState()
{
    connect(m_terminal, &IRCTerminal::socketConnected, this,
            [] { qCInfo(lcRcProject) << "Terminal find server, socket connect."; });
    // The mirror asks for the server's data before the data commands are let through.
    connect(this, &IRCProject::connectToHost, this, [this](const QString& sIp) {
        qCInfo(lcRcProject) << "Terminal project connected to server success." << sIp;
        m_stelvaneSyncer->connectToServer(sIp);
        setConnectedToHost(true);
    });
    connect(this, &IRCProject::connectPasswordError, this, [this] {
        qCWarning(lcRcProject) << "Failed terminal connect to server with error password.";
        Q_EMIT m_stelvaneSyncer->connectPasswordError();
    });
    connect(this, &IRCProject::connectVerifyAsk, this, [this] {
        qCInfo(lcRcProject) << "Terminal project connecting to server with password verify.";
        Q_EMIT m_stelvaneSyncer->connectVerifyAsk();
    });
    connect(m_terminal, &IRCTerminal::socketDisconnected, this, [this] {
        qCInfo(lcRcProject) << "Terminal socket disconnect.";
        m_stelvaneSyncer->disconnectServer();
        setConnectedToHost(false);
    });
}

void RCProjectRoot::initActionManager()
{
    m_actionManager = RCActionManager::create(this);
    setActionManager(m_actionManager);
    connect(RCSceneItemPresenter::instance(), &RCSceneItemPresenter::actionTrigger, this,
            &RCProjectRoot::onItemActionTrigger);
    connect(RCScenePresenter::instance(), &RCScenePresenter::actionTrigger, this,
            &RCProjectRoot::onSceneActionTrigger);

    // The mirror's requests for the server's data go out through their actions, at once.
    auto request = [this](int actionType, const QVariant& data = QString()) {
        if (m_actionManager)
            m_actionManager->execAction(QString(), QString(), actionType, data);
    };
    connect(m_stelvaneSyncer, &IRCStelvaneSyncer::stageImageRequest, this,
            [request] { request(IRCAction::EActionType_GetStageImage); });
    connect(m_stelvaneSyncer, &IRCStelvaneSyncer::programTableRequest, this,
            [request] { request(IRCAction::EActionType_GetProgramTable); });
    connect(m_stelvaneSyncer, &IRCStelvaneSyncer::trackManagerGet, this,
            [request] { request(IRCAction::EActionType_GetTrackManager); });
    connect(m_stelvaneSyncer, &IRCStelvaneSyncer::globalPropertyValueGet, this,
            [request](const QString& sProName) {
                request(IRCAction::EActionType_GetGlobalProperty, QVariantMap{{RCKeys::ProName(), sProName}});
            });
}

void RCProjectRoot::onItemActionTrigger(QString sceneId, QString sceneItemId, int actionType, QVariant data)
{
    if (m_actionManager)
        m_actionManager->execAction(sceneId, sceneItemId, actionType, data);
}

void RCProjectRoot::onSceneActionTrigger(QString sceneId, int actionType, QVariant data)
{
    if (m_actionManager)
        m_actionManager->execAction(sceneId, QString(), actionType, data);
}

void RCProjectRoot::wireSettingsToTerminal()
{
    IRCSetting* setting = getSetting();
    connect(
        setting, &IRCSetting::settingValueChanged, setting,
        [this](const QString& sSettingName, const QVariant& settingValue) {
            if (sSettingName == RCKeys::DefaultIp()) {
                m_terminal->resetLink(settingValue.toString());
            } else if (sSettingName == RCKeys::DefaultPassword()) {
                m_terminal->sendCmd(QStringLiteral("connectVerify"),
                                    QJsonObject{{QStringLiteral("password"), settingValue.toString()}});
            }
        },
        Qt::DirectConnection);
    m_terminal->resetLink(setting->getValue(RCKeys::DefaultIp()).toString());
}

void RCProjectRoot::initPacketDistribution()
{
    m_packetServer = new PacketServer;
    QQmlEngine::setObjectOwnership(m_packetServer, QQmlEngine::CppOwnership);
    m_packetTerminal = new PacketTerminal;
    QQmlEngine::setObjectOwnership(m_packetTerminal, QQmlEngine::CppOwnership);
    m_packetTerminal->setReceiveDir(getDownloadPath());
    m_packetTerminal->startServer();
    setPacketDistribution(m_packetServer, m_packetTerminal);
}

void RCProjectRoot::initCloud()
{
    IRCSetting* setting = getSetting();
    TavixProjectCloudClient* cloud = TavixProjectCloudClient::instance();
    cloud->setRelayUrl(TavixCloudRelayUrl::resolve(setting->getValue(RCKeys::CloudRelayUrl()).toString()));
    connect(setting, &IRCSetting::settingValueChanged, this,
            [cloud](const QString& sSettingName, const QVariant& settingValue) {
                if (sSettingName == RCKeys::CloudRelayUrl())
                    cloud->setRelayUrl(TavixCloudRelayUrl::resolve(settingValue.toString()));
            });
    connect(cloud, &TavixProjectCloudClient::tryJoin, this,
            [setting](const QString& projectUid) { setting->setValue(RCKeys::ProjectJoinUid(), projectUid); });
    connect(cloud, &TavixProjectCloudClient::joinSuccess, this, [setting, cloud] {
        setting->setValue(RCKeys::ProjectJoinPasswrod(), cloud->getProjectPassword());
    });
    // A network failure or an unknown answer keeps the code, so the next start tries again.
    connect(cloud, &TavixProjectCloudClient::joinError, this, [setting](const QString& error) {
        if (TavixProjectCloudClient::isLoginRefusal(error))
            setting->setValue(RCKeys::ProjectJoinPasswrod(), QString());
    });

    const QString projectUid = setting->getValue(RCKeys::ProjectJoinUid()).toString();
    const QString password = setting->getValue(RCKeys::ProjectJoinPasswrod()).toString();
    if (!projectUid.isEmpty() && !password.isEmpty())
        cloud->joinProject(projectUid, password);
}
