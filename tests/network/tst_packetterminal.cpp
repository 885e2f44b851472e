// The panel side of project distribution against a designer scripted on loopback: the whole
// exchange, the checks on what a designer sends, one designer at a time, the silent and the
// trickling link, withdrawn offers, and invitations that would hold the user or other designers
// off.
#include "network/PacketReception.h"
#include "network/PacketTerminal.h"
#include "network/PacketTerminalConnect.h"
#include "support/FileTree.h"
#include "support/IsolatedNetwork.h"
#include "support/PacketPeers.h"
#include "support/SilentListener.h"
#include "support/SpyWaits.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
enum class Fault
{
    Path,             // a file whose "relativeFilePath" is the row's path
    FileBeforeAccept, // a file right after the key, before download()
    BeginBeforeAccept,
    TotalTooSmall,
    ShortPacket, // "issueComlate" before every announced byte arrived
    NoFile,
    SameFileTwice,
    DroppedMidFile,
    NoRoom // a packet larger than the receiving disk
};
} // namespace

Q_DECLARE_METATYPE(Fault)

namespace {
// Whether a TCP connection attempt to port on loopback is under way (SYN sent, no answer yet), as
// this network namespace's kernel lists it.
bool attemptUnderWay(int port)
{
    QFile table("/proc/net/tcp");
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray remote = QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields.at(2).endsWith(":" + remote) && fields.at(3) == "02")
            return true;
    }
    return false;
}

// The designer sends its offer as soon as the panel has connected.
void offerOnConnect(ScriptedDesigner& designer)
{
    QObject::connect(&designer.server, &QTcpServer::newConnection, &designer.context, [&designer] {
        designer.sendCmd("downloadKey", {{"value", "{k}"}});
    });
}
} // namespace

class TestPacketTerminal : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void receivesPacketInPlaceOfTheEarlierOne();
    void faultsCloseTheLinkAndKeepTheEarlierPacket_data();
    void faultsCloseTheLinkAndKeepTheEarlierPacket();
    void oneDesignerAtATime();
    void silentDesignerIsDroppedAndRests();
    void declinedDesignerIsLeftAloneForAWhile();
    void unreachableInvitationHoldsNoDesignerOff();
    void rotatingUnreachableInvitationsHoldNoDesignerOff();
    void tricklingOfferHoldsNoDesignerOff();
    void forgedInvitationsRestOnlyTheDesignerTheyName();
    void withdrawnOffersRestTheDesigner();

private:
    // Invites the panel, offers a key and accepts it on the panel's side.
    bool offerAndAccept(ScriptedDesigner& designer);
    // Sends the good packet of m_source in full: "issueBegin", its files, "issueComlate".
    bool sendGoodPacket(ScriptedDesigner& designer);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PacketTerminal> m_panel;
    QString m_receive;
    QString m_source;
    int m_port = 0;
    const QStringList m_goodFiles{"image/a.png", "image/sub/c.png", "project.tavx", "thumbnail.png"};
};

void TestPacketTerminal::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_receive = m_dir->filePath("downloadProject");
    m_source = m_dir->filePath("source");
    QVERIFY(writeFile(m_receive + "/earlier.txt", "earlier packet"));
    QVERIFY(writeFile(m_source + "/image/a.png", patternBytes(3000, 'a')));
    QVERIFY(writeFile(m_source + "/image/sub/c.png", QByteArray()));
    QVERIFY(writeFile(m_source + "/project.tavx", patternBytes(1024, 'p')));
    QVERIFY(writeFile(m_source + "/thumbnail.png", patternBytes(2049, 't')));
    m_port = freeUdpPort();
    m_panel = std::make_unique<PacketTerminal>();
    m_panel->setInvitationPort(m_port);
    m_panel->setReceiveDir(m_receive);
    m_panel->startServer();
}

void TestPacketTerminal::cleanup()
{
    m_panel.reset();
    m_dir.reset();
}

bool TestPacketTerminal::offerAndAccept(ScriptedDesigner& designer)
{
    QSignalSpy invited(m_panel.get(), &IRCPacketTerminal::receiveDownloadInvitation);
    if (!designer.invite(m_port))
        return false;
    designer.sendCmd("downloadKey", {{"value", "{6b1f5c8e-0d7a-4c1e-9a57-2f3e4d5c6b7a}"}});
    if (!invited.wait(5000))
        return false;
    m_panel->download();
    return QTest::qWaitFor([&] { return designer.hasReceived("download"); }, 5000);
}

