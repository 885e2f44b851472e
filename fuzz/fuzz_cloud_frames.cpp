// Feeds the frames a cloud relay sends to the cloud client's connection worker, as the text
// messages its socket delivers. An odd first byte takes the rest of the input as the text itself;
// an even one builds a relay frame from it (type and status picked by the next byte, then the text
// of "data" and the sender, split at the first newline), so that the fuzzer reaches the command
// text inside "send_message" frames.
//
// Oracle: only objects holding "status" are answered; a "device_login" answer gives joinSuccess,
// with the device joined, or joinError with one of the refusal texts (then exitSuccess when a
// joined device was turned away); a "send_message" frame gives at most one receiveCmd, carrying
// the frame's sender; anything else gives nothing. Must never crash, hang or leak.
#include "cloud/TavixProjectCloudConnectWork.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <cstddef>
#include <cstdint>

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

QCoreApplication* app()
{
    static int argc = 1;
    static char name[] = "fuzz_cloud_frames";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return &instance;
}

// The worker is made once: it starts a thread. It never opens a link (no join is requested), so
// its socket-side state stays untouched and its slots may run on this thread.
TavixProjectCloudConnectWork* worker()
{
    static auto* instance = new TavixProjectCloudConnectWork(QUrl(QStringLiteral("ws://127.0.0.1:9")));
    return instance;
}

struct Emitted
{
    int joined = 0;
    int refused = 0;
    int exited = 0;
    int commands = 0;
    QString refusal;
    QString sender;
};

QString builtFrame(const uint8_t* data, size_t size)
{
    static const char* const kTypes[] = {"device_login", "send_message", "ping"};
    const QJsonValue kStatuses[] = {0,
                                    QStringLiteral("0"),
                                    -1,
                                    QStringLiteral("-1"),
                                    401,
                                    QStringLiteral("401"),
                                    QStringLiteral("x"),
                                    0.5,
                                    QJsonValue::Null,
                                    QJsonValue::Undefined};
    const uint8_t pick = size > 0 ? data[0] : 0;
    const QString rest = QString::fromUtf8(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0),
                                           qsizetype(size > 0 ? size - 1 : 0));
    const qsizetype newline = rest.indexOf(QLatin1Char('\n'));
    QJsonObject frame{{QStringLiteral("type"), QLatin1String(kTypes[pick % 3])},
                      {QStringLiteral("data"), newline < 0 ? rest : rest.left(newline)}};
    const QJsonValue status = kStatuses[(pick / 3) % 10];
    if (!status.isUndefined())
        frame.insert(QStringLiteral("status"), status);
    if (newline >= 0)
        frame.insert(QStringLiteral("sender"), rest.mid(newline + 1));
    return QString::fromUtf8(QJsonDocument(frame).toJson(QJsonDocument::Compact));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    app();
    qInstallMessageHandler(quiet);
    if (size < 1)
        return 0;
    const QString text = (data[0] & 1)
                             ? QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1))
                             : builtFrame(data + 1, size - 1);

    TavixProjectCloudConnectWork* w = worker();
    Emitted seen;
    QObject context;
    QObject::connect(
        w, &TavixProjectCloudConnectWork::joinSuccess, &context, [&] { ++seen.joined; },
        Qt::DirectConnection);
    QObject::connect(
        w, &TavixProjectCloudConnectWork::joinError, &context,
        [&](const QString& error) {
            ++seen.refused;
            seen.refusal = error;
        },
        Qt::DirectConnection);
    QObject::connect(
        w, &TavixProjectCloudConnectWork::exitSuccess, &context, [&] { ++seen.exited; },
        Qt::DirectConnection);
    QObject::connect(
        w, &TavixProjectCloudConnectWork::receiveCmd, &context,
        [&](const QString&, const QJsonValue&, const QString& sender) {
            ++seen.commands;
            seen.sender = sender;
            // As the client does once its receivers have handled the command: the worker holds its
            // link while commands wait untaken.
            w->deliveryTaken();
        },
        Qt::DirectConnection);

    const bool joinedBefore = w->isJoinProject();
    w->onTextMessageReceived(text);

    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    const QJsonObject frame = document.object();
    const bool answered = document.isObject() && frame.contains(QLatin1String("status"));
    const QString type = frame.value(QLatin1String("type")).toString();
    const bool login = answered && type == QLatin1String("device_login");
    const bool message = answered && type == QLatin1String("send_message");

    if (!login && (seen.joined || seen.refused || seen.exited))
        __builtin_trap();
    if (login && seen.joined + seen.refused != 1)
        __builtin_trap();
    if (seen.joined && !w->isJoinProject())
        __builtin_trap();
    if (seen.refused) {
        if (seen.refusal != TavixProjectCloudConnectWork::loginErrorText() &&
            seen.refusal != TavixProjectCloudConnectWork::userExpiredText() &&
            seen.refusal != TavixProjectCloudConnectWork::unknownErrorText())
            __builtin_trap();
        if (w->isJoinProject() || seen.exited != (joinedBefore ? 1 : 0))
            __builtin_trap();
    }
    if (seen.commands > (message ? 1 : 0))
        __builtin_trap();
    if (seen.commands && seen.sender != frame.value(QLatin1String("sender")).toString())
        __builtin_trap();
    return 0;
}
