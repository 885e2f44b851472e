#include "mirror/RCCmdParams.h"

#include <cmath>
#include <limits>

QString RCCmdParams::readString(const QJsonObject& params, QLatin1String key)
{
    return params.value(key).toString();
}

int RCCmdParams::readInt(const QJsonObject& params, QLatin1String key)
{
    // QJsonValue answers the default for a fraction or a value an int cannot hold.
    return params.value(key).toInt(0);
}

double RCCmdParams::readDouble(const QJsonObject& params, QLatin1String key)
{
    return params.value(key).toDouble(0.0);
}

bool RCCmdParams::readBool(const QJsonObject& params, QLatin1String key)
{
    return params.value(key).toBool(false);
}

QJsonArray RCCmdParams::readArray(const QJsonObject& params, QLatin1String key)
{
    return params.value(key).toArray();
}

QStringList RCCmdParams::readStringList(const QJsonObject& params, QLatin1String key)
{
    const QJsonArray array = readArray(params, key);
    QStringList list;
    list.reserve(array.size());
    for (const QJsonValue element : array)
        list.append(element.toString());
    return list;
}

QVariant RCCmdParams::read(const QJsonObject& params, QLatin1String key, EType type)
{
    switch (type) {
    case EType_String:
        return readString(params, key);
    case EType_Int:
        return readInt(params, key);
    case EType_Double:
        return readDouble(params, key);
    case EType_Bool:
        return readBool(params, key);
    case EType_StringList:
        return readStringList(params, key);
    }
    return QVariant();
}

void RCCmdParams::forEachPresent(const QJsonObject& params, std::initializer_list<Field> fields,
                                 const std::function<void(const QString&, const QVariant&)>& apply)
{
    for (const Field& field : fields) {
        if (has(params, field.wireKey))
            apply(field.mirrorKey, read(params, field.wireKey, field.type));
    }
}

qlonglong RCCmdParams::truncateToLongLong(double value)
{
    if (std::isnan(value))
        return 0;
    // 2^63 is exact as a double; every double below it and above -2^63 converts without overflow.
    constexpr double kLimit = 9223372036854775808.0;
    if (value >= kLimit)
        return std::numeric_limits<qlonglong>::max();
    if (value <= -kLimit)
        return std::numeric_limits<qlonglong>::min();
    return qlonglong(value);
}
