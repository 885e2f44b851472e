#pragma once

#include "project/IRCProject.h"

#include <QMap>
#include <QStringList>

class QQmlEngine;
class RCCmdProcesserManager;
class RCImageManager;
class RCSceneItemExcuteControler;
class RCMessageBoxManager;
class RCStelvaneSyncer;

// The project root: creates and wires the application's services, and holds the open project
// (its packet path, the template and project lists, the application mode). Loads, upgrades and
// saves project packets.
//
// Loading is all-or-nothing: a packet whose project file is missing, unreadable, not a JSON
// object or without "sceneArray" leaves the packet path, the image manager and the scenes as they
// were. Saving replaces the project file atomically and deletes images that nothing references
// only after the new file is in place; a save that cannot copy a picture the document references,
// or cannot write the file, fails and takes back what it wrote (picture copies, folders it made).
// Naming a new packet moves no picture: the image manager keeps resolving the document's pictures
// in the folder that holds them until a save into the packet gathers them there.
//
// Owns the control manager, the control link, the mirror of the media server's state, the dispatch
// of the server's commands, the image manager, the settings, the message-box manager and the
// window event filter. Lives on the GUI
// thread, created once by main and deleted by it before the QML engine.
class RCProject : public IRCProject
{
    Q_OBJECT

public:
    RCProject(QQmlEngine* engine, const QStringList& productNames, QObject* parent = nullptr);
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

public Q_SLOTS:
    // Taps routed to the action manager: an item's, and a scene's (with no item).
    void onItemActionTrigger(QString sceneId, QString sceneItemId, int actionType, QVariant data);
    void onSceneActionTrigger(QString sceneId, int actionType, QVariant data);

private:
    void init();
    // Creates the item executor, which runs an item as if tapped when another item asks for it.
    void initSceneItemExcuteControler();
    // Creates the mirror of the media server's state, which registers its image provider with the
    // engine.
    void initStelvaneSyncer();
    // Creates the control link (discovery on the UDP port the media servers answer to, automatic
    // connection on) and the project's reactions to its state.
    void initTerminal();
    // Creates the dispatch of the media server's commands and hands it every command the control
    // link receives.
    void initCmdProcesserManager();
    void wireConnectionState();
    // Hands changes of "DefaultIp" and "DefaultPassword" to the control link.
    void wireSettingsToTerminal();
    // Creates the action manager and routes the presenters' taps and the mirror's requests to it.
    // Needs the control link and the mirror.
    void initActionManager();
    // Creates the project distribution: the designer side, not started, then the panel side,
    // receiving into the download folder and started.
    void initPacketDistribution();
    // Points the cloud client at its relay, keeps the join data in the settings (the code is
    // forgotten only when the relay refuses it) and joins the stored cloud project again.
    void initCloud();
    // Registers the QML types of the built subsystems, each in its module "Rc.<name>" 1.0, and
    // publishes the root-context services. Needs the message-box and image managers.
    void registerQmlTypes();
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

    QQmlEngine* m_engine = nullptr;
    QStringList m_productNames;
    RCMessageBoxManager* m_messageBoxManager = nullptr;
    IRCControlManager* m_controlManager = nullptr;
    RCImageManager* m_imageManager = nullptr;
    IRCSetting* m_setting = nullptr;
    // Owned; stopped (its worker threads quit and awaited) before it is deleted.
    IRCTerminal* m_terminal = nullptr;
    // Owned; each stops its workers when deleted.
    IRCPacketServer* m_packetServer = nullptr;
    IRCPacketTerminal* m_packetTerminal = nullptr;
    // Owned; deleted after the terminal (whose stop still reaches it) and before the engine.
    RCStelvaneSyncer* m_stelvaneSyncer = nullptr;
    // Owned; deleted after the terminal, so that no command reaches it afterwards.
    RCCmdProcesserManager* m_cmdProcesserManager = nullptr;
    // Owned; deleted after the control link and the mirror.
    IRCActionManager* m_actionManager = nullptr;
    // Owned; deleted last among the services.
    RCSceneItemExcuteControler* m_sceneItemExcuteControler = nullptr;

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
