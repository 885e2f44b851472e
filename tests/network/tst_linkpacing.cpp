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
#include "support/LoopbackStandin.h"
#include "support/SpyWaits.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {
constexpr int kCommands = 40000;

bool writeSysctl(const char* path, const QByteArray& value)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(value) == value.size();
}

// Accepts one connection on loopback and writes "connected", then kCommands commands carrying
// their sequence number, each with blocking writes; counts the commands written whole.
struct StreamingServer
{
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
    std::atomic<int> written{0};
    std::thread thread;

    bool listen()
    {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::listen(listener, 1) != 0 ||
            ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            return false;
        port = ntohs(addr.sin_port);
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
            const int fd = ::accept(listener, nullptr, nullptr);
            for (const QByteArray& frame : frames) {
                qsizetype sent = 0;
                while (fd >= 0 && sent < frame.size()) {
                    const ssize_t n =
                        ::send(fd, frame.constData() + sent, size_t(frame.size() - sent), MSG_NOSIGNAL);
                    if (n <= 0)
                        break;
                    sent += n;
                }
                if (sent < frame.size())
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
        ::shutdown(listener, SHUT_RDWR);
        if (thread.joinable())
            thread.join();
        ::close(listener);
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
    QVERIFY2(writeSysctl("/proc/sys/net/ipv4/tcp_rmem", "4096 16384 16384") &&
                 writeSysctl("/proc/sys/net/ipv4/tcp_wmem", "4096 16384 16384"),
             "cannot shrink this namespace's TCP buffers");
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
                // A receiver slower than the link reads.
                QElapsedTimer busy;
                busy.start();
                while (busy.nsecsElapsed() < 40000) {
                }
            });

    // The server's discovery answer, until the link is up (the terminal binds in its own thread).
    QUdpSocket discovery;
    const QByteArray answer = DiscoveryDatagram::encode(
        "serverConfig", {{"ip", "127.0.0.1"}, {"port", server.port}, {"productName", "Tavix"}});
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
