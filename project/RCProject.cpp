#include "project/RCProject.h"

#include "actions/IRCAction.h"
#include "actions/IRCActionManager.h"
#include "actions/RCActionManager.h"
#include "actions/RCSceneItemExcuteControler.h"
#include "actions/RCScriptProcess.h"
#include "cloud/TavixCloudRelayUrl.h"
#include "cloud/TavixProjectCloudClient.h"
#include "editing/RCCommandManager.h"
#include "editing/RCSceneItemModel.h"
#include "mirror/QmlComponents.h"
#include "mirror/RCCmdProcesserManager.h"
#include "mirror/RCStelvaneSyncer.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCObject.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RcEnums.h"
#include "network/PacketReception.h"
#include "network/PacketServer.h"
#include "network/PacketTerminal.h"
#include "network/Terminal.h"
#include "project/IRCInterface.h"
#include "project/PhotoCache.h"
#include "project/PhotoSelection.h"
#include "project/RCImageManager.h"
#include "project/RCInterface.h"
#include "project/RCLogCategories.h"
#include "project/RCMessageBoxManager.h"
#include "project/RCPacketFolder.h"
#include "project/RCRecentProjectRecord.h"
#include "project/RCSetting.h"
#include "project/RCWindowEventFilter.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSaveFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QUrl>
#include <QtQml>

#include <type_traits>

namespace {

const QString kProjectFileVersion = QStringLiteral("3.0.0");
// The UDP port on which the control link listens for media-server announcements.
constexpr int kTerminalDetectPort = 36545;

// Registers T as QML type `name` in the module "Rc.<name>" 1.0; a type that QML cannot create
// (its constructor is not public) is registered for its enumerations and as a property type.
template <typename T> void registerRcType(const char* name)
{
    const QByteArray uri = QByteArrayLiteral("Rc.") + name;
    if constexpr (std::is_constructible_v<T>)
        qmlRegisterType<T>(uri.constData(), 1, 0, name);
    else
        qmlRegisterUncreatableType<T>(uri.constData(), 1, 0, name,
                                      QStringLiteral("%1 is a service").arg(QLatin1String(name)));
}

} // namespace

RCProject::RCProject(QQmlEngine* engine, const QStringList& productNames, QObject* parent)
    : IRCProject(parent), m_engine(engine), m_productNames(productNames)
{
    m_messageBoxManager = new RCMessageBoxManager(this);
    init();
}

RCProject::~RCProject()
{
    delete m_controlManager;
    m_controlManager = nullptr;
    if (m_terminal) {
        // Stopping emits socketDisconnected, whose handler still runs here and clears the
        // connected flag.
        m_terminal->stopServer();
        delete m_terminal;
        m_terminal = nullptr;
    }
    delete m_packetServer;
    m_packetServer = nullptr;
    delete m_packetTerminal;
    m_packetTerminal = nullptr;
    delete m_imageManager;
    m_imageManager = nullptr;
    delete m_stelvaneSyncer;
    m_stelvaneSyncer = nullptr;
    delete m_cmdProcesserManager;
    m_cmdProcesserManager = nullptr;
    delete m_actionManager;
    m_actionManager = nullptr;
    delete m_sceneItemExcuteControler;
    m_sceneItemExcuteControler = nullptr;
    PhotoCache::instance()->clear();
}