bool TestPacketTerminal::sendGoodPacket(ScriptedDesigner& designer)
{
    designer.sendCmd("issueBegin", {{"totalSize", QString::number(3000 + 1024 + 2049)}});
    for (const QString& file : m_goodFiles)
        if (!designer.sendFile(m_source + "/" + file, file))
            return false;
    designer.sendCmd("issueComlate");
    return true;
}

void TestPacketTerminal::receivesPacketInPlaceOfTheEarlierOne()
{
    ScriptedDesigner designer;
    QSignalSpy connected(m_panel.get(), &IRCPacketTerminal::serverConnected);
    QSignalSpy invited(m_panel.get(), &IRCPacketTerminal::receiveDownloadInvitation);
    QVERIFY(designer.invite(m_port));
    QVERIFY(waitForFirst(connected, 5000));
    QCOMPARE(connected.first().first().toString(), QString("127.0.0.1"));
    QCOMPARE(m_panel->getConnectIp(), QString("127.0.0.1"));

    // Nothing is accepted before the designer's offer.
    m_panel->download();
    designer.sendCmd("downloadKey", {{"value", "{6b1f5c8e-0d7a-4c1e-9a57-2f3e4d5c6b7a}"}});
    QVERIFY(invited.wait(5000));
    QCOMPARE(invited.first().first().toString(), QString("127.0.0.1"));
    QVERIFY(!designer.hasReceived("download"));

    QSignalSpy begin(m_panel.get(), &IRCPacketTerminal::receiveBegin);
    QSignalSpy progress(m_panel.get(), &IRCPacketTerminal::receiveProcess);
    QSignalSpy complete(m_panel.get(), &IRCPacketTerminal::receiveComplate);
    m_panel->download();
    QTRY_VERIFY(designer.hasReceived("download"));
    QVERIFY(sendGoodPacket(designer));
    QVERIFY(complete.wait(5000));
    QCOMPARE(begin.size(), 1);

    // The packet waits beside the installed one, which stays until it is installed; then the
    // earlier packet's file is gone, and nothing is left beside the folder.
    QCOMPARE(filesBelow(m_receive), QStringList("earlier.txt"));
    QCOMPARE(filesBelow(PacketReception::receivedPathOf(m_receive)), m_goodFiles);
    QVERIFY(PacketReception::installReceived(m_receive));
    QCOMPARE(filesBelow(m_receive), m_goodFiles);
    for (const QString& file : m_goodFiles)
        QCOMPARE(readFile(m_receive + "/" + file), readFile(m_source + "/" + file));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({"downloadProject", "source"}));
    QVERIFY(progressRisesToOne(progress, 0));

    // A key answers one offer; a second download() sends nothing.
    designer.received.clear();
    m_panel->download();
    QVERIFY(!QTest::qWaitFor([&] { return designer.hasReceived("download"); }, 300));
}

void TestPacketTerminal::faultsCloseTheLinkAndKeepTheEarlierPacket_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("path");
    // What receiveFailed names before the link ends (0: nothing, the designer ended it).
    QTest::addColumn<int>("reported");
    const int bad = IRCPacketTerminal::EReceiveFault_BadData;
    QTest::newRow("parent") << Fault::Path << "../e.txt" << bad;
    QTest::newRow("absolute") << Fault::Path << "/tmp/tavix-absolute.txt" << bad;
    QTest::newRow("backslash parent") << Fault::Path << "..\\w.txt" << bad;
    QTest::newRow("climbing out") << Fault::Path << "image/../../x" << bad;
    QTest::newRow("drive") << Fault::Path << "C:x" << bad;
    QTest::newRow("unc") << Fault::Path << "\\\\server\\share\\x" << bad;
    QTest::newRow("empty level") << Fault::Path << "image//x" << bad;
    QTest::newRow("control character") << Fault::Path << "image/a\x01.png" << bad;
    QTest::newRow("file before download()") << Fault::FileBeforeAccept << "project.tavx" << bad;
    QTest::newRow("issueBegin before download()") << Fault::BeginBeforeAccept << "" << bad;
    QTest::newRow("total too small") << Fault::TotalTooSmall << "project.tavx" << bad;
    QTest::newRow("short packet") << Fault::ShortPacket << "project.tavx" << bad;
    QTest::newRow("no file") << Fault::NoFile << "" << bad;
    QTest::newRow("same file twice") << Fault::SameFileTwice << "project.tavx" << bad;
    QTest::newRow("dropped mid-file") << Fault::DroppedMidFile << "image/a.png" << 0;
    QTest::newRow("larger than the disk") << Fault::NoRoom << ""
                                          << int(IRCPacketTerminal::EReceiveFault_NoSpace);
}

