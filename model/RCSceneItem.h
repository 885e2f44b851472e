#pragma once

#include "model/IRCObject.h"
#include "model/RCProperties.h"

#include <QMap>
#include <QPoint>
#include <QSize>

// One placed control on a scene. Its whole state is its property set: fifteen default rows
// with a description (a control template, a project-file record, a saved or copied item)
// merged onto them. Owned by the scene that holds it; GUI thread only.
//
// The "Id" row stays read-only and non-empty whatever a description says, and "QmlPath"
// only ever names a scene view this program ships (see RCSceneItemViews): an unknown path
// is replaced by the view of the item's "ControlType", or by the default row value.
// The rows that the catalogue declares as text for the item's "ControlType" keep stored text
// as it stands, as the default text rows do (RCControlCatalogue::textRows).
class RCSceneItem : public IRCObject
{
    Q_OBJECT
public:
    static QString defaultQmlPath();

    explicit RCSceneItem(QObject* parent = nullptr);
    RCSceneItem(const QJsonObject& jsObj, QObject* parent);
    // As from its description, from the records of its "propertyArray" (RCSceneItemRecords).
    RCSceneItem(const std::vector<RCProperty::Record>& rows, QObject* parent);
    ~RCSceneItem() override;

    eIRCObjectType getObjectType() const override;
    QString getId() const override;
    // Refuses a "QmlPath" that names no known scene view, other than the default path.
    void setPropertyValue(QString sName, QVariant var) override;
    QVariant getPropertyValue(QString sName) const override;
    RCProperties* getProperties() const override;
    void setFocus(bool b) override;
    QJsonObject toJson() const override;
    bool fromJson(QJsonObject jsObj) override;

    QString getName() const;
    QPoint getPos() const;
    void setPos(QPoint pos);
    QSize getSize() const;
    void setSize(QSize size);
    // Name -> value of the rows edited as icons or images, when the value is valid.
    QMap<QString, QVariant> getImagePropertyValues() const;

    // Gives the item a new braced QUuid id, bypassing the read-only flag and emitting
    // nothing; for a container that meets an id it already holds while loading.
    QString renewId();

private:
    // The fifteen default rows, "Id" holding id.
    void initProperties(const QString& id);
    void mergeDescription(const QJsonObject& jsObj);
    void mergeRows(const std::vector<RCProperty::Record>& rows);
    void enforceIdAndView();

    // A member: the set, and the row look-up it holds inline, sit next to the item in memory, so
    // a change of a cold item reads one block before it reaches the row.
    RCProperties m_propertySet;
    RCProperties* const m_properties = &m_propertySet;
};
