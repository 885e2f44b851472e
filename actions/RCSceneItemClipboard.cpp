#include "actions/RCSceneItemClipboard.h"

#include "model/RCKeys.h"
#include "model/RCSceneItemViews.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QMimeData>
#include <QtCore5Compat/QBinaryJson>

#include <cmath>
#include <cstdlib>

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

QByteArray RCSceneItemClipboard::encode(const QJsonArray& items)
{
    // QBinaryJson::toBinaryData copies the buffer that toRawData allocates and never frees it;
    // taking the raw buffer and freeing it here keeps a copy from leaking its whole size.
    int size = 0;
    const char* raw =
        QBinaryJson::toRawData(QJsonDocument(QJsonObject{{QStringLiteral("sceneItemArray"), items}}), &size);
    const QByteArray bytes(raw, raw ? size : 0);
    std::free(const_cast<char*>(raw));
    return bytes;
}

bool RCSceneItemClipboard::write(const QJsonArray& items)
{
    QClipboard* board = clipboard();
    if (!board)
        return false;
    auto* mime = new QMimeData;
    mime->setData(QLatin1String(MimeType), encode(items));
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
