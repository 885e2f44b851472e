#include "mirror/MirrorTestSupport.h"
#include "mirror/RCTrackManager.h"

#include <QTest>

using namespace MirrorTest;

class tst_RCTrackManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tracksAreFiledByTheirId()
    {
        RCTrackManager tracks;
        QSignalSpy added(&tracks, &RCTrackManager::trackAdd);
        QVERIFY(!tracks.addTrack(record("")));
        QVERIFY(tracks.addTrack(record("t", {{"Name", "one"}})));
        QVERIFY(!tracks.addTrack(record("t", {{"Name", "two"}})));
        QVERIFY(!tracks.insertTrack(record("t"), 0));
        QCOMPARE(added.size(), 1);
        QCOMPARE(tracks.getTrackProperty("t", "Name").toString(), QString("one"));
        QCOMPARE(tracks.getTrack(-1), QString());
        QCOMPARE(tracks.getTrack(1), QString());

        // The id files the track: it cannot be changed afterwards.
        QSignalSpy changed(&tracks, &RCTrackManager::trackPropertyChanged);
        QVERIFY(!tracks.setTrackProperty("t", "Id", "u"));
        QCOMPARE(tracks.getTrack(0), QString("t"));
        QCOMPARE(tracks.getTrackProperty("t", "Id").toString(), QString("t"));
        QCOMPARE(changed.size(), 0);
    }
    void programsOfATrack()
    {
        RCTrackManager tracks;
        QVERIFY(!tracks.addTrackProgram("none", record("p")));
        QVERIFY(!tracks.insertTrackProgram("none", record("p"), 0));
        QVERIFY(tracks.addTrack(record("t")));
        QSignalSpy added(&tracks, &RCTrackManager::programAdded);
        QVERIFY(tracks.addTrackProgram("t", record("p", {{"Name", "first"}})));
        QVERIFY(tracks.insertTrackProgram("t", record("p", {{"Name", "second"}}), 0));
        QVERIFY(tracks.addTrackProgram("t", QVariantMap()));
        QCOMPARE(added.size(), 2);
        QCOMPARE(tracks.getTrackProgramCount("t"), 2);
        QCOMPARE(tracks.getTrackProgram("t", 1), QString());
        QCOMPARE(tracks.getTrackProgramProperty("t", "p", "Name").toString(), QString("first"));
        QVERIFY(tracks.getTrackProgramProperty("t", "p", "CountdownTime").isNull());
        QVERIFY(!tracks.getTrackProgramProperty("t", "p", "Volume").isValid());
        QCOMPARE(tracks.getTrackProgramCount("none"), 0);
    }
    void removalsAndClear()
    {
        RCTrackManager tracks;
        for (const char* id : {"a", "b"}) {
            QVERIFY(tracks.addTrack(record(id)));
            QVERIFY(tracks.addTrackProgram(id, record("p")));
        }
        QSignalSpy tracksRemoved(&tracks, &RCTrackManager::trackRemove);
        QSignalSpy programsRemoved(&tracks, &RCTrackManager::programRemoved);
        tracks.removeTrackProgram("a", "p");
        tracks.removeTrackProgram("a", "p");
        QCOMPARE(programsRemoved.at(0), (QVariantList{"a", "p"}));
        tracks.removeTrack("unknown");
        tracks.clearTrack();
        QCOMPARE(column(tracksRemoved), QStringList({"a", "b"}));
        QCOMPARE(programsRemoved.size(), 1);
        QCOMPARE(tracks.getTrackCount(), 0);
    }
    void settersAndLookups()
    {
        RCTrackManager tracks;
        QVERIFY(tracks.addTrack(record("t1", {{"Name", "Main"}, {"State", 1}})));
        QVERIFY(tracks.addTrack(record("t2", {{"Name", "Main"}})));
        QVERIFY(tracks.addTrackProgram("t1", record("p", {{"State", 1}})));
        QSignalSpy trackChanges(&tracks, &RCTrackManager::trackPropertyChanged);
        QSignalSpy programChanges(&tracks, &RCTrackManager::programPropertyChanged);

        QVERIFY(!tracks.setTrackProperty("t1", "State", 1));
        QVERIFY(!tracks.setTrackProperty("t1", "Volume", 1));
        QVERIFY(tracks.setTrackProperty("t1", "State", 2));
        QCOMPARE(trackChanges.at(0), (QVariantList{"t1", "State", 2}));
        // A track program's value is announced again even when it is unchanged.
        QVERIFY(tracks.setTrackProgramProperty("t1", "p", "State", 1));
        QVERIFY(!tracks.setTrackProgramProperty("t1", "p", "Volume", 1));
        QVERIFY(!tracks.setTrackProgramProperty("t2", "p", "State", 1));
        QCOMPARE(programChanges.at(0), (QVariantList{"t1", "p", "State", 1}));
        QCOMPARE(programChanges.size(), 1);

        QCOMPARE(tracks.getTrackIdByName("Main"), QString("t1"));
        QCOMPARE(tracks.getTrackIdByName("main"), QString());
        QCOMPARE(tracks.getTrackPropertyByName("Main", "State").toInt(), 2);
        QVERIFY(!tracks.getTrackPropertyByName("none", "State").isValid());
    }
};

QTEST_GUILESS_MAIN(tst_RCTrackManager)
#include "tst_RCTrackManager.moc"
