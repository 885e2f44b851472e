#pragma once

#include "project/IRCProject.h"

#include <QMap>
#include <QStringList>

class RCImageManager;
class RCMessageBoxManager;

// The open project as QML and the subsystems reach it: its packet path, the template and project
// lists, the application mode. Loads, upgrades and saves project packets.
//
// Loading is all-or-nothing: a packet whose project file is missing, unreadable, not a JSON
// object or without "sceneArray" leaves the packet path, the image manager and the scenes as they
// were. Saving replaces the project file atomically and deletes images that nothing references
// only after the new file is in place; a save that cannot copy a picture the document references,
// or cannot write the file, fails and takes back what it wrote (picture copies, folders it made).
// Naming a new packet moves no picture: the image manager keeps resolving the document's pictures
// in the folder that holds them until a save into the packet gathers them there.
//
// Makes the application folders and owns the project's own services: the message-box manager, the
// image manager and the settings. The services of the layers above it (control manager, control
// link, mirror, actions, project distribution) are built, owned and handed in by the composition
// root (RCProjectRoot), which derives from it; until then their getters answer null. Lives on
// the GUI thread.
class RCProject : public IRCProject
{
    Q_OBJECT

public:
    explicit RCProject(QObject* parent = nullptr);
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
    bool loadTemplateProjectPacket(QString sTemplateName) override;
    // A packet just received (see IRCPacketTerminal) replaces the installed one only when its
    // project file reads as a project; otherwise it goes, and the installed packet stays as it
    // was. Then loads the installed packet.
    bool loadDownloadProjectPacket() override;
    bool loadProjectPacket(QString sProjectPacketPath) override;
    bool saveProjectPacket(QString sProjectPacketPath) override;
    bool saveProjectPacket() override;
    bool saveProject(QString sFilePath, QString sImageFolder) override;
    bool loadProject(QString sFilePath) override;
    bool setProject(QJsonObject jsObj) override;
    void setProjectPacketPath(QString sProjectPacketPath) override;
    QString getProjectPacketPath() const override;
    QString getNewProjectPacketPath() const override;
    QString getProjectName() const override;
    QString getProjectThumbnail() const override;
    QString getProjectImageFolderPath() const override;
    int getTemplateProjectCout() override;
    QVariantMap getTemplateProject(int i) const override;
    int getProjectCount() override;
    QVariantMap getProject(int i) override;
    bool isNewProject() override;
    bool removeProjectPakcet(QString sPacketPath) override;
    bool renameProjectPakcet(QString sPacketPath, QString sProjectName, QString sNewProjectName) override;
    void setAppModel(IRCProject::EAppModel appModel) override;
    IRCProject::EAppModel getAppModel() const override;
    bool isConnectFromHost() const override;
    // Without a main window taking closeRequested, the application quits.
    void requestClose() override;
    // Without a main window taking switchProjectRequested, the packet is opened only when the open
    // project has no unsaved changes.
    void requestSwitchProject(QString sProjectPacketPath) override;

    RCImageManager* getImageManager() const { return m_imageManager; }
    RCMessageBoxManager* getMessageBoxManager() const { return m_messageBoxManager; }
    QString getApplicationPath() const { return m_appPath; }
    QString getDownloadPath() const { return m_downloadPath; }
    QString getSettingFilePath() const { return m_settingFilePath; }

    // The "version" that a saved project file carries.
    static QString projectFileVersion();

protected:
    // For the composition root: a service it built around the project, or null once it is about
    // to delete it. The project hands it out and uses it but does not own it.
    void setControlManager(IRCControlManager* controlManager);
    void setTerminal(IRCTerminal* terminal);
    void setStelvaneSyncer(IRCStelvaneSyncer* stelvaneSyncer);
    void setActionManager(IRCActionManager* actionManager);
    void setPacketDistribution(IRCPacketServer* packetServer, IRCPacketTerminal* packetTerminal);
    // The media server has confirmed the control link (true), or the link is down (false).
    void setConnectedToHost(bool connected);

private:
    // Makes the application folder (a box reports failure) and the cache and download folders.
    void makeFolders();
    // Reads a project file: its JSON object, or an empty object when it cannot be read, is
    // not a JSON object or has no "sceneArray" object.
    static QJsonObject readProjectFile(const QString& filePath);
    // Applies a checked project object: settings, scenes, catalogue upgrade, clean history.
    void applyProject(const QJsonObject& jsObj);
    // Gives every item the rows that its catalogue control defines and it lacks.
    void upgradeItems();
    void markSaved();
    static QString folderName(const QString& path);
    static bool samePath(const QString& a, const QString& b);

    // Owned: the message-box manager and the settings as children, the image manager deleted by
    // the destructor.
    RCMessageBoxManager* m_messageBoxManager = nullptr;
    RCImageManager* m_imageManager = nullptr;
    IRCSetting* m_setting = nullptr;
    // Handed in by the composition root; not owned.
    IRCControlManager* m_controlManager = nullptr;
    IRCTerminal* m_terminal = nullptr;
    IRCPacketServer* m_packetServer = nullptr;
    IRCPacketTerminal* m_packetTerminal = nullptr;
    IRCStelvaneSyncer* m_stelvaneSyncer = nullptr;
    IRCActionManager* m_actionManager = nullptr;

    QString m_appPath;
    QString m_newProjectCachePath;
    QString m_downloadPath;
    QString m_settingFilePath;
    QString m_projectPacketPath;

    QVariantList m_templateList;
    QMap<QString, QVariantMap> m_templateIndex;
    QList<QVariantMap> m_projectList;

    IRCProject::EAppModel m_appModel = EAppModel_Edit;
    bool m_connected = false;
    int m_initState = 0;
    // Set by every recorded edit, undo and redo, and by every scene or item added or removed
    // without a record; cleared by a successful load or save. Unlike "the undo history is not
    // empty" it survives the history's cap.
    bool m_modified = false;
};
