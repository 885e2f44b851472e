#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"
#include "network/IRCPacketServer.h"
#include "network/IRCPacketTerminal.h"
#include "network/IRCTerminal.h"
#include "project/IRCSetting.h"
#include "project/RCProject.h"
#include "project/TemporaryHome.h"
#include "project/TestPackets.h"
#include "support/HostedProject.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A control link that only records the addresses its link is reset to.
class RecordingTerminal : public IRCTerminal
{
public:
    void resetLink(QString sIp) override { links.append(sIp); }
    QStringList links;
};

} // namespace

// RCProject without the composition root: its own services stand, those of the layers above are
// null until handed in, and packets load and save with or without a control link.
class tst_BareProject : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_home = std::make_unique<TemporaryHome>();
        QVERIFY(m_home->isValid());
    }

    // The services handed over are what the getters answer; the connected flag is set by
    // connectToHost and cleared when the control link reports itself down.
    void handsOutWhatTheRootGives()
    {
        HostedProject project;
        QVERIFY(project.getSetting() && project.getImageManager() && project.getMessageBoxManager());
        QVERIFY(!project.getTerminal() && !project.getStelvaneSyncer() && !project.getActionManager() &&
                !project.getControlManager() && !project.getPacketServer() && !project.getPacketTerminal());

        auto* terminal = new RecordingTerminal;
        auto* server = new IRCPacketServer;
        auto* receiver = new IRCPacketTerminal;
        RCProjectServices services;
        services.terminal = ownService<IRCTerminal>(terminal);
        services.packetServer = ownService(server);
        services.packetTerminal = ownService(receiver);
        project.adoptServices(std::move(services));
        QCOMPARE(project.getTerminal(), terminal);
        QCOMPARE(project.getPacketServer(), server);
        QCOMPARE(project.getPacketTerminal(), receiver);

        Q_EMIT project.connectToHost(u"127.0.0.1"_s);
        QVERIFY(project.isConnectFromHost());
        Q_EMIT terminal->socketDisconnected();
        QVERIFY(!project.isConnectFromHost());
    }

    void packetLoadsAndSaves_data()
    {
        QTest::addColumn<bool>("withLink");
        QTest::newRow("without a control link") << false;
        QTest::newRow("with a control link") << true;
    }

    // A loaded packet hands the stored "DefaultIp" to the control link when there is one.
    void packetLoadsAndSaves()
    {
        QFETCH(bool, withLink);
        HostedProject project;
        auto* terminal = new RecordingTerminal;
        RCProjectServices services;
        services.terminal = ownService<IRCTerminal>(terminal);
        if (withLink)
            project.adoptServices(std::move(services));
        project.getSetting()->setValue(RCKeys::DefaultIp(), u"127.0.0.7"_s);
        const QString packet = m_home->filePath(u"packets/"_s + QTest::currentDataTag());
        QVERIFY(writeTestFile(packet + u"/project.tavx"_s, projectFileText(u"S"_s)));

        QSignalSpy changed(&project, &IRCProject::currentProjectChanged);
        QVERIFY(project.loadProjectPacket(packet));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(project.getProjectPacketPath(), packet);
        const QStringList sceneIds = RCScenePresenter::instance()->getSceneIds();
        QCOMPARE(sceneIds.size(), 1);
        QCOMPARE(RCScenePresenter::instance()->getPropertyValue(sceneIds.first(), RCKeys::Name()).toString(),
                 u"S"_s);
        QCOMPARE(terminal->links, withLink ? QStringList{u"127.0.0.7"_s} : QStringList());

        QVERIFY(project.saveProjectPacket());
        QVERIFY(!project.hasChangedOnClosing());
        QVERIFY(QFileInfo(packet + u"/project.tavx"_s).isFile());
    }

private:
    std::unique_ptr<TemporaryHome> m_home;
};

QTEST_MAIN(tst_BareProject)
#include "tst_BareProject.moc"
