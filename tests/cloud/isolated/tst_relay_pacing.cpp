// The cloud client against relays that send faster than the panel keeps up, over a loopback
// WebSocket written by a thread of the test as fast as TCP takes it:
//  - relayed commands, while the receiver of receiveCmd takes its time over each: every command
//    arrives, in order;
//  - requests for the load figures, which the client answers itself, while the relay reads none of
//    the answers until the panel has stopped reading: every request is answered once it reads.
// Either way what the relay got past TCP but the panel has not handled (or answered) stays bounded.
// The kernel's TCP buffers of this private network namespace are made small, so that this is, but
// for a few dozen KB, what the panel holds.
#include "cloud/TavixProjectCloudClient.h"
#include "cloud/TavixProjectCloudConnectWork.h"
#include "support/IsolatedNetwork.h"
#include "support/LoopbackFlood.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

#include <poll.h>
#include <sys/time.h>

#include <atomic>
#include <thread>

namespace {
constexpr int kCommands = 12000;
constexpr int kRequests = 8000;
constexpr int kPadding = 900;

// One unmasked text frame, as a server writes it.
QByteArray textFrame(const QByteArray& payload)
{
    QByteArray frame(1, char(0x81));
    const quint64 size = quint64(payload.size());
    if (size < 126) {
        frame.append(char(size));
    } else if (size < 65536) {
        frame.append(char(126)).append(char(size >> 8)).append(char(size & 0xff));
    } else {
        frame.append(char(127));
        for (int shift = 56; shift >= 0; shift -= 8)
            frame.append(char((size >> shift) & 0xff));
    }
    return frame + payload;
}

// A command relayed from another device, as the relay frames it.
QByteArray relayedFrame(const QJsonObject& message)
{
    const QJsonObject frame{{"type", "send_message"},
                            {"status", 0},
                            {"data", QString(QJsonDocument(message).toJson(QJsonDocument::Compact))},
                            {"sender", "device-9"}};
    return textFrame(QJsonDocument(frame).toJson(QJsonDocument::Compact));
}

// Reads a WebSocket client's opening request from the blocking socket fd and accepts it; false when
// the request is cut short or is none.
bool acceptWebSocket(int fd)
{
    QByteArray request;
    char chunk[1024];
    while (!request.contains("\r\n\r\n")) {
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0)
            return false;
        request.append(chunk, n);
    }
    const int at = request.indexOf("Sec-WebSocket-Key:");
    const QByteArray key = request.mid(at + 18, request.indexOf("\r\n", at) - at - 18).trimmed();
    const QByteArray accept =
        QCryptographicHash::hash(key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11", QCryptographicHash::Sha1).toBase64();
    return at >= 0 && sendAll(fd, "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n"
                                  "Connection: Upgrade\r\nSec-WebSocket-Accept: " +
                                      accept + "\r\n\r\n");
}

// Accepts one WebSocket link on loopback, answers its handshake and the login (a relay that leaves
// the login unanswered is given up after 15 s, which a busy machine takes to handle the flood),
// then writes kCommands relayed commands carrying their sequence number with blocking writes;
// counts the frames written whole. Keeps the link open until the panel closes it.
struct FloodingRelay
{
    LoopbackListener listener;
    int frameSize = 0;
    std::atomic<int> written{0};
    std::atomic<int> link{-1};
    std::thread thread;