void RCProject::init()
{
    m_appPath = QStringLiteral("%1/%2").arg(QStandardPaths::writableLocation(QStandardPaths::HomeLocation),
                                            QStringLiteral("Tavix"));
    m_newProjectCachePath = QStringLiteral("%1/%2").arg(m_appPath, QStringLiteral("newProjectCache"));
    m_downloadPath =
        QStringLiteral("%1%2%3").arg(m_appPath, QDir::separator(), QStringLiteral("downloadProject"));
    m_settingFilePath = QStringLiteral("%1/%2").arg(m_appPath, QStringLiteral("config.json"));

    if (!QFileInfo(m_appPath).isDir() && !QDir().mkpath(m_appPath)) {
        m_messageBoxManager->showMessage(
            tr("错误"), QStringLiteral("%1 %2 %3").arg(tr("创建路径"), m_appPath, tr("失败")), true, true,
            false, true);
    }
    QDir().mkpath(m_newProjectCachePath);
    QDir().mkpath(m_downloadPath);

    initSceneItemExcuteControler();
    initStelvaneSyncer();

    if (!m_controlManager)
        m_controlManager = RCControlManager::create();

    if (!m_terminal)
        initTerminal();

    initCmdProcesserManager();

    m_imageManager = new RCImageManager;

    registerQmlTypes();

    PhotoCache::instance()->clear();

    wireConnectionState();

    RCControlCatalogue::build(m_controlManager);

    initActionManager();

    m_setting = new RCSetting(m_settingFilePath, this);
    wireSettingsToTerminal();

    auto* windowEventFilter = new RCWindowEventFilter(this);
    if (m_engine)
        m_engine->rootContext()->setContextProperty(QStringLiteral("windowEventFilter"), windowEventFilter);

    initPacketDistribution();

    // Every entry pushed to either history is a change since the last load or save.
    RCCommandManager* commands = RCCommandManager::instance();
    connect(commands, &RCCommandManager::haveOperatorRecord, this, [this] { m_modified = true; });
    connect(commands, &RCCommandManager::haveOperatorFallback, this, [this] { m_modified = true; });
    // So is every scene or item added or removed without a history entry: the scene that a media
    // server's project generates, for one.
    const auto structureChanged = [this] { m_modified = true; };
    RCScenePresenter* scenes = RCScenePresenter::instance();
    connect(scenes, &RCScenePresenter::sceneAdd, this, structureChanged);
    connect(scenes, &RCScenePresenter::sceneRemove, this, structureChanged);
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    connect(items, &RCSceneItemPresenter::itemAdded, this, structureChanged);
    connect(items, &RCSceneItemPresenter::itemRemoved, this, structureChanged);

    initCloud();
}

void RCProject::initStelvaneSyncer()
{
    m_stelvaneSyncer = new RCStelvaneSyncer(m_engine, QQuickImageProvider::Image,
                                            QQuickImageProvider::ForceAsynchronousImageLoading, nullptr);
}

void RCProject::initSceneItemExcuteControler()
{
    m_sceneItemExcuteControler = new RCSceneItemExcuteControler(this);
    connect(RCSceneItemPresenter::instance(), &RCSceneItemPresenter::itemExecute, m_sceneItemExcuteControler,
            &RCSceneItemExcuteControler::excute);
}

IRCStelvaneSyncer* RCProject::getStelvaneSyncer()
{
    return m_stelvaneSyncer;
}

void RCProject::initTerminal()
{
    m_terminal = Terminal::create(m_productNames);
    m_terminal->startServer(kTerminalDetectPort);
    m_terminal->setAutoConnect(true);
    QQmlEngine::setObjectOwnership(m_terminal, QQmlEngine::CppOwnership);
}

void RCProject::initCmdProcesserManager()
{
    m_cmdProcesserManager = new RCCmdProcesserManager(nullptr);
    connect(m_terminal, &IRCTerminal::receiveCmd, this,
            [this](const QString& sCmd, const QJsonObject& params) {
                m_cmdProcesserManager->process(sCmd, params, this);
            });
}

void RCProject::wireConnectionState()
{
    connect(m_terminal, &IRCTerminal::socketConnected, this,
            [] { qCInfo(lcRcProject) << "Terminal find server, socket connect."; });
    // The mirror asks for the server's data before the data commands are let through.
    connect(this, &IRCProject::connectToHost, this, [this](const QString& sIp) {
        qCInfo(lcRcProject) << "Terminal project connected to server success." << sIp;
        m_stelvaneSyncer->connectToServer(sIp);
        m_connected = true;
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
        m_connected = false;
    });
}

void RCProject::wireSettingsToTerminal()
{
    connect(
        m_setting, &IRCSetting::settingValueChanged, m_setting,
        [this](const QString& sSettingName, const QVariant& settingValue) {
            if (sSettingName == RCKeys::DefaultIp()) {
                m_terminal->resetLink(settingValue.toString());
            } else if (sSettingName == RCKeys::DefaultPassword()) {
                m_terminal->sendCmd(QStringLiteral("connectVerify"),
                                    QJsonObject{{QStringLiteral("password"), settingValue.toString()}});
            }
        },
        Qt::DirectConnection);
    m_terminal->resetLink(m_setting->getValue(RCKeys::DefaultIp()).toString());
}

