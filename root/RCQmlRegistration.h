#pragma once

class QQmlEngine;
class RCProject;

// What QML reaches of the program besides the objects handed to it by invokables: the types of
// every subsystem, each in a module "Rc.<name>" 1.0 of its own (and the module
// "Rc.QmlComponents"), and the project's services on the engine's root context. GUI thread only.
class RCQmlRegistration
{
public:
    // Registers the types; called once per process before QML imports any of the modules (again
    // is harmless).
    static void registerTypes();
    // Publishes the message-box manager, the image manager, the project file version, the small
    // QML services and the cloud client (creating its process-wide instance) on the engine's root
    // context. The project keeps its services alive as long as the engine uses them.
    static void publishServices(QQmlEngine* engine, RCProject* project);

private:
    RCQmlRegistration() = delete;
};
