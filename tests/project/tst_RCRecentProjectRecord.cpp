#include "project/RCRecentProjectRecord.h"
#include "project/TemporaryHome.h"
#include "project/TestPackets.h"
#include "support/FileTree.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <array>
#include <optional>

#include <ctime>
#include <utime.h>

using namespace Qt::StringLiterals;

namespace {
// Run as a writer by instancesSavingAtOnceKeepEveryPacket: reads the record, waits for a line on
// its standard input, then adds the packets of its arguments one after the other.
const char* const kAddPackets = "--add-packets";
} // namespace

class tst_RCRecentProjectRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home.emplace(); }

    void keepsPathsExactly()
    {
        const QString spaced = makePacket(u"p/two  spaces"_s);
        const QString tabbed = makePacket(u"p/tab\there "_s);
        const QString upper = makePacket(u"p/Case"_s);
        {
            RCRecentProjectRecord record;
            QVERIFY(record.getDirPathList().isEmpty());
            // The separator and line breaks cannot be stored inside a path; nothing is recorded.
            for (const QString& bad : {u"a>b"_s, u"a\nb"_s, QString()}) {
                QVERIFY(!RCRecentProjectRecord::canRecord(bad));
                record.addDirPath(bad);
            }
            QVERIFY(!QFile::exists(recordPath()));
            record.addDirPath(tabbed);
            record.addDirPath(spaced);
            record.addDirPath(upper);
            record.addDirPath(upper + QLatin1Char('/')); // another text, another entry
        }
        RCRecentProjectRecord reread;
        QCOMPARE(reread.getDirPathList(), (QStringList{upper + QLatin1Char('/'), upper, spaced, tabbed}));
    }

    void readsBothFileFormsAndDropsDeadFolders()
    {
        const QString a = makePacket(u"p/A"_s);
        const QString b = makePacket(u"p/B"_s);
        const QString empty = m_home->filePath(u"p/Empty"_s);
        QVERIFY(QDir().mkpath(empty));
        const QString gone = m_home->filePath(u"p/Gone"_s);

        // The form written by a save (trailing ">" and line feed) ...
        writeRecord((a + ">" + gone + ">" + b + ">" + empty + ">\n").toUtf8());
        {
            RCRecentProjectRecord record;
            QCOMPARE(record.getDirPathList(), (QStringList{a, b}));
            QCOMPARE(readRecord(), (a + ">" + b + ">\n").toUtf8());
        }
        // ... and the bare form of older clean-ups. Packets in the folder of older versions follow,
        // newest first (name order and time order disagree, so the test sees which one is used).
        writeRecord((b + ">" + a).toUtf8());
        const QString older = makePacket(u"Tavix/projectList/a-older"_s);
        const QString newer = makePacket(u"Tavix/projectList/z-newer"_s);
        QDir().mkpath(m_home->filePath(u"Tavix/projectList/m-empty"_s));
        const time_t past = time(nullptr) - 2 * 24 * 3600;
        const struct utimbuf times = {past, past};
        QCOMPARE(utime(QFile::encodeName(older).constData(), &times), 0);
        RCRecentProjectRecord record;
        QCOMPARE(record.getDirPathList(), (QStringList{b, a, newer, older}));
        QCOMPARE(readRecord(), (b + ">" + a + ">" + newer + ">" + older + ">\n").toUtf8());
    }

    void addMoveRemoveAndWrite()
    {
        const auto [a, b, c] = packetsABC();
        RCRecentProjectRecord record;
        QSignalSpy added(&record, &RCRecentProjectRecord::dirPathAdded);
        QSignalSpy moved(&record, &RCRecentProjectRecord::dirPathMoved);
        QSignalSpy removed(&record, &RCRecentProjectRecord::dirPathRemoved);
        record.addDirPath(a);
        record.addDirPath(b);
        record.addDirPath(c);
        QCOMPARE(added.count(), 3);

        // Already first: nothing written, nothing emitted.
        QFile::remove(record.recordFilePath());
        record.addDirPath(c);
        QVERIFY(!QFile::exists(record.recordFilePath()));

        // The record is replaced, never rewritten in place: a reader holding the old file keeps
        // seeing the old, complete content.
        record.addDirPath(b);
        QFile before(record.recordFilePath());
        QVERIFY(before.open(QIODevice::ReadOnly));
        record.addDirPath(a);
        QCOMPARE(before.readAll(), (b + ">" + c + ">" + a + ">\n").toUtf8());
        QCOMPARE(moved.count(), 2);
        QCOMPARE(moved.at(1), (QVariantList{a, 0}));
        QCOMPARE(readRecord(), (a + ">" + b + ">" + c + ">\n").toUtf8());
        QVERIFY(record.contains(c) && !record.contains(c.toUpper()));

        record.removeDirPath(a);
        record.removeDirPath(a);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(readRecord(), (b + ">" + c + ">\n").toUtf8());

        // A packet saved again while first takes no lock either: its file would have come and gone
        // in the application folder, setting the folder's time.
        const struct utimbuf past = {time(nullptr) - 3600, time(nullptr) - 3600};
        QCOMPARE(utime(QFile::encodeName(m_home->appDir()).constData(), &past), 0);
        record.addDirPath(b);
        QCOMPARE(QFileInfo(m_home->appDir()).lastModified().toSecsSinceEpoch(), qint64(past.modtime));
        QCOMPARE(readRecord(), (b + ">" + c + ">\n").toUtf8());
    }

    void capHoldsHoweverLongTheStoredList()
    {
        QStringList stored;
        for (int i = 0; i < 30; ++i)
            stored.append(makePacket(u"many/%1"_s.arg(i)));
        writeRecord((stored.join(QLatin1Char('>')) + ">\n").toUtf8());
        {
            RCRecentProjectRecord record;
            QCOMPARE(record.getDirPathList(), stored.mid(0, 24));
            const QString fresh = makePacket(u"fresh"_s);
            record.addDirPath(fresh);
            QCOMPARE(record.getDirPathList().size(), 24);
            QCOMPARE(record.getDirPathList().first(), fresh);
            QCOMPARE(record.getDirPathList().last(), stored.at(22));
        }
        RCRecentProjectRecord reread;
        QCOMPARE(reread.getDirPathList().size(), 24);
    }

    // Two instances on one home: each change reads the file again, so neither drops what the
    // other recorded, and a removal by one stays removed.
    void twoInstancesKeepEachOthersProjects()
    {
        const auto [a, b, c] = packetsABC();
        RCRecentProjectRecord first;
        RCRecentProjectRecord second;
        first.addDirPath(a);
        second.addDirPath(b);
        QCOMPARE(readRecord(), (b + ">" + a + ">\n").toUtf8());
        first.addDirPath(c);
        QCOMPARE(first.getDirPathList(), (QStringList{c, b, a}));
        second.removeDirPath(a);
        first.addDirPath(b);
        QCOMPARE(first.getDirPathList(), (QStringList{b, c}));
        QCOMPARE(readRecord(), (b + ">" + c + ">\n").toUtf8());
    }

    // A change whose write failed stays, and its next write takes it along beside what another
    // instance wrote meanwhile.
    void unwrittenChangeSurvivesTheMerge()
    {
        const auto [a, b, c] = packetsABC();
        RCRecentProjectRecord first;
        first.addDirPath(a);
        // A folder in the file's place: it can be neither read nor replaced.
        QVERIFY(QFile::remove(recordPath()) && QDir().mkpath(recordPath()));
        QSignalSpy failed(&first, &RCRecentProjectRecord::saveFailed);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not written"_s));
        first.addDirPath(b);
        QCOMPARE(failed.count(), 1);
        QVERIFY(QDir().rmdir(recordPath()));
        RCRecentProjectRecord second;
        second.addDirPath(c);
        first.addDirPath(a);
        QCOMPARE(readRecord(), (a + ">" + b + ">" + c + ">\n").toUtf8());
    }

    // Instances on one home saving at the same moment (separate processes, released together): each
    // read-merge-write waits for the others, so every packet is on the list, each writer's newest
    // first, and the file holds exactly that list.
    void instancesSavingAtOnceKeepEveryPacket()
    {
        const int writers = 3;
        const int packetsEach = 8; // all of them fit in the list
        QList<QStringList> packets(writers);
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int w = 0; w < writers; ++w) {
            for (int i = 0; i < packetsEach; ++i)
                packets[w].append(makePacket(u"w%1/p%2"_s.arg(w).arg(i)));
            auto process = std::make_unique<QProcess>();
            process->start(QCoreApplication::applicationFilePath(),
                           QStringList{QLatin1String(kAddPackets)} + packets[w]);
            QVERIFY(process->waitForStarted(10000));
            processes.push_back(std::move(process));
        }
        // Written out at once (QProcess otherwise writes only while waiting for that process).
        for (const auto& process : processes) {
            QCOMPARE(process->write("go\n"), 3);
            QVERIFY(process->waitForBytesWritten(10000));
        }
        for (const auto& process : processes) {
            QVERIFY(process->waitForFinished(30000));
            const QByteArray errors = process->readAllStandardError();
            QVERIFY2(process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0 &&
                         errors.isEmpty(),
                     errors.constData());
        }

        RCRecentProjectRecord record;
        const QStringList list = record.getDirPathList();
        QCOMPARE(list.size(), writers * packetsEach);
        for (const QStringList& own : std::as_const(packets)) {
            qsizetype previous = list.size();
            for (const QString& packet : own) {
                const qsizetype at = list.indexOf(packet);
                QVERIFY2(at >= 0 && at < previous, qPrintable(packet + u" in "_s + list.join(u' ')));
                previous = at;
            }
        }
        QCOMPARE(readRecord(), (list.join(QLatin1Char('>')) + u">\n"_s).toUtf8());
    }

    // While another instance holds the lock, a change is in the list at once and nothing waits: it
    // is written as soon as the lock is free, with no later change, or by the next save of the same
    // packet; an instance that keeps the lock is named to the user once.
    void heldLockKeepsNoOneWaiting()
    {
        const auto [a, b, c] = packetsABC();
        RCRecentProjectRecord record;
        record.addDirPath(a);
        const QByteArray before = readRecord();
        QSignalSpy failed(&record, &RCRecentProjectRecord::saveFailed);
        {
            QLockFile other(recordPath() + u".lock"_s);
            QVERIFY(other.tryLock(0));
            QElapsedTimer waited;
            waited.start();
            record.addDirPath(b);
            QVERIFY2(waited.elapsed() < 1000, qPrintable(QString::number(waited.elapsed())));
            QCOMPARE(readRecord(), before);
            QCOMPARE(record.getDirPathList(), (QStringList{b, a}));
            QVERIFY(failed.isEmpty());
        }
        record.addDirPath(b);
        QCOMPARE(readRecord(), (b + ">" + a + ">\n").toUtf8());

        {
            QLockFile other(recordPath() + u".lock"_s);
            QVERIFY(other.tryLock(0));
            record.addDirPath(c);
            QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 20000);
            const QString reason = failed.first().first().toString();
            QVERIFY2(reason.contains(QString::number(QCoreApplication::applicationPid())), qPrintable(reason));
            record.removeDirPath(a);
            QTest::qWait(500);
            QCOMPARE(failed.count(), 1);
            QCOMPARE(readRecord(), (b + ">" + a + ">\n").toUtf8());
        }
        QTRY_COMPARE_WITH_TIMEOUT(readRecord(), (c + ">" + b + ">\n").toUtf8(), 10000);
        QCOMPARE(failed.count(), 1);
    }

    // A lock path that can hold no lock is an error at once, naming it, told once; what is there
    // stays as it was.
    void lockPathThatIsNoLock_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a folder") << u"folder"_s;
        QTest::newRow("a file of another program") << u"file"_s;
        QTest::newRow("a link") << u"link"_s;
    }
    void lockPathThatIsNoLock()
    {
        QFETCH(QString, kind);
        const auto [a, b, c] = packetsABC();
        const QString lock = recordPath() + u".lock"_s;
        RCRecentProjectRecord record;
        record.addDirPath(a);
        const struct utimbuf past = {time(nullptr) - 3600, time(nullptr) - 3600};
        if (kind == u"folder"_s)
            QVERIFY(writeFile(lock + u"/inside"_s, "inside"));
        else if (kind == u"link"_s)
            QVERIFY(QFile::link(a + u"/project.tavx"_s, lock));
        else
            QVERIFY(writeFile(lock, "someone else's") && utime(QFile::encodeName(lock).constData(), &past) == 0);
        const QMap<QString, QByteArray> before = contentsBelow(m_home->appDir());
        QSignalSpy failed(&record, &RCRecentProjectRecord::saveFailed);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not written"_s));
        record.addDirPath(b);
        record.addDirPath(c);
        QCOMPARE(failed.count(), 1);
        const QString reason = failed.first().first().toString();
        QVERIFY2(reason.contains(lock + (kind == u"folder"_s ? u" 是一个文件夹"_s : u" 不是锁文件"_s)), qPrintable(reason));
        QCOMPARE(contentsBelow(m_home->appDir()), before);
        QCOMPARE(record.getDirPathList(), (QStringList{c, b, a}));
    }

private:
    std::array<QString, 3> packetsABC() { return {makePacket(u"A"_s), makePacket(u"B"_s), makePacket(u"C"_s)}; }
    QString makePacket(const QString& relative)
    {
        const QString path = m_home->filePath(relative);
        writeFile(path + u"/project.tavx"_s, "{}");
        return path;
    }
    QString recordPath() const { return m_home->appDir() + u"/recently.data"_s; }
    void writeRecord(const QByteArray& content) { QVERIFY(writeFile(recordPath(), content)); }
    QByteArray readRecord() const { return readFile(recordPath()); }

    std::optional<TemporaryHome> m_home;
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], kAddPackets) == 0) {
        RCRecentProjectRecord record;
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly) || input.readLine().isEmpty())
            return 2;
        for (const QString& packet : QCoreApplication::arguments().mid(2))
            record.addDirPath(packet);
        // as the program does at exit
        return record.writePending(10000) ? 0 : 3;
    }
    tst_RCRecentProjectRecord test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_RCRecentProjectRecord.moc"
