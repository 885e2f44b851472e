#pragma once

#include <QVariant>

// Turns a value that arrived from QML into one the document can store and save:
// a QJSValue becomes its plain value (arrays a QVariantList, objects a QJsonObject),
// a JavaScript null or undefined an invalid QVariant, a QVariantMap a QJsonObject;
// list elements are unwrapped the same way. Every other value is returned unchanged.
QVariant unwrapScriptValue(const QVariant& value);