// After each fault the designer invites again and sends the good packet in full, which arrives
// whole beside the earlier one.
void TestPacketTerminal::faultsCloseTheLinkAndKeepTheEarlierPacket()
{
    QFETCH(Fault, fault);
    QFETCH(QString, path);
    QFETCH(int, reported);
    ScriptedDesigner designer;
    QSignalSpy disconnected(m_panel.get(), &IRCPacketTerminal::serverDisconnected);
    QSignalSpy failed(m_panel.get(), &IRCPacketTerminal::receiveFailed);
    QSignalSpy complete(m_panel.get(), &IRCPacketTerminal::receiveComplate);
    const QString file = m_source + "/project.tavx";

    if (fault == Fault::FileBeforeAccept || fault == Fault::BeginBeforeAccept) {
        QSignalSpy invited(m_panel.get(), &IRCPacketTerminal::receiveDownloadInvitation);
        QVERIFY(designer.invite(m_port));
        designer.sendCmd("downloadKey", {{"value", "{k}"}});
        QVERIFY(invited.wait(5000));
        if (fault == Fault::FileBeforeAccept)
            designer.sendFile(file, path);
        else
            designer.sendCmd("issueBegin", {{"totalSize", "1024"}});
    } else {
        QVERIFY(offerAndAccept(designer));
        switch (fault) {
        case Fault::Path:
            designer.sendCmd("issueBegin", {{"totalSize", "1024"}});
            designer.sendFile(file, path);
            break;
        case Fault::TotalTooSmall:
            designer.sendCmd("issueBegin", {{"totalSize", "1023"}});
            designer.sendFile(file, path);
            break;
        case Fault::ShortPacket:
            designer.sendCmd("issueBegin", {{"totalSize", "2048"}});
            QVERIFY(designer.sendFile(file, path));
            designer.sendCmd("issueComlate");
            break;
        case Fault::NoFile:
            designer.sendCmd("issueBegin", {{"totalSize", "0"}});
            designer.sendCmd("issueComlate");
            break;
        case Fault::SameFileTwice:
            designer.sendCmd("issueBegin", {{"totalSize", "2048"}});
            QVERIFY(designer.sendFile(file, path));
            designer.sendFile(file, path);
            break;
        case Fault::NoRoom:
            designer.sendCmd("issueBegin", {{"totalSize", "1000000000000000000"}});
            break;
        default: // dropped mid-file
            designer.dropAt = 1024;
            designer.sendCmd("issueBegin", {{"totalSize", "3000"}});
            designer.sendFile(m_source + "/image/a.png", path);
            break;
        }
    }
    QVERIFY(waitForFirst(disconnected, 5000));
    QVERIFY(complete.isEmpty());
    QCOMPARE(failed.size(), reported ? 1 : 0);
    if (reported)
        QCOMPARE(failed.first().first().toInt(), reported);
    QCOMPARE(filesBelow(m_receive), QStringList("earlier.txt"));
    QCOMPARE(filesBelow(m_dir->path()),
             QStringList({"downloadProject/earlier.txt", "source/image/a.png", "source/image/sub/c.png",
                          "source/project.tavx", "source/thumbnail.png"}));
    QVERIFY(!QFileInfo::exists("/tmp/tavix-absolute.txt"));
    QVERIFY(!QFileInfo::exists(m_dir->filePath("e.txt")));

    designer.dropAt = -1;
    QVERIFY(offerAndAccept(designer));
    QVERIFY(sendGoodPacket(designer));
    QVERIFY(complete.wait(5000));
    const QString received = PacketReception::receivedPathOf(m_receive);
    QCOMPARE(filesBelow(received), m_goodFiles);
    QCOMPARE(readFile(received + "/image/a.png"), readFile(m_source + "/image/a.png"));
}

// While one designer is linked, another's invitations are dropped; an invitation naming a port
// outside 1..65535 starts no attempt.
void TestPacketTerminal::oneDesignerAtATime()
{
    ScriptedDesigner first;
    ScriptedDesigner second;
    first.sendInvitation(m_port, 0);
    first.sendInvitation(m_port, 70000);
    QVERIFY(first.invite(m_port));
    second.sendInvitation(m_port, second.port());
    QVERIFY(!QTest::qWaitFor([&] { return second.accepted > 0; }, 500));
    QCOMPARE(first.accepted, 1);

    QSignalSpy disconnected(m_panel.get(), &IRCPacketTerminal::serverDisconnected);
    m_panel->stopReceive();
    QVERIFY(disconnected.wait(5000));
    QVERIFY(second.invite(m_port));
}

