#include "model/RCTypedValue.h"

#include <QByteArray>
#include <QColor>
#include <QDebug>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QStringList>
#include <QUrl>

#include <limits>

namespace {

// Functions rather than globals: callable from other static initialisers.
QString stringListMarker()
{
    return QStringLiteral("$sl$");
}

// Between the points of a point list; each point itself is "x,y".
QString pointListSeparator()
{
    return QStringLiteral(";");
}

QHash<int, QString>& idToName()
{
    static QHash<int, QString> table;
    return table;
}

QHash<QString, int>& nameToId()
{
    static QHash<QString, int> table;
    return table;
}

void setOk(bool* ok, bool value)
{
    if (ok)
        *ok = value;
}

QString realText(double v)
{
    return QStringLiteral("%1").arg(v);
}

QString intText(qint64 v)
{
    return QString::number(v);
}

QString typeNameOf(int typeId)
{
    const QMetaType type(typeId);
    return type.isValid() ? QString::fromLatin1(type.name()) : QStringLiteral("<invalid>");
}

// Writes the value text of a table type (prefix not included). False when the type has no layout.
bool writeTypedText(const QVariant& value, int typeId, QString& out)
{
    switch (typeId) {
    case QMetaType::QSize: {
        const QSize s = value.toSize();
        out = intText(s.width()) + u'x' + intText(s.height());
        return true;
    }
    case QMetaType::QSizeF: {
        const QSizeF s = value.toSizeF();
        out = realText(s.width()) + u'x' + realText(s.height());
        return true;
    }
    case QMetaType::QRect: {
        const QRect r = value.toRect();
        out = intText(r.left()) + u'x' + intText(r.top()) + u'x' + intText(r.width()) + u'x' +
              intText(r.height());
        return true;
    }
    case QMetaType::QRectF: {
        const QRectF r = value.toRectF();
        out = realText(r.left()) + u'x' + realText(r.top()) + u'x' + realText(r.width()) + u'x' +
              realText(r.height());
        return true;
    }
    case QMetaType::QPoint: {
        const QPoint p = value.toPoint();
        out = intText(p.x()) + u'x' + intText(p.y());
        return true;
    }
    case QMetaType::QPointF: {
        const QPointF p = value.toPointF();
        out = realText(p.x()) + u'x' + realText(p.y());
        return true;
    }
    case QMetaType::QStringList: {
        const QStringList list = value.toStringList();
        out = stringListMarker() + list.join(stringListMarker());
        return true;
    }
    case QMetaType::QColor: {
        const QColor c = value.value<QColor>();
        out = QStringLiteral("%1,%2,%3,%4").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
        return true;
    }
    case QMetaType::QPolygon: {
        QStringList points;
        for (const QPoint& p : value.value<QPolygon>())
            points.append(intText(p.x()) + u'x' + intText(p.y()));
        out = points.join(u',');
        return true;
    }
    case QMetaType::QPolygonF: {
        QStringList points;
        for (const QPointF& p : value.value<QPolygonF>())
            points.append(realText(p.x()) + u'x' + realText(p.y()));
        out = points.join(u',');
        return true;
    }
    case QMetaType::QByteArray:
        out = QString::fromUtf8(value.toByteArray());
        return true;
    case QMetaType::UInt:
        out = QString::number(value.toUInt());
        return true;
    default:
        break;
    }
    if (typeId == qMetaTypeId<Qt::Orientations>()) {
        out = QString::number(int(value.value<Qt::Orientations>()));
        return true;
    }
    if (typeId == qMetaTypeId<QList<QColor>>()) {
        QStringList colours;
        for (const QColor& c : value.value<QList<QColor>>())
            colours.append(QString::number(c.rgba()));
        out = colours.join(u';');
        return true;
    }
    if (typeId == qMetaTypeId<QList<QPoint>>()) {
        QStringList points;
        for (const QPoint& p : value.value<QList<QPoint>>())
            points.append(intText(p.x()) + u',' + intText(p.y()));
        out = points.join(pointListSeparator());
        return true;
    }
    return false;
}

QVariant notImplemented(const char* where, const QString& what, bool* ok)
{
    qWarning().noquote().nospace() << where << ": Not Implemented: " << what;
    setOk(ok, false);
    return QVariant();
}

// Splits at sep and parses each part; a part that is not a number reads as 0.
QList<int> intParts(const QString& text, QChar sep)
{
    QList<int> values;
    for (const QString& part : text.split(sep))
        values.append(part.toInt());
    return values;
}

QList<double> realParts(const QString& text, QChar sep)
{
    QList<double> values;
    for (const QString& part : text.split(sep))
        values.append(part.toDouble());
    return values;
}

// Levels of arrays and objects in json; counting stops once past limit.
int jsonNesting(const QJsonValue& json, int limit)
{
    if (limit < 0)
        return 0;
    int inner = 0;
    if (json.isArray()) {
        for (const QJsonValue element : json.toArray()) {
            inner = qMax(inner, jsonNesting(element, limit - 1));
            if (inner >= limit)
                break;
        }
        return 1 + inner;
    }
    if (json.isObject()) {
        const QJsonObject object = json.toObject();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            inner = qMax(inner, jsonNesting(it.value(), limit - 1));
            if (inner >= limit)
                break;
        }
        return 1 + inner;
    }
    return 0;
}

