// The control link against a server that sends faster than the GUI thread handles its commands:
// a writer thread streams state commands over loopback as fast as TCP takes them while the
// receiver of receiveCmd takes its time over each. Every command arrives, in order, and what the
// server got past TCP but the GUI thread has not handled yet stays bounded. The kernel's TCP
// buffers of this private network namespace are made small, so that what the server managed to
// send but the panel has not handled is, but for a few dozen KB, what the panel holds. A server
// that closes while the link holds back still has every command it sent handled before the end.
#include "network/DiscoveryDatagram.h"
#include "network/MessageRequest.h"
#include "network/NetworkLimits.h"
#include "network/RequestHead.h"
#include "network/Terminal.h"
#include "network/TerminalConnect.h"
#include "support/IsolatedNetwork.h"
#include "support/LoopbackFlood.h"
#include "support/LoopbackStandin.h"
#include "support/SpyWaits.h"

#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

#include <QDeadlineTimer>

#include <atomic>
#include <functional>
#include <thread>

namespace {
constexpr int kCommands = 40000;

// Every chunk of one command, as a server writes it.
QByteArray commandFrames(const QString& sCmd, const QJsonObject& params)
{
    QByteArray text;
    const quint64 uid = MessageRequest::buildTextWithNewUid(sCmd, params, text);
    QByteArray frames;
    for (qsizetype pos = 0; pos < text.size(); pos += NetworkLimits::kChunkSize) {
        const QByteArray chunk = text.mid(pos, NetworkLimits::kChunkSize);
        frames += RequestHead::frame(uid, ERequestType_Message, pos + chunk.size() >= text.size(), chunk);
    }
    return frames;
}

// Accepts one connection on loopback and writes "connected", then `commands` commands carrying
// their sequence number (and a blob of blobBytes), each with blocking writes, and closes; counts
// the commands written whole. With a pause point, it waits after that many commands until
// pauseUntil() answers true (10 s at most).
struct StreamingServer
{
    explicit StreamingServer(int commands, int pauseAt = -1, std::function<bool()> pauseUntil = {},
                             int blobBytes = 0)
        : count(commands), m_pauseAt(pauseAt), m_pauseUntil(std::move(pauseUntil)), m_blob(blobBytes, 'b')
    {
    }

    const int count;
    LoopbackListener listener;
    std::atomic<int> written{0};
    std::thread thread;

    bool listen()
    {
        if (!listener.listen())
            return false;
        QList<QByteArray> frames{DiscoveryDatagram::encode("connected", {})};
        // Progress, play states and volume, and now and then a structural change among them.
        for (int i = 0; i < count; ++i) {
            const char* name = i % 500 == 0 ? "addProgramNode"
                               : i % 3      ? "setProgramNode"
                                            : "setGlobalProperty";
            QJsonObject params{{"i", i}, {"progress", i * 40}, {"id", "node-7"}};
            if (!m_blob.isEmpty())
                params.insert("blob", m_blob);
            frames.append(commandFrames(name, params));
        }
        thread = std::thread([this, frames] {
            const int fd = ::accept(listener.fd, nullptr, nullptr);
            for (const QByteArray& frame : frames) {
                if (written == m_pauseAt) {
                    const QDeadlineTimer limit(10000);
                    while (!m_pauseUntil() && !limit.hasExpired())
                        std::this_thread::yield();
                }
                if (fd < 0 || !sendAll(fd, frame))
                    break;
                ++written;
            }
            if (fd >= 0)
                ::close(fd);
        });
        return true;
    }
    ~StreamingServer()
    {
        listener.shutdown();
        if (thread.joinable())
            thread.join();
    }

private:
    const int m_pauseAt;
    const std::function<bool()> m_pauseUntil;
    const QString m_blob;
};
} // namespace

class TestLinkPacing : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fastServerIsHeldBackAndLosesNothing_data();
    void fastServerIsHeldBackAndLosesNothing();
    void commandsBeforeTheServerClosesAreHandled();
};