// A designer that says nothing is dropped after the silence timeout, except while the user is
// being asked; after the user accepted, silence counts again. A designer dropped on silence rests
// as a declined one does: inviting again as its link ends, it does not take the link back from a
// designer that invites right after it, which is dropped in turn when it offers nothing.
void TestPacketTerminal::silentDesignerIsDroppedAndRests()
{
    ScriptedDesigner silent;
    ScriptedDesigner next(QHostAddress("127.0.0.2"));
    offerOnConnect(silent);
    PacketTerminalConnect worker(300);
    worker.setReceiveDir(m_receive);
    QSignalSpy connected(&worker, &PacketTerminalConnect::serverConnect);
    QSignalSpy disconnected(&worker, &PacketTerminalConnect::serverDisconnect);
    QSignalSpy invited(&worker, &PacketTerminalConnect::receiveDownloadInvitation);
    worker.connectToServer("127.0.0.1", silent.port());
    QVERIFY(invited.wait(5000));
    QVERIFY(!disconnected.wait(1000));
    worker.download();
    QVERIFY(disconnected.wait(5000));

    worker.connectToServer("127.0.0.1", silent.port());
    worker.connectToServer("127.0.0.2", next.port());
    QVERIFY(QTest::qWaitFor([&] { return connected.size() == 2; }, 5000));
    QCOMPARE(connected.last().first().toString(), QString("127.0.0.2"));
    QCOMPARE(silent.accepted, 1);
    QVERIFY(disconnected.wait(5000));
    QCOMPARE(invited.size(), 1);
}

// A designer that keeps inviting is asked about once; once the user turned it down it is not
// followed (for the quiet time, far longer than this test), while another designer is asked at
// once. A decline on a link whose offer has not come yet turns nobody down. When a quiet time ends
// is the gate's own (tst_invitationGate).
void TestPacketTerminal::declinedDesignerIsLeftAloneForAWhile()
{
    ScriptedDesigner first;
    ScriptedDesigner second(QHostAddress("127.0.0.2"));
    ScriptedDesigner third(QHostAddress("127.0.0.3")); // offers nothing
    offerOnConnect(first);
    offerOnConnect(second);
    QSignalSpy invited(m_panel.get(), &IRCPacketTerminal::receiveDownloadInvitation);
    QSignalSpy disconnected(m_panel.get(), &IRCPacketTerminal::serverDisconnected);

    QVERIFY(first.invite(m_port));
    QVERIFY(waitForFirst(invited, 5000));
    for (int i = 0; i < 3; ++i)
        first.sendInvitation(m_port, first.port()); // while the user is asked
    m_panel->declineInvitation();
    QVERIFY(waitForFirst(disconnected, 5000));
    for (int i = 0; i < 3; ++i)
        first.sendInvitation(m_port, first.port());
    // Handled in order: the first designer's invitations above were dropped, not followed.
    QVERIFY(second.invite(m_port));
    QTRY_COMPARE(invited.size(), 2);
    QCOMPARE(invited.last().first().toString(), QString("127.0.0.2"));
    QCOMPARE(first.accepted, 1);

    // The second designer's offer was left unanswered; a decline pressed as the next designer
    // connects names no offer and turns neither down.
    m_panel->stopReceive();
    QVERIFY(disconnected.wait(5000));
    QVERIFY(third.invite(m_port));
    m_panel->declineInvitation();
    QVERIFY(disconnected.wait(5000));
    QVERIFY2(third.invite(m_port), "a decline before its offer turned the designer just connected down");
    m_panel->stopReceive();
    QVERIFY(disconnected.wait(5000));
    QVERIFY2(second.invite(m_port), "a decline before any offer turned the previous designer down");
    QTRY_COMPARE(invited.size(), 3);
    QCOMPARE(invited.last().first().toString(), QString("127.0.0.2"));
}

