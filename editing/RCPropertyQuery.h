#pragma once

#include <QString>
#include <QVariant>

class IRCObject;

// The property-panel reads shared by the scene and scene-item presenters, on the property set of
// one document object. Every read answers the neutral value (-1, "", false, invalid) when the
// object, the property or its display descriptor is missing.
class RCPropertyQuery
{
public:
    static int count(const IRCObject* obj);
    static QString qmlFile(const IRCObject* obj, int index);
    static bool visible(const IRCObject* obj, int index);
    static QString name(const IRCObject* obj, int index);
    static QString description(const IRCObject* obj, const QString& name);
    static QVariant displayData(const IRCObject* obj, const QString& name, const QString& key);
    // The display type (IRCPropertyDisplay::EIRCPropertyDisplayType) of the property name.
    static int displayType(const IRCObject* obj, const QString& name);
    static bool contains(const IRCObject* obj, const QString& name);

    RCPropertyQuery() = delete;
};
