#pragma once

// Helpers shared by the model tests.

#include "model/IRCProperty.h"
#include "model/RCProperties.h"

#include <QJsonObject>
#include <QStringList>

namespace model_test {

// The default rows of a scene item and of a scene, in row order.
inline const QStringList kItemRows = {"Id",       "ControlType", "Name",    "ObjectName", "X",
                                      "Y",        "Width",       "Height",  "Angle",      "TextColor",
                                      "TextSize", "TextBold",    "QmlPath", "Focus",      "Select"};
inline const QStringList kSceneRows = {"Id",    "Name",           "TypeName", "IndentLevel",
                                       "Width", "Height",         "IconPath", "BackgroundImg",
                                       "Focus", "SingleSelection"};

// The names of the rows of props, in row order.
inline QStringList propertyNames(const RCProperties* props)
{
    QStringList names;
    for (int i = 0; i < props->count(); ++i)
        names << props->getPropertyAt(i)->getName();
    return names;
}

// A complete property record, as a saved project holds it.
inline QJsonObject record(const QString& name, const QJsonValue& value, int displayType = 0,
                          bool readOnly = false, bool visible = true)
{
    return QJsonObject{{"name", name},
                       {"description", name + " text"},
                       {"readonly", readOnly},
                       {"visible", visible},
                       {"unit", "px"},
                       {"value", value},
                       {"display", QJsonObject{{"type", displayType}, {"data", QJsonObject()}}}};
}

} // namespace model_test
