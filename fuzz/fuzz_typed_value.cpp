// Feeds arbitrary text to the typed value reader, as a JSON string and as a JSON document, then
// writes whatever was read and reads it again. Must never crash, hang or leak.

#include "model/RCTypedValue.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

void roundTrip(const QJsonValue& json)
{
    const QVariant value = jsonValueToVariant(json);
    bool ok = true;
    const QJsonValue written = variantToJsonValue(value, &ok);
    if (ok)
        (void)jsonValueToVariant(written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool init = [] {
        qInstallMessageHandler(quiet);
        initVariantTypeTables();
        return true;
    }();
    (void)init;

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);
    roundTrip(QJsonValue(text));

    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError)
        roundTrip(doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object()));
    return 0;
}