int variantNesting(const QVariant& value, int limit)
{
    if (limit < 0)
        return 0;
    switch (value.typeId()) {
    case QMetaType::QVariantList: {
        int inner = 0;
        for (const QVariant& element : value.toList()) {
            inner = qMax(inner, variantNesting(element, limit - 1));
            if (inner >= limit)
                break;
        }
        return 1 + inner;
    }
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash:
    case QMetaType::QJsonObject:
    case QMetaType::QJsonArray:
    case QMetaType::QJsonValue:
        return jsonNesting(QJsonValue::fromVariant(value), limit);
    default:
        return 0;
    }
}

QVariant readJsonValue(const QJsonValue& json, bool* ok);

} // namespace

bool exceedsValueNesting(const QVariant& value)
{
    return variantNesting(value, kMaxValueNesting) > kMaxValueNesting;
}

void initVariantTypeTables()
{
    QHash<int, QString>& ids = idToName();
    if (!ids.isEmpty())
        return;
    ids.insert(QMetaType::QSize, QStringLiteral("Size"));
    ids.insert(QMetaType::QSizeF, QStringLiteral("SizeF"));
    ids.insert(QMetaType::QRect, QStringLiteral("Rect"));
    ids.insert(QMetaType::QRectF, QStringLiteral("RectF"));
    ids.insert(QMetaType::QPoint, QStringLiteral("Point"));
    ids.insert(QMetaType::QPointF, QStringLiteral("PointF"));
    ids.insert(QMetaType::QStringList, QStringLiteral("StringList"));
    ids.insert(QMetaType::QColor, QStringLiteral("Color"));
    ids.insert(QMetaType::QPolygonF, QStringLiteral("PolygonF"));
    ids.insert(QMetaType::QPolygon, QStringLiteral("Polygon"));
    ids.insert(QMetaType::QByteArray, QStringLiteral("ByteArray"));
    ids.insert(QMetaType::QJsonObject, QStringLiteral("JsonObject"));
    ids.insert(QMetaType::QJsonArray, QStringLiteral("JsonArray"));
    ids.insert(QMetaType::UInt, QStringLiteral("UInt"));
    ids.insert(QMetaType::QVariantList, QStringLiteral("VariantList"));
    ids.insert(QMetaType::ULongLong, QStringLiteral("ULongLong"));
    ids.insert(QMetaType::LongLong, QStringLiteral("LongLong"));
    ids.insert(qMetaTypeId<Qt::Orientations>(), QStringLiteral("Orientations"));
    ids.insert(qMetaTypeId<QList<QColor>>(), QStringLiteral("ClrList"));
    ids.insert(qMetaTypeId<QList<int>>(), QStringLiteral("intList"));
    ids.insert(qMetaTypeId<QList<QPoint>>(), QStringLiteral("pointList"));

    QHash<QString, int>& names = nameToId();
    for (auto it = ids.cbegin(); it != ids.cend(); ++it)
        names.insert(it.value(), it.key());
}

