#include "model/RCSceneItem.h"

#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCControlCatalogue.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"
#include "model/RCProperty.h"
#include "model/RCSceneItemRecords.h"
#include "model/RCSceneItemViews.h"
#include "model/RCScriptValue.h"

#include <QDebug>
#include <QJsonArray>
#include <QUuid>

namespace {

using DT = IRCPropertyDisplay::EIRCPropertyDisplayType;

} // namespace

QString RCSceneItem::defaultQmlPath()
{
    return QStringLiteral("qrc:/RCSceneItemButton.qml");
}

RCSceneItem::RCSceneItem(QObject* parent) : IRCObject(parent)
{
    initProperties(QUuid::createUuid().toString(QUuid::WithBraces));
}

// The description's "Id" is kept; only an item that comes without one is given a fresh id (by
// enforceIdAndView), so that a project's items do not each make an id only to drop it.
RCSceneItem::RCSceneItem(const QJsonObject& jsObj, QObject* parent) : IRCObject(parent)
{
    initProperties(QString());
    mergeDescription(jsObj);
}

RCSceneItem::RCSceneItem(const std::vector<RCProperty::Record>& rows, QObject* parent) : IRCObject(parent)
{
    initProperties(QString());
    mergeRows(rows);
}

RCSceneItem::~RCSceneItem() = default;

void RCSceneItem::initProperties(const QString& id)
{
    // The rows' texts, translated once: a project makes thousands of items.
    static const struct
    {
        QString id = tr("唯一性标识"), controlType = tr("控件类型"), name = tr("名称"), button = tr("按钮"),
                tag = tr("标签"), x = tr("横向"), y = tr("纵向"), height = tr("尺寸"), angle = tr("角度"),
                textColor = tr("名称颜色"), textSize = tr("名称大小"), textBold = tr("名称加粗"),
                qmlPath = tr("qml文件地址"), focus = tr("焦点"), select = tr("选择");
    } texts;
    RCProperties* s = m_properties;
    s->relayValuesTo(this);
    s->addProperty(RCKeys::Id(), texts.id, true, false, QString(), DT::EIRCPropertyDisplayType_String, id);
    s->addProperty(RCKeys::ControlType(), texts.controlType, false, false, QString(),
                   DT::EIRCPropertyDisplayType_String, 0);
    s->addProperty(RCKeys::Name(), texts.name, false, true, QString(), DT::EIRCPropertyDisplayType_String,
                   texts.button);
    s->addProperty(RCKeys::ObjectName(), texts.tag, false, true, QString(), DT::EIRCPropertyDisplayType_String,
                   texts.tag);
    s->addProperty(RCKeys::X(), texts.x, false, true, QString(), DT::EIRCPropertyDisplayType_Int, 0);
    s->addProperty(RCKeys::Y(), texts.y, false, true, QString(), DT::EIRCPropertyDisplayType_Int, 0);
    s->addProperty(RCKeys::Width(), texts.x, false, true, QString(), DT::EIRCPropertyDisplayType_Int, 100);
    s->addProperty(RCKeys::Height(), texts.height, false, true, QString(), DT::EIRCPropertyDisplayType_Int, 100);
    s->addProperty(RCKeys::Angle(), texts.angle, false, true, QString(), DT::EIRCPropertyDisplayType_Int, 0);
    s->addProperty(RCKeys::TextColor(), texts.textColor, false, true, QString(), DT::EIRCPropertyDisplayType_Color,
                   QStringLiteral("#ffffff"));
    s->addProperty(RCKeys::TextSize(), texts.textSize, false, true, QString(), DT::EIRCPropertyDisplayType_String,
                   12);
    s->addProperty(RCKeys::TextBold(), texts.textBold, false, true, QString(), DT::EIRCPropertyDisplayType_Bool,
                   false);
    s->addProperty(RCKeys::QmlPath(), texts.qmlPath, false, false, QString(), DT::EIRCPropertyDisplayType_String,
                   defaultQmlPath());
    s->addProperty(RCKeys::Focus(), texts.focus, false, false, QString(), DT::EIRCPropertyDisplayType_Bool, false);
    s->addProperty(RCKeys::Select(), texts.select, false, false, QString(), DT::EIRCPropertyDisplayType_Bool,
                   false);
}

void RCSceneItem::mergeDescription(const QJsonObject& jsObj)
{
    mergeRows(RCSceneItemRecords::ofItem(jsObj));
}

