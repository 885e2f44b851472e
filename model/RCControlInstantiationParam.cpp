#include "model/RCControlInstantiationParam.h"

#include "model/IRCPropertyDisplay.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"

#include <QCoreApplication>
#include <QJsonArray>

RCControlInstantiationParam::RCControlInstantiationParam(QObject* parent)
    : IRCControlInstantiationParam(parent)
{
    initProperties();
}

RCControlInstantiationParam::~RCControlInstantiationParam()
{
    delete m_properties;
}

void RCControlInstantiationParam::initProperties()
{
    m_properties = new RCProperties();
    m_properties->addProperty(RCKeys::Width(), QCoreApplication::translate("QObject", "宽度"), false, true,
                              QString(), IRCPropertyDisplay::EIRCPropertyDisplayType_Int, 100);
    m_properties->addProperty(RCKeys::Height(), QCoreApplication::translate("QObject", "高度"), false, true,
                              QString(), IRCPropertyDisplay::EIRCPropertyDisplayType_Int, 100);
    m_properties->addProperty(RCKeys::QmlPath(), QCoreApplication::translate("QObject", "qml文件地址"), false,
                              false, QString(), IRCPropertyDisplay::EIRCPropertyDisplayType_String,
                              QStringLiteral("qrc:/RCSceneItem.qml"));
}

eIRCObjectType RCControlInstantiationParam::getObjectType() const
{
    return eIRCObjectType_ControlInstantiationParam;
}

QString RCControlInstantiationParam::getId() const
{
    return m_properties->getPropertyValue(RCKeys::Id()).toString();
}

void RCControlInstantiationParam::setPropertyValue(QString sName, QVariant var)
{
    m_properties->setPropertyValue(sName, var);
}

QVariant RCControlInstantiationParam::getPropertyValue(QString sName) const
{
    return m_properties->getPropertyValue(sName);
}

RCProperties* RCControlInstantiationParam::getProperties() const
{
    return m_properties;
}

void RCControlInstantiationParam::setFocus(bool) {}

QJsonObject RCControlInstantiationParam::toJson() const
{
    QJsonObject jsObj;
    jsObj.insert(QStringLiteral("propertyArray"), m_properties->toJson());
    return jsObj;
}

bool RCControlInstantiationParam::fromJson(QJsonObject jsObj)
{
    return m_properties->fromJson(jsObj.value(QStringLiteral("propertyArray")).toArray());
}

void RCControlInstantiationParam::setQmlPath(QString sQmlPath)
{
    m_properties->setPropertyValue(RCKeys::QmlPath(), sQmlPath);
}

QString RCControlInstantiationParam::getQmlPath() const
{
    return m_properties->getPropertyValue(RCKeys::QmlPath()).toString();
}

void RCControlInstantiationParam::setSize(QSize size)
{
    m_properties->setPropertyValue(RCKeys::Width(), size.width());
    m_properties->setPropertyValue(RCKeys::Height(), size.height());
}

QSize RCControlInstantiationParam::getSize() const
{
    return QSize(m_properties->getPropertyValue(RCKeys::Width()).toInt(),
                 m_properties->getPropertyValue(RCKeys::Height()).toInt());
}

IRCProperty* RCControlInstantiationParam::addProperty(QString key, QString description, bool readOnly,
                                                      bool visible, QString unit, int displayType,
                                                      QVariant value)
{
    return m_properties->addProperty(key, description, readOnly, visible, unit, displayType, value);
}