void RCProject::initCloud()
{
    TavixProjectCloudClient* cloud = TavixProjectCloudClient::instance();
    cloud->setRelayUrl(TavixCloudRelayUrl::resolve(m_setting->getValue(RCKeys::CloudRelayUrl()).toString()));
    connect(m_setting, &IRCSetting::settingValueChanged, this,
            [cloud](const QString& sSettingName, const QVariant& settingValue) {
                if (sSettingName == RCKeys::CloudRelayUrl())
                    cloud->setRelayUrl(TavixCloudRelayUrl::resolve(settingValue.toString()));
            });
    connect(cloud, &TavixProjectCloudClient::tryJoin, this,
            [this](const QString& projectUid) { m_setting->setValue(RCKeys::ProjectJoinUid(), projectUid); });
    connect(cloud, &TavixProjectCloudClient::joinSuccess, this, [this, cloud] {
        m_setting->setValue(RCKeys::ProjectJoinPasswrod(), cloud->getProjectPassword());
    });
    // A network failure or an unknown answer keeps the code, so the next start tries again.
    connect(cloud, &TavixProjectCloudClient::joinError, this, [this](const QString& error) {
        if (TavixProjectCloudClient::isLoginRefusal(error))
            m_setting->setValue(RCKeys::ProjectJoinPasswrod(), QString());
    });

    const QString projectUid = m_setting->getValue(RCKeys::ProjectJoinUid()).toString();
    const QString password = m_setting->getValue(RCKeys::ProjectJoinPasswrod()).toString();
    if (!projectUid.isEmpty() && !password.isEmpty())
        cloud->joinProject(projectUid, password);
}

IRCTerminal* RCProject::getTerminal()
{
    return m_terminal;
}

