// Navigation and system actions: Wake-on-LAN on loopback, scene switching, running another item,
// switching project and server address, and the click sound.
#include "ActionTestSupport.h"

#include "actions/RCAction_ExcuteOtherSceneItem.h"
#include "actions/RCAction_PlayClickSound.h"
#include "actions/RCAction_StartupMachine.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

using namespace ActionTest;

namespace {
// Counts the queued calls delivered to the objects it filters, and the threads they ran on; lives
// in those objects' thread.
class QueuedCallCounter : public QObject
{
public:
    QAtomicInt count;
    QSet<QThread*> threads; // written before count is raised

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MetaCall) {
            threads.insert(QThread::currentThread());
            count.fetchAndAddRelease(1);
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace
using Type = IRCAction::EActionType;
using Kind = IRCControl::EIRCControlType;

class tst_SystemActions : public QObject, private ActionFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { start(); }
    void cleanup() { stop(); }
    void wakeOnLan_data()
    {
        QTest::addColumn<QString>("mac");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray mac = QByteArray::fromHex("001A2B3C4D5E");
        QTest::addRow("dashes") << "00-1A-2B-3C-4D-5E" << mac;
        QTest::addRow("colons") << "00:1a:2b:3c:4d:5e" << mac;
        QTest::addRow("no separator") << "001A2B3C4D5E" << mac;
        QTest::addRow("blank around") << " 00-1A-2B-3C-4D-5E " << mac;
        for (const char* bad :
             {"00-1A:2B-3C-4D-5E", "00-1A-2B-3C-4D", "00-1A-2B-3C-4D-5E-6F", "0-1A-2B-3C-4D-5E",
              "GG-1A-2B-3C-4D-5E", "001A2B3C4D5", "00--1A-2B-3C-4D-5E", ""})
            QTest::addRow("refused %s", bad) << bad << QByteArray();
    }
    // A well-formed address sends 6 x 0xFF and the address 16 times; anything else sends nothing.
    void wakeOnLan()
    {
        QFETCH(QString, mac);
        QFETCH(QByteArray, bytes);
        QUdpSocket receiver;
        QVERIFY(receiver.bind(QHostAddress::LocalHost, 0));
        RCAction_StartupMachine action(m_manager.get(), QHostAddress::LocalHost, receiver.localPort());
        const QString item = addControl(m_project->getControlManager(), m_sceneId,
                                        Kind::EIRCControlType_Startup, {{"MacAddress", mac}});
        const QString marker =
            addControl(m_project->getControlManager(), m_sceneId, Kind::EIRCControlType_Startup,
                       {{"MacAddress", "FF-FF-FF-FF-FF-FF"}});
        QCOMPARE(action.execute(m_sceneId, item, QVariant()), bytes.isEmpty() ? -1 : 0);
        // A marker datagram follows, so a refused address shows as the marker arriving first.
        QCOMPARE(action.execute(m_sceneId, marker, QVariant()), 0);
        QTRY_VERIFY(receiver.hasPendingDatagrams());
        QByteArray received(int(receiver.pendingDatagramSize()), 0);
        receiver.readDatagram(received.data(), received.size());
        QCOMPARE(received.size(), 102);
        QCOMPARE(received.left(6), QByteArray(6, char(0xFF)));
        QCOMPARE(received.mid(6), (bytes.isEmpty() ? QByteArray(6, char(0xFF)) : bytes).repeated(16));
    }
    void switchScene()
    {
        RCScenePresenter* scenes = RCScenePresenter::instance();
        const QString first = scenes->addScene("B", QString(), QString(), false);
        scenes->addScene("B", QString(), QString(), false);
        scenes->setSelectScene(m_sceneId);
        auto item = [&](const char* name) {
            return addControl(m_project->getControlManager(), m_sceneId, Kind::EIRCControlType_SwitchScene,
                              {{"SceneName", name}});
        };
        QCOMPARE(m_manager->execAction(m_sceneId, item("nowhere"), Type::EActionType_SwitchScene, QVariant()),
                 0);
        QCOMPARE(scenes->getSelectSceneId(), m_sceneId);
        QCOMPARE(m_manager->execAction(m_sceneId, item("B"), Type::EActionType_SwitchScene, QVariant()), 0);
        QCOMPARE(scenes->getSelectSceneId(), first);
    }
    void excuteOtherSceneItem()
    {
        RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
        const QString other = RCScenePresenter::instance()->addScene("T", QString(), QString(), false);
        addControl(m_project->getControlManager(), other, Kind::EIRCControlType_Label, {{"ObjectName", "y"}});
        const QString target = addControl(m_project->getControlManager(), other, Kind::EIRCControlType_Label,
                                          {{"ObjectName", "x"}});
        addControl(m_project->getControlManager(), other, Kind::EIRCControlType_Label, {{"ObjectName", "x"}});
        QSignalSpy executed(items, &RCSceneItemPresenter::itemExecute);
        auto run = [&](const char* scene, const char* item) {
            return m_manager->execAction(QString(), QString(), Type::EActionType_ExcuteOtherSceneItem,
                                         QVariantMap{{"SceneName", scene}, {"SceneItemName", item}});
        };
        QCOMPARE(run("T", "missing"), 0);
        QCOMPARE(run("missing", "x"), 0);
        QCOMPARE(executed.size(), 0);
        QCOMPARE(run("T", "x"), 0);
        QCOMPARE(executed.size(), 1);
        QCOMPARE(executed.first(), QVariantList({other, target}));
    }
    // An item that executes itself stops after the nesting limit instead of exhausting the stack.
    void selfExecutingItemsStop()
    {
        const QVariantMap self{{"SceneName", "S"}, {"SceneItemName", "loop"}};
        addControl(m_project->getControlManager(), m_sceneId, Kind::EIRCControlType_Label,
                   {{"ObjectName", "loop"}});
        int runs = 0;
        int deepest = 0;
        connect(RCSceneItemPresenter::instance(), &RCSceneItemPresenter::itemExecute, this, [&] {
            ++runs;
            deepest =
                m_manager->execAction(QString(), QString(), Type::EActionType_ExcuteOtherSceneItem, self);
        });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Excute scene item refused"));
        QCOMPARE(m_manager->execAction(QString(), QString(), Type::EActionType_ExcuteOtherSceneItem, self),
                 0);
        QCOMPARE(runs, RCAction_ExcuteOtherSceneItem::kMaxNesting);
        QCOMPARE(deepest, 0);
        disconnect(RCSceneItemPresenter::instance(), nullptr, this, nullptr);
    }
    void switchProject_data()
    {
        QTest::addColumn<QVariant>("data");
        QTest::addColumn<QString>("opened"); // relative to the parent folder; empty: refused
        QTest::addRow("name beside") << QVariant(QVariantMap{{"ProjectName", "B"}}) << "B";
        QTest::addRow("path beside") << QVariant(QVariantMap{{"ProjectPacketPath", "@/B"}}) << "B";
        QTest::addRow("path wins") << QVariant(QVariantMap{{"ProjectName", "A"},
                                                           {"ProjectPacketPath", "@/x/../B"}})
                                   << "B";
        QTest::addRow("button's empty text") << QVariant(QString()) << "";
        QTest::addRow("empty map") << QVariant(QVariantMap()) << "";
        QTest::addRow("climbing out") << QVariant(QVariantMap{{"ProjectName", "../out/D"}}) << "";
        QTest::addRow("parent") << QVariant(QVariantMap{{"ProjectName", ".."}}) << "";
        QTest::addRow("absolute") << QVariant(QVariantMap{{"ProjectName", "@/B"}}) << "";
        QTest::addRow("path elsewhere") << QVariant(QVariantMap{{"ProjectPacketPath", "@/../out/D"}}) << "";
        QTest::addRow("folder without project") << QVariant(QVariantMap{{"ProjectName", "C"}}) << "";
        QTest::addRow("missing folder") << QVariant(QVariantMap{{"ProjectName", "Z"}}) << "";
    }
    // The switch is only requested (the project defers it through the unsaved-changes question), and
    // only for a packet folder beside the current one.
    void switchProject()
    {
        QFETCH(QVariant, data);
        QFETCH(QString, opened);
        QTemporaryDir root;
        const QString parent = root.filePath("projects");
        for (const char* packet : {"projects/A", "projects/B", "out/D"}) {
            QVERIFY(QDir().mkpath(root.filePath(packet)));
            QFile file(root.filePath(packet) + "/project.tavx");
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir().mkpath(parent + "/C"));
        m_project->packetPath = parent + "/A";
        if (data.typeId() == QMetaType::QVariantMap) {
            QVariantMap map = data.toMap();
            for (auto it = map.begin(); it != map.end(); ++it)
                it.value() = it.value().toString().replace("@", parent);
            data = map;
        }
        // The tapped control, named in the log when it names no project.
        const QString tapped =
            addControl(m_project->getControlManager(), m_sceneId, Kind::EIRCControlType_Label,
                       {{"Name", "换项目"}, {"ObjectName", "切换 1"}});
        if (data.toMap().isEmpty())
            QTest::ignoreMessage(QtWarningMsg,
                                 "Switch project failed with empty path: control \"换项目\" (tag \"切换 1\", "
                                 "scene \"S\") has the action EActionType_SwitchProject without a project "
                                 "name or packet path");
        const int result = m_manager->execAction(m_sceneId, tapped, Type::EActionType_SwitchProject, data);
        QCOMPARE(result, opened.isEmpty() ? -1 : 0);
        QCOMPARE(m_project->switchRequests,
                 opened.isEmpty() ? QStringList() : QStringList{parent + "/" + opened});

        m_project->packetPath.clear();
        QCOMPARE(m_manager->execAction(m_sceneId, QString(), Type::EActionType_SwitchProject,
                                       QVariantMap{{"ProjectName", "B"}}),
                 -1);
        // Run without a control (by another item's script, say): the line says so.
        m_project->packetPath = parent + "/A";
        QTest::ignoreMessage(QtWarningMsg,
                             "Switch project failed with empty path: control none has the action "
                             "EActionType_SwitchProject without a project name or packet path");
        QCOMPARE(m_manager->execAction(m_sceneId, QString(), Type::EActionType_SwitchProject, QVariantMap()),
                 -1);
    }
    void switchNetworkIp_data()
    {
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("stored"); // "DefaultIp" afterwards; it held "10.9.9.9" before
        const QString before = QStringLiteral("10.9.9.9");
        QTest::addRow("address") << QString("192.168.1.20") << QString("192.168.1.20");
        QTest::addRow("blanks") << QString(" 10.0.0.1 ") << QString("10.0.0.1");
        // Empty: any server again.
        QTest::addRow("empty") << QString("") << QString("");
        QTest::addRow("blanks only") << QString("  ") << QString("");
        for (const char* bad : {"256.1.1.1", "300.1.1.1", "1.2.3", "1.2.3.4.5", "host", "1.2.3.4 5", "::1"})
            QTest::addRow("refused '%s'", bad) << bad << before;
        QTest::addRow("refused other digits") << QString::fromUtf8("١.٢.٣.٤") << before;
    }
    void switchNetworkIp()
    {
        QFETCH(QString, ip);
        QFETCH(QString, stored);
        const QString before = QStringLiteral("10.9.9.9");
        m_project->setting.values.insert(RCKeys::DefaultIp(), before);
        if (stored == before) // a refused address is logged with the reason
            QTest::ignoreMessage(QtWarningMsg, qUtf8Printable("Switch network refused: \"" + ip.trimmed() +
                                                              "\" is not a dotted IPv4 address; the link "
                                                              "stays as it is"));
        const QString item = addControl(m_project->getControlManager(), m_sceneId,
                                        Kind::EIRCControlType_SwitchNetwork, {{"Ip", ip}});
        QCOMPARE(m_manager->execAction(m_sceneId, item, Type::EActionType_SwitchNetworkIp, QVariant()),
                 stored == before ? -1 : 0);
        QCOMPARE(m_project->setting.values.value(RCKeys::DefaultIp()).toString(), stored);
    }
    // The sound plays on the action's own thread whether or not the file or an audio device exists:
    // each tap is a call queued to that thread, made while this thread goes on, so a tap returns
    // while the action's thread is busy; deleting the action ends its thread.
    void clickSoundPlaysOnItsThread()
    {
        auto* action = new RCAction_PlayClickSound(m_manager.get());
        QThread* soundThread = action->thread();
        QVERIFY(soundThread != QThread::currentThread());
        QVERIFY(soundThread->isRunning());
        auto* calls = new QueuedCallCounter;
        calls->moveToThread(soundThread);
        QMetaObject::invokeMethod(
            calls, [&] { action->installEventFilter(calls); }, Qt::BlockingQueuedConnection);
        QSemaphore held;
        QSemaphore released;
        QMetaObject::invokeMethod(calls, [&] {
            held.release();
            released.tryAcquire(1, 10000);
        });
        held.acquire();
        QCOMPARE(action->execute(QString(), QString(), QVariant()), 0);
        QCOMPARE(action->execute(QString(), QString(), QVariant()), 0);
        QCOMPARE(calls->count.loadAcquire(), 0);
        released.release();
        QTRY_COMPARE(calls->count.loadAcquire(), 2);
        QCOMPARE(calls->threads, QSet<QThread*>{soundThread});
        delete action;
        delete calls;
        QCOMPARE(m_manager->execAction(QString(), QString(), Type::EActionType_PlayClickSound, QVariant()),
                 0);
    }

private:
};

QTEST_MAIN(tst_SystemActions)
#include "tst_SystemActions.moc"
