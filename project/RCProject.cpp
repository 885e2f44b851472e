#include "project/RCProject.h"

#include "model/RCKeys.h"
#include "network/PacketReception.h"
#include "project/PhotoCache.h"
#include "project/RCFileWrite.h"
#include "project/RCImageManager.h"
#include "project/RCLogCategories.h"
#include "project/RCLogFile.h"
#include "project/RCMessageBoxManager.h"
#include "project/RCPacketFolder.h"
#include "project/RCProjectPacketIO.h"
#include "project/RCRecentProjectRecord.h"
#include "project/RCSetting.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMetaMethod>
#include <QStandardPaths>
#include <QUrl>

RCProject::RCProject(QObject* parent) : IRCProject(parent)
{
    m_messageBoxManager = new RCMessageBoxManager(this);
    makeFolders();
    m_imageManager = std::make_unique<RCImageManager>();
    auto* setting = new RCSetting(m_settingFilePath, this);
    m_setting = setting;
    m_packet = new RCProjectPacketIO(m_imageManager.get(), m_setting, this);
    m_packet->setReservedFolders(QStringList{m_newProjectCachePath, m_downloadPath} + getManagedPaths());
    // Files that the user's own changes write outside a save say so when the disk refused them.
    connect(setting, &RCSetting::saveFailed, this, [this](const QString& reason) {
        m_messageBoxManager->showMessage(tr("错误"), tr("设置保存失败") + QLatin1Char('\n') + reason, true,
                                         false);
    });
    connect(RCRecentProjectRecord::instance(), &RCRecentProjectRecord::saveFailed, this,
            [this](const QString& reason) {
                m_messageBoxManager->showMessage(
                    tr("错误"), tr("最近项目列表保存失败") + QLatin1Char('\n') + reason, true, false);
            });
}

RCProject::~RCProject()
{
    // The window is gone: the recent list's changes that another instance's lock kept back get a
    // last chance, with a wait that nobody watches.
    if (!RCRecentProjectRecord::instance()->writePending(RCRecentProjectRecord::ExitWaitMs))
        qCWarning(lcRcProject) << "RCProject: the recent list's last changes are not written"
                               << RCRecentProjectRecord::instance()->getDirPathList();
    // The one order that matters beyond the reverse of the build: the control link stops (its
    // workers quit and awaited) and reports itself down while the mirror it reports to stands.
    if (m_services.terminal)
        m_services.terminal->stopServer();
    m_packet->setControlManager(nullptr);
    {
        // Destroyed at the end of this block, in reverse declaration order.
        const RCProjectServices services = std::move(m_services);
    }
    PhotoCache::instance()->clear();
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
            tr("错误"), QStringLiteral("%1 %2 %3").arg(tr("创建路径"), m_appPath, tr("失败")), true, false);
    }
    QDir().mkpath(m_newProjectCachePath);
    QDir().mkpath(m_downloadPath);
}

void RCProject::adoptServices(RCProjectServices services)
{
    Q_ASSERT(!m_services.controlManager && !m_services.terminal);
    m_services = std::move(services);
    m_packet->setControlManager(m_services.controlManager.get());
    // Connected after the composition root's handlers of the same signals: the mirror hears of the
    // link before the flag lets the server's data commands through, and of its loss while the flag
    // still stands.
    connect(this, &IRCProject::connectToHost, this, [this] { m_connected = true; });
    if (m_services.terminal) {
        connect(m_services.terminal.get(), &IRCTerminal::socketDisconnected, this,
                [this] { m_connected = false; });
    }
}

IRCStelvaneSyncer* RCProject::getStelvaneSyncer()
{
    return m_services.stelvaneSyncer.get();
}

IRCTerminal* RCProject::getTerminal()
{
    return m_services.terminal.get();
}

IRCActionManager* RCProject::getActionManager()
{
    return m_services.actionManager.get();
}

IRCPacketServer* RCProject::getPacketServer()
{
    return m_services.packetServer.get();
}

