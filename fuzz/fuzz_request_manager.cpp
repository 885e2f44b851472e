// Feeds arbitrary bytes to RequestManager::appendData. Odd first bytes feed the
// input raw, cut into pieces of a size taken from the input; even first bytes
// read the input as a list of chunks that are framed first, so that the fuzzer
// reaches the message and file paths behind a valid head. With bit 1 of the first
// byte set, every delivered command is sent back from inside its delivery and the
// pacing ticks run until the manager has sent everything.
#include "network/RequestHead.h"
#include "network/RequestManager.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonObject>

#include <cstdint>
#include <cstring>

namespace {
QCoreApplication* app()
{
    static int argc = 1;
    static char name[] = "fuzz_request_manager";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return &instance;
}

QByteArray framedStream(const uint8_t* data, size_t size)
{
    QByteArray stream;
    size_t pos = 0;
    while (pos + 4 <= size) {
        const quint64 uid = data[pos] % 8;
        const quint32 type = data[pos + 1] % 3;
        const bool last = data[pos + 2] & 1;
        const size_t len = qMin<size_t>(data[pos + 3] * 8u, size - pos - 4);
        stream += RequestHead::frame(
            uid, type, last, QByteArray(reinterpret_cast<const char*>(data) + pos + 4, qsizetype(len)));
        pos += 4 + len;
    }
    return stream;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    app();
    if (size < 2)
        return 0;
    const bool raw = data[0] & 1;
    const bool echo = data[0] & 2;
    const qsizetype piece = 1 + data[1];
    const QByteArray stream = raw ? QByteArray(reinterpret_cast<const char*>(data) + 2, qsizetype(size - 2))
                                  : framedStream(data + 2, size - 2);

    RequestManager manager;
    size_t sink = 0;
    QObject::connect(&manager, &IRCRequestManager::cmdReceive,
                     [&sink, &manager, echo](const QString& cmd, const QJsonObject& params) {
                         sink += size_t(cmd.size()) + size_t(params.size());
                         if (echo)
                             manager.sendCmd(cmd, params, QVariant());
                     });
    QObject::connect(&manager, &IRCRequestManager::buffSendRequest,
                     [&sink](const QByteArray& buff, const QVariant&) { sink += size_t(buff.size()); });
    QObject::connect(&manager, &IRCRequestManager::fileContentReceive,
                     [&sink](const QByteArray& d, bool, const QVariantMap& info) {
                         sink += size_t(d.size()) + size_t(info.size());
                     });
    for (qsizetype pos = 0; pos < stream.size(); pos += piece)
        manager.appendData(stream.mid(pos, piece));
    const QDeadlineTimer deadline(2000);
    while (manager.outgoingCount() > 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    if (manager.outgoingCount() > 0)
        __builtin_trap(); // pacing stalled
    return sink == size_t(-1) ? 1 : 0;
}
