#include "root/RCQmlRegistration.h"

#include "actions/IRCAction.h"
#include "actions/IRCActionManager.h"
#include "actions/RCScriptProcess.h"
#include "canvas/RCSceneItemVeilLayer.h"
#include "canvas/RCSceneItemViewLayer.h"
#include "canvas/RCSceneItemViewSlot.h"
#include "cloud/TavixProjectCloudClient.h"
#include "editing/Platform.h"
#include "editing/RCCmdPresenter.h"
#include "editing/RCPropertyRowModel.h"
#include "editing/RCSceneItemModel.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/ProgramTableModel.h"
#include "mirror/QmlComponents.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCControlManager.h"
#include "model/IRCObject.h"
#include "model/RcEnums.h"
#include "network/IRCPacketServer.h"
#include "network/IRCPacketTerminal.h"
#include "network/IRCTerminal.h"
#include "project/CursorPosProvider.h"
#include "project/IRCInterface.h"
#include "project/IRCLog.h"
#include "project/IRCSetting.h"
#include "project/PathSelection.h"
#include "project/PhotoSelection.h"
#include "project/RCImageManager.h"
#include "project/RCInterface.h"
#include "project/RCMessageBoxManager.h"
#include "project/RCProject.h"
#include "project/RCProjectPacketSaver.h"
#include "project/RCWindowEventFilter.h"

#include <QQmlContext>
#include <QQmlEngine>

#include <type_traits>

namespace {

// Registers T under the entry's module and name; a type that QML cannot create (its constructor
// is not public) is registered for its enumerations and as a property type.
template <typename T> void registerRcType(const RCQmlRegistration::Type& type)
{
    if constexpr (std::is_constructible_v<T>)
        qmlRegisterType<T>(type.module.constData(), 1, 0, type.name.constData());
    else
        qmlRegisterUncreatableType<T>(type.module.constData(), 1, 0, type.name.constData(),
                                      QStringLiteral("%1 is a service").arg(QLatin1String(type.name)));
}

// T as QML type `name` in the module "Rc.<name>" 1.0.
template <typename T> RCQmlRegistration::Type rcType(const char* name)
{
    return {QByteArrayLiteral("Rc.") + name, name, &T::staticMetaObject, std::is_constructible_v<T>,
            &registerRcType<T>};
}

// A service published on the root context, as a type that views declare their inputs with and
// never create: T as QML type `name` in the module "Rc.<name>" 1.0, not creatable.
template <typename T> RCQmlRegistration::Type serviceType(const char* name)
{
    const auto registerService = [](const RCQmlRegistration::Type& type) {
        qmlRegisterUncreatableType<T>(type.module.constData(), 1, 0, type.name.constData(),
                                      QStringLiteral("%1 is a service").arg(QLatin1String(type.name)));
    };
    return {QByteArrayLiteral("Rc.") + name, name, &T::staticMetaObject, false, registerService};
}

} // namespace

const std::vector<RCQmlRegistration::Type>& RCQmlRegistration::types()
{
    static const std::vector<Type> list = {
        rcType<IRCObject>("IRCObject"),
        rcType<Platform>("Platform"),
        rcType<IRCControl>("IRCControl"),
        rcType<IRCControlManager>("IRCControlManager"),
        rcType<RCScenePresenter>("RCScenePresenter"),
        rcType<RCSceneItemPresenter>("RCSceneItemPresenter"),
        rcType<RCSceneItemModel>("RCSceneItemModel"),
        rcType<RCPropertyRowModel>("RCPropertyRowModel"),
        rcType<RCSceneItemViewSlot>("RCSceneItemViewSlot"),
        rcType<RCSceneItemViewLayer>("RCSceneItemViewLayer"),
        rcType<RCSceneItemVeilLayer>("RCSceneItemVeilLayer"),
        rcType<RCCmdPresenter>("RCCmdPresenter"),
        rcType<IRCProject>("IRCProject"),
        rcType<IRCControlInstantiationParam>("IRCControlInstantiationParam"),
        rcType<IRCAction>("IRCAction"),
        rcType<IRCActionManager>("IRCActionManager"),
        rcType<IRCTerminal>("IRCTerminal"),
        rcType<PhotoSelection>("PhotoSelection"),
        rcType<PathSelection>("PathSelection"),
        rcType<IRCStelvaneSyncer>("IRCStelvaneSyncer"),
        rcType<RCMessageBoxManager>("RCMessageBoxManager"),
        rcType<IRCSetting>("IRCSetting"),
        // The image manager's interface name is what QML imports; the class behind it is the one
        // the project hands out.
        {"Rc.IRCImageManager", "IRCImageManager", &RCImageManager::staticMetaObject, true,
         [](const Type& type) {
             qmlRegisterType<RCImageManager>(type.module.constData(), 1, 0, type.name.constData());
         }},
        rcType<IRCPacketServer>("IRCPacketServer"),
        rcType<IRCPacketTerminal>("IRCPacketTerminal"),
        rcType<RCScriptProcess>("RCScriptProcess"),
        rcType<IRCInterface>("IRCInterface"),
        rcType<RcEnums>("RcEnums"),
        // The root-context services that no getter hands out, as the types of the views' inputs.
        serviceType<TavixProjectCloudClient>("TavixProjectCloudClient"),
        serviceType<IRCLog>("IRCLog"),
        serviceType<RCWindowEventFilter>("RCWindowEventFilter"),
        serviceType<CursorPosProvider>("CursorPosProvider"),
        // Declared by the class itself (every minor version of 1).
        {"Rc.QmlComponents", "ProgramTableModel", &ProgramTableModel::staticMetaObject, true,
         [](const Type&) { qml_register_types_Rc_QmlComponents(); }},
    };
    return list;
}

void RCQmlRegistration::registerTypes()
{
    static const bool registered = [] {
        for (const Type& type : types())
            type.registerType(type);
        return true;
    }();
    Q_UNUSED(registered);
}

void RCQmlRegistration::publishServices(QQmlEngine* engine, RCProject* project)
{
    QQmlContext* context = engine->rootContext();
    context->setContextProperty(QStringLiteral("getRCMessageBoxManager"), project->getMessageBoxManager());
    context->setContextProperty(QStringLiteral("getImageManager"), project->getImageManager());
    context->setContextProperty(QStringLiteral("getVersion"), RCProjectPacketSaver::fileVersion());
    context->setContextProperty(QStringLiteral("getRCInterface"), RCInterface::instance());
    context->setContextProperty(QStringLiteral("tavixProjectCloudClient"),
                                TavixProjectCloudClient::instance());
}