// A host inviting the panel to an address that never answers holds no designer off: the attempt
// is given up after the connection time-out and an invitation that came meanwhile is followed;
// that address is not tried again for a while, so a later invitation is followed at once.
void TestPacketTerminal::unreachableInvitationHoldsNoDesignerOff()
{
    // The attempt to it hangs like one to an address that never answers.
    SilentListener silent;
    QVERIFY(silent.listen());
    ScriptedDesigner hostile;
    ScriptedDesigner honest(QHostAddress("127.0.0.2"));
    QSignalSpy connected(m_panel.get(), &IRCPacketTerminal::serverConnected);
    QSignalSpy disconnected(m_panel.get(), &IRCPacketTerminal::serverDisconnected);
    QVERIFY(honest.invite(m_port)); // the panel is listening
    m_panel->stopReceive();
    QVERIFY(waitForFirst(disconnected, 5000));

    connected.clear();
    hostile.sendInvitation(m_port, silent.port());
    honest.sendInvitation(m_port, honest.port());
    QVERIFY(connected.wait(PacketTerminalConnect::kConnectTimeoutMs + 3000));
    QCOMPARE(connected.first().first().toString(), QString("127.0.0.2"));
    m_panel->stopReceive();
    QVERIFY(disconnected.wait(5000));

    connected.clear();
    for (int i = 0; i < 3; ++i)
        hostile.sendInvitation(m_port, silent.port());
    honest.sendInvitation(m_port, honest.port());
    bool attempted = false;
    QVERIFY(QTest::qWaitFor(
        [&] {
            attempted = attempted || attemptUnderWay(silent.port());
            return !connected.isEmpty();
        },
        PacketTerminalConnect::kConnectTimeoutMs + 3000));
    QVERIFY2(!attempted, "the unreachable address was tried again at once");
    QCOMPARE(honest.accepted, 3);
}

// A host inviting the panel 5 times a second, each time to a new address that never answers,
// holds no designer off: once the attempt to its first address failed, the host rests, and a
// designer that invited once meanwhile, or invites later, is followed.
void TestPacketTerminal::rotatingUnreachableInvitationsHoldNoDesignerOff()
{
    QVERIFY_INSIDE_PRIVATE_NETWORK(); // the addresses are on the namespace's own LAN
    ScriptedDesigner hostile(QHostAddress("127.0.0.5"));
    ScriptedDesigner first(QHostAddress("127.0.0.2"));
    ScriptedDesigner second(QHostAddress("127.0.0.3"));
    QSignalSpy connected(m_panel.get(), &IRCPacketTerminal::serverConnected);
    QSignalSpy disconnected(m_panel.get(), &IRCPacketTerminal::serverDisconnected);
    QVERIFY(second.invite(m_port)); // the panel is listening
    m_panel->stopReceive();
    QVERIFY(waitForFirst(disconnected, 5000));
    connected.clear();
    disconnected.clear();

    int sent = 0;
    const auto invite = [&] {
        hostile.sendInvitation(m_port, 4000, QStringLiteral("198.18.0.%1").arg(100 + sent++ % 100));
    };
    QTimer rotating;
    connect(&rotating, &QTimer::timeout, this, invite);
    invite();
    rotating.start(200);
    QTimer::singleShot(100, this, [&] { first.sendInvitation(m_port, first.port()); });
    QVERIFY2(connected.wait(PacketTerminalConnect::kConnectTimeoutMs + 3000), "the designer was not followed");
    QCOMPARE(connected.last().first().toString(), QString("127.0.0.2"));
    m_panel->stopReceive();
    QVERIFY(disconnected.wait(5000));

    second.sendInvitation(m_port, second.port());
    QVERIFY2(connected.wait(3000), "a later designer was not followed");
    QCOMPARE(connected.last().first().toString(), QString("127.0.0.3"));
    QVERIFY(sent > 5); // the host went on inviting throughout
}

// A designer that sends its offer one byte every 400 ms (its link is never silent for long) is
// dropped once the offer has not come whole within a few seconds of the link's start; a designer
// inviting five times a second meanwhile is then followed, and the trickler is not taken back.
void TestPacketTerminal::tricklingOfferHoldsNoDesignerOff()
{
    ScriptedDesigner trickling;
    ScriptedDesigner honest(QHostAddress("127.0.0.2"));
    trickling.trickleMs = 400;
    offerOnConnect(trickling);
    QSignalSpy connected(m_panel.get(), &IRCPacketTerminal::serverConnected);
    QSignalSpy invited(m_panel.get(), &IRCPacketTerminal::receiveDownloadInvitation);
    QVERIFY(trickling.invite(m_port));
    QElapsedTimer clock;
    clock.start();
    QTimer inviting;
    connect(&inviting, &QTimer::timeout, this, [&] {
        honest.sendInvitation(m_port, honest.port());
        trickling.sendInvitation(m_port, trickling.port());
    });
    inviting.start(200);
    QVERIFY2(QTest::qWaitFor([&] { return honest.accepted > 0; }, 9000),
             "the trickling designer held the link for 9 s");
    QVERIFY2(clock.elapsed() > 3000, "dropped before its offer could have come");
    QCOMPARE(connected.last().first().toString(), QString("127.0.0.2"));
    QCOMPARE(trickling.accepted, 1);
    QVERIFY(invited.isEmpty());
}

