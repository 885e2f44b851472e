#include "root/RCQmlRegistration.h"

#include "actions/IRCAction.h"
#include "actions/IRCActionManager.h"
#include "actions/RCScriptProcess.h"
#include "canvas/RCSceneItemViewSlot.h"
#include "cloud/TavixProjectCloudClient.h"
#include "editing/Platform.h"
#include "editing/RCCmdPresenter.h"
#include "editing/RCSceneItemModel.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/QmlComponents.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCControlManager.h"
#include "model/IRCObject.h"
#include "model/RcEnums.h"
#include "network/IRCPacketServer.h"
#include "network/IRCPacketTerminal.h"
#include "network/IRCTerminal.h"
#include "project/IRCInterface.h"
#include "project/IRCSetting.h"
#include "project/PhotoSelection.h"
#include "project/RCImageManager.h"
#include "project/RCInterface.h"
#include "project/RCMessageBoxManager.h"
#include "project/RCProject.h"
#include "project/RCProjectPacketIO.h"

#include <QQmlContext>
#include <QQmlEngine>

#include <type_traits>

namespace {

// Registers T as QML type `name` in the module "Rc.<name>" 1.0; a type that QML cannot create
// (its constructor is not public) is registered for its enumerations and as a property type.
template <typename T> void registerRcType(const char* name)
{
    const QByteArray uri = QByteArrayLiteral("Rc.") + name;
    if constexpr (std::is_constructible_v<T>)
        qmlRegisterType<T>(uri.constData(), 1, 0, name);
    else
        qmlRegisterUncreatableType<T>(uri.constData(), 1, 0, name,
                                      QStringLiteral("%1 is a service").arg(QLatin1String(name)));
}

} // namespace

void RCQmlRegistration::registerTypes()
{
    registerRcType<IRCObject>("IRCObject");
    registerRcType<Platform>("Platform");
    registerRcType<IRCControl>("IRCControl");
    registerRcType<IRCControlManager>("IRCControlManager");
    registerRcType<RCScenePresenter>("RCScenePresenter");
    registerRcType<RCSceneItemPresenter>("RCSceneItemPresenter");
    registerRcType<RCSceneItemModel>("RCSceneItemModel");
    registerRcType<RCSceneItemViewSlot>("RCSceneItemViewSlot");
    registerRcType<RCCmdPresenter>("RCCmdPresenter");
    registerRcType<IRCProject>("IRCProject");
    registerRcType<IRCControlInstantiationParam>("IRCControlInstantiationParam");
    registerRcType<IRCAction>("IRCAction");
    registerRcType<IRCActionManager>("IRCActionManager");
    registerRcType<IRCTerminal>("IRCTerminal");
    registerRcType<PhotoSelection>("PhotoSelection");
    registerRcType<IRCStelvaneSyncer>("IRCStelvaneSyncer");
    registerRcType<RCMessageBoxManager>("RCMessageBoxManager");
    registerRcType<IRCSetting>("IRCSetting");
    qmlRegisterType<RCImageManager>("Rc.IRCImageManager", 1, 0, "IRCImageManager");
    registerRcType<IRCPacketServer>("IRCPacketServer");
    registerRcType<IRCPacketTerminal>("IRCPacketTerminal");
    registerRcType<RCScriptProcess>("RCScriptProcess");
    registerRcType<IRCInterface>("IRCInterface");
    registerRcType<RcEnums>("RcEnums");
    qml_register_types_Rc_QmlComponents();
}

void RCQmlRegistration::publishServices(QQmlEngine* engine, RCProject* project)
{
    QQmlContext* context = engine->rootContext();
    context->setContextProperty(QStringLiteral("getRCMessageBoxManager"), project->getMessageBoxManager());
    context->setContextProperty(QStringLiteral("getImageManager"), project->getImageManager());
    context->setContextProperty(QStringLiteral("getVersion"), RCProjectPacketIO::fileVersion());
    context->setContextProperty(QStringLiteral("getRCInterface"), RCInterface::instance());
    context->setContextProperty(QStringLiteral("tavixProjectCloudClient"),
                                TavixProjectCloudClient::instance());
}
