#include "actions/RCSceneItemClipboard.h"

#include "model/RCKeys.h"
#include "model/RCSceneItemViews.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QMimeData>
#include <QtCore5Compat/QBinaryJson>

#include <cmath>

namespace {

QClipboard* clipboard()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return nullptr;
    return QGuiApplication::clipboard();
}

bool isWellFormed(const QJsonValue& value)
{
    if (!value.isObject())
        return false;
    const QJsonValue records = value.toObject().value(QStringLiteral("propertyArray"));
    if (!records.isArray())
        return false;
    bool knownView = false;
    for (const QJsonValue& entry : records.toArray()) {
        if (!entry.isObject())
            return false;
        const QJsonObject record = entry.toObject();
        const QString name = record.value(QStringLiteral("name")).toString();
        const QJsonValue recordValue = record.value(QStringLiteral("value"));
        if (name.isEmpty())
            return false;
        if ((name == RCKeys::X() || name == RCKeys::Y()) &&
            !(recordValue.isDouble() && std::isfinite(recordValue.toDouble())))
            return false;
        if (name == RCKeys::QmlPath()) {
            if (!RCSceneItemViews::isKnownViewPath(recordValue.toString()))
                return false;
            knownView = true;
        }
    }
    return knownView;
}

} // namespace

bool RCSceneItemClipboard::write(const QJsonArray& items)
{
    QClipboard* board = clipboard();
    if (!board)
        return false;
    auto* mime = new QMimeData;
    mime->setData(QLatin1String(MimeType), QBinaryJson::toBinaryData(QJsonDocument(
                                               QJsonObject{{QStringLiteral("sceneItemArray"), items}})));
    board->setMimeData(mime, QClipboard::Clipboard);
    return true;
}

QByteArray RCSceneItemClipboard::readBytes()
{
    QClipboard* board = clipboard();
    const QMimeData* mime = board ? board->mimeData(QClipboard::Clipboard) : nullptr;
    if (!mime)
        return QByteArray();
    return mime->data(QLatin1String(MimeType));
}

QList<QJsonObject> RCSceneItemClipboard::parseItems(const QByteArray& bytes)
{
    QList<QJsonObject> items;
    if (bytes.isEmpty() || bytes.size() > MaxBytes)
        return items;
    const QJsonDocument document = QBinaryJson::fromBinaryData(bytes, QBinaryJson::Validate);
    const QJsonArray array = document.object().value(QStringLiteral("sceneItemArray")).toArray();
    for (const QJsonValue& value : array) {
        if (isWellFormed(value))
            items.append(value.toObject());
    }
    return items;
}
