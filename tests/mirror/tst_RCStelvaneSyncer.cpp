// The mirror on its own: global properties, the requests of a connection, the stage image and
// thumbnails, the current program, and the Vexa program lists.
#include "mirror/MirrorTestSupport.h"
#include "mirror/RCImageProvider.h"
#include "mirror/RCStelvaneSyncer.h"

#include <QQmlEngine>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace MirrorTest;

class tst_RCStelvaneSyncer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_engine = std::make_unique<QQmlEngine>();
        m_mirror = std::make_unique<RCStelvaneSyncer>(m_engine.get(), QQuickImageProvider::Image,
                                                      QQuickImageProvider::ForceAsynchronousImageLoading);
        m_requests.clear();
    }
    void cleanup()
    {
        m_mirror.reset();
        QVERIFY(!m_engine->imageProvider(QStringLiteral("stelvaneImageProvider")));
        m_engine.reset();
    }

    // A fresh mirror, and global properties that keep their type and announce only changes.
    void freshMirrorAndGlobalProperties()
    {
        QCOMPARE(m_mirror->getState(), IRCStelvaneSyncer::EState_Idel);
        QCOMPARE(m_mirror->getServerIp(), QString());
        QCOMPARE(m_mirror->getGlobalProperty("Volume").typeId(), QMetaType::Double);
        QCOMPARE(m_mirror->getGlobalProperty("Volume").toDouble(), 0.5);
        QVERIFY(!m_mirror->getStageLink());
        QCOMPARE(m_mirror->getStageImageUrl(), QString());
        QCOMPARE(m_mirror->getVexaProgramListType("none"), -1);
        QVERIFY(provider());
        QVERIFY(!refreshTimer());
        // Without an engine the mirror deletes its provider itself.
        RCStelvaneSyncer(nullptr, QQuickImageProvider::Image, QQuickImageProvider::Flags());

        QSignalSpy changed(m_mirror.get(), &IRCStelvaneSyncer::globalPropertyChanged);
        m_mirror->setGlobalProperty("Volume", 0.5);
        m_mirror->setGlobalProperty("Unknown", 1);
        m_mirror->setStageLink(false);
        QCOMPARE(changed.size(), 0);
        QVERIFY(!m_mirror->getGlobalProperty("Unknown").isValid());
        m_mirror->setGlobalProperty("Brightness", 3);
        m_mirror->setVexaDisplayOutputState(true);
        m_mirror->setStageLink(true);
        QCOMPARE(changed.size(), 3);
        QCOMPARE(m_mirror->getGlobalProperty("Brightness").typeId(), QMetaType::Int);
        QVERIFY(m_mirror->getVexaDisplayOutputState());
        QCOMPARE(changed.at(2), (QVariantList{"StageLink", true}));
    }
    void connectAsksForEverythingInOrder_data()
    {
        QTest::addColumn<int>("stageViews");
        QTest::addColumn<QStringList>("expected");
        const QStringList data{"table",          "tracks",    "Brightness", "DisplayOpen",
                               "StageImagePath", "StageLink", "Standby",    "Volume"};
        QTest::newRow("no stage view") << 0 << QStringList{"connected 10.0.0.7"} + data;
        QTest::newRow("two stage views") << 2 << QStringList{"connected 10.0.0.7", "stage"} + data;
    }
    void connectAsksForEverythingInOrder()
    {
        QFETCH(int, stageViews);
        QFETCH(QStringList, expected);
        for (int i = 0; i < stageViews; ++i)
            m_mirror->stageViewRefAddOne();
        QStringList* requests = recordRequests();
        m_mirror->connectToServer("10.0.0.7");
        m_mirror->connectToServer("10.0.0.8");
        QCOMPARE(*requests, expected);
        QCOMPARE(m_mirror->getState(), IRCStelvaneSyncer::EState_Connect);
        QCOMPARE(m_mirror->getServerIp(), QString("10.0.0.7"));
        QCOMPARE(refreshTimer() ? refreshTimer()->interval() : 0, stageViews ? 300 : 0);
    }
    void stageViewsDriveTheRefreshTimer()
    {
        QStringList* requests = recordRequests();
        m_mirror->stageViewRefMinusOne(); // never below 0
        m_mirror->stageViewRefAddOne();   // not connected: counted only
        QVERIFY(!refreshTimer());
        m_mirror->stageViewRefMinusOne();
        m_mirror->connectToServer("ip");
        requests->clear();

        m_mirror->stageViewRefAddOne();
        QVERIFY(refreshTimer());
        QCOMPARE(refreshTimer()->interval(), 100);
        QCOMPARE(*requests, QStringList{"stage"});
        m_mirror->setStageImage(QImage(2, 2, QImage::Format_ARGB32));
        m_mirror->stageViewRefAddOne();
        QCOMPARE(requests->size(), 1);
        m_mirror->stageViewRefMinusOne();
        QVERIFY(refreshTimer());
        m_mirror->stageViewRefMinusOne();
        QVERIFY(!refreshTimer());
        m_mirror->stageViewRefMinusOne();
        m_mirror->stageViewRefAddOne();
        QCOMPARE(refreshTimer()->interval(), 100);
        QCOMPARE(*requests, QStringList({"stage", "stage"}));
    }
    void oneStageRequestOutstandingAtATime()
    {
        QSignalSpy requests(m_mirror.get(), &IRCStelvaneSyncer::stageImageRequest);
        m_mirror->connectToServer("ip");
        m_mirror->stageViewRefAddOne(); // 100 ms timer
        QCOMPARE(requests.size(), 1);
        // A server that does not answer gets no second request for a while...
        QTest::qWait(600);
        QCOMPARE(requests.size(), 1);
        // ...and an answer lets the next one go at the next tick.
        m_mirror->setStageImage(QImage());
        QVERIFY(requests.wait(10000));
        QCOMPARE(requests.size(), 2);
        // Unanswered, the next request waits for the 3 s timeout (the clock starts a little after
        // the request went).
        QElapsedTimer clock;
        clock.start();
        QVERIFY(requests.wait(20000));
        QVERIFY(clock.elapsed() >= 2300);
        // A new link starts without an outstanding request.
        m_mirror->disconnectServer();
        requests.clear();
        m_mirror->connectToServer("ip");
        QCOMPARE(requests.size(), 1);
    }
    void disconnectEmptiesTableAndTracksOnly()
    {
        m_mirror->stageViewRefAddOne();
        m_mirror->connectToServer("10.1.1.1");
        QVERIFY(m_mirror->addProgram(record("p")));
        QVERIFY(m_mirror->addProgramLayer(record("l")));
        QVERIFY(m_mirror->addProgramNode(node("n", "l", {"p"})));
        QVERIFY(m_mirror->addTrack(record("t")));
        QVERIFY(m_mirror->addVexaAudioProgramList(record("v")));
        m_mirror->setGlobalProperty("Volume", 0.8);
        QStringList removals;
        connect(m_mirror.get(), &IRCStelvaneSyncer::programNodeRemove, this, [&] { removals << "node"; });
        connect(m_mirror.get(), &IRCStelvaneSyncer::programLayerRemove, this, [&] { removals << "layer"; });
        connect(m_mirror.get(), &IRCStelvaneSyncer::programRemove, this, [&] { removals << "program"; });
        connect(m_mirror.get(), &IRCStelvaneSyncer::trackRemove, this, [&] { removals << "track"; });
        connect(m_mirror.get(), &IRCStelvaneSyncer::disconnectFromServer, this,
                [&] { removals << "disconnected"; });

        m_mirror->disconnectServer();
        m_mirror->disconnectServer();
        QCOMPARE(removals, QStringList({"node", "layer", "program", "track", "disconnected"}));
        QCOMPARE(m_mirror->getState(), IRCStelvaneSyncer::EState_Idel);
        QCOMPARE(m_mirror->getServerIp(), QString("10.1.1.1"));
        QCOMPARE(m_mirror->getVexaAudioProgramListCount(), 1);
        QCOMPARE(m_mirror->getGlobalProperty("Volume").toDouble(), 0.8);
        QVERIFY(!refreshTimer());
    }
    void currentProgramFollowsPlayState()
    {
        QVERIFY(m_mirror->addProgram(record("p1")));
        QVERIFY(m_mirror->addProgram(record("p2", {{"State", 1}})));
        QStringList seen;
        connect(m_mirror.get(), &IRCStelvaneSyncer::programPropertyChanged, this,
                [&](const QString& id, const QString& key, const QVariant& value) {
                    seen << QStringLiteral("%1.%2=%3").arg(id, key, value.toString());
                });
        connect(m_mirror.get(), &IRCStelvaneSyncer::programCurrentChanged, this,
                [&](const QString& id, int state) {
                    seen << QStringLiteral("current %1 %2").arg(id).arg(state);
                });
        m_mirror->setProgramState("p1", 2);
        // Another program stopping reports the current program with its own state.
        m_mirror->setProgramState("p2", 0);
        m_mirror->setProgramName("p1", "n");
        m_mirror->setProgramState("p1", 0);
        QCOMPARE(seen, QStringList({"p1.State=2", "current p1 2", "p2.State=0", "current p1 2", "p1.Name=n",
                                    "p1.State=0", "current  0"}));
        // Removing the current program keeps it current.
        m_mirror->setProgramState("p2", 1);
        m_mirror->clearProgram();
        QCOMPARE(m_mirror->getCurrentProgram(), QString("p2"));
    }
    void stageImageIsAnnouncedTwice()
    {
        QSignalSpy changed(m_mirror.get(), &IRCStelvaneSyncer::globalPropertyChanged);
        m_mirror->setStageImage(QImage());
        QImage red(40, 30, QImage::Format_ARGB32);
        red.fill(Qt::red);
        m_mirror->setStageImage(red);
        m_mirror->setStageImage(QImage(8, 8, QImage::Format_ARGB32));
        const QString url("image://stelvaneImageProvider/stageViewImage");
        QCOMPARE(column(changed, 1), QStringList({"", url, "", url}));
        QCOMPARE(m_mirror->getStageImageUrl(), url);
        QSize size;
        QCOMPARE(provider()->requestImage("stageViewImage", &size, QSize()).size(), QSize(8, 8));
    }
    void thumbnailsLiveAndDieWithTheirNode()
    {
        QImage image(400, 300, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        QVERIFY(m_mirror->addProgramNode(node("{n-1}", "l", {"p"}, {{"Thumbnail", image}})));
        QVERIFY(m_mirror->addProgramNode(node("n2", "l", {"q"})));
        QCOMPARE(m_mirror->getProgramNodePropertyValue("{n-1}", "ThumbnailPath").toString(),
                 QString("image://stelvaneImageProvider/_n-1_"));
        QVERIFY(!m_mirror->getProgramNodePropertyValue("{n-1}", "Thumbnail").isValid());
        QVERIFY(m_mirror->getProgramNodePropertyValue("n2", "ThumbnailPath").isNull());
        QCOMPARE(provider()->imageCount(), 1);
        QVERIFY(!m_mirror->addProgramNode(
            node("{n-1}", "l", {"p"}, {{"Thumbnail", QImage(1, 1, QImage::Format_RGB32)}})));
        QSize size;
        QCOMPARE(provider()->requestImage("_n-1_", &size, QSize()).pixelColor(0, 0), QColor(Qt::blue));

        QSignalSpy changed(m_mirror.get(), &IRCStelvaneSyncer::programNodePropertyChanged);
        QVERIFY(m_mirror->setProgramNodePropertyValue("n2", "Thumbnail", image));
        QCOMPARE(column(changed, 2), QStringList({"", "image://stelvaneImageProvider/n2"}));
        QVERIFY(!m_mirror->setProgramNodePropertyValue("gone", "Thumbnail", image));
        QCOMPARE(provider()->imageCount(), 2);

        m_mirror->removeProgramNode("{n-1}");
        QCOMPARE(provider()->imageCount(), 1);
        QCOMPARE(provider()->requestImage("_n-1_", &size, QSize()).size(), QSize(20, 20));
        m_mirror->clearProgramNode();
        QCOMPARE(provider()->imageCount(), 0);

        // Over replacements of the whole table the provider holds only the nodes of the last one.
        for (int round = 0; round < 20; ++round) {
            m_mirror->clearProgramNode();
            for (int i = 0; i < 5; ++i)
                m_mirror->addProgramNode(
                    record(QStringLiteral("r%1-%2").arg(round).arg(i), {{"Thumbnail", image}}));
        }
        QCOMPARE(provider()->imageCount(), 5);
        m_mirror->connectToServer("ip");
        m_mirror->disconnectServer();
        QCOMPARE(provider()->imageCount(), 0);
    }
    void derivedNodeAndLayerValues()
    {
        QVERIFY(m_mirror->addProgramLayer(record("l")));
        m_mirror->setProgramLayerType("l", 3);
        QCOMPARE(m_mirror->getProgramLayerPropertyValue("l", "ProgramLayerType").typeId(), QMetaType::Int);
        QCOMPARE(m_mirror->getProgramLayerType("l"), 3);
        QVERIFY(!m_mirror->hasProgramNodeTitleList());
        QVERIFY(m_mirror->addProgramNode(node("n", "l", {"{a-b}", "c.d"}, {{"ProgramNodeTitle", "T"}})));
        QVERIFY(m_mirror->hasProgramNodeTitleList());
        QCOMPARE(m_mirror->getProgramNodeColRoles("n"), (QVariantList{"col_a_b_", "colc_d"}));
        QSignalSpy projects(m_mirror.get(), &IRCStelvaneSyncer::projectSet);
        m_mirror->setProject(7, QJsonObject{{"id", 7}});
        QCOMPARE(projects.at(0).at(0).toInt(), 7);
    }

    // The Vexa program lists as QML and the command processors see them: through the mirror, whose
    // relays carry ids.
    void vexaListsAreFiledPerKind_data();
    void vexaListsAreFiledPerKind();
    void vexaInsertingAKnownProgramUpdatesIt();
    void vexaRemovingAListTakesItsProgramsSilently();
    void vexaPlayingProgramsAndAnyKindLookups();

private:
    RCImageProvider* provider() const
    {
        return static_cast<RCImageProvider*>(
            m_engine->imageProvider(QStringLiteral("stelvaneImageProvider")));
    }
    QTimer* refreshTimer() const { return m_mirror->findChild<QTimer*>(); }
    // Records the request signals and connection signals by name, in order.
    QStringList* recordRequests();

    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<RCStelvaneSyncer> m_mirror;
    QStringList m_requests;
};

