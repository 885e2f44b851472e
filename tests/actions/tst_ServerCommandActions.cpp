// The actions that drive the media server, against a recording control link: command names,
// parameter keys, JSON types and order, and the cases that send nothing.
#include "ActionTestSupport.h"

#include "actions/RCAction_RandPlay.h"

#include <QTest>

using namespace ActionTest;
using Type = IRCAction::EActionType;
using Kind = IRCControl::EIRCControlType;

class tst_ServerCommandActions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void commands_data();
    void commands();
    void nothingWithoutALink();
    void randPlayDrawsAmongTheOthers();

private:
    QString run(int type, int kind, const QVariantMap& properties, const QVariant& data);

    std::unique_ptr<FakeProject> m_project;
    std::unique_ptr<IRCActionManager> m_manager;
    QString m_sceneId;
    int m_result = 0;
};

void tst_ServerCommandActions::init()
{
    m_project = std::make_unique<FakeProject>();
    m_manager.reset(RCActionManager::create(m_project.get()));
    m_sceneId = freshScene();
    RCStelvaneSyncer& mirror = m_project->mirror;
    mirror.addProgram({{"Id", "p0"}, {"State", 0}});
    mirror.addProgram({{"Id", "p1"}, {"State", 1}});
    mirror.addProgram({{"Id", "p2"}, {"State", 2}});
    mirror.addTrack(track("t1", "A", 0));
    mirror.addTrack(track("t2", "B", 1));
    mirror.addTrack(track("t3", "C", 0));
    mirror.addTrackProgram("t2", {{"Id", "q1"}, {"State", 1}});
    mirror.addTrackProgram("t2", {{"Id", "p1"}, {"State", 2}});
}

void tst_ServerCommandActions::cleanup()
{
    m_manager.reset();
    m_project.reset();
}

// Runs the action for a new item of kind (none for 0) and answers the commands, one per line.
QString tst_ServerCommandActions::run(int type, int kind, const QVariantMap& properties, const QVariant& data)
{
    const QString itemId =
        kind ? addControl(m_project->controls.get(), m_sceneId, kind, properties) : QString();
    m_result = m_manager->execAction(m_sceneId, itemId, type, data);
    return m_project->sent().join(QLatin1Char('\n'));
}