IRCPacketTerminal* RCProject::getPacketTerminal()
{
    return m_services.packetTerminal.get();
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
    if (m_packet->packetPath().isEmpty())
        return false;
    return m_templateIndex.contains(getProjectName());
}

QSize RCProject::getTemplateProjectSceneSize()
{
    // Invalid (-1 x -1) for a project that is no template copy, or whose template names no size:
    // the scene list then sizes a new scene after the project's own scenes.
    if (!isTemplateProject())
        return QSize();
    const QSize size = m_templateIndex.value(getProjectName()).value(RCKeys::DefaultSize()).toSize();
    return size.isValid() ? size : QSize();
}

bool RCProject::hasChangedOnClosing() const
{
    return m_packet->isModified();
}

void RCProject::initDefaultScene()
{
    // The start-up placeholder is no edit of the user's.
    m_packet->changeUnmarked([] {
        RCScenePresenter* scenes = RCScenePresenter::instance();
        scenes->addScene(QStringLiteral("场景"), QString(), QStringLiteral("qrc:/installTip.png"), false);
        const QStringList ids = scenes->getSceneIds();
        if (!ids.isEmpty())
            scenes->setSelectScene(ids.first());
    });
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
    return m_services.controlManager.get();
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

QString RCProject::getProjectPacketPath() const
{
    return m_packet->packetPath();
}

QString RCProject::getNewProjectPacketPath() const
{
    return m_newProjectCachePath;
}

QString RCProject::getDownloadProjectPacketPath() const
{
    return m_downloadPath;
}

QStringList RCProject::getManagedPaths() const
{
    const QString download = QDir::cleanPath(m_downloadPath);
    return {PacketReception::stagingPathOf(download),
            PacketReception::receivedPathOf(download),
            PacketReception::previousPathOf(download),
            m_settingFilePath,
            RCRecentProjectRecord::instance()->recordFilePath(),
            RCRecentProjectRecord::instance()->lockFilePath(),
            RCLogFile::logDirPath()};
}

QString RCProject::getProjectName() const
{
    return RCPacketFolder::folderName(m_packet->packetPath());
}

QString RCProject::getProjectThumbnail() const
{
    return QStringLiteral("%1/%2").arg(m_packet->packetPath(),
                                       QLatin1String(RCPacketFolder::ThumbnailFileName));
}

QString RCProject::getProjectImageFolderPath() const
{
    // Where the document's pictures are: a packet named for a download holds none until its first
    // save, and they are still reached in the folder they came from.
    const QString images = m_imageManager->projectImagePath();
    if (!m_imageManager->isQrc() && !images.isEmpty() && QFileInfo(images).isDir())
        return images;
    return m_packet->imageFolderPath();
}

bool RCProject::isNewProject()
{
    const QString packet = m_packet->packetPath();
    if (packet.isEmpty() || !RCPacketFolder::hasEntries(packet))
        return true;
    // The cache is emptied whenever a template is opened, the next install replaces the download
    // folder and deletes the copy it moved aside: nothing may be saved in any of the program's
    // folders for good, and a save there is refused.
    if (m_packet->savesIntoReserved(packet))
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
    return m_storedProjects.rescan();
}

QVariantMap RCProject::getProject(int i)
{
    return m_storedProjects.entry(i);
}

bool RCProject::isPacketPictureSource(QString sPacketPath) const
{
    return !sPacketPath.isEmpty() && m_imageManager->usesPicturesIn(sPacketPath);
}

bool RCProject::isProjectFileChangedOnDisk() const
{
    return m_packet->isProjectFileChangedOnDisk();
}

QString RCProject::getLastSaveError() const
{
    return m_packet->lastError();
}

QString RCProject::getLastOpenError() const
{
    return m_lastOpenError;
}

bool RCProject::openFailed(const QString& reason)
{
    m_lastOpenError = reason;
    return false;
}

QStringList RCProject::getMissingPictures() const
{
    return m_imageManager->missingPictures();
}

int RCProject::dropMissingPictures()
{
    return m_packet->dropMissingPictures();
}

bool RCProject::removeProjectPakcet(QString sPacketPath)
{
    // The open document would lose the pictures it shows from there, and no save could bring
    // them back.
    if (isPacketPictureSource(sPacketPath)) {
        qCWarning(lcRcProject) << "RCProject::removeProjectPakcet"
                               << "the open document shows pictures from" << sPacketPath;
        return false;
    }
    if (!RCStoredProjects::deletePacket(sPacketPath))
        return false;
    // A packet only dropped from the list is still there.
    if (RCPacketFolder::samePath(QDir::cleanPath(sPacketPath), m_packet->packetPath()) &&
        RCPacketFolder::projectFileOf(sPacketPath).isEmpty())
        m_packet->forgetPacket();
    return true;
}

bool RCProject::renameProjectPakcet(QString sPacketPath, QString sProjectName, QString sNewProjectName)
{
    const QString imageName = QLatin1String(RCPacketFolder::ImageFolderName);
    // The document's pictures may live in this packet also when another packet is named.
    const bool picturesMove =
        RCImageManager::sameFolder(m_imageManager->projectImagePath(),
                                   QStringLiteral("%1/%2").arg(QDir::cleanPath(sPacketPath), imageName));
    const QString newPath = RCStoredProjects::renamePacket(sPacketPath, sProjectName, sNewProjectName);
    if (newPath.isEmpty())
        return false;
    if (picturesMove)
        m_imageManager->setProjectImagePath(QStringLiteral("%1/%2").arg(newPath, imageName));
    if (RCPacketFolder::samePath(sPacketPath, m_packet->packetPath()))
        setProjectPacketPath(newPath);
    return true;
}

// --- loading -----------------------------------------------------------------------------------

bool RCProject::setProject(QJsonObject jsObj)
{
    return m_packet->setProject(jsObj);
}

bool RCProject::loadProject(QString sFilePath)
{
    return m_packet->loadProject(sFilePath);
}

bool RCProject::loadProjectPacket(QString sProjectPacketPath)
{
    qCInfo(lcRcProject) << "RCProject::loadProjectPacket"
                        << "start load project" << sProjectPacketPath;
    m_lastOpenError.clear();
    if (!m_packet->loadPacket(sProjectPacketPath)) {
        qCWarning(lcRcProject) << "RCProject::loadProjectPacket"
                               << "load failed" << sProjectPacketPath;
        return openFailed(tr("无法读取项目文件 %1").arg(QDir::toNativeSeparators(sProjectPacketPath)));
    }
    if (IRCTerminal* terminal = m_services.terminal.get())
        terminal->resetLink(m_setting->getValue(RCKeys::DefaultIp()).toString());

    qCInfo(lcRcProject) << "RCProject::loadProjectPacket"
                        << "load finished" << true;
    Q_EMIT currentProjectChanged(RCPacketFolder::folderName(sProjectPacketPath));
    return true;
}

bool RCProject::loadStorageProjectPacket(QString sProjectPacketName)
{
    if (!QFileInfo(sProjectPacketName).isDir())
        return openFailed(tr("找不到项目文件夹 %1").arg(QDir::toNativeSeparators(sProjectPacketName)));
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
        return openFailed(tr("找不到项目文件 %1").arg(QDir::toNativeSeparators(localPath)));
    }
    return loadStorageProjectPacket(QFileInfo(localPath).absolutePath());
}

