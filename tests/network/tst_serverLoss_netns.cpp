// A media server whose host loses its link for good, without closing anything; a fresh server then
// takes its address. CTest runs this in a private network namespace, the panels' host. Each server
// host is a namespace of its own made here (`unshare -n`) running the stand-in program on the fixed
// discovery port; one veth pair is the cable between the panels' host and the server's. To take the
// old host off the network the test moves the server's end of the cable into the fresh host, which
// leaves it unplugged until the panels have given the old server up: the old host keeps its half of
// each link, and nothing of it is ever heard again. Nothing here leaves the namespaces the run made.
#include "network/Terminal.h"
#include "support/IsolatedNetwork.h"
#include "support/NamespaceHost.h"
#include "support/SpyWaits.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {
const QString kPanelIp = QStringLiteral("198.18.9.1");
const QString kServerIp = QStringLiteral("198.18.9.2");

// The stand-in media server on a host of its own.
struct ServerHost : NamespaceHost
{
    bool start()
    {
        return NamespaceHost::start(QStringLiteral("tools/mediaserver-standin/tavix-mediaserver-standin"));
    }
    // Its end of the cable, once it holds it, up at the server address.
    bool plugIn()
    {
        return ip({"addr", "add", kServerIp + "/24", "dev", "eth0"}) && ip({"link", "set", "eth0", "up"});
    }
    // The number of links it accepted, as far as its log has come.
    int linksAccepted()
    {
        while (process.canReadLine() || process.waitForReadyRead(0)) {
            if (QJsonDocument::fromJson(process.readLine()).object().value("event") ==
                QLatin1String("connected"))
                ++links;
        }
        return links;
    }
    int links = 0;
};

// A panel's control link and what it reported. It asks for the program table on "connected", as
// the project does, and counts the answers.
struct Panel
{
    std::unique_ptr<Terminal> terminal{Terminal::create({"Tavix"})};
    QSignalSpy connected{terminal.get(), &IRCTerminal::socketConnected};
    QSignalSpy disconnected{terminal.get(), &IRCTerminal::socketDisconnected};
    int tables = 0;

    Panel()
    {
        Terminal* raw = terminal.get();
        QObject::connect(raw, &IRCTerminal::receiveCmd, raw, [this, raw](const QString& sCmd) {
            if (sCmd == QLatin1String("connected"))
                raw->sendCmd("getProgramTable", {});
            else if (sCmd == QLatin1String("setProgramTable"))
                ++tables;
        });
    }
};
} // namespace

class TestServerLossNetns : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void vanishedServerIsDroppedAndItsSuccessorLinked();
};

// Two panels are linked to the server; one taps once the host is gone, one stays idle (the first
// is left to the bound on unacknowledged data, the second to the keep-alive). Both notice within
// about 15 s, drop, rediscover and link to the fresh server.
void TestServerLossNetns::vanishedServerIsDroppedAndItsSuccessorLinked()
{
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    ServerHost old;
    QVERIFY2(old.start(), "the first stand-in did not start");
    QVERIFY(runCommand(
        "ip", {"link", "add", "srv0", "type", "veth", "peer", "name", "eth0", "netns", old.netnsPid()}));
    QVERIFY(runCommand("ip", {"addr", "add", kPanelIp + "/24", "dev", "srv0"}));
    QVERIFY(runCommand("ip", {"link", "set", "srv0", "up"}));
    QVERIFY(old.plugIn());

    Panel tapping;
    Panel idle;
    tapping.terminal->startServer(36545);
    idle.terminal->startServer(36546);
    for (Panel* panel : {&tapping, &idle}) {
        QVERIFY(waitForFirst(panel->connected, 8000));
        QCOMPARE(panel->connected.at(0).at(0).toString(), kServerIp);
        QTRY_COMPARE(panel->tables, 1);
    }

    ServerHost fresh;
    QVERIFY2(fresh.start(), "the second stand-in did not start");
    QVERIFY(old.ip({"link", "set", "eth0", "netns", fresh.netnsPid()}));
    // Keep-alive ends a link whose peer went within about 15 s; a link still shown 20 s on is a
    // dead link shown as live.
    const QDeadlineTimer noticed(20000);
    tapping.terminal->sendCmd("getProgramTable", {});
    for (Panel* panel : {&tapping, &idle})
        QVERIFY2(waitForFirst(panel->disconnected, int(qMax<qint64>(0, noticed.remainingTime()))),
                 "the vanished server is still shown as linked");

    QVERIFY(fresh.plugIn());
    for (Panel* panel : {&tapping, &idle}) {
        QTRY_COMPARE_WITH_TIMEOUT(panel->connected.size(), 2, 8000);
        QCOMPARE(panel->connected.at(1).at(0).toString(), kServerIp);
        QTRY_COMPARE(panel->tables, 2); // the fresh server's
    }
    QTRY_COMPARE(fresh.linksAccepted(), 2);
}

QTEST_GUILESS_MAIN(TestServerLossNetns)
#include "tst_serverLoss_netns.moc"
