#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <initializer_list>

// The one way the command processors read a command's parameters. Nothing is rejected: a key
// that is absent or holds another JSON type reads as "", 0, 0.0, false, an empty array, an empty
// object or an empty list. An int is also 0 for a number with a fraction or outside the 32-bit
// range. has() tells whether a key is there at all, whatever its type: keys that are applied
// only when present are tested with it first.
class RCCmdParams
{
public:
    static bool has(const QJsonObject& params, QLatin1String key) { return params.contains(key); }
    static QString readString(const QJsonObject& params, QLatin1String key);
    static int readInt(const QJsonObject& params, QLatin1String key);
    static double readDouble(const QJsonObject& params, QLatin1String key);
    static bool readBool(const QJsonObject& params, QLatin1String key);
    static QJsonArray readArray(const QJsonObject& params, QLatin1String key);
    // Each element as a string, in order; a non-string element reads as "".
    static QStringList readStringList(const QJsonObject& params, QLatin1String key);
    // An array element as an object; an empty object when it is none, so all its keys read as absent.
    static QJsonObject elementObject(const QJsonValue& element) { return element.toObject(); }
    enum EType
    {
        EType_String,
        EType_Int,
        EType_Double,
        EType_Bool,
        EType_StringList
    };
    // A key that is applied only when present: its wire key, the mirror key it becomes and its type.
    struct Field
    {
        QLatin1String wireKey;
        QString mirrorKey;
        EType type;
    };
    static QVariant read(const QJsonObject& params, QLatin1String key, EType type);
    // Calls apply(mirror key, value) for each field whose key is present, in the fields' order.
    static void forEachPresent(const QJsonObject& params, std::initializer_list<Field> fields,
                               const std::function<void(const QString&, const QVariant&)>& apply);

    // A double truncated toward zero, clamped to the qlonglong range first (NaN reads as 0).
    static qlonglong truncateToLongLong(double value);
};