    bool listen()
    {
        if (!listener.listen())
            return false;
        QList<QByteArray> frames;
        const QString padding(kPadding, QLatin1Char('x'));
        for (int i = 0; i < kCommands; ++i)
            frames.append(relayedFrame({{"cmdType", "c"}, {"cmdParams", QJsonObject{{"i", i}, {"pad", padding}}}}));
        frameSize = int(frames.last().size());
        thread = std::thread([this, frames] {
            const int fd = ::accept(listener.fd, nullptr, nullptr);
            if (fd < 0)
                return;
            link = fd;
            // A panel that stopped reading or writing for good ends the flood rather than the test.
            const timeval patience{10, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
            bool ok = acceptWebSocket(fd) &&
                      sendAll(fd, textFrame(R"({"data":"device-1","status":0,"type":"device_login"})"));
            for (const QByteArray& frame : frames) {
                if (!ok || !sendAll(fd, frame))
                    break;
                ++written;
            }
            // Until the panel or the end of the test ends the link.
            char chunk[1024];
            while (ok && ::recv(fd, chunk, sizeof chunk, 0) > 0) {
            }
            ::close(fd);
        });
        return true;
    }
    ~FloodingRelay()
    {
        listener.shutdown();
        if (link >= 0)
            ::shutdown(link, SHUT_RDWR);
        if (thread.joinable())
            thread.join();
    }
};

// Reads the next frame a client wrote to the blocking socket fd into payload, unmasked; false at the
// end of the link.
bool readClientFrame(int fd, QByteArray* payload)
{
    const auto readAll = [fd](char* to, size_t size) {
        for (size_t got = 0; got < size;) {
            const ssize_t n = ::recv(fd, to + got, size - got, 0);
            if (n <= 0)
                return false;
            got += size_t(n);
        }
        return true;
    };
    unsigned char head[2];
    if (!readAll(reinterpret_cast<char*>(head), 2))
        return false;
    quint64 size = head[1] & 0x7f;
    const int extra = size == 126 ? 2 : size == 127 ? 8 : 0;
    unsigned char length[8];
    if (!readAll(reinterpret_cast<char*>(length), size_t(extra)))
        return false;
    if (extra)
        size = 0;
    for (int i = 0; i < extra; ++i)
        size = (size << 8) | length[i];
    char mask[4];
    payload->resize(qsizetype(size));
    if (!readAll(mask, 4) || !readAll(payload->data(), size_t(size)))
        return false;
    for (qsizetype i = 0; i < payload->size(); ++i)
        (*payload)[i] = char((*payload)[i] ^ mask[i % 4]);
    return true;
}

// Accepts one WebSocket link on loopback, accepts the panel's login at once and writes kRequests
// requests for the load figures with blocking writes. Reads nothing of the panel until
// startReading(); then a second thread counts the answers. Keeps the largest number of requests
// written but not yet answered.
struct RequestFlood
{
    LoopbackListener listener;
    int frameSize = 0;
    std::atomic<int> written{0};
    std::atomic<int> answered{0};
    std::atomic<int> peakUnanswered{0};
    std::atomic<int> link{-1};
    std::thread writer;
    std::thread reader;

    bool listen()
    {
        if (!listener.listen())
            return false;
        const QByteArray login = textFrame(R"({"data":"device-1","status":0,"type":"device_login"})");
        const QString padding(kPadding, QLatin1Char('x'));
        const QByteArray request = relayedFrame(QJsonObject{
            {"cmdType", "request_device_operInfo"},
            {"cmdParams", QJsonArray{"cpu_rate", "memory_rate", "gpu_rate", padding}}});
        frameSize = int(request.size());
        writer = std::thread([this, login, request] {
            const int fd = ::accept(listener.fd, nullptr, nullptr);
            if (fd < 0)
                return;
            link = fd;
            // A panel that stopped reading for good ends the flood rather than the test.
            const timeval patience{30, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
            if (!acceptWebSocket(fd) || !sendAll(fd, login))
                return;
            for (int i = 0; i < kRequests && sendAll(fd, request); ++i) {
                const int unanswered = ++written - answered;
                if (unanswered > peakUnanswered)
                    peakUnanswered = unanswered;
            }
        });
        return true;
    }
    void startReading()
    {
        reader = std::thread([this] {
            QByteArray payload;
            while (link >= 0 && readClientFrame(link, &payload))
                if (payload.contains("reply_device_operInfo"))
                    ++answered;
        });
    }
    ~RequestFlood()
    {
        listener.shutdown();
        if (link >= 0)
            ::shutdown(link, SHUT_RDWR);
        for (std::thread* thread : {&writer, &reader})
            if (thread->joinable())
                thread->join();
        if (link >= 0)
            ::close(link);
    }
};

// Set by the worker's log line that says it stopped reading while its frames wait to be written.
std::atomic<bool> s_heldForWriting{false};
QtMessageHandler s_nextHandler = nullptr;
void watchHolds(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.contains(QLatin1String("relay link held: its frames wait to be written")))
        s_heldForWriting = true;
    if (s_nextHandler)
        s_nextHandler(type, context, text);
}
} // namespace

class TestRelayPacing : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fastRelayIsHeldBackAndLosesNothing();
    void floodOfRequestsIsHeldBackAndAnswered();
    void cleanup();
};

