#include "model/RCControl.h"

#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCControlInstantiationParam.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QUuid>

namespace {

QString trObject(const char* text)
{
    return QCoreApplication::translate("QObject", text);
}

} // namespace

RCControl::RCControl(int controlType, QObject* parent) : IRCControl(parent)
{
    m_instantiationParam = new RCControlInstantiationParam(this);
    initProperties();
    // Directly on the set: the kind is written once here, past the refusal in setPropertyValue.
    m_properties->setPropertyValue(RCKeys::ControlType(), controlType);
    m_instantiationParam->addProperty(RCKeys::ControlType(), trObject("控件类型"), false, false, QString(),
                                      IRCPropertyDisplay::EIRCPropertyDisplayType_Int, controlType);
}

RCControl::RCControl(const QJsonObject& jsObj, QObject* parent) : IRCControl(parent)
{
    m_instantiationParam = new RCControlInstantiationParam(this);
    initProperties();
    if (m_properties->fromJson(jsObj.value(QStringLiteral("propertyArray")).toArray()))
        m_instantiationParam->fromJson(jsObj.value(QStringLiteral("instanceParam")).toObject());
}

RCControl::~RCControl()
{
    emit destroySelf();
    delete m_properties;
    m_properties = nullptr;
}

void RCControl::initProperties()
{
    m_properties = new RCProperties();
    connect(m_properties, &RCProperties::propertyValueChanged, this,
            [this](IRCProperty* pProp, QVariant var) {
                emit IRCControl::propertyValueChanged(pProp->getName(), var);
            });

    using D = IRCPropertyDisplay;
    m_properties->addProperty(RCKeys::Id(), trObject("唯一性标识"), true, false, QString(),
                              D::EIRCPropertyDisplayType_String,
                              QUuid::createUuid().toString(QUuid::WithBraces));
    m_properties->addProperty(RCKeys::ControlType(), trObject("控件类型"), false, true, QString(),
                              D::EIRCPropertyDisplayType_Int, 0);
    m_properties->addProperty(RCKeys::ControlGroupNameList(), trObject("控件分组名称"), false, true,
                              QString(), D::EIRCPropertyDisplayType_String, QStringList());
    m_properties->addProperty(RCKeys::IconPath(), trObject("控件图标"), false, true, QString(),
                              D::EIRCPropertyDisplayType_String, QStringLiteral("qrc:/weizhi.png"));
    m_properties->addProperty(RCKeys::Name(), trObject("名称"), false, true, QString(),
                              D::EIRCPropertyDisplayType_String, QString());
    m_properties->addProperty(RCKeys::X(), trObject("横向"), false, true, QString(),
                              D::EIRCPropertyDisplayType_Int, 0);
    m_properties->addProperty(RCKeys::Y(), trObject("纵向"), false, true, QString(),
                              D::EIRCPropertyDisplayType_Int, 0);
    m_properties->addProperty(RCKeys::Width(), trObject("宽度"), false, true, QString(),
                              D::EIRCPropertyDisplayType_Int, 100);
    m_properties->addProperty(RCKeys::Height(), trObject("高度"), false, true, QString(),
                              D::EIRCPropertyDisplayType_Int, 100);
}

eIRCObjectType RCControl::getObjectType() const
{
    return eIRCObjectType_Control;
}

QString RCControl::getId() const
{
    return m_properties->getPropertyValue(RCKeys::Id()).toString();
}

void RCControl::setPropertyValue(QString sName, QVariant var)
{
    if (sName == RCKeys::ControlType())
        return;
    m_properties->setPropertyValue(sName, var);
}

QVariant RCControl::getPropertyValue(QString sName) const
{
    return m_properties->getPropertyValue(sName);
}

RCProperties* RCControl::getProperties() const
{
    return m_properties;
}

void RCControl::setFocus(bool) {}

QJsonObject RCControl::toJson() const
{
    QJsonObject jsObj;
    jsObj.insert(QStringLiteral("propertyArray"), m_properties->toJson());
    jsObj.insert(QStringLiteral("instanceParam"), m_instantiationParam->toJson());
    return jsObj;
}

bool RCControl::fromJson(QJsonObject jsObj)
{
    if (!m_properties->fromJson(jsObj.value(QStringLiteral("propertyArray")).toArray()))
        return false;
    return m_instantiationParam->fromJson(jsObj.value(QStringLiteral("instanceParam")).toObject());
}

IRCControl::EIRCControlType RCControl::getControlType() const
{
    // A value that does not convert reads as 0, no kind.
    return EIRCControlType(m_properties->getPropertyValue(RCKeys::ControlType()).toInt());
}

QString RCControl::getName() const
{
    return m_properties->getPropertyValue(RCKeys::Name()).toString();
}

void RCControl::setName(QString sName)
{
    m_properties->setPropertyValue(RCKeys::Name(), sName);
}

QString RCControl::getIconPath() const
{
    return m_properties->getPropertyValue(RCKeys::IconPath()).toString();
}

void RCControl::setIconPath(QString sIconPath)
{
    m_properties->setPropertyValue(RCKeys::IconPath(), sIconPath);
}

QStringList RCControl::getGroupNameList() const
{
    return m_properties->getPropertyValue(RCKeys::ControlGroupNameList()).toStringList();
}

bool RCControl::belongToGroup(QString sGroupName) const
{
    return getGroupNameList().contains(sGroupName, Qt::CaseSensitive);
}

IRCControlInstantiationParam* RCControl::getInstantiationParam() const
{
    return m_instantiationParam;
}