void RCProject::setReadAhead(std::unique_ptr<RCProjectFileReader> reader)
{
    m_packet->setReadAhead(std::move(reader));
}

void RCProject::windowDrawn()
{
    m_packet->windowDrawn();
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
    m_lastOpenError.clear();
    if (entry.isEmpty() || !RCPacketFolder::isValidPacketName(sTemplateName))
        return false;

    RCPacketFolder::removeDirectory(m_newProjectCachePath);
    const QString folder = QStringLiteral("%1/%2").arg(m_newProjectCachePath, sTemplateName);
    QDir().mkpath(folder);
    auto resourcePath = [](const QVariant& url) {
        return QStringLiteral(":%1").arg(QUrl(url.toString()).path(QUrl::FullyDecoded));
    };
    QString reason;
    if (!RCFileWrite::copy(
            resourcePath(entry.value(RCKeys::ProjectFilePath())),
            QStringLiteral("%1/%2").arg(folder, QLatin1String(RCPacketFolder::ProjectFileName)), &reason)) {
        qCWarning(lcRcProject) << "RCProject::loadTemplateProjectPacket"
                               << "template not copied" << sTemplateName << reason;
        return openFailed(reason);
    }
    // A copy without its thumbnail still opens; the project manager then shows no picture for it.
    if (!RCFileWrite::copy(
            resourcePath(entry.value(RCKeys::ThumbnailPath())),
            QStringLiteral("%1/%2").arg(folder, QLatin1String(RCPacketFolder::ThumbnailFileName)), &reason))
        qCWarning(lcRcProject) << "RCProject::loadTemplateProjectPacket"
                               << "thumbnail not copied" << sTemplateName << reason;
    return loadProjectPacket(folder);
}

