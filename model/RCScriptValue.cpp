#include "model/RCScriptValue.h"

#include <QJSValue>
#include <QJsonObject>
#include <QJsonValue>
#include <QVariantList>
#include <QVariantMap>

namespace {

QVariant unwrapJs(const QJSValue& js);

QJsonObject mapToJsonObject(const QVariantMap& map)
{
    QJsonObject obj;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const QVariant inner = unwrapScriptValue(it.value());
        obj.insert(it.key(), QJsonValue::fromVariant(inner));
    }
    return obj;
}

QVariant unwrapJs(const QJSValue& js)
{
    if (js.isNull() || js.isUndefined()) {
        return QVariant();
    }
    if (js.isArray()) {
        QVariantList list;
        const int length = js.property(QStringLiteral("length")).toInt();
        list.reserve(length);
        for (int i = 0; i < length; ++i) {
            list.append(unwrapJs(js.property(quint32(i))));
        }
        return list;
    }
    if (js.isBool()) {
        return js.toBool();
    }
    if (js.isNumber()) {
        return js.toNumber();
    }
    if (js.isString()) {
        return js.toString();
    }
    if (js.isObject() && !js.isQObject() && !js.isCallable() && !js.isDate() && !js.isRegExp()) {
        return mapToJsonObject(js.toVariant().toMap());
    }
    return unwrapScriptValue(js.toVariant());
}

} // namespace

QVariant unwrapScriptValue(const QVariant& value)
{
    const int type = value.userType();
    if (type == qMetaTypeId<QJSValue>()) {
        return unwrapJs(value.value<QJSValue>());
    }
    if (type == QMetaType::Nullptr) {
        return QVariant();
    }
    if (type == QMetaType::QVariantMap) {
        return mapToJsonObject(value.toMap());
    }
    if (type == QMetaType::QVariantList) {
        const QVariantList in = value.toList();
        QVariantList out;
        out.reserve(in.size());
        bool changed = false;
        for (const QVariant& element : in) {
            out.append(unwrapScriptValue(element));
            changed = changed || out.constLast().userType() != element.userType();
        }
        return changed ? QVariant(out) : value;
    }
    return value;
}
