#pragma once

#include "model/IRCCppObject.h"

#include <QJsonObject>
#include <QString>
#include <QVariant>

// Describes which property-panel row edits a property and with which extra data
// (the entries of a combo box, for example). Owned by its property; GUI thread only.
class IRCPropertyDisplay : public IRCCppObject
{
    Q_OBJECT
public:
    // The underlying type is fixed so that any stored integer, also one outside the
    // listed values, is a valid value of the enumeration.
    enum EIRCPropertyDisplayType : int
    {
        EIRCPropertyDisplayType_String = 0,
        EIRCPropertyDisplayType_Icon = 1,
        EIRCPropertyDisplayType_Int = 2,
        EIRCPropertyDisplayType_Double = 3,
        EIRCPropertyDisplayType_ComboBox = 4,
        EIRCPropertyDisplayType_Bool = 5,
        EIRCPropertyDisplayType_RadioButtonGroup = 6,
        EIRCPropertyDisplayType_Scene = 7,
        EIRCPropertyDisplayType_Ip = 8,
        EIRCPropertyDisplayType_Trigger = 9,
        EIRCPropertyDisplayType_Image = 10,
        EIRCPropertyDisplayType_StringList = 11,
        EIRCPropertyDisplayType_Script = 12,
        EIRCPropertyDisplayType_TrackCheckList = 13,
        EIRCPropertyDisplayType_Color = 14,
        EIRCPropertyDisplayType_MacAddress = 15
    };
    Q_ENUM(EIRCPropertyDisplayType)

    explicit IRCPropertyDisplay(QObject* parent = nullptr);

    // URL of the property-panel row for the display type; empty when the type has none.
    virtual QString getQmlPath() const { return QString(); }
    Q_INVOKABLE virtual void setType(IRCPropertyDisplay::EIRCPropertyDisplayType) {}
    Q_INVOKABLE virtual IRCPropertyDisplay::EIRCPropertyDisplayType getType() const
    {
        return EIRCPropertyDisplayType_String;
    }
    Q_INVOKABLE virtual void setData(QString, QVariant) {}
    Q_INVOKABLE virtual QVariant getData(QString) const { return QVariant(); }
    virtual QJsonObject toJson() const { return QJsonObject(); }
    virtual void fromJson(const QJsonObject&) {}
};
