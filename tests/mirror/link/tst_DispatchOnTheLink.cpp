// The media server's commands drive the panel's mirror end to end: the project root with its
// control link against the stand-in media server, which asks for a password and then replays the
// scripted show (every data command) over the framed link, on loopback inside a private network
// namespace.
#include "mirror/DispatchTestSupport.h"
#include "network/Terminal.h"
#include "project/RCProject.h"
#include "project/TemporaryHome.h"
#include "support/IsolatedNetwork.h"
#include "tools/mediaserver-standin/MediaServerStandin.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace DispatchTest;

class tst_DispatchOnTheLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void scriptedShowDrivesTheMirror();

private:
    // The show of the stand-in's folder without its waits, written into dir.
    static QString showWithoutWaits(const QTemporaryDir& dir);
};

void tst_DispatchOnTheLink::initTestCase()
{
    QString reason;
    if (!insidePrivateNetwork(&reason))
        QFAIL(qPrintable(reason));
}

QString tst_DispatchOnTheLink::showWithoutWaits(const QTemporaryDir& dir)
{
    QFile show(qEnvironmentVariable("TAVIX_SOURCE_DIR") +
               QStringLiteral("/tools/mediaserver-standin/show.jsonl"));
    if (!show.open(QIODevice::ReadOnly))
        return QString();
    QFile copy(dir.filePath(QStringLiteral("show.jsonl")));
    if (!copy.open(QIODevice::WriteOnly))
        return QString();
    while (!show.atEnd()) {
        const QByteArray line = show.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QJsonObject entry = QJsonDocument::fromJson(line).object();
        entry.insert(QStringLiteral("delayMs"), 0);
        copy.write(QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n');
    }
    return copy.fileName();
}

void tst_DispatchOnTheLink::scriptedShowDrivesTheMirror()
{
    TemporaryHome home;
    QTemporaryDir dir;
    StandinOptions options;
    options.bindAddress = QHostAddress::LocalHost;
    options.discoveryPort = 0;
    options.tcpPort = 0;
    options.password = QStringLiteral("pw");
    options.replayFile = showWithoutWaits(dir);
    QVERIFY(!options.replayFile.isEmpty());
    options.state = jsonObject(R"({"projects":{"2":{"name":"Asked","trackArray":[{"name":"Track B"}]}}})");
    MediaServerStandin server(options);
    QVERIFY(server.start());

    QQmlEngine engine;
    RCProject project(&engine, {QStringLiteral("Tavix")});
    IRCStelvaneSyncer* mirror = project.getStelvaneSyncer();
    MirrorProbe probe(mirror, &engine);
    // The show ends with the answer to a download the panel asked for before the link came up.
    mirror->addProjectRequest(1);
    auto* terminal = qobject_cast<Terminal*>(project.getTerminal());
    terminal->setDiscoveryTarget(QHostAddress::LocalHost, server.discoveryPort());

    // The password handshake: asked, refused, accepted.
    QTRY_COMPARE_WITH_TIMEOUT(probe.count("connectVerifyAsk"), 1, 10000);
    project.getSetting()->setValue(RCKeys::DefaultPassword(), QStringLiteral("wrong"));
    QTRY_COMPARE_WITH_TIMEOUT(probe.count("connectPasswordError"), 1, 10000);
    QVERIFY(!project.isConnectFromHost());
    project.getSetting()->setValue(RCKeys::DefaultPassword(), QStringLiteral("pw"));
    QTRY_COMPARE_WITH_TIMEOUT(probe.count("projectSet"), 1, 20000);
    QVERIFY(project.isConnectFromHost());

    compareProbes(probe,
                  {"state",
                   "programs",
                   "program:p1:Name",
                   "program:p1:State",
                   "layers",
                   "layer:l3:Name",
                   "nodes",
                   "node:n1:Name",
                   "node:n1:Progress",
                   "image:n1",
                   "tracks",
                   "track:t1:Name",
                   "track:t1:Progress",
                   "trackPrograms:t1",
                   "trackProgram:t1:tp1:CountdownTime",
                   "video",
                   "vexaPrograms:v1",
                   "vexaProgram:v1:vp1:Progress",
                   "vexaProgram:v1:vp3:BeginPos",
                   "audio",
                   "vexaList:a2:Name",
                   "text",
                   "global:Volume",
                   "global:Brightness",
                   "global:Standby",
                   "global:DisplayOpen",
                   "image:stageViewImage",
                   "signal:projectSet:0"},
                  {2,
                   QString("p1,p2,p3,p4"),
                   QString("Opening (live)"),
                   1,
                   QString("l1,l2,l3"),
                   QString("Audio"),
                   QString("n1,n2,n3,n4"),
                   QString("Intro clip (live)"),
                   30000,
                   QString("16x9"),
                   QString("t1,t2,t3"),
                   QString("Track A (live)"),
                   40,
                   QString("tp1"),
                   29.5,
                   QString("v1"),
                   QString("vp1,vp2,vp3"),
                   12,
                   5,
                   QString("a1,a2"),
                   QString("Sound effects"),
                   QString("x1"),
                   0.8,
                   65,
                   true,
                   true,
                   QString("32x18"),
                   QString("1")});
    RCScenePresenter* scenes = RCScenePresenter::instance();
    const QString showScene = scenes->getSelectSceneId();
    QCOMPARE(scenes->getPropertyValue(showScene, RCKeys::Name()).toString(), QStringLiteral("Server show"));
    QCOMPARE(RCSceneItemPresenter::instance()->getItemCount(showScene), 1 + 3 + 2 * 2);

    // A download asked for over the link, answered from the stand-in's state.
    mirror->addProjectRequest(2);
    terminal->sendCmd(QStringLiteral("getProject"), QJsonObject{{"id", 2}});
    QTRY_COMPARE_WITH_TIMEOUT(probe.count("projectSet"), 2, 10000);
    QCOMPARE(scenes->getPropertyValue(scenes->getSelectSceneId(), RCKeys::Name()).toString(),
             QStringLiteral("Asked"));
    // The whole command reaches the download view, with the "uid" the link added.
    QVERIFY(probe.spy("projectSet").at(1).at(1).toJsonObject().contains("uid"));
}

QTEST_MAIN(tst_DispatchOnTheLink)
#include "tst_DispatchOnTheLink.moc"
