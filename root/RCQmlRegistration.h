#pragma once

#include <QByteArray>

#include <vector>

class QQmlEngine;
struct QMetaObject;
class RCProject;

// What QML reaches of the program besides the objects handed to it by invokables: the types of
// every subsystem, each in a module "Rc.<name>" 1.0 of its own (and the module
// "Rc.QmlComponents"), and the project's services on the engine's root context. GUI thread only.
class RCQmlRegistration
{
public:
    // One QML type as registered: exported as `name` 1.0 by `module`, described by `metaObject`.
    // `registerType` registers it (with the engine-wide type registry) from this entry.
    struct Type
    {
        QByteArray module;
        QByteArray name;
        const QMetaObject* metaObject = nullptr;
        bool creatable = false;
        void (*registerType)(const Type& type) = nullptr;
    };

    // Every type, in the order of registration. The same list feeds registerTypes() and the
    // type descriptions that let tools check the QML without running it.
    static const std::vector<Type>& types();
    // Registers the types the first time it is called in the process; later calls do nothing.
    // The programs (main, the Quick Test set-up) call it before they load any QML.
    static void registerTypes();
    // Publishes the message-box manager, the image manager, the project file version, the small
    // QML services and the cloud client (creating its process-wide instance) on the engine's root
    // context. The project keeps its services alive as long as the engine uses them.
    static void publishServices(QQmlEngine* engine, RCProject* project);

private:
    RCQmlRegistration() = delete;
};