// Starts the terminal and answers its discovery with server's address until the link is up.
static bool linkTo(IRCTerminal* terminal, const StreamingServer& server)
{
    const int replyPort = freeUdpPort();
    terminal->startServer(replyPort);
    QSignalSpy connected(terminal, &IRCTerminal::socketConnected);
    QUdpSocket discovery;
    const QByteArray answer = DiscoveryDatagram::encode(
        "serverConfig", {{"ip", "127.0.0.1"}, {"port", server.listener.port}, {"productName", "Tavix"}});
    for (int i = 0; i < 50 && connected.isEmpty(); ++i) {
        discovery.writeDatagram(answer, QHostAddress::LocalHost, quint16(replyPort));
        connected.wait(100);
    }
    return !connected.isEmpty();
}

void TestLinkPacing::fastServerIsHeldBackAndLosesNothing_data()
{
    QTest::addColumn<int>("commands");
    QTest::addColumn<int>("blobBytes");
    QTest::addColumn<qint64>("spinNs");
    QTest::addColumn<int>("maxWaiting"); // the most commands that may wait in the panel
    // Small commands reach the bound on their number first, large ones the bound on their bytes
    // (8 MB, written out here).
    QTest::newRow("small commands") << kCommands << 0 << qint64(40000) << 2 * TerminalConnect::kMaxWaiting;
    constexpr int kLarge = 200 * 1024;
    QTest::newRow("200 KB commands") << 160 << kLarge << qint64(20000000) << 2 * 8 * 1024 * 1024 / kLarge;
}

void TestLinkPacing::fastServerIsHeldBackAndLosesNothing()
{
    QFETCH(int, commands);
    QFETCH(int, blobBytes);
    QFETCH(qint64, spinNs);
    QFETCH(int, maxWaiting);
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    QVERIFY2(shrinkTcpBuffers(), "cannot shrink this namespace's TCP buffers");
    StreamingServer server(commands, -1, {}, blobBytes);
    QVERIFY(server.listen());
    std::unique_ptr<Terminal> terminal(Terminal::create({"Tavix"}));

    int received = 0;
    int peakWaiting = 0;
    QStringList outOfOrder;
    connect(terminal.get(), &IRCTerminal::receiveCmd, this,
            [&](const QString& sCmd, const QJsonObject& params) {
                if (sCmd != QLatin1String("connected") && params.value("i").toInt() != received++)
                    outOfOrder << sCmd + " " + QString::number(params.value("i").toInt());
                peakWaiting = qMax(peakWaiting, server.written - received);
                spinFor(spinNs);
            });

    QVERIFY(linkTo(terminal.get(), server));
    QTRY_COMPARE_WITH_TIMEOUT(received, commands, 120000);
    QCOMPARE(outOfOrder, QStringList());
    // What waits in the panel: the commands queued for the GUI thread, the link's read buffer and
    // the few KB the kernel holds.
    QVERIFY2(peakWaiting < maxWaiting, qPrintable(QString::number(peakWaiting)));
}

// The server fills what the link lets wait, which nobody takes, so the link holds back; then it
// sends a few commands more and closes. Those reach the receiver before the end is reported.
void TestLinkPacing::commandsBeforeTheServerClosesAreHandled()
{
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    constexpr int kHeld = TerminalConnect::kMaxWaiting;
    constexpr int kTail = 20;
    TerminalConnect link;
    std::atomic<int> delivered{0};
    std::atomic<int> deliveredAtTheEnd{-1};
    // Counted in the link's own thread, as each delivery leaves it.
    connect(&link, &TerminalConnect::receiveCmd, &link, [&] { ++delivered; }, Qt::DirectConnection);
    connect(&link, &TerminalConnect::socketDisconnect, &link, [&] { deliveredAtTheEnd = int(delivered); },
            Qt::DirectConnection);
    QSignalSpy ended(&link, &TerminalConnect::socketDisconnect);
    StreamingServer server(kHeld - 1 + kTail, kHeld, [&] { return delivered >= kHeld; });
    QVERIFY(server.listen());
    link.connectToServer("127.0.0.1", server.listener.port);
    QVERIFY(ended.wait(20000));
    QCOMPARE(int(server.written), kHeld + kTail);
    QCOMPARE(int(deliveredAtTheEnd), kHeld + kTail);
}

QTEST_GUILESS_MAIN(TestLinkPacing)
#include "tst_linkpacing.moc"