void RCProject::initActionManager()
{
    m_actionManager = RCActionManager::create(this);
    connect(RCSceneItemPresenter::instance(), &RCSceneItemPresenter::actionTrigger, this,
            &RCProject::onItemActionTrigger);
    connect(RCScenePresenter::instance(), &RCScenePresenter::actionTrigger, this,
            &RCProject::onSceneActionTrigger);

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

IRCActionManager* RCProject::getActionManager()
{
    return m_actionManager;
}

void RCProject::onItemActionTrigger(QString sceneId, QString sceneItemId, int actionType, QVariant data)
{
    if (m_actionManager)
        m_actionManager->execAction(sceneId, sceneItemId, actionType, data);
}

void RCProject::onSceneActionTrigger(QString sceneId, int actionType, QVariant data)
{
    if (m_actionManager)
        m_actionManager->execAction(sceneId, QString(), actionType, data);
}

void RCProject::initPacketDistribution()
{
    m_packetServer = new PacketServer;
    QQmlEngine::setObjectOwnership(m_packetServer, QQmlEngine::CppOwnership);
    m_packetTerminal = new PacketTerminal;
    QQmlEngine::setObjectOwnership(m_packetTerminal, QQmlEngine::CppOwnership);
    m_packetTerminal->setReceiveDir(m_downloadPath);
    m_packetTerminal->startServer();
}

IRCPacketServer* RCProject::getPacketServer()
{
    return m_packetServer;
}

IRCPacketTerminal* RCProject::getPacketTerminal()
{
    return m_packetTerminal;
}

void RCProject::registerQmlTypes()
{
    registerRcType<IRCObject>("IRCObject");
    registerRcType<Platform>("Platform");
    registerRcType<IRCControl>("IRCControl");
    registerRcType<IRCControlManager>("IRCControlManager");
    registerRcType<RCScenePresenter>("RCScenePresenter");
    registerRcType<RCSceneItemPresenter>("RCSceneItemPresenter");
    registerRcType<RCSceneItemModel>("RCSceneItemModel");
    registerRcType<RCCmdPresenter>("RCCmdPresenter");
    registerRcType<IRCProject>("IRCProject");
    registerRcType<IRCControlInstantiationParam>("IRCControlInstantiationParam");
    registerRcType<IRCTerminal>("IRCTerminal");
    registerRcType<IRCPacketServer>("IRCPacketServer");
    registerRcType<IRCPacketTerminal>("IRCPacketTerminal");
    registerRcType<IRCStelvaneSyncer>("IRCStelvaneSyncer");
    registerRcType<IRCAction>("IRCAction");
    registerRcType<IRCActionManager>("IRCActionManager");
    registerRcType<RCScriptProcess>("RCScriptProcess");
    registerRcType<PhotoSelection>("PhotoSelection");
    registerRcType<RCMessageBoxManager>("RCMessageBoxManager");
    registerRcType<IRCSetting>("IRCSetting");
    qmlRegisterType<RCImageManager>("Rc.IRCImageManager", 1, 0, "IRCImageManager");
    registerRcType<IRCInterface>("IRCInterface");
    registerRcType<RcEnums>("RcEnums");
    qml_register_types_Rc_QmlComponents();

    if (!m_engine)
        return;
    QQmlContext* context = m_engine->rootContext();
    context->setContextProperty(QStringLiteral("getRCMessageBoxManager"), m_messageBoxManager);
    context->setContextProperty(QStringLiteral("getImageManager"), m_imageManager);
    context->setContextProperty(QStringLiteral("getVersion"), kProjectFileVersion);
    context->setContextProperty(QStringLiteral("getRCInterface"), RCInterface::instance());
    context->setContextProperty(QStringLiteral("tavixProjectCloudClient"),
                                TavixProjectCloudClient::instance());
}

// --- templates, paths, state ------------------------------------------------------------------

void RCProject::setTemplateProjectList(QVariantList projectList)
{
    m_templateList = projectList;
    for (const QVariant& entry : std::as_const(m_templateList)) {
        const QVariantMap map = entry.toMap();
        m_templateIndex.insert(map.value(RCKeys::Name()).toString(), map);
    }
}

int RCProject::getTemplateProjectCout()
{
    return int(m_templateList.size());
}

QVariantMap RCProject::getTemplateProject(int i) const
{
    if (i < 0 || i >= m_templateList.size())
        return QVariantMap();
    return m_templateList.at(i).toMap();
}

bool RCProject::isTemplateProject() const
{
    if (m_projectPacketPath.isEmpty())
        return false;
    return m_templateIndex.contains(folderName(m_projectPacketPath));
}

QSize RCProject::getTemplateProjectSceneSize()
{
    // Invalid (-1 x -1) for a project that is no template copy, or whose template names no size:
    // the scene list then sizes a new scene after the project's own scenes.
    if (!isTemplateProject())
        return QSize();
    const QSize size =
        m_templateIndex.value(folderName(m_projectPacketPath)).value(RCKeys::DefaultSize()).toSize();
    return size.isValid() ? size : QSize();
}

bool RCProject::hasChangedOnClosing() const
{
    return m_modified;
}

void RCProject::initDefaultScene()
{
    // The start-up placeholder is no edit of the user's.
    const bool modified = m_modified;
    const QScopeGuard keepState([this, modified] { m_modified = modified; });
    RCScenePresenter* scenes = RCScenePresenter::instance();
    scenes->addScene(QStringLiteral("场景"), QString(), QStringLiteral("qrc:/installTip.png"), false);
    const QStringList ids = scenes->getSceneIds();
    if (!ids.isEmpty())
        scenes->setSelectScene(ids.first());
}

int RCProject::getInitState()
{
    return m_initState;
}

void RCProject::setInitState(int state)
{
    m_initState = state;
}

Platform* RCProject::getPlatform() const
{
    return Platform::instance();
}

IRCControlManager* RCProject::getControlManager() const
{
    return m_controlManager;
}

RCScenePresenter* RCProject::getScenePresenter() const
{
    return RCScenePresenter::instance();
}

RCSceneItemPresenter* RCProject::getSceneItemPresenter() const
{
    return RCSceneItemPresenter::instance();
}

RCCmdPresenter* RCProject::getCmdPresenter() const
{
    return RCCmdPresenter::instance();
}

IRCSetting* RCProject::getSetting()
{
    return m_setting;
}

QString RCProject::folderName(const QString& path)
{
    return QFileInfo(QDir::cleanPath(path)).fileName();
}

bool RCProject::samePath(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty() &&
           QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
               QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

QString RCProject::getProjectPacketPath() const
{
    return m_projectPacketPath;
}

QString RCProject::getNewProjectPacketPath() const
{
    return m_newProjectCachePath;
}

QString RCProject::getProjectName() const
{
    return folderName(m_projectPacketPath);
}

QString RCProject::getProjectThumbnail() const
{
    return QStringLiteral("%1/%2").arg(m_projectPacketPath, QLatin1String(RCPacketFolder::ThumbnailFileName));
}

QString RCProject::getProjectImageFolderPath() const
{
    return QStringLiteral("%1/%2").arg(m_projectPacketPath, QLatin1String(RCPacketFolder::ImageFolderName));
}

bool RCProject::isNewProject()
{
    if (m_projectPacketPath.isEmpty() || !RCPacketFolder::hasEntries(m_projectPacketPath))
        return true;
    // The cache is emptied whenever a template is opened: nothing may be saved there for good.
    if (RCInterface::instance()->isInsideFolder(m_projectPacketPath, m_newProjectCachePath))
        return true;
    return isTemplateProject();
}

void RCProject::setAppModel(IRCProject::EAppModel appModel)
{
    if (appModel == m_appModel)
        return;
    m_appModel = appModel;
    Q_EMIT appModelChanged(appModel);
}

IRCProject::EAppModel RCProject::getAppModel() const
{
    return m_appModel;
}

bool RCProject::isConnectFromHost() const
{
    return m_connected;
}

void RCProject::requestClose()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isSignalConnected(QMetaMethod::fromSignal(&IRCProject::closeRequested))) {
                Q_EMIT closeRequested();
            } else {
                qCInfo(lcRcProject) << "No main window takes the close request: the application quits.";
                QCoreApplication::quit();
            }
        },
        Qt::QueuedConnection);
}

