#include "project/RCRecentProjectRecord.h"
#include "project/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include <ctime>
#include <utime.h>

class tst_RCRecentProjectRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startsEmptyWithoutFile();
    void readsBothFileFormsAndDropsDeadFolders();
    void keepsPathsExactly();
    void addMovesAndSignals();
    void removeForgetsEveryOccurrence();
    void capHoldsHoweverLongTheStoredList();
    void legacyFoldersAreAppendedNewestFirst();
    void writesAtomically();

private:
    QString makePacket(const QString& relative);
    void writeRecord(const QByteArray& content);
    QByteArray readRecord() const;

    std::unique_ptr<TemporaryHome> m_home;
};

void tst_RCRecentProjectRecord::init()
{
    m_home = std::make_unique<TemporaryHome>();
    QVERIFY(m_home->isValid());
}

void tst_RCRecentProjectRecord::cleanup()
{
    m_home.reset();
}

QString tst_RCRecentProjectRecord::makePacket(const QString& relative)
{
    const QString path = m_home->filePath(relative);
    QDir().mkpath(path);
    QFile file(path + QStringLiteral("/project.tavx"));
    file.open(QIODevice::WriteOnly);
    file.write("{}");
    return path;
}

void tst_RCRecentProjectRecord::writeRecord(const QByteArray& content)
{
    QDir().mkpath(m_home->appDir());
    QFile file(m_home->appDir() + QStringLiteral("/recently.data"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray tst_RCRecentProjectRecord::readRecord() const
{
    QFile file(m_home->appDir() + QStringLiteral("/recently.data"));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void tst_RCRecentProjectRecord::startsEmptyWithoutFile()
{
    RCRecentProjectRecord record;
    QVERIFY(record.getDirPathList().isEmpty());
    QVERIFY(QFileInfo(m_home->appDir()).isDir()); // folder made with its parents
    // The separator cannot be stored inside a path; nothing is recorded or written.
    record.addDirPath(QStringLiteral("a>b"));
    record.addDirPath(QString());
    QVERIFY(record.getDirPathList().isEmpty());
    QCOMPARE(readRecord(), QByteArray("<missing>"));
}

void tst_RCRecentProjectRecord::readsBothFileFormsAndDropsDeadFolders()
{
    const QString a = makePacket(QStringLiteral("p/A"));
    const QString b = makePacket(QStringLiteral("p/B"));
    const QString empty = m_home->filePath(QStringLiteral("p/Empty"));
    QDir().mkpath(empty);
    const QString gone = m_home->filePath(QStringLiteral("p/Gone"));

    // The form written by a save (trailing ">" and line feed) ...
    writeRecord((a + ">" + gone + ">" + b + ">" + empty + ">\n").toUtf8());
    {
        RCRecentProjectRecord record;
        QCOMPARE(record.getDirPathList(), (QStringList{a, b}));
        QCOMPARE(readRecord(), (a + ">" + b + ">\n").toUtf8());
    }
    // ... and the bare form of older clean-ups.
    writeRecord((b + ">" + a).toUtf8());
    RCRecentProjectRecord record;
    QCOMPARE(record.getDirPathList(), (QStringList{b, a}));
}

void tst_RCRecentProjectRecord::keepsPathsExactly()
{
    const QString spaced = makePacket(QStringLiteral("p/two  spaces"));
    const QString tabbed = makePacket(QStringLiteral("p/tab\there "));
    const QString upper = makePacket(QStringLiteral("p/Case"));
    {
        RCRecentProjectRecord record;
        record.addDirPath(tabbed);
        record.addDirPath(spaced);
        record.addDirPath(upper);
        record.addDirPath(upper + QLatin1Char('/')); // another text, another entry
        QCOMPARE(record.getDirPathList().size(), 4);
    }
    RCRecentProjectRecord reread;
    QCOMPARE(reread.getDirPathList(), (QStringList{upper + QLatin1Char('/'), upper, spaced, tabbed}));
}

void tst_RCRecentProjectRecord::addMovesAndSignals()
{
    const QString a = makePacket(QStringLiteral("A"));
    const QString b = makePacket(QStringLiteral("B"));
    const QString c = makePacket(QStringLiteral("C"));
    RCRecentProjectRecord record;
    QSignalSpy added(&record, &RCRecentProjectRecord::dirPathAdded);
    QSignalSpy moved(&record, &RCRecentProjectRecord::dirPathMoved);

    record.addDirPath(a);
    record.addDirPath(b);
    record.addDirPath(c);
    QCOMPARE(added.count(), 3);
    QCOMPARE(record.getDirPathList(), (QStringList{c, b, a}));

    // Already first: nothing written, nothing emitted.
    QFile::remove(record.recordFilePath());
    record.addDirPath(c);
    QVERIFY(!QFile::exists(record.recordFilePath()));
    QCOMPARE(moved.count(), 0);

    record.addDirPath(a);
    QCOMPARE(record.getDirPathList(), (QStringList{a, c, b}));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0), (QVariantList{a, 0}));
    QCOMPARE(readRecord(), (a + ">" + c + ">" + b + ">\n").toUtf8());
    QVERIFY(record.contains(b));
    QVERIFY(!record.contains(b.toUpper()));
}

void tst_RCRecentProjectRecord::removeForgetsEveryOccurrence()
{
    const QString a = makePacket(QStringLiteral("A"));
    const QString b = makePacket(QStringLiteral("B"));
    writeRecord((a + ">" + b + ">" + a + ">\n").toUtf8());
    RCRecentProjectRecord record;
    QCOMPARE(record.getDirPathList(), (QStringList{a, b}));
    QSignalSpy removed(&record, &RCRecentProjectRecord::dirPathRemoved);
    record.removeDirPath(a);
    record.removeDirPath(a);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(readRecord(), (b + ">\n").toUtf8());
}

void tst_RCRecentProjectRecord::capHoldsHoweverLongTheStoredList()
{
    QStringList stored;
    for (int i = 0; i < 30; ++i)
        stored.append(makePacket(QStringLiteral("many/%1").arg(i)));
    writeRecord((stored.join(QLatin1Char('>')) + ">\n").toUtf8());
    {
        RCRecentProjectRecord record;
        QCOMPARE(record.getDirPathList(), stored.mid(0, 24));
        const QString fresh = makePacket(QStringLiteral("fresh"));
        record.addDirPath(fresh);
        QCOMPARE(record.getDirPathList().size(), 24);
        QCOMPARE(record.getDirPathList().first(), fresh);
        QCOMPARE(record.getDirPathList().last(), stored.at(22));
    }
    RCRecentProjectRecord reread;
    QCOMPARE(reread.getDirPathList().size(), 24);
}

void tst_RCRecentProjectRecord::legacyFoldersAreAppendedNewestFirst()
{
    const QString listed = makePacket(QStringLiteral("listed"));
    writeRecord((listed + ">\n").toUtf8());
    // Name order and time order disagree, so the test sees which one is used.
    const QString older = makePacket(QStringLiteral("Tavix/projectList/a-older"));
    const QString newer = makePacket(QStringLiteral("Tavix/projectList/z-newer"));
    QDir().mkpath(m_home->filePath(QStringLiteral("Tavix/projectList/m-empty")));
    const time_t past = time(nullptr) - 2 * 24 * 3600;
    const struct utimbuf times = {past, past};
    QCOMPARE(utime(QFile::encodeName(older).constData(), &times), 0);

    RCRecentProjectRecord record;
    QCOMPARE(record.getDirPathList(), (QStringList{listed, newer, older}));
    QCOMPARE(readRecord(), (listed + ">" + newer + ">" + older + ">\n").toUtf8());
}

void tst_RCRecentProjectRecord::writesAtomically()
{
    // The record is replaced, never rewritten in place: a reader holding the old file keeps
    // seeing the old, complete content.
    const QString a = makePacket(QStringLiteral("A"));
    const QString b = makePacket(QStringLiteral("B"));
    RCRecentProjectRecord record;
    record.addDirPath(a);
    QFile before(record.recordFilePath());
    QVERIFY(before.open(QIODevice::ReadOnly));
    record.addDirPath(b);
    QCOMPARE(before.readAll(), (a + ">\n").toUtf8());
    QCOMPARE(readRecord(), (b + ">" + a + ">\n").toUtf8());
}

QTEST_GUILESS_MAIN(tst_RCRecentProjectRecord)
#include "tst_RCRecentProjectRecord.moc"
