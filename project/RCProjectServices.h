#pragma once

#include "project/RCServicePtr.h"

class IRCActionManager;
class IRCControlManager;
class IRCPacketServer;
class IRCPacketTerminal;
class IRCStelvaneSyncer;
class IRCTerminal;
class RCCmdProcesserManager;
class RCSceneItemExcuteControler;

// The services that the composition root builds and wires around the project, each owned here
// and only here once the project has adopted them (RCProject::adoptServices). Declared in
// dependency order: a service may use those declared above it, never those below. They are
// destroyed in reverse order, each before what it uses; the project stops the control link first
// (see ~RCProject). GUI thread only.
struct RCProjectServices
{
    // The control catalogue, read by the packet I/O, the presenters and the actions.
    RCServicePtr<IRCControlManager> controlManager;
    // The control link to the media server; its workers run in threads of their own.
    RCServicePtr<IRCTerminal> terminal;
    // Project distribution, designer side and panel side; each ends its workers when destroyed.
    RCServicePtr<IRCPacketServer> packetServer;
    RCServicePtr<IRCPacketTerminal> packetTerminal;
    // The mirror of the media server's state, told of the control link's state.
    RCServicePtr<IRCStelvaneSyncer> stelvaneSyncer;
    // Runs the control link's commands into the mirror.
    RCServicePtr<RCCmdProcesserManager> cmdProcesserManager;
    // The actions: they send through the control link and read the mirror. The click sound's
    // thread ends with them.
    RCServicePtr<IRCActionManager> actionManager;
    // Runs scene items as if tapped, through the actions.
    RCServicePtr<RCSceneItemExcuteControler> sceneItemExcuteControler;
};
