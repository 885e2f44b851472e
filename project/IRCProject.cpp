#include "project/IRCProject.h"

IRCProject::IRCProject(QObject* parent) : QObject(parent) {}

void IRCProject::setTemplateProjectList(QVariantList projectList)
{
    Q_UNUSED(projectList);
}

bool IRCProject::hasChangedOnClosing() const
{
    return false;
}

bool IRCProject::isTemplateProject() const
{
    return false;
}

void IRCProject::initDefaultScene() {}

int IRCProject::getInitState()
{
    return 0;
}

void IRCProject::setInitState(int state)
{
    Q_UNUSED(state);
}

QSize IRCProject::getTemplateProjectSceneSize()
{
    return QSize();
}

Platform* IRCProject::getPlatform() const
{
    return nullptr;
}

IRCControlManager* IRCProject::getControlManager() const
{
    return nullptr;
}

RCScenePresenter* IRCProject::getScenePresenter() const
{
    return nullptr;
}

RCSceneItemPresenter* IRCProject::getSceneItemPresenter() const
{
    return nullptr;
}

RCCmdPresenter* IRCProject::getCmdPresenter() const
{
    return nullptr;
}

IRCTerminal* IRCProject::getTerminal()
{
    return nullptr;
}

IRCStelvaneSyncer* IRCProject::getStelvaneSyncer()
{
    return nullptr;
}

IRCSetting* IRCProject::getSetting()
{
    return nullptr;
}

IRCActionManager* IRCProject::getActionManager()
{
    return nullptr;
}

IRCPacketServer* IRCProject::getPacketServer()
{
    return nullptr;
}

IRCPacketTerminal* IRCProject::getPacketTerminal()
{
    return nullptr;
}

void IRCProject::requestClose() {}

void IRCProject::requestSwitchProject(QString sProjectPacketPath)
{
    Q_UNUSED(sProjectPacketPath);
}

bool IRCProject::loadStorageProjectPacket(QString sProjectPacketName)
{
    Q_UNUSED(sProjectPacketName);
    return false;
}

bool IRCProject::loadStorageProjectFile(QString sFilePath)
{
    Q_UNUSED(sFilePath);
    return false;
}

bool IRCProject::loadTemplateProjectPacket(QString sTemplateName)
{
    Q_UNUSED(sTemplateName);
    return false;
}

bool IRCProject::loadDownloadProjectPacket()
{
    return false;
}

bool IRCProject::loadProjectPacket(QString sProjectPacketPath)
{
    Q_UNUSED(sProjectPacketPath);
    return false;
}

bool IRCProject::saveProjectPacket(QString sProjectPacketPath)
{
    Q_UNUSED(sProjectPacketPath);
    return false;
}

bool IRCProject::saveProjectPacket()
{
    return false;
}

bool IRCProject::saveProjectPacket(QString sProjectPacketPath, bool bOverwriteChanged)
{
    Q_UNUSED(sProjectPacketPath);
    Q_UNUSED(bOverwriteChanged);
    return false;
}

bool IRCProject::saveProject(QString sFilePath, QString sImageFolder)
{
    Q_UNUSED(sFilePath);
    Q_UNUSED(sImageFolder);
    return false;
}

bool IRCProject::loadProject(QString sFilePath)
{
    Q_UNUSED(sFilePath);
    return false;
}

bool IRCProject::setProject(QJsonObject jsObj)
{
    Q_UNUSED(jsObj);
    return false;
}

void IRCProject::setProjectPacketPath(QString sProjectPacketPath)
{
    Q_UNUSED(sProjectPacketPath);
}

QString IRCProject::getProjectRootPath() const
{
    return QString();
}

QString IRCProject::getProjectPacketPath() const
{
    return QString();
}

QString IRCProject::getNewProjectPacketPath() const
{
    return QString();
}

QString IRCProject::getDownloadProjectPacketPath() const
{
    return QString();
}

QStringList IRCProject::getManagedPaths() const
{
    return QStringList();
}

QString IRCProject::getProjectFilePath() const
{
    return QString();
}

QString IRCProject::getProjectName() const
{
    return QString();
}

QString IRCProject::getProjectThumbnail() const
{
    return QString();
}

QString IRCProject::getProjectImageFolderPath() const
{
    return QString();
}

int IRCProject::getTemplateProjectCout()
{
    return 0;
}

QVariantMap IRCProject::getTemplateProject(int i) const
{
    Q_UNUSED(i);
    return QVariantMap();
}

int IRCProject::getProjectCount()
{
    return 0;
}

QVariantMap IRCProject::getProject(int i)
{
    Q_UNUSED(i);
    return QVariantMap();
}

bool IRCProject::isNewProject()
{
    return false;
}

bool IRCProject::removeProjectPakcet(QString sPacketPath)
{
    Q_UNUSED(sPacketPath);
    return false;
}

bool IRCProject::renameProjectPakcet(QString sPacketPath, QString sProjectName, QString sNewProjectName)
{
    Q_UNUSED(sPacketPath);
    Q_UNUSED(sProjectName);
    Q_UNUSED(sNewProjectName);
    return false;
}

bool IRCProject::saveOtherProjectPakcet(QString sNewProjectName)
{
    Q_UNUSED(sNewProjectName);
    return false;
}

bool IRCProject::isProjectFileChangedOnDisk() const
{
    return false;
}

QString IRCProject::getLastSaveError() const
{
    return QString();
}

QString IRCProject::getLastOpenError() const
{
    return QString();
}

QStringList IRCProject::getMissingPictures() const
{
    return QStringList();
}

int IRCProject::dropMissingPictures()
{
    return 0;
}

bool IRCProject::isPacketPictureSource(QString sPacketPath) const
{
    Q_UNUSED(sPacketPath);
    return false;
}

void IRCProject::setAppModel(IRCProject::EAppModel appModel)
{
    Q_UNUSED(appModel);
}

IRCProject::EAppModel IRCProject::getAppModel() const
{
    return EAppModel_Edit;
}

bool IRCProject::isConnectFromHost() const
{
    return false;
}