QStringList* tst_RCStelvaneSyncer::recordRequests()
{
    RCStelvaneSyncer* mirror = m_mirror.get();
    connect(mirror, &IRCStelvaneSyncer::connectedToServer, this,
            [this](const QString& ip) { m_requests << "connected " + ip; });
    connect(mirror, &IRCStelvaneSyncer::stageImageRequest, this, [this] { m_requests << "stage"; });
    connect(mirror, &IRCStelvaneSyncer::programTableRequest, this, [this] { m_requests << "table"; });
    connect(mirror, &IRCStelvaneSyncer::trackManagerGet, this, [this] { m_requests << "tracks"; });
    connect(mirror, &IRCStelvaneSyncer::globalPropertyValueGet, this,
            [this](const QString& key) { m_requests << key; });
    return &m_requests;
}

void tst_RCStelvaneSyncer::vexaListsAreFiledPerKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("video") << 0;
    QTest::newRow("audio") << 1;
    QTest::newRow("text") << 2;
}

void tst_RCStelvaneSyncer::vexaListsAreFiledPerKind()
{
    QFETCH(int, kind);
    IRCStelvaneSyncer* mirror = m_mirror.get();
    // The operations of the kind under test.
    const auto addList = [&](const QVariantMap& params) {
        return kind == 0   ? mirror->addVexaVideoProgramList(params)
               : kind == 1 ? mirror->addVexaAudioProgramList(params)
                           : mirror->addVexaTextProgramList(params);
    };
    const auto listId = [&](int i) {
        return kind == 0   ? mirror->getVexaVideoProgramListId(i)
               : kind == 1 ? mirror->getVexaAudioProgramListId(i)
                           : mirror->getVexaTextProgramListId(i);
    };
    const auto programCount = [&](const QString& id) {
        return kind == 0   ? mirror->getVexaVideoProgramCount(id)
               : kind == 1 ? mirror->getVexaAudioProgramCount(id)
                           : mirror->getVexaTextProgramCount(id);
    };
    const auto addProgram = [&](const QString& id, const QVariantMap& params) {
        return kind == 0   ? mirror->addVexaVideoProgram(id, params)
               : kind == 1 ? mirror->addVexaAudioProgram(id, params)
                           : mirror->addVexaTextProgram(id, params);
    };
    const char* const listAdd[] = {SIGNAL(vexaVideoProgramListAdd(QString, int)),
                                   SIGNAL(vexaAudioProgramListAdd(QString, int)),
                                   SIGNAL(vexaTextProgramListAdd(QString, int))};
    QSignalSpy added(mirror, listAdd[kind]);

    QVERIFY(!addList(QVariantMap()));
    QVERIFY(addList(record("L", {{"Name", "first"}})));
    QVERIFY(addList(record("L", {{"Name", "second"}})));
    QCOMPARE(added.size(), 1);
    QCOMPARE(added.at(0), (QVariantList{"L", 0}));
    QCOMPARE(mirror->getVexaProgramListProperty("L", "Name").toString(), QString("first"));
    QCOMPARE(listId(0), QString("L"));
    QCOMPARE(listId(1), QString());
    QCOMPARE(mirror->getVexaProgramListType("L"), kind);

    QVERIFY(!addProgram("unknown", record("p")));
    QVERIFY(!addProgram("L", QVariantMap()));
    QVERIFY(addProgram("L", record("p")));
    QCOMPARE(programCount("L"), 1);
    QCOMPARE(programCount("unknown"), 0);
    // The same id under another kind is another list.
    const int other = (kind + 1) % 3;
    const QVariantMap twin = record("L", {{"Name", "twin"}});
    QVERIFY(other == 0   ? mirror->addVexaVideoProgramList(twin)
            : other == 1 ? mirror->addVexaAudioProgramList(twin)
                         : mirror->addVexaTextProgramList(twin));
    QCOMPARE(mirror->getVexaProgramListType("L"), std::min(kind, other));
    QCOMPARE(mirror->getVexaProgramCount("L"), kind < other ? 1 : 0);
    // Read by kind, each list answers for itself.
    QCOMPARE(mirror->getVexaProgramListPropertyOfKind(kind, "L", "Name").toString(), QString("first"));
    QCOMPARE(mirror->getVexaProgramListPropertyOfKind(other, "L", "Name").toString(), QString("twin"));
    QCOMPARE(mirror->getVexaProgramPropertyOfKind(kind, "L", "p", "Id").toString(), QString("p"));
    QVERIFY(!mirror->getVexaProgramPropertyOfKind(other, "L", "p", "Id").isValid());
    QVERIFY(!mirror->getVexaProgramPropertyOfKind(3, "L", "p", "Id").isValid());
}

