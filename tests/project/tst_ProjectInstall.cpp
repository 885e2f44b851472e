// Installs on the panel side, through the project root's own packet terminal, from a designer
// scripted on loopback: a first packet installs and opens; a second one that breaks off or does not
// open leaves the first installed byte for byte, and the open project as it was. Runs in a network
// namespace of its own (see the folder's CMakeLists.txt), where the invitation port is free.
#include "editing/RCScenePresenter.h"
#include "network/PacketTerminal.h"
#include "project/RCProject.h"
#include "project/TemporaryHome.h"
#include "project/TestPackets.h"
#include "root/RCProjectRoot.h"
#include "support/IsolatedNetwork.h"
#include "support/PacketPeers.h"

#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {
// Relative path -> content.
using Files = QMap<QString, QByteArray>;

// The name of the first scene of the open document, and the number of scenes.
QPair<QString, int> openScenes()
{
    RCScenePresenter* scenes = RCScenePresenter::instance();
    const QStringList ids = scenes->getSceneIds();
    return {scenes->getPropertyValue(ids.value(0), RCKeys::Name()).toString(), int(ids.size())};
}
} // namespace

class TestProjectInstall : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY_INSIDE_PRIVATE_NETWORK(); }
    void init();
    void cleanup();
    void refusedSecondPacketKeepsTheFirst_data();
    void refusedSecondPacketKeepsTheFirst();

private:
    // Invites the panel, offers a key, accepts it and sends every file below folder, cutting the
    // link after dropAt bytes of a file when dropAt is not negative.
    bool send(const QString& folder, qint64 dropAt = -1);

    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<RCProject> m_project;
    std::unique_ptr<ScriptedDesigner> m_designer;
};

void TestProjectInstall::init()
{
    m_home = std::make_unique<TemporaryHome>();
    QVERIFY(m_home->isValid());
    m_engine = std::make_unique<QQmlEngine>();
    m_project = std::make_unique<RCProjectRoot>(m_engine.get(), QStringList{u"Tavix"_s});
    m_designer = std::make_unique<ScriptedDesigner>();
}

void TestProjectInstall::cleanup()
{
    m_designer.reset();
    m_project.reset();
    m_engine.reset();
    m_home.reset();
}

bool TestProjectInstall::send(const QString& folder, qint64 dropAt)
{
    IRCPacketTerminal* panel = m_project->getPacketTerminal();
    QSignalSpy invited(panel, &IRCPacketTerminal::receiveDownloadInvitation);
    if (!m_designer->isConnected() && !m_designer->invite(PacketTerminal::kInvitationPort))
        return false;
    m_designer->received.clear();
    m_designer->sendCmd(u"downloadKey"_s, {{u"value"_s, u"{k}"_s}});
    if (!invited.wait(5000))
        return false;
    panel->download();
    if (!QTest::qWaitFor([&] { return m_designer->hasReceived(u"download"_s); }, 5000))
        return false;
    qint64 total = 0;
    const QStringList files = filesBelow(folder);
    for (const QString& file : files)
        total += QFileInfo(folder + u'/' + file).size();
    m_designer->dropAt = dropAt;
    m_designer->sendCmd(u"issueBegin"_s, {{u"totalSize"_s, QString::number(total)}});
    for (const QString& file : files)
        if (!m_designer->sendFile(folder + u'/' + file, file))
            return dropAt >= 0;
    m_designer->sendCmd(u"issueComlate"_s);
    return true;
}

void TestProjectInstall::refusedSecondPacketKeepsTheFirst_data()
{
    QTest::addColumn<Files>("second");
    QTest::addColumn<qint64>("dropAt");
    const QByteArray picture = patternBytes(4000, 'b');
    QTest::newRow("no project file") << Files{{u"thumbnail.png"_s, "t"}, {u"image/b.png"_s, picture}}
                                     << qint64(-1);
    QTest::newRow("project file not a project")
        << Files{{u"project.tavx"_s, "{\"sceneArray\": ["}, {u"image/b.png"_s, picture}} << qint64(-1);
    QTest::newRow("dropped mid-way") << Files{{u"image/b.png"_s, picture},
                                              {u"project.tavx"_s, projectFileText(u"二"_s)}}
                                     << qint64(2048);
}

void TestProjectInstall::refusedSecondPacketKeepsTheFirst()
{
    QFETCH(Files, second);
    QFETCH(qint64, dropAt);
    IRCPacketTerminal* panel = m_project->getPacketTerminal();
    const QString installed = m_project->getDownloadPath();
    const QString firstPacket = m_home->filePath(u"first"_s);
    const QString secondPacket = m_home->filePath(u"second"_s);
    QVERIFY(writeFile(firstPacket + u"/project.tavx"_s, projectFileText(u"一"_s)));
    QVERIFY(writeFile(firstPacket + u"/image/a.png"_s, patternBytes(3000, 'a')));
    for (auto it = second.cbegin(); it != second.cend(); ++it)
        QVERIFY(writeFile(secondPacket + u'/' + it.key(), it.value()));

    QSignalSpy complete(panel, &IRCPacketTerminal::receiveComplate);
    QVERIFY(send(firstPacket));
    QVERIFY(complete.wait(5000));
    QVERIFY(m_project->loadDownloadProjectPacket());
    QCOMPARE(openScenes(), qMakePair(u"一"_s, 1));
    const Files first = contentsBelow(installed);
    QCOMPARE(first, contentsBelow(firstPacket));

    QSignalSpy disconnected(panel, &IRCPacketTerminal::serverDisconnected);
    QVERIFY(send(secondPacket, dropAt));
    if (dropAt >= 0) {
        QVERIFY(disconnected.wait(5000));
        QCOMPARE(complete.size(), 1);
    } else {
        QVERIFY(complete.wait(5000));
        QVERIFY(!m_project->loadDownloadProjectPacket());
    }
    QCOMPARE(contentsBelow(installed), first);
    QCOMPARE(QDir(m_home->appDir()).entryList({u"downloadProject*"_s}, QDir::AllEntries),
             QStringList(u"downloadProject"_s));
    QCOMPARE(openScenes(), qMakePair(u"一"_s, 1));
}

QTEST_MAIN(TestProjectInstall)
#include "tst_ProjectInstall.moc"