void RCProject::requestSwitchProject(QString sProjectPacketPath)
{
    QMetaObject::invokeMethod(
        this,
        [this, sProjectPacketPath] {
            if (isSignalConnected(QMetaMethod::fromSignal(&IRCProject::switchProjectRequested))) {
                Q_EMIT switchProjectRequested(sProjectPacketPath);
            } else if (hasChangedOnClosing()) {
                // Nobody can ask whether to save them: the unsaved changes are never dropped.
                qCWarning(lcRcProject)
                    << "Switch project refused, the open project has unsaved changes:" << sProjectPacketPath;
            } else if (!loadStorageProjectPacket(sProjectPacketPath)) {
                qCWarning(lcRcProject) << "Switch project failed:" << sProjectPacketPath;
            }
        },
        Qt::QueuedConnection);
}

// --- stored projects ---------------------------------------------------------------------------

int RCProject::getProjectCount()
{
    m_projectList.clear();
    const QStringList folders = RCRecentProjectRecord::instance()->getDirPathList();
    for (const QString& folder : folders) {
        if (!RCPacketFolder::hasEntries(folder))
            continue;
        QVariantMap entry;
        entry.insert(RCKeys::ProjectPacketPath(), folder);
        entry.insert(RCKeys::Name(), folderName(folder));
        entry.insert(RCKeys::ThumbnailPath(),
                     QUrl::fromLocalFile(QStringLiteral("%1/%2").arg(
                                             folder, QLatin1String(RCPacketFolder::ThumbnailFileName)))
                         .toString());
        m_projectList.append(entry);
    }
    return int(m_projectList.size());
}

QVariantMap RCProject::getProject(int i)
{
    if (i < 0 || i >= m_projectList.size())
        return QVariantMap();
    return m_projectList.at(i);
}

bool RCProject::removeProjectPakcet(QString sPacketPath)
{
    if (!RCPacketFolder::isProjectPacket(sPacketPath)) {
        qCWarning(lcRcProject) << "RCProject::removeProjectPakcet"
                               << "not a project packet" << sPacketPath;
        return false;
    }
    // Cleaned, so that a trailing separator still names the folder itself in its parent. Only the
    // packet's own files go: a packet saved into a folder of other files leaves them there.
    const QString packet = QDir::cleanPath(sPacketPath);
    if (!RCPacketFolder::removePacket(packet))
        return false;
    RCRecentProjectRecord::instance()->removeDirPath(sPacketPath);
    RCRecentProjectRecord::instance()->removeDirPath(packet);
    if (samePath(packet, m_projectPacketPath)) {
        m_projectPacketPath.clear();
        m_imageManager->setProjectImagePath(QString());
    }
    return true;
}

bool RCProject::renameProjectPakcet(QString sPacketPath, QString sProjectName, QString sNewProjectName)
{
    if (!RCPacketFolder::isProjectPacket(sPacketPath) || folderName(sPacketPath) != sProjectName ||
        !RCPacketFolder::isValidPacketName(sNewProjectName)) {
        qCWarning(lcRcProject) << "RCProject::renameProjectPakcet"
                               << "refused" << sPacketPath << sProjectName << sNewProjectName;
        return false;
    }
    const QFileInfo info(QDir::cleanPath(sPacketPath));
    const QString newPath = QStringLiteral("%1/%2").arg(info.path(), sNewProjectName);
    if (!RCRecentProjectRecord::canRecord(newPath)) {
        qCWarning(lcRcProject) << "RCProject::renameProjectPakcet"
                               << "the recent list cannot hold" << newPath;
        return false;
    }
    const QString imageName = QLatin1String(RCPacketFolder::ImageFolderName);
    // The document's pictures may live in this packet also when another packet is named.
    const bool picturesMove = RCImageManager::sameFolder(m_imageManager->projectImagePath(),
                                                         QStringLiteral("%1/%2").arg(info.filePath(), imageName));
    if (QFileInfo::exists(newPath) || !QDir().rename(info.filePath(), newPath))
        return false;
    RCRecentProjectRecord::instance()->removeDirPath(sPacketPath);
    RCRecentProjectRecord::instance()->removeDirPath(info.filePath());
    RCRecentProjectRecord::instance()->addDirPath(newPath);
    if (picturesMove)
        m_imageManager->setProjectImagePath(QStringLiteral("%1/%2").arg(newPath, imageName));
    if (samePath(sPacketPath, m_projectPacketPath))
        setProjectPacketPath(newPath);
    return true;
}

