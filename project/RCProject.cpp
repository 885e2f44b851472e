#include "project/RCProject.h"

#include "editing/RCCommandManager.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/RCKeys.h"
#include "network/PacketReception.h"
#include "project/RCImageManager.h"
#include "project/RCInterface.h"
#include "project/RCLogCategories.h"
#include "project/RCMessageBoxManager.h"
#include "project/RCPacketFolder.h"
#include "project/RCRecentProjectRecord.h"
#include "project/RCSetting.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMetaMethod>
#include <QSaveFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QString kProjectFileVersion = QStringLiteral("3.0.0");

} // namespace

RCProject::RCProject(QObject* parent) : IRCProject(parent)
{
    m_messageBoxManager = new RCMessageBoxManager(this);
    makeFolders();
    m_imageManager = new RCImageManager;
    m_setting = new RCSetting(m_settingFilePath, this);

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
}

RCProject::~RCProject()
{
    delete m_imageManager;
    m_imageManager = nullptr;
}

void RCProject::makeFolders()
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
}

QString RCProject::projectFileVersion()
{
    return kProjectFileVersion;
}

void RCProject::setControlManager(IRCControlManager* controlManager)
{
    m_controlManager = controlManager;
}

void RCProject::setTerminal(IRCTerminal* terminal)
{
    m_terminal = terminal;
}

void RCProject::setStelvaneSyncer(IRCStelvaneSyncer* stelvaneSyncer)
{
    m_stelvaneSyncer = stelvaneSyncer;
}

void RCProject::setActionManager(IRCActionManager* actionManager)
{
    m_actionManager = actionManager;
}

void RCProject::setPacketDistribution(IRCPacketServer* packetServer, IRCPacketTerminal* packetTerminal)
{
    m_packetServer = packetServer;
    m_packetTerminal = packetTerminal;
}

void RCProject::setConnectedToHost(bool connected)
{
    m_connected = connected;
}

IRCStelvaneSyncer* RCProject::getStelvaneSyncer()
{
    return m_stelvaneSyncer;
}

IRCTerminal* RCProject::getTerminal()
{
    return m_terminal;
}

IRCActionManager* RCProject::getActionManager()
{
    return m_actionManager;
}

IRCPacketServer* RCProject::getPacketServer()
{
    return m_packetServer;
}

IRCPacketTerminal* RCProject::getPacketTerminal()
{
    return m_packetTerminal;
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
    if (m_terminal)
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
