#pragma once

#include "model/IRCPropertyDisplay.h"

#include <QMap>

// The display descriptor of one property. Record: {"type": number, "data": {key: value}}.
// Has no QObject parent: the property that holds it deletes it.
class RCPropertyDisplay : public IRCPropertyDisplay
{
    Q_OBJECT
public:
    explicit RCPropertyDisplay(QObject* parent = nullptr);

    // "qrc:/qml/propertyPanel/" + the row file of the type, or empty.
    static QString qmlPathForType(int type);
    // Whether rows of the type are edited as free text (names, paths, scripts, addresses): a
    // text value of such a row is the user's own, whatever it looks like.
    static bool editsText(int type);

    QString getQmlPath() const override;
    void setType(IRCPropertyDisplay::EIRCPropertyDisplayType type) override;
    IRCPropertyDisplay::EIRCPropertyDisplayType getType() const override;
    // A value that arrives from QML as a script value is stored unwrapped; one nested deeper than
    // kMaxValueNesting is refused.
    void setData(QString sKey, QVariant data) override;
    QVariant getData(QString sKey) const override;
    QJsonObject toJson() const override;
    // Adds or replaces the entries the record names (others stay), then takes its type (0 if absent).
    void fromJson(const QJsonObject& jsObj) override;

private:
    EIRCPropertyDisplayType m_type = EIRCPropertyDisplayType_String;
    QMap<QString, QVariant> m_data;
};
