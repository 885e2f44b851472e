// The checks of a packet reception that a designer on the link cannot reach by itself: content
// beyond a file's announced size, the bound set by the free space of the receive folder, and the
// hand-over of a whole packet, which waits beside the installed one until it is installed or
// discarded.
#include "network/PacketReception.h"
#include "support/FileTree.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr qint64 kMargin = PacketReception::kFreeSpaceMargin;
constexpr int kRecheck = int(PacketReception::kFreeSpaceRecheckBytes);

QVariantMap fileInfo(const QString& path, qint64 size)
{
    return {{"relativeFilePath", path}, {"size", QString::number(size)}};
}
} // namespace

class TestPacketReception : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void contentBeyondTheAnnouncedSizeIsRefused_data();
    void contentBeyondTheAnnouncedSizeIsRefused();
    void freeSpaceBoundsTheTransfer_data();
    void freeSpaceBoundsTheTransfer();
    void wholePacketWaitsUntilInstalledOrDiscarded();

private:
    // The folders next to the receive folder: staging, received and the like.
    QStringList besideTheReceiveFolder() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_receive;
};

void TestPacketReception::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_receive = m_dir->filePath("downloadProject");
    QVERIFY(writeFile(m_receive + "/earlier.txt", "earlier packet"));
}

QStringList TestPacketReception::besideTheReceiveFolder() const
{
    QStringList names = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    names.removeOne("downloadProject");
    return names;
}

// Chunks of a 10-byte file; the chunk at `refused` carries bytes beyond the ten. Earlier chunks
// are taken, and no byte beyond the ten reaches the disk.
void TestPacketReception::contentBeyondTheAnnouncedSizeIsRefused_data()
{
    QTest::addColumn<QList<int>>("chunks");
    QTest::addColumn<int>("refused");
    QTest::newRow("first chunk over") << QList<int>{11} << 0;
    QTest::newRow("second chunk over") << QList<int>{6, 5} << 1;
    QTest::newRow("after the last byte") << QList<int>{10, 1} << 1;
    QTest::newRow("one byte after an empty chunk") << QList<int>{10, 0, 1} << 2;
}

void TestPacketReception::contentBeyondTheAnnouncedSizeIsRefused()
{
    QFETCH(QList<int>, chunks);
    QFETCH(int, refused);
    PacketReception reception([](const QString&) { return kMargin + 1000; });
    // The total leaves room for the extra bytes: only the file's own size refuses them.
    QVERIFY(reception.begin(m_receive, 20));
    const QVariantMap info = fileInfo("project.tavx", 10);
    QVERIFY(reception.openFile(info));
    for (int i = 0; i < chunks.size(); ++i)
        QCOMPARE(reception.write(info, QByteArray(chunks[i], 'x'), false), i != refused);
    const QString staged = PacketReception::stagingPathOf(m_receive) + "/project.tavx";
    QVERIFY(QFileInfo(staged).size() <= 10);
    reception.abort();
    QCOMPARE(besideTheReceiveFolder(), QStringList());
}

// The free space reads, at each reading, as the next value of `free` (the last one repeating):
// at begin(), at each file and during the content. A refused step leaves neither a staging folder
// nor a received one after abort(), and the installed packet as it was.
void TestPacketReception::freeSpaceBoundsTheTransfer_data()
{
    QTest::addColumn<QList<qint64>>("free");
    QTest::addColumn<QString>("refusedAt"); // "begin", "second file", "content" or "" (none)
    const qint64 total = 2 * qint64(kRecheck);
    const qint64 fits = kMargin + total;
    QTest::newRow("total above the free space") << QList<qint64>{fits - 1} << "begin";
    QTest::newRow("free space unknown") << QList<qint64>{-1} << "begin";
    QTest::newRow("total just fits") << QList<qint64>{fits} << "";
    QTest::newRow("space taken before the second file")
        << QList<qint64>{fits, fits, fits - 3} << "second file";
    QTest::newRow("space taken during the content")
        << QList<qint64>{fits, fits, fits, kMargin + kRecheck / 2} << "content";
}

void TestPacketReception::freeSpaceBoundsTheTransfer()
{
    QFETCH(QList<qint64>, free);
    QFETCH(QString, refusedAt);
    int reads = 0;
    QString readFolder;
    PacketReception reception([&](const QString& folder) {
        readFolder = folder;
        return free.value(qMin(reads++, int(free.size()) - 1));
    });
    const QVariantMap first = fileInfo("image/a.png", 2);
    const QVariantMap second = fileInfo("project.tavx", 2 * qint64(kRecheck) - 2);
    auto run = [&]() -> QString {
        if (!reception.begin(m_receive, 2 * qint64(kRecheck)))
            return "begin";
        if (!reception.openFile(first) || !reception.write(first, "ab", true))
            return "first file";
        if (!reception.openFile(second))
            return "second file";
        const QByteArray chunk(kRecheck / 4, 'c');
        for (qint64 left = second.value("size").toLongLong(); left > 0; left -= chunk.size())
            if (!reception.write(second, chunk.left(int(qMin<qint64>(left, chunk.size()))),
                                 left <= chunk.size()))
                return "content";
        return reception.commit() ? QString() : "commit";
    };
    QCOMPARE(run(), refusedAt);
    QCOMPARE(readFolder, m_receive);
    reception.abort();
    QCOMPARE(besideTheReceiveFolder(),
             refusedAt.isEmpty() ? QStringList("downloadProject.received") : QStringList());
    QCOMPARE(filesBelow(m_receive), QStringList("earlier.txt"));
}

// A whole packet waits as the received folder; discarding it leaves the installed packet as it
// was, installing it replaces the installed packet with nothing of the earlier one left.
void TestPacketReception::wholePacketWaitsUntilInstalledOrDiscarded()
{
    PacketReception reception([](const QString&) { return kMargin + 1000; });
    auto receive = [&](const QByteArray& content) {
        const QVariantMap info = fileInfo("project.tavx", content.size());
        return reception.begin(m_receive, content.size()) && reception.openFile(info) &&
               reception.write(info, content, true) && reception.commit();
    };
    const QString received = PacketReception::receivedPathOf(m_receive);
    QVERIFY(!PacketReception::installReceived(m_receive));

    QVERIFY(receive("first"));
    QCOMPARE(filesBelow(m_receive), QStringList("earlier.txt"));
    PacketReception::discardReceived(m_receive);
    QCOMPARE(besideTheReceiveFolder(), QStringList());
    QCOMPARE(readFile(m_receive + "/earlier.txt"), QByteArray("earlier packet"));

    // A second whole packet replaces one that nobody took.
    QVERIFY(receive("second"));
    QVERIFY(receive("third"));
    QCOMPARE(readFile(received + "/project.tavx"), QByteArray("third"));
    QVERIFY(PacketReception::installReceived(m_receive));
    QCOMPARE(filesBelow(m_receive), QStringList("project.tavx"));
    QCOMPARE(readFile(m_receive + "/project.tavx"), QByteArray("third"));
    QCOMPARE(besideTheReceiveFolder(), QStringList());
}

QTEST_GUILESS_MAIN(TestPacketReception)
#include "tst_packetreception.moc"