void RCSceneItem::mergeRows(const std::vector<RCProperty::Record>& rows)
{
    // The kind that the description gives decides which of its rows hold text; the rows it adds
    // come from records, which carry no type of their own.
    int controlType = m_properties->getPropertyValue(RCKeys::ControlType()).toInt();
    for (const RCProperty::Record& record : rows) {
        if (record.name == RCKeys::ControlType()) {
            controlType = record.value.toInt(controlType);
            break;
        }
    }
    m_properties->setTextRows(RCControlCatalogue::textRows(controlType));
    m_properties->fromRecords(rows);
    enforceIdAndView();
}

void RCSceneItem::enforceIdAndView()
{
    m_properties->enforceId();
    IRCProperty* view = m_properties->getProperty(RCKeys::QmlPath());
    if (!view) {
        return;
    }
    const QString path = view->getValue().toString();
    if (RCSceneItemViews::isKnownViewPath(path) || path == defaultQmlPath()) {
        return;
    }
    QString replacement = RCSceneItemViews::viewPathForControlType(
        m_properties->getPropertyValue(RCKeys::ControlType()).toInt());
    if (replacement.isEmpty()) {
        replacement = defaultQmlPath();
    }
    qWarning().noquote() << "RCSceneItem::fromJson refused the view" << path << "of item" << getId()
                         << ", using" << replacement;
    m_properties->storeValue(RCKeys::QmlPath(), replacement);
}

QString RCSceneItem::renewId()
{
    return m_properties->renewId();
}

eIRCObjectType RCSceneItem::getObjectType() const
{
    return eIRCObjectType_SceneItem;
}

QString RCSceneItem::getId() const
{
    return m_properties->getPropertyValue(RCKeys::Id()).toString();
}

void RCSceneItem::setPropertyValue(QString sName, QVariant var)
{
    // The default path names no view of its own but is what every item starts with, so undoing a
    // change of the view may bring it back.
    if (sName == RCKeys::QmlPath()) {
        const QString path = unwrapScriptValue(var).toString();
        if (!RCSceneItemViews::isKnownViewPath(path) && path != defaultQmlPath()) {
            qWarning().noquote() << "RCSceneItem::setPropertyValue refused the view" << var.toString()
                                 << "of item" << getId();
            return;
        }
    }
    m_properties->setPropertyValue(sName, var);
}

QVariant RCSceneItem::getPropertyValue(QString sName) const
{
    return m_properties->getPropertyValue(sName);
}

RCProperties* RCSceneItem::getProperties() const
{
    return m_properties;
}

void RCSceneItem::setFocus(bool b)
{
    m_properties->setPropertyValue(RCKeys::Focus(), b);
}

QJsonObject RCSceneItem::toJson() const
{
    return QJsonObject{{QStringLiteral("propertyArray"), m_properties->toJson()}};
}

bool RCSceneItem::fromJson(QJsonObject jsObj)
{
    mergeDescription(jsObj);
    return true;
}

QString RCSceneItem::getName() const
{
    return m_properties->getPropertyValue(RCKeys::Name()).toString();
}

QPoint RCSceneItem::getPos() const
{
    return QPoint(m_properties->getPropertyValue(RCKeys::X()).toInt(),
                  m_properties->getPropertyValue(RCKeys::Y()).toInt());
}

void RCSceneItem::setPos(QPoint pos)
{
    m_properties->setPropertyValue(RCKeys::X(), pos.x());
    m_properties->setPropertyValue(RCKeys::Y(), pos.y());
}

QSize RCSceneItem::getSize() const
{
    return QSize(m_properties->getPropertyValue(RCKeys::Width()).toInt(),
                 m_properties->getPropertyValue(RCKeys::Height()).toInt());
}

void RCSceneItem::setSize(QSize size)
{
    m_properties->setPropertyValue(RCKeys::Width(), size.width());
    m_properties->setPropertyValue(RCKeys::Height(), size.height());
}

QMap<QString, QVariant> RCSceneItem::getImagePropertyValues() const
{
    QMap<QString, QVariant> images;
    for (int i = 0; i < m_properties->count(); ++i) {
        IRCProperty* p = m_properties->getPropertyAt(i);
        // Reads the type without making a row's descriptor exist just for this question.
        auto* row = qobject_cast<RCProperty*>(p);
        const DT type = row ? DT(row->displayType()) : p->getDisplay()->getType();
        if (type != DT::EIRCPropertyDisplayType_Icon && type != DT::EIRCPropertyDisplayType_Image) {
            continue;
        }
        const QVariant value = p->getValue();
        if (value.isValid()) {
            images.insert(p->getName(), value);
        }
    }
    return images;
}
