#pragma once

#include "model/IRCControlInstantiationParam.h"

class RCProperties;

// The template of the scene items that one control creates. It starts with the rows "Width",
// "Height" and "QmlPath"; the control adds its hidden "ControlType" row and the catalogue the
// kind's rows. It has no "Id" row, so every item made from it keeps its own id. Unlike scenes,
// items and controls it relays no property changes. Owned by its control (a child object);
// GUI thread only.
class RCControlInstantiationParam : public IRCControlInstantiationParam
{
    Q_OBJECT
public:
    explicit RCControlInstantiationParam(QObject* parent = nullptr);
    ~RCControlInstantiationParam() override;

    eIRCObjectType getObjectType() const override;
    QString getId() const override;
    void setPropertyValue(QString sName, QVariant var) override;
    QVariant getPropertyValue(QString sName) const override;
    RCProperties* getProperties() const override;
    void setFocus(bool b) override;
    // {"propertyArray": the rows in order}
    QJsonObject toJson() const override;
    // Merges the rows under "propertyArray" onto the current ones; always true.
    bool fromJson(QJsonObject jsObj) override;

    void setQmlPath(QString sQmlPath) override;
    QString getQmlPath() const override;
    void setSize(QSize size) override;
    QSize getSize() const override;
    IRCProperty* addProperty(QString key, QString description, bool readOnly, bool visible, QString unit,
                             int displayType, QVariant value) override;

private:
    void initProperties();

    RCProperties* m_properties = nullptr; // owned, no QObject parent
};
