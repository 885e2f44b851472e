#pragma once

#include "project/IRCProject.h"
#include "project/RCProjectServices.h"
#include "project/RCStoredProjects.h"

#include <QMap>
#include <QStringList>

#include <memory>

class RCImageManager;
class RCMessageBoxManager;
class RCProjectFileReader;
class RCProjectPacketIO;

// The open project as QML and the subsystems reach it: its packet, the built-in templates, the
// stored projects, the application mode. Reading packets is RCProjectPacketIO's work, writing them
// its saver's (RCProjectPacketSaver), the list of stored projects RCStoredProjects'; the project
// opens templates, received and stored packets through them and tells who listens which packet is
// open.
//
// Makes the application folders and owns the project's own services: the message-box manager, the
// image manager and the settings. It also owns the services of the layers above it (control
// manager, control link, mirror, command dispatch, actions, item executor, project distribution),
// which the composition root (RCProjectRoot, deriving from it) builds, wires and hands over once;
// until then their getters answer null. Lives on the GUI thread.
class RCProject : public IRCProject
{
    Q_OBJECT

public:
    explicit RCProject(QObject* parent = nullptr);
    // Stops the control link, then destroys the adopted services in reverse declaration order
    // (see RCProjectServices), then the project's own.
    ~RCProject() override;

    void setTemplateProjectList(QVariantList projectList) override;
    bool hasChangedOnClosing() const override;
    bool isTemplateProject() const override;
    void initDefaultScene() override;
    int getInitState() override;
    void setInitState(int state) override;
    QSize getTemplateProjectSceneSize() override;
    Platform* getPlatform() const override;
    IRCControlManager* getControlManager() const override;
    RCScenePresenter* getScenePresenter() const override;
    RCSceneItemPresenter* getSceneItemPresenter() const override;
    RCCmdPresenter* getCmdPresenter() const override;
    IRCTerminal* getTerminal() override;
    IRCStelvaneSyncer* getStelvaneSyncer() override;
    IRCSetting* getSetting() override;
    IRCActionManager* getActionManager() override;
    IRCPacketServer* getPacketServer() override;
    IRCPacketTerminal* getPacketTerminal() override;
    bool loadStorageProjectPacket(QString sProjectPacketName) override;
    bool loadStorageProjectFile(QString sFilePath) override;
    // A project file being read ahead (main's, at start-up): the next packet load takes it over
    // and uses it when it loads that file (RCProjectPacketIO::setReadAhead).
    void setReadAhead(std::unique_ptr<RCProjectFileReader> reader);
    // The main window has drawn a frame (RCProjectPacketIO::windowDrawn). GUI thread.
    void windowDrawn();
    bool loadTemplateProjectPacket(QString sTemplateName) override;
    // A packet just received (see IRCPacketTerminal) replaces the installed one only when its
    // project file reads as a project; otherwise it goes, and the installed packet stays as it
    // was. Then loads the installed packet.
    bool loadDownloadProjectPacket() override;
    bool loadProjectPacket(QString sProjectPacketPath) override;
    bool saveProjectPacket(QString sProjectPacketPath) override;
    bool saveProjectPacket() override;
    bool saveProjectPacket(QString sProjectPacketPath, bool bOverwriteChanged) override;
    bool saveProject(QString sFilePath, QString sImageFolder) override;
    bool loadProject(QString sFilePath) override;
    bool setProject(QJsonObject jsObj) override;
    void setProjectPacketPath(QString sProjectPacketPath) override;
    QString getProjectPacketPath() const override;
    QString getNewProjectPacketPath() const override;
    QString getDownloadProjectPacketPath() const override;
    QStringList getManagedPaths() const override;
    QString getProjectName() const override;
    QString getProjectThumbnail() const override;
    // The folder that holds the document's pictures: where its references resolve (after a download,
    // the folder they came from until a save gathers them), else the packet's image folder.
    QString getProjectImageFolderPath() const override;
    int getTemplateProjectCout() override;
    QVariantMap getTemplateProject(int i) const override;
    int getProjectCount() override;
    QVariantMap getProject(int i) override;
    bool isNewProject() override;
    // Refused (false, nothing deleted) also while the open document shows pictures from the packet.
    bool removeProjectPakcet(QString sPacketPath) override;
    QString getLastSaveError() const override;
    bool isProjectFileChangedOnDisk() const override;
    QString getLastOpenError() const override;
    QStringList getMissingPictures() const override;
    // Marks the document changed when it emptied any value.
    int dropMissingPictures() override;
    bool isPacketPictureSource(QString sPacketPath) const override;
    bool renameProjectPakcet(QString sPacketPath, QString sProjectName, QString sNewProjectName) override;
    void setAppModel(IRCProject::EAppModel appModel) override;
    IRCProject::EAppModel getAppModel() const override;
    bool isConnectFromHost() const override;
    // Without a main window taking closeRequested, the application quits.
    void requestClose() override;
    // Without a main window taking switchProjectRequested, the packet is opened only when the open
    // project has no unsaved changes.
    void requestSwitchProject(QString sProjectPacketPath) override;

    RCImageManager* getImageManager() const { return m_imageManager.get(); }
    RCMessageBoxManager* getMessageBoxManager() const { return m_messageBoxManager; }
    QString getApplicationPath() const { return m_appPath; }
    QString getDownloadPath() const { return m_downloadPath; }
    QString getSettingFilePath() const { return m_settingFilePath; }

protected:
    // For the composition root: takes the services it built and wired around the project, once,
    // before the event loop runs. From then on connectToHost sets the connected flag and the
    // control link's socketDisconnected clears it.
    void adoptServices(RCProjectServices services);

private:
    // Makes the application folder (a box reports failure) and the cache and download folders.
    void makeFolders();
    // Keeps reason as the last opening's failure and answers false.
    bool openFailed(const QString& reason);

    // The message-box manager, the settings and the packet I/O are children.
    RCMessageBoxManager* m_messageBoxManager = nullptr;
    std::unique_ptr<RCImageManager> m_imageManager;
    IRCSetting* m_setting = nullptr;
    RCProjectPacketIO* m_packet = nullptr;
    RCStoredProjects m_storedProjects;
    // Declared after the project's own services, so they outlive these.
    RCProjectServices m_services;

    QString m_appPath;
    QString m_newProjectCachePath;
    QString m_downloadPath;
    QString m_settingFilePath;
    QString m_lastOpenError;

    QVariantList m_templateList;
    QMap<QString, QVariantMap> m_templateIndex;

    IRCProject::EAppModel m_appModel = EAppModel_Edit;
    bool m_connected = false;
    int m_initState = 0;
};
