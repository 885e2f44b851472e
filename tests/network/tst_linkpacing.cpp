// The control link against a server that sends faster than the GUI thread handles its commands:
// a writer thread streams state commands over loopback as fast as TCP takes them while the
// receiver of receiveCmd takes its time over each. Every command arrives, in order, and what the
// server got past TCP but the GUI thread has not handled yet stays bounded. The kernel's TCP
// buffers of this private network namespace are made small, so that what the server managed to
// send but the panel has not handled is, but for a few dozen KB, what the panel holds.
#include "network/DiscoveryDatagram.h"
#include "network/Terminal.h"
#include "network/TerminalConnect.h"
#include "support/IsolatedNetwork.h"
#include "support/LoopbackFlood.h"
#include "support/LoopbackStandin.h"
#include "support/SpyWaits.h"

#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

#include <atomic>
#include <thread>

namespace {
constexpr int kCommands = 40000;

// Accepts one connection on loopback and writes "connected", then kCommands commands carrying
// their sequence number, each with blocking writes; counts the commands written whole.
struct StreamingServer
{
    LoopbackListener listener;
    std::atomic<int> written{0};
    std::thread thread;

    bool listen()
    {
        if (!listener.listen())
            return false;
        QList<QByteArray> frames{DiscoveryDatagram::encode("connected", {})};
        // Progress, play states and volume, and now and then a structural change among them.
        for (int i = 0; i < kCommands; ++i) {
            const char* name = i % 500 == 0 ? "addProgramNode"
                               : i % 3      ? "setProgramNode"
                                            : "setGlobalProperty";
            frames.append(
                DiscoveryDatagram::encode(name, {{"i", i}, {"progress", i * 40}, {"id", "node-7"}}));
        }
        thread = std::thread([this, frames] {
            const int fd = ::accept(listener.fd, nullptr, nullptr);
            for (const QByteArray& frame : frames) {
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
};
} // namespace

class TestLinkPacing : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fastServerIsHeldBackAndLosesNothing();
};

void TestLinkPacing::fastServerIsHeldBackAndLosesNothing()
{
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    QVERIFY2(shrinkTcpBuffers(), "cannot shrink this namespace's TCP buffers");
    StreamingServer server;
    QVERIFY(server.listen());
    std::unique_ptr<Terminal> terminal(Terminal::create({"Tavix"}));
    const int replyPort = freeUdpPort();
    terminal->startServer(replyPort);
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);

    int received = 0;
    int peakWaiting = 0;
    QStringList outOfOrder;
    connect(terminal.get(), &IRCTerminal::receiveCmd, this,
            [&](const QString& sCmd, const QJsonObject& params) {
                if (sCmd != QLatin1String("connected") && params.value("i").toInt() != received++)
                    outOfOrder << sCmd + " " + QString::number(params.value("i").toInt());
                peakWaiting = qMax(peakWaiting, server.written - received);
                spinFor(40000);
            });

    // The server's discovery answer, until the link is up (the terminal binds in its own thread).
    QUdpSocket discovery;
    const QByteArray answer = DiscoveryDatagram::encode(
        "serverConfig", {{"ip", "127.0.0.1"}, {"port", server.listener.port}, {"productName", "Tavix"}});
    for (int i = 0; i < 50 && connected.isEmpty(); ++i) {
        discovery.writeDatagram(answer, QHostAddress::LocalHost, quint16(replyPort));
        connected.wait(100);
    }
    QVERIFY(!connected.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(received, kCommands, 120000);
    QCOMPARE(outOfOrder, QStringList());
    // What waits in the panel: the commands queued for the GUI thread, the link's read buffer and
    // the few KB the kernel holds.
    QVERIFY2(peakWaiting < 2 * TerminalConnect::kMaxWaiting, qPrintable(QString::number(peakWaiting)));
}

QTEST_GUILESS_MAIN(TestLinkPacing)
#include "tst_linkpacing.moc"