void tst_ServerCommandActions::commands_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariantMap>("properties");
    QTest::addColumn<QVariant>("data");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<int>("result");

    const struct
    {
        Type type;
        const char* command;
    } fixed[] = {{Type::EActionType_GetStageImage, "getStageImage"},
                 {Type::EActionType_GetProgramTable, "getProgramTable"},
                 {Type::EActionType_PlayPreProgram, "playPreProgram"},
                 {Type::EActionType_PlayNextProgram, "playNextProgram"},
                 {Type::EActionType_StopAllProgram, "stopAllProgram"},
                 {Type::EActionType_PlayCurrentProgram, "playCurrentProgram"},
                 {Type::EActionType_PauseCurrentProgram, "pauseCurrentProgram"},
                 {Type::EActionType_OpenAllDisplay, "openAllDisplay"},
                 {Type::EActionType_CloseAllDisplay, "closeAllDisplay"},
                 {Type::EActionType_GetTrackManager, "getTrackManager"},
                 {Type::EActionType_VexaSwitchOutput, "switchVexaOutput"}};
    for (const auto& row : fixed)
        QTest::addRow("%s", row.command) << int(row.type) << 0 << QVariantMap() << QVariant(QString())
                                         << QString(row.command) + " {}" << 0;

    // Command buttons of the catalogue: their own "CmdType" and the properties they list.
    const int send = Type::EActionType_SendCmd;
    QTest::addRow("button play previous") << send << int(Kind::EIRCControlType_PlayPre) << QVariantMap()
                                          << QVariant() << "playPreProgram {}" << 0;
    QTest::addRow("button fast forward keeps the type of Sec")
        << send << int(Kind::EIRCControlType_FastForward) << QVariantMap{{"Sec", 2.5}} << QVariant()
        << R"(fastForwardCurrentProgram {"sec":2.5})" << 0;
    QTest::addRow("button custom command")
        << send << int(Kind::EIRCControlType_Custom)
        << QVariantMap{{"CustomCmdToIp", "10.0.0.2"}, {"CustomCmdToPort", 7000}, {"CustomCmd", "go"}}
        << QVariant() << R"(customCmd {"cmd":"go","ip":"10.0.0.2","port":7000,"tcpOrUdp":0})" << 0;
    QTest::addRow("button with an empty command name")
        << send << int(Kind::EIRCControlType_PlayNext) << QVariantMap{{"CmdType", ""}} << QVariant() << ""
        << -1;
    QTest::addRow("button not in the scene") << send << 0 << QVariantMap() << QVariant() << "" << -1;

    QTest::addRow("program playing pauses")
        << int(Type::EActionType_ClickProgram) << 0 << QVariantMap() << QVariant("p1")
        << R"(setProgram {"id":"p1","name":"playState","value":2})" << 0;
    QTest::addRow("program paused plays")
        << int(Type::EActionType_ClickProgram) << 0 << QVariantMap() << QVariant("p2")
        << R"(setProgram {"id":"p2","name":"playState","value":1})" << 0;
    QTest::addRow("unknown program plays")
        << int(Type::EActionType_ClickProgram) << 0 << QVariantMap() << QVariant("zz")
        << R"(setProgram {"id":"zz","name":"playState","value":1})" << 0;
    // The track program's own state decides; the program table only when the track lacks it.
    QTest::addRow("track program playing pauses")
        << int(Type::EActionType_ClickQuenorProgram) << 0 << QVariantMap()
        << QVariant(QVariantMap{{"TrackId", "t2"}, {"ProgramId", "q1"}})
        << R"(setTrackProgram {"id":"q1","playState":2,"trackId":"t2"})" << 0;
    QTest::addRow("track program paused plays although the table plays it")
        << int(Type::EActionType_ClickQuenorProgram) << 0 << QVariantMap()
        << QVariant(QVariantMap{{"TrackId", "t2"}, {"ProgramId", "p1"}})
        << R"(setTrackProgram {"id":"p1","playState":1,"trackId":"t2"})" << 0;
    QTest::addRow("program not on the track reads the table")
        << int(Type::EActionType_ClickQuenorProgram) << 0 << QVariantMap()
        << QVariant(QVariantMap{{"TrackId", "t1"}, {"ProgramId", "p1"}})
        << R"(setTrackProgram {"id":"p1","playState":2,"trackId":"t1"})" << 0;

    const struct
    {
        const char* name;
        const char* sent;
    } globals[] = {{"StageLink", R"(getGlobalProperty {"name":"stageLink"})"},
                   {"Standby", R"(getGlobalProperty {"name":"standby"})"},
                   {"Volume", R"(getGlobalProperty {"name":"volume"})"},
                   {"Brightness", R"(getGlobalProperty {"name":"brightness"})"},
                   {"DisplayOpen", R"(getGlobalProperty {"name":"displayOutputState"})"},
                   {"volume", ""}};
    for (const auto& row : globals)
        QTest::addRow("global %s", row.name) << int(Type::EActionType_GetGlobalProperty) << 0 << QVariantMap()
                                             << QVariant(QVariantMap{{"ProName", row.name}}) << row.sent << 0;

    QTest::addRow("node state") << int(Type::EActionType_SetProgramNode) << 0 << QVariantMap()
                                << QVariant(QVariantMap{{"Id", "n"}, {"State", 1}})
                                << R"(setProgramNode {"id":"n","playState":1})" << 0;
    QTest::addRow("volume slider") << int(Type::EActionType_SetGlobalProperty) << 0 << QVariantMap()
                                   << QVariant(QVariantMap{{"Volume", 0.25}})
                                   << R"(setGlobalProperty {"volume":0.25})" << 0;
    QTest::addRow("track pause") << int(Type::EActionType_SetTrack) << 0 << QVariantMap()
                                 << QVariant(QVariantMap{{"Id", "t1"}, {"State", 2}})
                                 << R"(setTrack {"id":"t1","playState":2})" << 0;
    QTest::addRow("vexa progress") << int(Type::EActionType_VexaSetProgram) << 0 << QVariantMap()
                                   << QVariant(QVariantMap{{"Progress", 10}, {"ProgramListType", 1}})
                                   << R"(setVexaProgram {"programListType":1,"progress":10})" << 0;
    QTest::addRow("download") << int(Type::EActionType_DownloadProject) << 0 << QVariantMap() << QVariant(7)
                              << R"(getProject {"id":7})" << 0;
    QTest::addRow("fast back reads Sec as a number")
        << int(Type::EActionType_FastBackCurrentProgram) << int(Kind::EIRCControlType_FastBack)
        << QVariantMap{{"Sec", 3}} << QVariant() << R"(fastBackCurrentProgram {"sec":3})" << 0;
    const QVariant vexa = QVariantMap{{"programListId", "L"}, {"programId", "v"}};
    QTest::addRow("vexa try play") << int(Type::EActionType_VexaProgramTryPlay) << 0 << QVariantMap() << vexa
                                   << R"(setVexaProgram {"id":"v","playState":1,"programListId":"L"})" << 0;
    QTest::addRow("vexa try pause") << int(Type::EActionType_VexaProgramTryPause) << 0 << QVariantMap()
                                    << vexa
                                    << R"(setVexaProgram {"id":"v","playState":2,"programListId":"L"})" << 0;
    // The catalogue's Vexa buttons carry their own action type; the list kind comes from the item.
    QTest::addRow("vexa previous button")
        << int(Type::EActionType_VexaPlayPreProgram) << int(Kind::EIRCControlType_VexaPlayPre)
        << QVariantMap{{"ProgramListType", 2}} << QVariant() << R"(playPreVexaProgram {"programListType":2})"
        << 0;
    QTest::addRow("vexa stop") << int(Type::EActionType_VexaStopProgram)
                               << int(Kind::EIRCControlType_VexaStop) << QVariantMap{{"ProgramListType", 1}}
                               << QVariant() << R"(stopVexaProgram {"programListType":1})" << 0;
    QTest::addRow("stop listed tracks")
        << int(Type::EActionType_StopMultipleTrack) << int(Kind::EIRCControlType_StopMultipleTrack)
        << QVariantMap{{"TrackNameList", "C；A;X"}} << QVariant()
        << "setTrack {\"id\":\"t1\",\"playState\":0}\n"
           "setTrack {\"id\":\"t3\",\"playState\":0}"
        << 0;
    QTest::addRow("stop an empty list")
        << int(Type::EActionType_StopMultipleTrack) << int(Kind::EIRCControlType_StopMultipleTrack)
        << QVariantMap{{"TrackNameList", ""}} << QVariant() << "" << -1;
    QTest::addRow("random play of the playing track only")
        << int(Type::EActionType_RandPlay) << int(Kind::EIRCControlType_RandPlay)
        << QVariantMap{{"TrackNameList", "B"}} << QVariant() << "" << 0;
    QTest::addRow("random play skips empty entries")
        << int(Type::EActionType_RandPlay) << int(Kind::EIRCControlType_RandPlay)
        << QVariantMap{{"TrackNameList", ";A;;"}} << QVariant() << R"(setTrack {"id":"t1","playState":1})"
        << 0;
    QTest::addRow("random play of an empty list")
        << int(Type::EActionType_RandPlay) << int(Kind::EIRCControlType_RandPlay)
        << QVariantMap{{"TrackNameList", ""}} << QVariant() << "" << -1;
}

