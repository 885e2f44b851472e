#pragma once

#include "project/RCProject.h"

class QQmlEngine;
class RCCmdProcesserManager;
class RCSceneItemExcuteControler;
class RCStelvaneSyncer;

// The project as the program runs it: an RCProject with the subsystems above the project layer
// built, wired and owned around it. The constructor creates the control manager and catalogue,
// the mirror of the media server's state, the control link, the dispatch of the server's
// commands, the actions and the item executor, both sides of project distribution and the window
// event filter, hands them to the project, wires them to one another, to the presenters, the
// settings and the cloud client, and registers the QML types and root-context services.
//
// Created once by RCStartUp::createProject (or directly by a program that hosts no window),
// without a parent, on the GUI thread; deleted before the QML engine. The destructor stops the
// control link and deletes what the constructor made, each before the project's own services go.
class RCProjectRoot : public RCProject
{
    Q_OBJECT

public:
    // `engine` receives the mirror's image provider and the root-context services; null builds
    // everything but publishes nothing. `productNames` are the media-server products the control
    // link accepts.
    RCProjectRoot(QQmlEngine* engine, const QStringList& productNames);
    ~RCProjectRoot() override;

public Q_SLOTS:
    // Taps routed to the action manager: an item's, and a scene's (with no item).
    void onItemActionTrigger(QString sceneId, QString sceneItemId, int actionType, QVariant data);
    void onSceneActionTrigger(QString sceneId, int actionType, QVariant data);

private:
    // Creates the item executor, which runs an item as if tapped when another item asks for it.
    void initSceneItemExcuteControler();
    // Creates the mirror of the media server's state, which registers its image provider with the
    // engine.
    void initStelvaneSyncer();
    // Creates the control link (discovery on the UDP port the media servers answer to, automatic
    // connection on).
    void initTerminal(const QStringList& productNames);
    // Creates the dispatch of the media server's commands and hands it every command the control
    // link receives.
    void initCmdProcesserManager();
    void wireConnectionState();
    // Creates the action manager and routes the presenters' taps and the mirror's requests to it.
    // Needs the control link and the mirror.
    void initActionManager();
    // Hands changes of "DefaultIp" and "DefaultPassword" to the control link.
    void wireSettingsToTerminal();
    // Creates the project distribution: the designer side, not started, then the panel side,
    // receiving into the download folder and started.
    void initPacketDistribution();
    // Points the cloud client at its relay, keeps the join data in the settings (the code is
    // forgotten only when the relay refuses it) and joins the stored cloud project again.
    void initCloud();

    QQmlEngine* m_engine = nullptr;
    // Owned, like every pointer below; each is handed to the project as well, which keeps it
    // until the destructor takes it back.
    IRCControlManager* m_controlManager = nullptr;
    // Stopped (its worker threads quit and awaited) before it is deleted.
    IRCTerminal* m_terminal = nullptr;
    // Each stops its workers when deleted.
    IRCPacketServer* m_packetServer = nullptr;
    IRCPacketTerminal* m_packetTerminal = nullptr;
    // Deleted after the terminal (whose stop still reaches it) and before the engine.
    RCStelvaneSyncer* m_stelvaneSyncer = nullptr;
    // Deleted after the terminal, so that no command reaches it afterwards.
    RCCmdProcesserManager* m_cmdProcesserManager = nullptr;
    // Deleted after the control link and the mirror.
    IRCActionManager* m_actionManager = nullptr;
    // Deleted last among the services.
    RCSceneItemExcuteControler* m_sceneItemExcuteControler = nullptr;
};