// --- loading -----------------------------------------------------------------------------------

QJsonObject RCProject::readProjectFile(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcRcProject) << "RCProject::loadProject"
                               << "cannot open" << filePath;
        return QJsonObject();
    }
    const QByteArray data = file.readAll();
    file.close();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        qCWarning(lcRcProject) << "RCProject::loadProject"
                               << "not a project file" << filePath << error.errorString();
        return QJsonObject();
    }
    const QJsonObject json = document.object();
    if (!json.value(QStringLiteral("sceneArray")).isObject()) {
        qCWarning(lcRcProject) << "RCProject::loadProject"
                               << "no sceneArray" << filePath;
        return QJsonObject();
    }
    return json;
}

void RCProject::applyProject(const QJsonObject& jsObj)
{
    const QJsonValue setting = jsObj.value(QStringLiteral("setting"));
    if (setting.isObject())
        m_setting->fromJson(setting.toObject());

    RCScenePresenter* scenes = RCScenePresenter::instance();
    scenes->fromJson(jsObj.value(QStringLiteral("sceneArray")).toObject());
    const QStringList sceneIds = scenes->getSceneIds();
    if (!sceneIds.isEmpty())
        scenes->setSelectScene(sceneIds.first());

    upgradeItems();
    markSaved();
}

void RCProject::upgradeItems()
{
    if (!m_controlManager)
        return;
    RCScenePresenter* scenes = RCScenePresenter::instance();
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QStringList sceneIds = scenes->getSceneIds();
    for (const QString& sceneId : sceneIds) {
        const QStringList itemIds = items->getItemIds(sceneId);
        for (const QString& itemId : itemIds) {
            const int type = items->getPropertyValue(sceneId, itemId, RCKeys::ControlType()).toInt();
            IRCControl* control = m_controlManager->getControlByType(IRCControl::EIRCControlType(type));
            if (!control || !control->getInstantiationParam())
                continue;
            const QJsonArray records =
                control->getInstantiationParam()->toJson().value(QStringLiteral("propertyArray")).toArray();
            for (const QJsonValue& record : records) {
                const QString name = record.toObject().value(QStringLiteral("name")).toString();
                if (!items->containProperty(sceneId, itemId, name))
                    items->updateItemProperties(sceneId, itemId, record.toObject());
            }
        }
    }
}

void RCProject::markSaved()
{
    Platform::instance()->clearCommands();
    m_modified = false;
}

bool RCProject::setProject(QJsonObject jsObj)
{
    // A media server's project answer carries no scenes: its scene was added to the open document
    // when it arrived. Only the settings it may bring are taken, and the document, now holding
    // content that no packet has, counts as changed.
    if (!jsObj.contains(QStringLiteral("sceneArray"))) {
        const QJsonValue setting = jsObj.value(QStringLiteral("setting"));
        if (setting.isObject())
            m_setting->fromJson(setting.toObject());
        m_modified = true;
        return true;
    }
    if (!jsObj.value(QStringLiteral("sceneArray")).isObject()) {
        qCWarning(lcRcProject) << "RCProject::setProject"
                               << "no sceneArray";
        return false;
    }
    applyProject(jsObj);
    return true;
}

bool RCProject::loadProject(QString sFilePath)
{
    const QJsonObject json = readProjectFile(sFilePath);
    if (json.isEmpty())
        return false;
    applyProject(json);
    return true;
}

