#include "project/RCRecentProjectRecord.h"
#include "project/TemporaryHome.h"
#include "support/FileTree.h"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <optional>

#include <ctime>
#include <utime.h>

using namespace Qt::StringLiterals;

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
        const QString a = makePacket(u"A"_s);
        const QString b = makePacket(u"B"_s);
        const QString c = makePacket(u"C"_s);
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
        const QString a = makePacket(u"A"_s);
        const QString b = makePacket(u"B"_s);
        const QString c = makePacket(u"C"_s);
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
        const QString a = makePacket(u"A"_s);
        const QString b = makePacket(u"B"_s);
        const QString c = makePacket(u"C"_s);
        RCRecentProjectRecord first;
        first.addDirPath(a);
        // A folder in the file's place: it can be neither read nor replaced.
        QVERIFY(QFile::remove(recordPath()) && QDir().mkpath(recordPath()));
        QSignalSpy failed(&first, &RCRecentProjectRecord::saveFailed);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"write failed"_s));
        first.addDirPath(b);
        QCOMPARE(failed.count(), 1);
        QVERIFY(QDir().rmdir(recordPath()));
        RCRecentProjectRecord second;
        second.addDirPath(c);
        first.addDirPath(a);
        QCOMPARE(readRecord(), (a + ">" + b + ">" + c + ">\n").toUtf8());
    }

private:
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

QTEST_GUILESS_MAIN(tst_RCRecentProjectRecord)
#include "tst_RCRecentProjectRecord.moc"
