// A relay whose host goes off the network without closing anything (power, cable). CTest runs this
// in a private network namespace, the panel's host; the relay's host is a namespace of its own made
// here (`unshare -n`) running the stand-in relay program, and one veth pair is the cable between
// the two. Taking the relay host's end of the cable down leaves the panel's link without any
// answer, as a host that lost its power does. Nothing here leaves the namespaces the run made.
#include "cloud/TavixProjectCloudClient.h"
#include "cloud/TavixProjectCloudConnectWork.h"
#include "support/IsolatedNetwork.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString kPanelIp = QStringLiteral("198.18.7.1");
const QString kRelayIp = QStringLiteral("198.18.7.2");

bool run(const QString& program, const QStringList& args)
{
    const int status = QProcess::execute(program, args);
    if (status != 0)
        qWarning("%s %s: exit status %d", qPrintable(program), qPrintable(args.join(' ')), status);
    return status == 0;
}

// The stand-in relay in a network namespace of its own, its only member.
struct RelayHost
{
    QProcess process;

    bool start()
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral("unshare"),
                      {"-n", qEnvironmentVariable("TAVIX_BINARY_DIR") +
                                 "/tools/cloud-relay-standin/tavix-cloud-relay-standin",
                       "--bind", "0.0.0.0", "--port", "3000"});
        if (!process.waitForStarted(10000) || !process.waitForReadyRead(10000))
            return false;
        return QJsonDocument::fromJson(process.readLine()).object().value("event") == QLatin1String("listening");
    }
    ~RelayHost()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    // Runs `ip ARGS` in this host's namespace.
    bool ip(const QStringList& args)
    {
        return run("nsenter", QStringList{QStringLiteral("--net=/proc/%1/ns/net").arg(process.processId()), "ip"} +
                                  args);
    }
};
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
    RelayHost host;
    QVERIFY2(host.start(), "the stand-in relay did not start");
    QVERIFY(run("ip", {"link", "add", "rly0", "type", "veth", "peer", "name", "eth0", "netns",
                       QString::number(host.process.processId())}));
    QVERIFY(run("ip", {"addr", "add", kPanelIp + "/24", "dev", "rly0"}));
    QVERIFY(run("ip", {"link", "set", "rly0", "up"}));
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
    // Noticed within about 15 s; a join still shown 30 s on is a dead link shown as live.
    QTRY_VERIFY2_WITH_TIMEOUT(failedAtExit >= 0, "the vanished relay is still shown as joined", 30000);
    QCOMPARE(failedAtExit, 1);
    QCOMPARE(failed.first().first().toString(), TavixProjectCloudConnectWork::networkErrorText());
    QVERIFY(!client->isJoinProject());
}

QTEST_GUILESS_MAIN(TestRelayLoss)
#include "tst_relay_loss.moc"