bool RCProject::loadProjectPacket(QString sProjectPacketPath)
{
    qCInfo(lcRcProject) << "RCProject::loadProjectPacket"
                        << "start load project" << sProjectPacketPath;
    const QString file = RCPacketFolder::projectFileOf(sProjectPacketPath);
    const QJsonObject json = file.isEmpty() ? QJsonObject() : readProjectFile(file);
    if (json.isEmpty()) {
        qCWarning(lcRcProject) << "RCProject::loadProjectPacket"
                               << "load failed" << sProjectPacketPath;
        return false;
    }

    // A resource packet (":/empty") has no native path; its references resolve in the resources.
    const bool inResources = file.startsWith(QLatin1Char(':'));
    const QString imageFolder =
        QStringLiteral("%1/%2").arg(sProjectPacketPath, QLatin1String(RCPacketFolder::ImageFolderName));
    if (!inResources)
        QDir().mkpath(imageFolder);
    m_projectPacketPath = sProjectPacketPath;
    m_imageManager->setProjectImagePath(imageFolder);
    m_imageManager->setIsQrc(inResources);
    m_imageManager->setQrcImagePath(QStringLiteral("qrc%1/image").arg(sProjectPacketPath));

    applyProject(json);
    m_terminal->resetLink(m_setting->getValue(RCKeys::DefaultIp()).toString());

    qCInfo(lcRcProject) << "RCProject::loadProjectPacket"
                        << "load finished" << true;
    Q_EMIT currentProjectChanged(folderName(sProjectPacketPath));
    return true;
}

bool RCProject::loadStorageProjectPacket(QString sProjectPacketName)
{
    if (!QFileInfo(sProjectPacketName).isDir())
        return false;
    RCRecentProjectRecord::instance()->addDirPath(sProjectPacketName);
    return loadProjectPacket(sProjectPacketName);
}

bool RCProject::loadStorageProjectFile(QString sFilePath)
{
    const QString localPath =
        sFilePath.startsWith(QLatin1String("file:")) ? QUrl(sFilePath).toLocalFile() : sFilePath;
    if (!QFileInfo(localPath).isFile()) {
        qCWarning(lcRcProject) << "RCProject::loadStorageProjectFile"
                               << "file not exists, maybe fileUrl is invalid" << sFilePath << localPath;
        return false;
    }
    return loadStorageProjectPacket(QFileInfo(localPath).absolutePath());
}

bool RCProject::loadTemplateProjectPacket(QString sTemplateName)
{
    QVariantMap entry;
    for (const QVariant& candidate : std::as_const(m_templateList)) {
        if (candidate.toMap().value(RCKeys::Name()).toString() == sTemplateName) {
            entry = candidate.toMap();
            break;
        }
    }
    if (entry.isEmpty() || !RCPacketFolder::isValidPacketName(sTemplateName))
        return false;

    RCPacketFolder::removeDirectory(m_newProjectCachePath);
    const QString folder = QStringLiteral("%1/%2").arg(m_newProjectCachePath, sTemplateName);
    QDir().mkpath(folder);
    auto resourcePath = [](const QVariant& url) {
        return QStringLiteral(":%1").arg(QUrl(url.toString()).path(QUrl::FullyDecoded));
    };
    RCPacketFolder::copyFile(
        resourcePath(entry.value(RCKeys::ProjectFilePath())),
        QStringLiteral("%1/%2").arg(folder, QLatin1String(RCPacketFolder::ProjectFileName)));
    RCPacketFolder::copyFile(
        resourcePath(entry.value(RCKeys::ThumbnailPath())),
        QStringLiteral("%1/%2").arg(folder, QLatin1String(RCPacketFolder::ThumbnailFileName)));
    return loadProjectPacket(folder);
}

bool RCProject::loadDownloadProjectPacket()
{
    const QString received = PacketReception::receivedPathOf(m_downloadPath);
    if (QFileInfo(received).isDir()) {
        const QString file = RCPacketFolder::projectFileOf(received);
        if (file.isEmpty() || readProjectFile(file).isEmpty()) {
            qCWarning(lcRcProject) << "RCProject::loadDownloadProjectPacket"
                                   << "received packet refused" << received;
            PacketReception::discardReceived(m_downloadPath);
            return false;
        }
        if (!PacketReception::installReceived(m_downloadPath))
            return false;
    }
    return loadProjectPacket(m_downloadPath);
}

void RCProject::setProjectPacketPath(QString sProjectPacketPath)
{
    if (sProjectPacketPath == m_projectPacketPath)
        return;
    m_projectPacketPath = sProjectPacketPath;
    // Naming a packet moves no picture: while the folder that holds the document's pictures is
    // there, they stay reachable in it (a download names a fresh folder that holds none), until a
    // save into the packet gathers them into its image folder and the image manager follows.
    const QString images = m_imageManager->projectImagePath();
    if (images.isEmpty() || !QFileInfo(images).isDir()) {
        m_imageManager->setProjectImagePath(
            QStringLiteral("%1/%2").arg(sProjectPacketPath, QLatin1String(RCPacketFolder::ImageFolderName)));
    }
    Q_EMIT currentProjectChanged(folderName(sProjectPacketPath));
}

