#pragma once

#include <QJsonObject>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include "editing/Platform.h"
#include "editing/RCCmdPresenter.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControlManager.h"
#include "network/IRCPacketServer.h"
#include "network/IRCPacketTerminal.h"
#include "network/IRCTerminal.h"
#include "project/IRCSetting.h"

// Services of the subsystems above the project, named here and built by the composition root. QML
// resolves the types that the getters return by name, from their registration (RCQmlRegistration).
class IRCActionManager;
class IRCStelvaneSyncer;

// The root interface through which the user interface and the other subsystems reach the open
// project: its shared services, the paths of the current project packet, the built-in templates
// and stored projects, loading and saving, the application mode and the connection signals.
// The interface's own bodies answer empty values. Constructed without a parent; GUI thread only.
class IRCProject : public QObject
{
    Q_OBJECT

public:
    enum EAppModel
    {
        EAppModel_Edit = 0,
        EAppModel_Control = 1
    };
    Q_ENUM(EAppModel)

    explicit IRCProject(QObject* parent = nullptr);

    Q_INVOKABLE virtual void setTemplateProjectList(QVariantList projectList);
    Q_INVOKABLE virtual bool hasChangedOnClosing() const;
    Q_INVOKABLE virtual bool isTemplateProject() const;
    virtual void initDefaultScene();
    Q_INVOKABLE virtual int getInitState();
    virtual void setInitState(int state);
    // The "DefaultSize" of the template whose name is the packet folder's; -1 x -1 for a project
    // that is no template copy.
    Q_INVOKABLE virtual QSize getTemplateProjectSceneSize();
    Q_INVOKABLE virtual Platform* getPlatform() const;
    Q_INVOKABLE virtual IRCControlManager* getControlManager() const;
    Q_INVOKABLE virtual RCScenePresenter* getScenePresenter() const;
    Q_INVOKABLE virtual RCSceneItemPresenter* getSceneItemPresenter() const;
    Q_INVOKABLE virtual RCCmdPresenter* getCmdPresenter() const;
    Q_INVOKABLE virtual IRCTerminal* getTerminal();
    Q_INVOKABLE virtual IRCStelvaneSyncer* getStelvaneSyncer();
    Q_INVOKABLE virtual IRCSetting* getSetting();
    Q_INVOKABLE virtual IRCActionManager* getActionManager();
    Q_INVOKABLE virtual IRCPacketServer* getPacketServer();
    Q_INVOKABLE virtual IRCPacketTerminal* getPacketTerminal();
    Q_INVOKABLE virtual bool loadStorageProjectPacket(QString sProjectPacketName);
    Q_INVOKABLE virtual bool loadStorageProjectFile(QString sFilePath);
    Q_INVOKABLE virtual bool loadTemplateProjectPacket(QString sTemplateName);
    Q_INVOKABLE virtual bool loadDownloadProjectPacket();
    Q_INVOKABLE virtual bool loadProjectPacket(QString sProjectPacketPath);
    // Both refuse to replace a project file that another program changed on disk since this one
    // last read or wrote it (isProjectFileChangedOnDisk); getLastSaveError() then says so.
    Q_INVOKABLE virtual bool saveProjectPacket(QString sProjectPacketPath);
    Q_INVOKABLE virtual bool saveProjectPacket();
    // As saveProjectPacket(sProjectPacketPath); with bOverwriteChanged (the user was asked and
    // agreed) it replaces such a changed file too.
    Q_INVOKABLE virtual bool saveProjectPacket(QString sProjectPacketPath, bool bOverwriteChanged);
    Q_INVOKABLE virtual bool saveProject(QString sFilePath, QString sImageFolder);
    Q_INVOKABLE virtual bool loadProject(QString sFilePath);
    Q_INVOKABLE virtual bool setProject(QJsonObject jsObj);
    Q_INVOKABLE virtual void setProjectPacketPath(QString sProjectPacketPath);
    Q_INVOKABLE virtual QString getProjectRootPath() const;
    Q_INVOKABLE virtual QString getProjectPacketPath() const;
    Q_INVOKABLE virtual QString getNewProjectPacketPath() const;
    // The folder a packet received from a designer is installed into; every install replaces it.
    Q_INVOKABLE virtual QString getDownloadProjectPacketPath() const;
    // The other entries of the application folder that the program writes, replaces or deletes on
    // its own (the folders an install passes through, the settings, the recent list, the log
    // folder): no packet may be saved as or into one of them.
    Q_INVOKABLE virtual QStringList getManagedPaths() const;
    Q_INVOKABLE virtual QString getProjectFilePath() const;
    Q_INVOKABLE virtual QString getProjectName() const;
    Q_INVOKABLE virtual QString getProjectThumbnail() const;
    Q_INVOKABLE virtual QString getProjectImageFolderPath() const;
    Q_INVOKABLE virtual int getTemplateProjectCout();
    Q_INVOKABLE virtual QVariantMap getTemplateProject(int i) const;
    Q_INVOKABLE virtual int getProjectCount();
    Q_INVOKABLE virtual QVariantMap getProject(int i);
    // Whether a save must ask for a folder first: no packet yet, an empty one, a template copy, or
    // a packet inside a folder that the program empties, replaces or deletes (getManagedPaths()
    // and the two above).
    Q_INVOKABLE virtual bool isNewProject();
    Q_INVOKABLE virtual bool removeProjectPakcet(QString sPacketPath);
    Q_INVOKABLE virtual bool renameProjectPakcet(QString sPacketPath, QString sProjectName,
                                                 QString sNewProjectName);
    Q_INVOKABLE virtual bool saveOtherProjectPakcet(QString sNewProjectName);
    // Why the last save failed, for the user ("" after a successful one).
    Q_INVOKABLE virtual QString getLastSaveError() const;
    // Whether the open packet's project file was changed on disk by another program or another
    // instance since this one last read or wrote it; a save in place asks before it replaces it.
    Q_INVOKABLE virtual bool isProjectFileChangedOnDisk() const;
    // Why the last opening of a project (a stored packet, a template copy, a received packet)
    // failed, for the user ("" after one that opened, or when it is not known).
    Q_INVOKABLE virtual QString getLastOpenError() const;
    // The file names of the pictures the document shows from disk that are not there; a save
    // asks before it goes ahead without them (dropMissingPictures empties their values).
    Q_INVOKABLE virtual QStringList getMissingPictures() const;
    Q_INVOKABLE virtual int dropMissingPictures();
    // Whether the open document shows pictures from inside this packet folder, so that deleting
    // the packet would take them away.
    Q_INVOKABLE virtual bool isPacketPictureSource(QString sPacketPath) const;
    Q_INVOKABLE virtual void setAppModel(IRCProject::EAppModel appModel);
    Q_INVOKABLE virtual IRCProject::EAppModel getAppModel() const;
    Q_INVOKABLE virtual bool isConnectFromHost() const;

    // Ask for the application to close or for another packet to be opened. Both are handed to the
    // main window (closeRequested, switchProjectRequested), which first offers to save unsaved
    // changes; both are deferred to the event loop, so a view that asks from its own handler is
    // never destroyed under it.
    Q_INVOKABLE virtual void requestClose();
    virtual void requestSwitchProject(QString sProjectPacketPath);

Q_SIGNALS:
    void appModelChanged(IRCProject::EAppModel appModel);
    void currentProjectChanged(QString sProjectName);
    void connectToHost(QString sIp);
    void connectPasswordError();
    void connectVerifyAsk();
    void disconnectFromHost();
    // The main window closes as its close button would (offering to save); see requestClose.
    void closeRequested();
    // The main window offers to save, then opens the packet with loadStorageProjectPacket; see
    // requestSwitchProject.
    void switchProjectRequested(QString sProjectPacketPath);
};