bool RCProject::loadDownloadProjectPacket()
{
    m_lastOpenError.clear();
    const QString received = PacketReception::receivedPathOf(m_downloadPath);
    if (QFileInfo(received).isDir()) {
        const QString file = RCPacketFolder::projectFileOf(received);
        if (file.isEmpty() || RCProjectPacketIO::readProjectFile(file).isEmpty()) {
            qCWarning(lcRcProject) << "RCProject::loadDownloadProjectPacket"
                                   << "received packet refused" << received;
            PacketReception::discardReceived(m_downloadPath);
            openFailed(tr("收到的项目没有可读的项目文件"));
        } else if (!PacketReception::installReceived(m_downloadPath)) {
            openFailed(tr("无法替换安装文件夹 %1").arg(QDir::toNativeSeparators(m_downloadPath)));
        }
    }
    const bool opened = m_lastOpenError.isEmpty() && loadProjectPacket(m_downloadPath);
    qCInfo(lcRcProject).noquote() << "RCProject::loadDownloadProjectPacket install"
                                  << (opened ? QStringLiteral("opened") : QStringLiteral("failed: ") + m_lastOpenError);
    return opened;
}

void RCProject::setProjectPacketPath(QString sProjectPacketPath)
{
    if (m_packet->setPacketPath(sProjectPacketPath))
        Q_EMIT currentProjectChanged(RCPacketFolder::folderName(sProjectPacketPath));
}

// --- saving ------------------------------------------------------------------------------------

bool RCProject::saveProject(QString sFilePath, QString sImageFolder)
{
    return m_packet->saveProject(sFilePath, sImageFolder);
}

bool RCProject::saveProjectPacket(QString sProjectPacketPath)
{
    return saveProjectPacket(sProjectPacketPath, false);
}

bool RCProject::saveProjectPacket()
{
    return saveProjectPacket(m_packet->packetPath(), false);
}

bool RCProject::saveProjectPacket(QString sProjectPacketPath, bool bOverwriteChanged)
{
    const bool saved = m_packet->savePacket(sProjectPacketPath,
                                            bOverwriteChanged ? RCProjectPacketSaver::ChangedFile::Overwrite
                                                              : RCProjectPacketSaver::ChangedFile::Refuse);
    // Every save leaves one line with its outcome, so that the log tells what the user was told.
    if (saved)
        qCInfo(lcRcProject) << "RCProject::saveProjectPacket"
                            << "saved" << sProjectPacketPath;
    else
        qCInfo(lcRcProject) << "RCProject::saveProjectPacket"
                            << "failed" << sProjectPacketPath << m_packet->lastError();
    return saved;
}