// --- saving ------------------------------------------------------------------------------------

bool RCProject::saveProject(QString sFilePath, QString sImageFolder)
{
    RCImageManager::GatherReport gathered;
    const QSet<QString> usedImages = m_imageManager->modifyImagePathAndSaveImages(sImageFolder, &gathered);
    if (!gathered.failed.isEmpty()) {
        // A file without its pictures would lose them: nothing is written, the document and the
        // destination stay as they were.
        m_imageManager->discardGathering(gathered);
        qCWarning(lcRcProject) << "RCProject::saveProject"
                               << "pictures could not be copied, nothing saved" << sFilePath << gathered.failed;
        return false;
    }
    const QJsonObject root{{QStringLiteral("version"), kProjectFileVersion},
                           {QStringLiteral("sceneArray"), RCScenePresenter::instance()->toJson()},
                           {QStringLiteral("setting"), m_setting->toJson()}};
    QSaveFile file(sFilePath);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(QJsonDocument(root).toJson(QJsonDocument::Indented)) >= 0 &&
                         file.commit();
    if (!written) {
        // The document stays as it was: its image values name what they named before, and the
        // pictures copied for it go again.
        m_imageManager->discardGathering(gathered);
        qCWarning(lcRcProject) << "RCProject::saveProject"
                               << "write failed" << sFilePath << file.errorString();
        return false;
    }
    // Only now that the new file is in place may the images it no longer names go, and only from
    // the packet's own image folder: a save elsewhere deletes nothing it did not write.
    const QString imageFolder = sImageFolder.isEmpty() ? m_imageManager->projectImagePath() : sImageFolder;
    if (RCImageManager::sameFolder(imageFolder, getProjectImageFolderPath()))
        m_imageManager->removeUnusedImages(imageFolder, usedImages);
    m_imageManager->adoptImageFolder(imageFolder);
    markSaved();
    return true;
}

bool RCProject::saveProjectPacket(QString sProjectPacketPath)
{
    // The packet that is open is saved where it is, also when the recent list cannot hold its path
    // (it then stays out of the list); a new packet must be one that the list can hold.
    const bool listed = RCRecentProjectRecord::canRecord(sProjectPacketPath);
    const bool inPlace =
        samePath(sProjectPacketPath, m_projectPacketPath) && RCPacketFolder::isProjectPacket(sProjectPacketPath);
    if ((!listed && !inPlace) || !RCPacketFolder::isValidPacketName(folderName(sProjectPacketPath))) {
        qCWarning(lcRcProject) << "RCProject::saveProjectPacket"
                               << "refused" << sProjectPacketPath;
        return false;
    }
    const QString imageFolder =
        QStringLiteral("%1/%2").arg(sProjectPacketPath, QLatin1String(RCPacketFolder::ImageFolderName));
    const bool packetMade = !QFileInfo::exists(sProjectPacketPath) && QDir().mkpath(sProjectPacketPath);
    const bool imageFolderMade = !QFileInfo::exists(imageFolder) && QDir().mkpath(imageFolder);
    if (listed)
        RCRecentProjectRecord::instance()->addDirPath(sProjectPacketPath);
    const bool saved = saveProject(
        QStringLiteral("%1/%2").arg(sProjectPacketPath, QLatin1String(RCPacketFolder::ProjectFileName)),
        imageFolder);
    if (!saved) {
        // The folders this save made go again; rmdir leaves a folder that holds anything.
        if (imageFolderMade)
            QDir().rmdir(imageFolder);
        if (packetMade)
            QDir().rmdir(sProjectPacketPath);
        return false;
    }
    // The old project file goes only from the packet being saved, never from another folder.
    if (samePath(sProjectPacketPath, m_projectPacketPath)) {
        const QString oldFile = QStringLiteral("%1/%2").arg(
            sProjectPacketPath, QLatin1String(RCPacketFolder::OldProjectFileName));
        if (QFileInfo(oldFile).isFile())
            QFile::remove(oldFile);
    }
    return true;
}

bool RCProject::saveProjectPacket()
{
    return saveProjectPacket(m_projectPacketPath);
}
