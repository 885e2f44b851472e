#include "canvas/RCSceneItemKeyTable.h"

#include <QColor>
#include <QJSEngine>
#include <QQmlProperty>
#include <QQuickItem>

#include <cmath>
#include <limits>

namespace {

// value as the item views' script sees it: a number, text or truth made without an engine.
QJSValue scriptValueOf(QJSEngine* engine, const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
        return QJSValue(QJSValue::UndefinedValue);
    case QMetaType::Nullptr:
        return QJSValue(QJSValue::NullValue);
    case QMetaType::Bool:
        return QJSValue(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return QJSValue(value.toDouble());
    case QMetaType::QString:
        return QJSValue(value.toString());
    default:
        return engine ? engine->toScriptValue(value) : QJSValue(value.toString());
    }
}

// value held without the engine it came from, which the table may outlive: a text, number, truth,
// null or undefined as itself (a table's defaults are such); anything else as it is.
QJSValue detached(const QJSValue& value)
{
    if (value.isString())
        return QJSValue(value.toString());
    if (value.isNumber())
        return QJSValue(value.toNumber());
    if (value.isBool())
        return QJSValue(value.toBool());
    if (value.isNull())
        return QJSValue(QJSValue::NullValue);
    if (value.isUndefined())
        return QJSValue(QJSValue::UndefinedValue);
    return value;
}

bool isNone(const QJSValue& value)
{
    return value.isUndefined() || value.isNull();
}

bool namesColor(const QString& text)
{
    return !text.isEmpty() && QColor::fromString(text).isValid();
}

} // namespace

QJSValue RCSceneItemKeyTable::readValue(QJSEngine* engine, const QVariantMap& values, const QString& key,
                                        const QJSValue& fallback)
{
    const auto it = values.constFind(key);
    if (it == values.cend())
        return fallback;
    QJSValue value = scriptValueOf(engine, *it);
    return isNone(value) ? fallback : value;
}

std::optional<RCSceneItemKeyTable> RCSceneItemKeyTable::of(QQuickItem* view, QJSEngine* engine)
{
    if (!view || !engine)
        return std::nullopt;
    const QMetaObject* type = view->metaObject();
    const int index = type->indexOfProperty("mKeyTable");
    if (index < 0)
        return std::nullopt;
    const QVariant held = type->property(index).read(view);
    const QJSValue table = held.metaType() == QMetaType::fromType<QJSValue>() ? held.value<QJSValue>()
                                                                              : engine->toScriptValue(held);
    if (!table.isArray())
        return std::nullopt;
    RCSceneItemKeyTable result;
    const int count = table.property(QStringLiteral("length")).toInt();
    for (int i = 0; i < count; ++i) {
        const QJSValue row = table.property(quint32(i));
        if (!row.isArray() || row.property(QStringLiteral("length")).toInt() != 4 ||
            !row.property(0).isString() || !row.property(1).isString() || !row.property(3).isString())
            return std::nullopt;
        const int propertyIndex = type->indexOfProperty(row.property(1).toString().toUtf8().constData());
        if (propertyIndex < 0)
            return std::nullopt;
        // the script takes any other kind as text
        const QString kind = row.property(3).toString();
        const Kind rowKind = kind == QLatin1String("number")  ? Kind::Number
                             : kind == QLatin1String("bool")  ? Kind::Bool
                             : kind == QLatin1String("color") ? Kind::Color
                                                              : Kind::Text;
        result.m_rows.push_back({row.property(0).toString(), row.property(1).toString(),
                                 type->property(propertyIndex).metaType(), detached(row.property(2)),
                                 rowKind});
    }
    return result;
}

bool RCSceneItemKeyTable::isEmpty() const
{
    return m_rows.empty();
}

void RCSceneItemKeyTable::write(QQuickItem* view, QJSEngine* engine, const QVariantMap& values) const
{
    // As the script's assignment does, a write takes the place of a binding the view declares on
    // the property (a default such as an enum's value), which would otherwise be evaluated over it
    // when the view completes.
    for (const Row& row : m_rows)
        QQmlProperty(view, row.property)
            .write(propertyValue(row, readValue(engine, values, row.key, row.fallback)));
}

QVariant RCSceneItemKeyTable::propertyValue(const Row& row, const QJSValue& value)
{
    // the value the kind takes, as a script value
    QJSValue taken = row.fallback;
    if (!isNone(value)) {
        switch (row.kind) {
        case Kind::Number: {
            const double number = value.toNumber();
            if (!(value.isString() && value.toString().isEmpty()) && std::isfinite(number))
                taken = QJSValue(number);
            break;
        }
        case Kind::Bool:
            taken = QJSValue(value.isString() ? value.toString() == QLatin1String("true") : value.toBool());
            break;
        case Kind::Color:
            if (namesColor(value.toString()))
                taken = QJSValue(value.toString());
            break;
        case Kind::Text:
            taken = QJSValue(value.toString());
            break;
        }
    }
    // and as the view's property holds it, the way an assignment converts it
    switch (row.type.id()) {
    case QMetaType::QColor:
        return taken.isString() ? QVariant(QColor::fromString(taken.toString())) : taken.toVariant();
    case QMetaType::Int: {
        const double number = taken.toNumber();
        return number > double(std::numeric_limits<int>::min()) - 1 &&
                       number < double(std::numeric_limits<int>::max()) + 1
                   ? int(number)
                   : std::numeric_limits<int>::min();
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return taken.toNumber();
    case QMetaType::Bool:
        return taken.toBool();
    case QMetaType::QString:
        return taken.toString();
    default:
        return taken.toVariant();
    }
}