// Leaves the relay, so that the next test joins afresh.
void TestRelayPacing::cleanup()
{
    TavixProjectCloudClient* client = TavixProjectCloudClient::instance();
    client->exitProject();
    QTRY_VERIFY(!client->isJoinProject());
}

void TestRelayPacing::fastRelayIsHeldBackAndLosesNothing()
{
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    QVERIFY2(shrinkTcpBuffers(), "cannot shrink this namespace's TCP buffers");
    FloodingRelay relay;
    QVERIFY(relay.listen());
    TavixProjectCloudClient* client = TavixProjectCloudClient::instance();
    client->setRelayUrl(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(relay.listener.port)));

    int received = 0;
    int peakWaiting = 0;
    QStringList outOfOrder;
    QObject receiver;
    connect(client, &TavixProjectCloudClient::receiveCmd, &receiver,
            [&](const QString&, const QJsonValue& cmdParams, const QString&) {
                const int i = cmdParams.toObject().value("i").toInt();
                if (i != received++)
                    outOfOrder << QString::number(i);
                peakWaiting = qMax(peakWaiting, relay.written - received);
                spinFor(100000);
            });
    QSignalSpy failed(client, &TavixProjectCloudClient::joinError);
    client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
    QTRY_VERIFY_WITH_TIMEOUT(received == kCommands || !failed.isEmpty(), 120000);
    QCOMPARE(failed.count(), 0);
    QCOMPARE(received, kCommands);
    QCOMPARE(outOfOrder, QStringList());
    // What waits in the panel: the commands queued for the GUI thread, the link's read buffer and
    // the few KB the kernel holds.
    const qint64 bound = qint64(TavixProjectCloudConnectWork::MaxWaiting) * relay.frameSize +
                         TavixProjectCloudConnectWork::ReadBufferBytes + 64 * 1024;
    QVERIFY2(qint64(peakWaiting) * relay.frameSize < bound,
             qPrintable(QStringLiteral("%1 commands of %2 bytes").arg(peakWaiting).arg(relay.frameSize)));
}

// The relay reads no answer until the panel has stopped reading for the answers it could not write
// (or, were it never to stop, until it has read every request). The answers are the client's own:
// its command processor on the GUI thread.
void TestRelayPacing::floodOfRequestsIsHeldBackAndAnswered()
{
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    QVERIFY2(shrinkTcpBuffers(), "cannot shrink this namespace's TCP buffers");
    RequestFlood relay;
    QVERIFY(relay.listen());
    s_nextHandler = qInstallMessageHandler(watchHolds);
    TavixProjectCloudClient* client = TavixProjectCloudClient::instance();
    client->setRelayUrl(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(relay.listener.port)));
    QSignalSpy failed(client, &TavixProjectCloudClient::joinError);
    client->joinProject(QStringLiteral("p"), QStringLiteral("c"));
    QTRY_VERIFY_WITH_TIMEOUT(s_heldForWriting || relay.written == kRequests || !failed.isEmpty(), 60000);
    relay.startReading();
    QTRY_VERIFY_WITH_TIMEOUT(relay.answered == kRequests || !failed.isEmpty(), 120000);
    qInstallMessageHandler(s_nextHandler);
    QCOMPARE(failed.count(), 0);
    // What waits in the panel: the requests queued for the GUI thread, the answers waiting to be
    // written, the link's read buffer and the few dozen KB the kernel holds each way.
    const int bound = TavixProjectCloudConnectWork::MaxWaiting + TavixProjectCloudConnectWork::MaxUnsentFrames +
                      int((TavixProjectCloudConnectWork::ReadBufferBytes + 64 * 1024) / relay.frameSize) +
                      64 * 1024 / 128;
    QVERIFY2(relay.peakUnanswered <= bound,
             qPrintable(QStringLiteral("%1 requests unanswered, %2 allowed").arg(relay.peakUnanswered).arg(bound)));
    QCOMPARE(relay.answered, kRequests);
}

QTEST_GUILESS_MAIN(TestRelayPacing)
#include "tst_relay_pacing.moc"