// Invitations sent from the honest designer's host that name a silent designer, or an address that
// does not answer, make that designer and address rest, not the honest host: its own invitations
// are followed at once. The silent designer rests however it is named.
void TestPacketTerminal::forgedInvitationsRestOnlyTheDesignerTheyName()
{
    ScriptedDesigner silent(QHostAddress("127.0.0.3"));
    ScriptedDesigner honest(QHostAddress("127.0.0.2"));
    QTcpServer closed; // an address and port nobody listens on any more
    QVERIFY(closed.listen(QHostAddress("127.0.0.4"), 0));
    const int deadPort = closed.serverPort();
    closed.close();
    PacketTerminalConnect worker(300, 60000, 10000);
    worker.setReceiveDir(m_receive);
    QSignalSpy connected(&worker, &PacketTerminalConnect::serverConnect);
    QSignalSpy disconnected(&worker, &PacketTerminalConnect::serverDisconnect);
    // A link the worker follows is up within waitMs; one it refuses is not up after it. A busy
    // machine may take seconds to follow, so the wait is long where a link is expected.
    const auto followed = [&](const QString& ip, int port, const QString& sender, int waitMs = 10000) {
        const qsizetype before = connected.size();
        worker.connectToServer(ip, port, sender);
        if (!QTest::qWaitFor([&] { return connected.size() > before; }, waitMs))
            return false;
        worker.disconnectFromServer();
        return disconnected.wait(5000);
    };

    worker.connectToServer("127.0.0.3", silent.port(), "127.0.0.2");
    QVERIFY(waitForFirst(connected, 5000));
    QVERIFY(disconnected.wait(5000)); // silence
    QCOMPARE(connected.first().first().toString(), QString("127.0.0.3"));
    QVERIFY2(followed("127.0.0.2", honest.port(), "127.0.0.2"), "a silent forged link rested its sender");

    worker.connectToServer("127.0.0.4", deadPort, "127.0.0.2");
    QVERIFY2(followed("127.0.0.2", honest.port(), "127.0.0.2"), "a failed forged invitation rested its sender");
    QVERIFY(!followed("127.0.0.3", silent.port(), "127.0.0.3", 1000));
    QVERIFY(!followed("127.0.0.3", silent.port(), "127.0.0.2", 1000));
    QVERIFY(!followed("127.0.0.2", honest.port(), "127.0.0.3", 1000));
    QCOMPARE(silent.accepted, 1);
}

// A designer that invites, offers and ends the link 300 ms later, over and over for 3 s, asks the
// user once: it rests after taking its offer back. Another designer is followed at once.
void TestPacketTerminal::withdrawnOffersRestTheDesigner()
{
    ScriptedDesigner withdrawing;
    ScriptedDesigner next(QHostAddress("127.0.0.2"));
    offerOnConnect(withdrawing);
    QObject::connect(&withdrawing.server, &QTcpServer::newConnection, &withdrawing.context,
                     [&withdrawing] { QTimer::singleShot(300, &withdrawing.context, [&withdrawing] { withdrawing.drop(); }); });
    QSignalSpy invited(m_panel.get(), &IRCPacketTerminal::receiveDownloadInvitation);
    QSignalSpy connected(m_panel.get(), &IRCPacketTerminal::serverConnected);
    QVERIFY(withdrawing.invite(m_port));
    QTimer inviting;
    connect(&inviting, &QTimer::timeout, this, [&] { withdrawing.sendInvitation(m_port, withdrawing.port()); });
    inviting.start(100);
    QTest::qWait(3000);
    inviting.stop();
    QCOMPARE(withdrawing.accepted, 1);
    QCOMPARE(invited.size(), 1);
    QVERIFY(next.invite(m_port, -1, 10));
    QCOMPARE(connected.last().first().toString(), QString("127.0.0.2"));
}

QTEST_GUILESS_MAIN(TestPacketTerminal)
#include "tst_packetterminal.moc"