void tst_RCStelvaneSyncer::vexaInsertingAKnownProgramUpdatesIt()
{
    QVERIFY(m_mirror->addVexaVideoProgramList(record("L")));
    QVERIFY(m_mirror->addVexaVideoProgram("L", record("p", {{"Name", "old"}, {"Length", 9}})));
    QSignalSpy changed(m_mirror.get(), &IRCStelvaneSyncer::vexaProgramPropertyChanged);
    QSignalSpy added(m_mirror.get(), &IRCStelvaneSyncer::vexaVideoProgramAdd);
    const QVariantMap update = record("p", {{"Name", "new"}, {"Length", 9}, {"Foo", 1}});
    QVERIFY(m_mirror->addVexaVideoProgram("L", update));
    QCOMPARE(changed.size(), 0);
    QVERIFY(m_mirror->insertVexaVideoProgram("L", update, 0));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0), (QVariantList{"L", "p", "Name", "new"}));
    QCOMPARE(added.size(), 0);
    // A program made without a key holds an invalid value under it.
    QVERIFY(!m_mirror->getVexaProgramProperty("L", "p", "SubProgramId").isValid());
    QVERIFY(!m_mirror->getVexaProgramProperty("L", "p", "Foo").isValid());

    QSignalSpy listChanged(m_mirror.get(), &IRCStelvaneSyncer::vexaProgramListPropertyChanged);
    m_mirror->setVexaProgramListProperty("L", "Name", "list");
    m_mirror->setVexaProgramListProperty("L", "Name", "list");
    m_mirror->setVexaProgramProperty("L", "p", "State", 1);
    m_mirror->setVexaProgramProperty("L", "missing", "State", 1);
    QCOMPARE(listChanged.size(), 1);
    QCOMPARE(changed.size(), 2);
}

