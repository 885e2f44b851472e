#pragma once

#include "model/IRCControl.h"

class RCControlInstantiationParam;
class RCProperties;

// One control of the catalogue. Its state is its property set ("Id", "ControlType",
// "ControlGroupNameList", "IconPath", "Name", "X", "Y", "Width", "Height"); it owns its template.
// The kind is fixed once constructed: setPropertyValue refuses "ControlType", only a merged JSON
// form can change it. Created and deleted by the control manager; never written to a project.
// GUI thread only.
class RCControl : public IRCControl
{
    Q_OBJECT
public:
    // A new control of the kind (an EIRCControlType value), with a fresh id.
    RCControl(int controlType, QObject* parent);
    // A control rebuilt from its JSON form {"propertyArray", "instanceParam"}.
    RCControl(const QJsonObject& jsObj, QObject* parent);
    // Emits destroySelf() first.
    ~RCControl() override;

    eIRCObjectType getObjectType() const override;
    QString getId() const override;
    void setPropertyValue(QString sName, QVariant var) override;
    QVariant getPropertyValue(QString sName) const override;
    RCProperties* getProperties() const override;
    void setFocus(bool b) override;
    QJsonObject toJson() const override;
    bool fromJson(QJsonObject jsObj) override;

    IRCControl::EIRCControlType getControlType() const override;
    QString getName() const override;
    void setName(QString sName) override;
    QString getIconPath() const override;
    void setIconPath(QString sIconPath) override;
    QStringList getGroupNameList() const override;
    bool belongToGroup(QString sGroupName) const override;
    IRCControlInstantiationParam* getInstantiationParam() const override;

private:
    void initProperties();

    RCControlInstantiationParam* m_instantiationParam = nullptr; // child object
    RCProperties* m_properties = nullptr;                        // owned, no QObject parent
};
