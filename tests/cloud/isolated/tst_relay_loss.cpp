// A relay whose host goes off the network without closing anything (power, cable). CTest runs this
// in a private network namespace, the panel's host; the relay's host is a namespace of its own made
// here (`unshare -n`) running the stand-in relay program, and one veth pair is the cable between
// the two. Taking the relay host's end of the cable down leaves the panel's link without any
// answer, as a host that lost its power does. Nothing here leaves the namespaces the run made.
#include "cloud/TavixProjectCloudClient.h"
#include "cloud/TavixProjectCloudConnectWork.h"
#include "support/IsolatedNetwork.h"
#include "support/NamespaceHost.h"

#include <QSignalSpy>
#include <QTest>

namespace {
const QString kPanelIp = QStringLiteral("198.18.7.1");
const QString kRelayIp = QStringLiteral("198.18.7.2");
} // namespace

class TestRelayLoss : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void vanishedRelayEndsTheJoin();
};

// The join ends as on any network failure: "网络连接错误" first, then the end of the join.
void TestRelayLoss::vanishedRelayEndsTheJoin()
{
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    NamespaceHost host;
    QVERIFY2(host.start("tools/cloud-relay-standin/tavix-cloud-relay-standin",
                        {"--bind", "0.0.0.0", "--port", "3000"}),
             "the stand-in relay did not start");
    QVERIFY(runCommand(
        "ip", {"link", "add", "rly0", "type", "veth", "peer", "name", "eth0", "netns", host.netnsPid()}));
    QVERIFY(runCommand("ip", {"addr", "add", kPanelIp + "/24", "dev", "rly0"}));
    QVERIFY(runCommand("ip", {"link", "set", "rly0", "up"}));
    QVERIFY(host.ip({"addr", "add", kRelayIp + "/24", "dev", "eth0"}));
    QVERIFY(host.ip({"link", "set", "eth0", "up"}));

    TavixProjectCloudClient* client = TavixProjectCloudClient::instance();
    client->setRelayUrl(QUrl(QStringLiteral("ws://%1:3000").arg(kRelayIp)));
    QSignalSpy joined(client, &TavixProjectCloudClient::joinSuccess);
    QSignalSpy failed(client, &TavixProjectCloudClient::joinError);
    int failedAtExit = -1;
    connect(client, &TavixProjectCloudClient::exitSuccess, this, [&] { failedAtExit = int(failed.count()); });
    client->joinProject(QStringLiteral("123"), QStringLiteral("c"));
    QVERIFY(joined.wait(10000));

    QVERIFY(host.ip({"link", "set", "eth0", "down"}));
    // Noticed within 25 s with the default heartbeat; a join still shown 30 s on is a dead link
    // shown as live.
    QTRY_VERIFY2_WITH_TIMEOUT(failedAtExit >= 0, "the vanished relay is still shown as joined", 30000);
    QCOMPARE(failedAtExit, 1);
    QCOMPARE(failed.first().first().toString(), TavixProjectCloudConnectWork::networkErrorText());
    QVERIFY(!client->isJoinProject());
}

QTEST_GUILESS_MAIN(TestRelayLoss)
#include "tst_relay_loss.moc"
