// The actions that drive the media server, against a recording control link: command names,
// parameter keys, JSON types and order, and the cases that send nothing.
#include "ActionTestSupport.h"

#include "actions/RCAction_RandPlay.h"

#include <QTest>

using namespace ActionTest;
using Type = IRCAction::EActionType;
using Kind = IRCControl::EIRCControlType;

class tst_ServerCommandActions : public QObject, private ActionFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        start();
        RCStelvaneSyncer& mirror = *m_project->mirror();
        mirror.addProgram({{"Id", "p0"}, {"State", 0}});
        mirror.addProgram({{"Id", "p1"}, {"State", 1}});
        mirror.addProgram({{"Id", "p2"}, {"State", 2}});
        mirror.addTrack(track("t1", "A", 0));
        mirror.addTrack(track("t2", "B", 1));
        mirror.addTrack(track("t3", "C", 0));
        mirror.addTrackProgram("t2", {{"Id", "q1"}, {"State", 1}});
        mirror.addTrackProgram("t2", {{"Id", "p1"}, {"State", 2}});
    }
    void cleanup() { stop(); }
    void commands_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariantMap>("properties");
        QTest::addColumn<QVariant>("data");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<int>("result");
        // An action run with data and no item, and one run for a new catalogue item of a kind.
        const auto run = [](const char* name, int type, const QVariant& data, const QString& sent) {
            QTest::addRow("%s", name) << type << 0 << QVariantMap() << data << sent << 0;
        };
        const auto tap = [](const char* name, int type, int kind, const QVariantMap& properties,
                            const QString& sent, int result = 0) {
            QTest::addRow("%s", name) << type << kind << properties << QVariant() << sent << result;
        };

        const std::pair<Type, const char*> fixed[] = {
            {Type::EActionType_GetStageImage, "getStageImage"},
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
        for (const auto& [type, command] : fixed)
            run(command, type, QString(), QString(command) + " {}");

        // Command buttons of the catalogue: their own "CmdType" and the properties they list.
        const int send = Type::EActionType_SendCmd;
        tap("button play previous", send, Kind::EIRCControlType_PlayPre, {}, "playPreProgram {}");
        tap("button fast forward keeps the type of Sec", send, Kind::EIRCControlType_FastForward,
            {{"Sec", 2.5}}, R"(fastForwardCurrentProgram {"sec":2.5})");
        tap("button custom command", send, Kind::EIRCControlType_Custom,
            {{"CustomCmdToIp", "10.0.0.2"}, {"CustomCmdToPort", 7000}, {"CustomCmd", "go"}},
            R"(customCmd {"cmd":"go","ip":"10.0.0.2","port":7000,"tcpOrUdp":0})");
        tap("button with an empty command name", send, Kind::EIRCControlType_PlayNext, {{"CmdType", ""}}, "",
            -1);
        tap("button not in the scene", send, 0, {}, "", -1);

        run("program playing pauses", Type::EActionType_ClickProgram, "p1",
            R"(setProgram {"id":"p1","name":"playState","value":2})");
        run("program paused plays", Type::EActionType_ClickProgram, "p2",
            R"(setProgram {"id":"p2","name":"playState","value":1})");
        run("unknown program plays", Type::EActionType_ClickProgram, "zz",
            R"(setProgram {"id":"zz","name":"playState","value":1})");
        // The track program's own state decides; the program table only when the track lacks it.
        const auto quenor = [](const char* track, const char* program) {
            return QVariant(QVariantMap{{"TrackId", track}, {"ProgramId", program}});
        };
        run("track program playing pauses", Type::EActionType_ClickQuenorProgram, quenor("t2", "q1"),
            R"(setTrackProgram {"id":"q1","playState":2,"trackId":"t2"})");
        run("track program paused plays although the table plays it", Type::EActionType_ClickQuenorProgram,
            quenor("t2", "p1"), R"(setTrackProgram {"id":"p1","playState":1,"trackId":"t2"})");
        run("program not on the track reads the table", Type::EActionType_ClickQuenorProgram,
            quenor("t1", "p1"), R"(setTrackProgram {"id":"p1","playState":2,"trackId":"t1"})");

        const std::pair<const char*, const char*> globals[] = {{"StageLink", "stageLink"},
                                                               {"Standby", "standby"},
                                                               {"Volume", "volume"},
                                                               {"Brightness", "brightness"},
                                                               {"DisplayOpen", "displayOutputState"}};
        for (const auto& [name, key] : globals)
            run(name, Type::EActionType_GetGlobalProperty, QVariantMap{{"ProName", name}},
                QStringLiteral(R"(getGlobalProperty {"name":"%1"})").arg(key));
        run("unknown global", Type::EActionType_GetGlobalProperty, QVariantMap{{"ProName", "volume"}}, "");

        run("node state", Type::EActionType_SetProgramNode, QVariantMap{{"Id", "n"}, {"State", 1}},
            R"(setProgramNode {"id":"n","playState":1})");
        run("volume slider", Type::EActionType_SetGlobalProperty, QVariantMap{{"Volume", 0.25}},
            R"(setGlobalProperty {"volume":0.25})");
        run("track pause", Type::EActionType_SetTrack, QVariantMap{{"Id", "t1"}, {"State", 2}},
            R"(setTrack {"id":"t1","playState":2})");
        run("vexa progress", Type::EActionType_VexaSetProgram,
            QVariantMap{{"Progress", 10}, {"ProgramListType", 1}},
            R"(setVexaProgram {"programListType":1,"progress":10})");
        run("download", Type::EActionType_DownloadProject, 7, R"(getProject {"id":7})");
        tap("fast back reads Sec as a number", Type::EActionType_FastBackCurrentProgram,
            Kind::EIRCControlType_FastBack, {{"Sec", 3}}, R"(fastBackCurrentProgram {"sec":3})");
        const QVariantMap vexa{{"programListId", "L"}, {"programId", "v"}};
        run("vexa try play", Type::EActionType_VexaProgramTryPlay, vexa,
            R"(setVexaProgram {"id":"v","playState":1,"programListId":"L"})");
        run("vexa try pause", Type::EActionType_VexaProgramTryPause, vexa,
            R"(setVexaProgram {"id":"v","playState":2,"programListId":"L"})");
        // The catalogue's Vexa buttons carry their own action type; the list kind comes from the item.
        tap("vexa previous button", Type::EActionType_VexaPlayPreProgram, Kind::EIRCControlType_VexaPlayPre,
            {{"ProgramListType", 2}}, R"(playPreVexaProgram {"programListType":2})");
        tap("vexa stop", Type::EActionType_VexaStopProgram, Kind::EIRCControlType_VexaStop,
            {{"ProgramListType", 1}}, R"(stopVexaProgram {"programListType":1})");
        const int stop = Type::EActionType_StopMultipleTrack;
        const int rand = Type::EActionType_RandPlay;
        tap("stop listed tracks", stop, Kind::EIRCControlType_StopMultipleTrack,
            {{"TrackNameList", "C；A;X"}},
            "setTrack {\"id\":\"t1\",\"playState\":0}\nsetTrack {\"id\":\"t3\",\"playState\":0}");
        tap("stop an empty list", stop, Kind::EIRCControlType_StopMultipleTrack, {{"TrackNameList", ""}}, "",
            -1);
        tap("random play of the playing track only", rand, Kind::EIRCControlType_RandPlay,
            {{"TrackNameList", "B"}}, "");
        tap("random play skips empty entries", rand, Kind::EIRCControlType_RandPlay,
            {{"TrackNameList", ";A;;"}}, R"(setTrack {"id":"t1","playState":1})");
        tap("random play of an empty list", rand, Kind::EIRCControlType_RandPlay, {{"TrackNameList", ""}}, "",
            -1);
    }
    void commands()
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
    void nothingWithoutALink()
    {
        FakeProject project;
        project.linked = false;
        std::unique_ptr<IRCActionManager> manager(RCActionManager::create(&project));
        const QString item =
            addControl(project.getControlManager(), m_sceneId, Kind::EIRCControlType_RandPlay,
                       {{"TrackNameList", "A;C"}, {"CmdType", "x"}});
        for (int type : {1,  2,  3,  4,  5,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                         17, 18, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 49, 50})
            QVERIFY2(manager->execAction(m_sceneId, item, type, QVariantMap{{"ProName", "Volume"}}) == -1,
                     qPrintable(QString::number(type)));
        QVERIFY(!project.mirror()->takeProjectRequest(0));
    }
    // The playing listed track is never drawn; the draw follows the injected generator, and the play
    // and stop commands go out interleaved in mirror order.
    void randPlayDrawsAmongTheOthers()
    {
        const QString item = addControl(m_project->getControlManager(), m_sceneId,
                                        Kind::EIRCControlType_RandPlay, {{"TrackNameList", "A；B;C"}});
        QSet<QString> outcomes;
        for (quint32 seed = 1; seed <= 20; ++seed) {
            RCAction_RandPlay action(m_manager.get(), seed);
            m_project->terminal()->sent.clear();
            QCOMPARE(action.execute(m_sceneId, item, QVariant()), 0);
            const QString sent = m_project->terminal()->sent.join(QLatin1Char('\n'));
            QVERIFY2(
                sent == "setTrack {\"id\":\"t1\",\"playState\":1}\nsetTrack {\"id\":\"t2\",\"playState\":0}\n"
                        "setTrack {\"id\":\"t3\",\"playState\":0}" ||
                    sent ==
                        "setTrack {\"id\":\"t1\",\"playState\":0}\nsetTrack {\"id\":\"t2\",\"playState\":0}\n"
                        "setTrack {\"id\":\"t3\",\"playState\":1}",
                qPrintable(sent));
            outcomes.insert(sent);

            RCAction_RandPlay again(m_manager.get(), seed);
            m_project->terminal()->sent.clear();
            again.execute(m_sceneId, item, QVariant());
            QCOMPARE(m_project->terminal()->sent.join(QLatin1Char('\n')), sent);
        }
        QCOMPARE(outcomes.size(), 2);
    }

private:
    // Runs the action for a new item of kind (none for 0) and answers the commands, one per line.
    QString run(int type, int kind, const QVariantMap& properties, const QVariant& data)
    {
        const QString itemId =
            kind ? addControl(m_project->getControlManager(), m_sceneId, kind, properties) : QString();
        m_result = m_manager->execAction(m_sceneId, itemId, type, data);
        return m_project->terminal()->sent.join(QLatin1Char('\n'));
    }

    int m_result = 0;
};

QTEST_MAIN(tst_ServerCommandActions)
#include "tst_ServerCommandActions.moc"