QString variantTypePrefix(int typeId)
{
    initVariantTypeTables();
    const auto it = idToName().constFind(typeId);
    if (it == idToName().cend())
        return QString();
    return u'#' + it.value() + u'#';
}

int parseVariantTypePrefix(QString& text)
{
    initVariantTypeTables();
    if (!text.startsWith(u'#'))
        return 0;
    const qsizetype end = text.indexOf(u'#', 1);
    if (end <= 1)
        return 0;
    const auto it = nameToId().constFind(text.mid(1, end - 1));
    if (it == nameToId().cend())
        return 0;
    text.remove(0, end + 1);
    return it.value();
}

QJsonValue variantToJsonValue(const QVariant& value, bool* ok)
{
    setOk(ok, true);
    const int typeId = value.typeId();
    switch (typeId) {
    case QMetaType::Int:
        return value.toInt();
    case QMetaType::Double:
        return value.toDouble();
    case QMetaType::Float:
        return double(value.toFloat());
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QUrl:
        return value.toUrl().toString();
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::QVariantList: {
        QJsonArray array;
        for (const QVariant& element : value.toList()) {
            bool elementOk = true;
            array.append(variantToJsonValue(element, &elementOk));
            if (!elementOk)
                setOk(ok, false);
        }
        return array;
    }
    case QMetaType::QJsonObject:
        return value.toJsonObject();
    case QMetaType::QJsonArray:
        return value.toJsonArray();
    case QMetaType::UnknownType:
        return QJsonValue::Null;
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    default:
        break;
    }

    const QString prefix = variantTypePrefix(typeId);
    QString text;
    if (prefix.isEmpty() || !writeTypedText(value, typeId, text)) {
        notImplemented("variantToJsonValue",
                       QStringLiteral("cannot write a value of type ") + typeNameOf(typeId), ok);
        return QJsonValue::Null;
    }
    return prefix + text;
}

QVariant stringToVariant(const QString& text, int typeId, bool* ok)
{
    setOk(ok, true);
    switch (typeId) {
    case QMetaType::QSize:
    case QMetaType::QPoint: {
        const QList<int> v = intParts(text, u'x');
        if (v.size() != 2)
            break;
        if (typeId == QMetaType::QSize)
            return QSize(v[0], v[1]);
        return QPoint(v[0], v[1]);
    }
    case QMetaType::QSizeF:
    case QMetaType::QPointF: {
        const QList<double> v = realParts(text, u'x');
        if (v.size() != 2)
            break;
        if (typeId == QMetaType::QSizeF)
            return QSizeF(v[0], v[1]);
        return QPointF(v[0], v[1]);
    }
    case QMetaType::QRect: {
        const QList<int> v = intParts(text, u'x');
        if (v.size() != 4)
            break;
        return QRect(v[0], v[1], v[2], v[3]);
    }
    case QMetaType::QRectF: {
        const QList<double> v = realParts(text, u'x');
        if (v.size() != 4)
            break;
        return QRectF(v[0], v[1], v[2], v[3]);
    }
    case QMetaType::QStringList:
        return text.split(stringListMarker(), Qt::SkipEmptyParts);
    case QMetaType::QColor: {
        const QList<int> v = intParts(text, u',');
        if (v.size() == 3)
            return QColor(v[0], v[1], v[2], 255);
        if (v.size() == 4)
            return QColor(v[0], v[1], v[2], v[3]);
        break;
    }
    case QMetaType::QPolygon: {
        QPolygon polygon;
        for (const QString& part : text.split(u',')) {
            const QList<int> v = intParts(part, u'x');
            if (v.size() == 2)
                polygon.append(QPoint(v[0], v[1]));
        }
        return polygon;
    }
    case QMetaType::QPolygonF: {
        QPolygonF polygon;
        for (const QString& part : text.split(u',')) {
            const QList<double> v = realParts(part, u'x');
            if (v.size() == 2)
                polygon.append(QPointF(v[0], v[1]));
        }
        return polygon;
    }
    case QMetaType::QByteArray:
        return text.toUtf8();
    case QMetaType::QJsonObject:
        return QJsonDocument::fromJson(text.toUtf8()).object();
    case QMetaType::QJsonArray:
        return QJsonDocument::fromJson(text.toUtf8()).array();
    case QMetaType::UInt:
        return text.toUInt();
    case QMetaType::QVariantList: {
        QVariantList list;
        for (const QJsonValue element : QJsonDocument::fromJson(text.toUtf8()).array()) {
            QJsonParseError error;
            const QJsonDocument doc = QJsonDocument::fromJson(element.toString().toUtf8(), &error);
            if (error.error != QJsonParseError::NoError) {
                qDebug().noquote() << "stringToVariant: VariantList element:" << error.errorString();
                list.append(QVariant());
                continue;
            }
            list.append(jsonValueToVariant(doc.object().value(QStringLiteral("val"))));
        }
        return list;
    }
    default:
        break;
    }

    if (typeId == qMetaTypeId<QList<int>>()) {
        QVariantList list;
        for (const QJsonValue element : QJsonDocument::fromJson(text.toUtf8()).array()) {
            const double d = element.toDouble();
            const bool whole = element.isDouble() && d >= std::numeric_limits<int>::min() &&
                               d <= std::numeric_limits<int>::max() && d == double(int(d));
            list.append(whole ? int(d) : 0);
        }
        return list;
    }
    if (typeId == qMetaTypeId<Qt::Orientations>())
        return QVariant::fromValue(Qt::Orientations(text.toInt()));
    if (typeId == qMetaTypeId<QList<QColor>>()) {
        QList<QColor> colours;
        if (!text.isEmpty()) {
            for (const QString& part : text.split(u';'))
                colours.append(QColor::fromRgba(part.toUInt()));
        }
        return QVariant::fromValue(colours);
    }
    if (typeId == qMetaTypeId<QList<QPoint>>()) {
        QList<QPoint> points;
        for (const QString& part : text.split(pointListSeparator(), Qt::SkipEmptyParts)) {
            const QStringList xy = part.split(u',');
            if (xy.size() == 2)
                points.append(QPoint(xy[0].toInt(), xy[1].toInt()));
        }
        return QVariant::fromValue(points);
    }

    return notImplemented("stringToVariant",
                          QStringLiteral("cannot read \"%1\" as %2").arg(text, typeNameOf(typeId)), ok);
}