void tst_RCStelvaneSyncer::vexaRemovingAListTakesItsProgramsSilently()
{
    QVERIFY(m_mirror->addVexaAudioProgramList(record("L")));
    for (const char* id : {"a", "b", "c"})
        QVERIFY(m_mirror->addVexaAudioProgram("L", record(id)));
    QSignalSpy listRemoved(m_mirror.get(), &IRCStelvaneSyncer::vexaAudioProgramListRemove);
    QSignalSpy programRemoved(m_mirror.get(), &IRCStelvaneSyncer::vexaAudioProgramRemove);
    m_mirror->removeVexaAudioProgram("L", "b");
    QCOMPARE(programRemoved.at(0), (QVariantList{"L", "b"}));
    m_mirror->removeVexaAudioProgramList("L");
    m_mirror->removeVexaAudioProgramList("L");
    QCOMPARE(listRemoved.size(), 1);
    QCOMPARE(programRemoved.size(), 1);

    for (const char* id : {"v", "w"})
        QVERIFY(m_mirror->addVexaVideoProgramList(record(id)));
    QVERIFY(m_mirror->addVexaTextProgramList(record("t")));
    QSignalSpy videoRemoved(m_mirror.get(), &IRCStelvaneSyncer::vexaVideoProgramListRemove);
    m_mirror->clearVexaProgramManager();
    QCOMPARE(column(videoRemoved), QStringList({"v", "w"}));
    QCOMPARE(m_mirror->getVexaTextProgramListCount(), 0);
}

