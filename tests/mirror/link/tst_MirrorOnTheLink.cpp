// The mirror against the stand-in media server over the real control link, on loopback inside a
// private network namespace. The test wires the mirror to the link the way the project, the
// actions and the command processors do, with the least of each: "connected" connects the
// mirror, "setStageImage" answers its stage request, and the four request signals send the
// commands their actions send.
#include "mirror/RCStelvaneSyncer.h"
#include "network/Terminal.h"
#include "support/IsolatedNetwork.h"
#include "tools/mediaserver-standin/MediaServerStandin.h"
#include "tools/mediaserver-standin/StandinState.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

#include <memory>

namespace {
const QMap<QString, QString> kGlobalNames{{"Brightness", "brightness"},
                                          {"DisplayOpen", "displayOutputState"},
                                          {"StageLink", "stageLink"},
                                          {"Standby", "standby"},
                                          {"Volume", "volume"}};

int freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}
} // namespace

class tst_MirrorOnTheLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void connectSendsTheRequestsInOrderAndPollsTheStage();
    void slowServerGetsOneStageRequestAtATime();

private:
    void start(const QJsonObject& state);

    std::unique_ptr<MediaServerStandin> m_standin;
    std::unique_ptr<Terminal> m_terminal;
    std::unique_ptr<RCStelvaneSyncer> m_mirror;
    QStringList m_received;
    QList<qint64> m_stageRequestTimes;
    QElapsedTimer m_clock;
};

void tst_MirrorOnTheLink::initTestCase()
{
    QString reason;
    if (!insidePrivateNetwork(&reason))
        QFAIL(qPrintable(reason));
}

void tst_MirrorOnTheLink::init()
{
    m_received.clear();
    m_stageRequestTimes.clear();
    m_clock.start();
    m_mirror = std::make_unique<RCStelvaneSyncer>(nullptr, QQuickImageProvider::Image,
                                                  QQuickImageProvider::ForceAsynchronousImageLoading);
}

void tst_MirrorOnTheLink::cleanup()
{
    if (m_terminal)
        m_terminal->stopServer();
    m_terminal.reset();
    m_standin.reset();
    m_mirror.reset();
}

void tst_MirrorOnTheLink::start(const QJsonObject& state)
{
    StandinOptions options;
    options.bindAddress = QHostAddress::LocalHost;
    options.discoveryPort = 0;
    options.tcpPort = 0;
    options.state = state;
    m_standin = std::make_unique<MediaServerStandin>(options);
    QVERIFY(m_standin->start());
    connect(m_standin.get(), &MediaServerStandin::commandReceived, this,
            [this](const QString& sCmd, const QJsonObject& params) {
                if (sCmd == "getStageImage")
                    m_stageRequestTimes.append(m_clock.elapsed());
                m_received.append(params.contains("name") ? sCmd + " " + params.value("name").toString()
                                                          : sCmd);
            });

    m_terminal.reset(Terminal::create({"Tavix"}));
    Terminal* terminal = m_terminal.get();
    RCStelvaneSyncer* mirror = m_mirror.get();
    connect(terminal, &IRCTerminal::receiveCmd, mirror, [terminal, mirror](const QString& sCmd) {
        if (sCmd == "connected")
            mirror->connectToServer(terminal->getConnectIp());
        else if (sCmd == "setStageImage")
            mirror->setStageImage(QImage(4, 4, QImage::Format_ARGB32));
    });
    connect(terminal, &IRCTerminal::socketDisconnected, mirror, &IRCStelvaneSyncer::disconnectServer);
    connect(mirror, &IRCStelvaneSyncer::stageImageRequest, terminal,
            [terminal] { terminal->sendCmd("getStageImage", {}); });
    connect(mirror, &IRCStelvaneSyncer::programTableRequest, terminal,
            [terminal] { terminal->sendCmd("getProgramTable", {}); });
    connect(mirror, &IRCStelvaneSyncer::trackManagerGet, terminal,
            [terminal] { terminal->sendCmd("getTrackManager", {}); });
    connect(mirror, &IRCStelvaneSyncer::globalPropertyValueGet, terminal, [terminal](const QString& key) {
        if (kGlobalNames.contains(key))
            terminal->sendCmd("getGlobalProperty", QJsonObject{{"name", kGlobalNames.value(key)}});
    });
    terminal->setDiscoveryTarget(QHostAddress::LocalHost, m_standin->discoveryPort());
    terminal->startServer(freeUdpPort());
    terminal->setAutoConnect(true);
}

void tst_MirrorOnTheLink::connectSendsTheRequestsInOrderAndPollsTheStage()
{
    m_mirror->stageViewRefAddOne();
    start(StandinState::sample());
    QSignalSpy connected(m_mirror.get(), &IRCStelvaneSyncer::connectedToServer);
    QVERIFY(connected.wait(10000));
    QCOMPARE(connected.at(0).at(0).toString(), QString("127.0.0.1"));
    QTRY_VERIFY_WITH_TIMEOUT(m_received.size() >= 8, 5000);
    QCOMPARE(
        m_received.mid(0, 8),
        QStringList({"getStageImage", "getProgramTable", "getTrackManager", "getGlobalProperty brightness",
                     "getGlobalProperty displayOutputState", "getGlobalProperty stageLink",
                     "getGlobalProperty standby", "getGlobalProperty volume"}));

    // The server answers each stage request: the panel asks again about every 300 ms.
    QTRY_VERIFY_WITH_TIMEOUT(m_stageRequestTimes.size() >= 6, 5000);
    const qint64 span = m_stageRequestTimes.at(5) - m_stageRequestTimes.at(1);
    QVERIFY2(span >= 4 * 250 && span <= 4 * 800, qPrintable(QString::number(span)));

    // The link goes: the mirror empties and stops polling.
    QSignalSpy disconnected(m_mirror.get(), &IRCStelvaneSyncer::disconnectFromServer);
    m_standin->dropClients();
    QVERIFY(disconnected.wait(5000));
    QCOMPARE(m_mirror->getState(), IRCStelvaneSyncer::EState_Idel);
    const int requests = m_stageRequestTimes.size();
    QTest::qWait(700);
    QCOMPARE(m_stageRequestTimes.size(), requests);
}

void tst_MirrorOnTheLink::slowServerGetsOneStageRequestAtATime()
{
    // A server that never answers "getStageImage".
    start(QJsonObject{{"globalProperties", QJsonObject{{"volume", 0.25}}}});
    QSignalSpy connected(m_mirror.get(), &IRCStelvaneSyncer::connectedToServer);
    QVERIFY(connected.wait(10000));
    m_mirror->stageViewRefAddOne();
    QTRY_COMPARE(m_stageRequestTimes.size(), 1);
    QTest::qWait(1500);
    QCOMPARE(m_stageRequestTimes.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_stageRequestTimes.size(), 2, RCStelvaneSyncer::kStageReplyTimeoutMs + 1000);
}

QTEST_MAIN(tst_MirrorOnTheLink)
#include "tst_MirrorOnTheLink.moc"
