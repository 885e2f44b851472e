// The cloud client against a relay that sends faster than the GUI thread handles its commands: a
// writer thread streams relayed commands over a loopback WebSocket as fast as TCP takes them while
// the receiver of receiveCmd takes its time over each. Every command arrives, in order, and what
// the relay got past TCP but the GUI thread has not handled yet stays bounded. The kernel's TCP
// buffers of this private network namespace are made small, so that what the relay managed to send
// but the panel has not handled is, but for a few dozen KB, what the panel holds.
#include "cloud/TavixProjectCloudClient.h"
#include "cloud/TavixProjectCloudConnectWork.h"
#include "support/IsolatedNetwork.h"
#include "support/LoopbackFlood.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

#include <sys/time.h>

#include <atomic>
#include <thread>

namespace {
constexpr int kCommands = 12000;
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

// Accepts one WebSocket link on loopback, answers its handshake, then writes kCommands relayed
// commands carrying their sequence number with blocking writes; counts the frames written whole.
// Keeps the link open until the panel closes it.
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
        for (int i = 0; i < kCommands; ++i) {
            const QJsonObject message{{"cmdType", "c"},
                                      {"cmdParams", QJsonObject{{"i", i}, {"pad", padding}}}};
            const QJsonObject frame{{"type", "send_message"},
                                    {"status", 0},
                                    {"data", QString(QJsonDocument(message).toJson(QJsonDocument::Compact))},
                                    {"sender", "device-9"}};
            frames.append(textFrame(QJsonDocument(frame).toJson(QJsonDocument::Compact)));
        }
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
            QByteArray request;
            char chunk[1024];
            while (!request.contains("\r\n\r\n")) {
                const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
                if (n <= 0)
                    break;
                request.append(chunk, n);
            }
            const int at = request.indexOf("Sec-WebSocket-Key:");
            const QByteArray key = request.mid(at + 18, request.indexOf("\r\n", at) - at - 18).trimmed();
            const QByteArray accept = QCryptographicHash::hash(key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11",
                                                               QCryptographicHash::Sha1)
                                          .toBase64();
            bool ok = at >= 0 && sendAll(fd, "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n"
                                             "Connection: Upgrade\r\nSec-WebSocket-Accept: " +
                                                 accept + "\r\n\r\n");
            for (const QByteArray& frame : frames) {
                if (!ok || !sendAll(fd, frame))
                    break;
                ++written;
            }
            // Until the panel or the end of the test ends the link.
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
} // namespace

class TestRelayPacing : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fastRelayIsHeldBackAndLosesNothing();
};

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
    connect(client, &TavixProjectCloudClient::receiveCmd, this,
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
    client->exitProject();
}

QTEST_GUILESS_MAIN(TestRelayPacing)
#include "tst_relay_pacing.moc"
