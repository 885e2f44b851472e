#include "editing/RCPropertyQuery.h"

#include "model/IRCObject.h"
#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCProperties.h"

namespace {

RCProperties* propertiesOf(const IRCObject* obj)
{
    return obj ? obj->getProperties() : nullptr;
}

IRCProperty* at(const IRCObject* obj, int index)
{
    RCProperties* properties = propertiesOf(obj);
    return properties ? properties->getPropertyAt(index) : nullptr;
}

IRCProperty* named(const IRCObject* obj, const QString& name)
{
    RCProperties* properties = propertiesOf(obj);
    return properties ? properties->getProperty(name) : nullptr;
}

} // namespace

int RCPropertyQuery::count(const IRCObject* obj)
{
    RCProperties* properties = propertiesOf(obj);
    return properties ? properties->count() : -1;
}

QString RCPropertyQuery::qmlFile(const IRCObject* obj, int index)
{
    const IRCProperty* property = at(obj, index);
    const IRCPropertyDisplay* display = property ? property->getDisplay() : nullptr;
    return display ? display->getQmlPath() : QString();
}

bool RCPropertyQuery::visible(const IRCObject* obj, int index)
{
    const IRCProperty* property = at(obj, index);
    return property && property->getVisible();
}

QString RCPropertyQuery::name(const IRCObject* obj, int index)
{
    const IRCProperty* property = at(obj, index);
    return property ? property->getName() : QString();
}

QString RCPropertyQuery::description(const IRCObject* obj, const QString& name)
{
    const IRCProperty* property = named(obj, name);
    return property ? property->getDescription() : QString();
}

QVariant RCPropertyQuery::displayData(const IRCObject* obj, const QString& name, const QString& key)
{
    const IRCProperty* property = named(obj, name);
    const IRCPropertyDisplay* display = property ? property->getDisplay() : nullptr;
    return display ? display->getData(key) : QVariant();
}

int RCPropertyQuery::displayType(const IRCObject* obj, const QString& name)
{
    const IRCProperty* property = named(obj, name);
    const IRCPropertyDisplay* display = property ? property->getDisplay() : nullptr;
    return display ? int(display->getType()) : -1;
}

bool RCPropertyQuery::contains(const IRCObject* obj, const QString& name)
{
    return named(obj, name) != nullptr;
}