QVariant jsonValueToVariant(const QJsonValue& json, bool* ok)
{
    bool read = true;
    const QVariant value = readJsonValue(json, &read);
    if (exceedsValueNesting(value)) {
        qWarning().noquote() << "jsonValueToVariant: Not Implemented: a value nested deeper than"
                             << kMaxValueNesting << "levels";
        setOk(ok, false);
        return json.isString() ? QVariant(json.toString()) : QVariant();
    }
    setOk(ok, read);
    return value;
}

QVariant jsonValueToText(const QJsonValue& json, bool* ok)
{
    if (json.isString()) {
        setOk(ok, true);
        return json.toString();
    }
    return jsonValueToVariant(json, ok);
}

namespace {

QVariant readJsonValue(const QJsonValue& json, bool* ok)
{
    setOk(ok, true);
    switch (json.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return QVariant();
    case QJsonValue::Bool:
        return json.toBool();
    case QJsonValue::Double:
        return json.toDouble();
    case QJsonValue::String: {
        const QString original = json.toString();
        QString text = original;
        const int typeId = parseVariantTypePrefix(text);
        if (typeId == 0 && !original.startsWith(stringListMarker()))
            return original;
        bool converted = true;
        const QVariant value = typeId != 0 ? stringToVariant(text, typeId, &converted)
                                           : stringToVariant(original, QMetaType::QStringList, &converted);
        if (converted)
            return value;
        qWarning().noquote() << "jsonValueToVariant: Not Implemented: kept as plain text:" << original;
        setOk(ok, false);
        return original;
    }
    case QJsonValue::Array: {
        QVariantList list;
        for (const QJsonValue element : json.toArray()) {
            bool elementOk = true;
            list.append(readJsonValue(element, &elementOk));
            if (!elementOk)
                setOk(ok, false);
        }
        return list;
    }
    case QJsonValue::Object:
        return json.toObject();
    }
    return QVariant();
}

} // namespace