void tst_RCStelvaneSyncer::vexaPlayingProgramsAndAnyKindLookups()
{
    QVERIFY(m_mirror->addVexaAudioProgramList(record("A1")));
    QVERIFY(m_mirror->addVexaAudioProgramList(record("A2")));
    QVERIFY(m_mirror->addVexaAudioProgram("A1", record("x", {{"State", 0}})));
    QVERIFY(m_mirror->addVexaAudioProgram("A2", record("y", {{"State", 2}})));
    QVERIFY(m_mirror->addVexaAudioProgram("A2", record("z", {{"State", 1}})));
    QCOMPARE(m_mirror->getPlayingAudioProgramList(), QString("A2"));
    QCOMPARE(m_mirror->getPlayingAudioProgram(), QString("y"));
    QCOMPARE(m_mirror->getPlayingVideoProgram(), QString());
    QCOMPARE(m_mirror->getVexaProgramCount("A2"), 2);
    QCOMPARE(m_mirror->getVexaProgramId("A2", 1), QString("z"));
    QCOMPARE(m_mirror->getVexaProgramId("A2", 2), QString());
    QCOMPARE(m_mirror->getVexaProgramId("none", 0), QString());
    QCOMPARE(m_mirror->getVexaProgramCount("none"), 0);
    QVERIFY(!m_mirror->getVexaProgramListProperty("none", "Name").isValid());
}

QTEST_MAIN(tst_RCStelvaneSyncer)
#include "tst_RCStelvaneSyncer.moc"
