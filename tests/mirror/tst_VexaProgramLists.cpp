#include "mirror/MirrorTestSupport.h"
#include "mirror/RCStelvaneSyncer.h"

#include <QTest>

#include <memory>

using namespace MirrorTest;

// The Vexa program lists as QML and the command processors see them: through the mirror, whose
// relays carry ids.
class tst_VexaProgramLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_mirror = std::make_unique<RCStelvaneSyncer>(nullptr, QQuickImageProvider::Image,
                                                      QQuickImageProvider::Flags());
    }
    void cleanup() { m_mirror.reset(); }

    void listsAreFiledPerKind_data();
    void listsAreFiledPerKind();
    void insertingAKnownProgramUpdatesIt();
    void removingAListTakesItsProgramsSilently();
    void playingProgramsAndAnyKindLookups();

private:
    std::unique_ptr<RCStelvaneSyncer> m_mirror;
};

void tst_VexaProgramLists::listsAreFiledPerKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("video") << 0;
    QTest::newRow("audio") << 1;
    QTest::newRow("text") << 2;
}

void tst_VexaProgramLists::listsAreFiledPerKind()
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

void tst_VexaProgramLists::insertingAKnownProgramUpdatesIt()
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

void tst_VexaProgramLists::removingAListTakesItsProgramsSilently()
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

void tst_VexaProgramLists::playingProgramsAndAnyKindLookups()
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

QTEST_GUILESS_MAIN(tst_VexaProgramLists)
#include "tst_VexaProgramLists.moc"