void tst_ServerCommandActions::commands()
{
    QFETCH(int, type);
    QFETCH(int, kind);
    QFETCH(QVariantMap, properties);
    QFETCH(QVariant, data);
    QFETCH(QString, sent);
    QFETCH(int, result);
    QCOMPARE(run(type, kind, properties, data), sent);
    QCOMPARE(m_result, result);
}

// Every action that talks to the media server answers -1 and does nothing without a control link.
void tst_ServerCommandActions::nothingWithoutALink()
{
    FakeProject project(false);
    std::unique_ptr<IRCActionManager> manager(RCActionManager::create(&project));
    const QString item = addControl(project.controls.get(), m_sceneId, Kind::EIRCControlType_RandPlay,
                                    {{"TrackNameList", "A;C"}, {"CmdType", "x"}});
    for (int type : {1,  2,  3,  4,  5,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                     17, 18, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 49, 50})
        QVERIFY2(manager->execAction(m_sceneId, item, type, QVariantMap{{"ProName", "Volume"}}) == -1,
                 qPrintable(QString::number(type)));
    QVERIFY(project.mirror.projectRequests.isEmpty());
}

// The playing listed track is never drawn; the draw follows the injected generator, and the play
// and stop commands go out interleaved in mirror order.
void tst_ServerCommandActions::randPlayDrawsAmongTheOthers()
{
    const QString item = addControl(m_project->controls.get(), m_sceneId, Kind::EIRCControlType_RandPlay,
                                    {{"TrackNameList", "A；B;C"}});
    QSet<QString> outcomes;
    for (quint32 seed = 1; seed <= 20; ++seed) {
        RCAction_RandPlay action(m_manager.get(), seed);
        m_project->terminal->sent.clear();
        QCOMPARE(action.execute(m_sceneId, item, QVariant()), 0);
        const QString sent = m_project->sent().join(QLatin1Char('\n'));
        QVERIFY2(
            sent == "setTrack {\"id\":\"t1\",\"playState\":1}\nsetTrack {\"id\":\"t2\",\"playState\":0}\n"
                    "setTrack {\"id\":\"t3\",\"playState\":0}" ||
                sent == "setTrack {\"id\":\"t1\",\"playState\":0}\nsetTrack {\"id\":\"t2\",\"playState\":0}\n"
                        "setTrack {\"id\":\"t3\",\"playState\":1}",
            qPrintable(sent));
        outcomes.insert(sent);

        RCAction_RandPlay again(m_manager.get(), seed);
        m_project->terminal->sent.clear();
        again.execute(m_sceneId, item, QVariant());
        QCOMPARE(m_project->sent().join(QLatin1Char('\n')), sent);
    }
    QCOMPARE(outcomes.size(), 2);
}

QTEST_MAIN(tst_ServerCommandActions)
#include "tst_ServerCommandActions.moc"
