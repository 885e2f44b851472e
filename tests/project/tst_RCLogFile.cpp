#include "project/RCLogCategories.h"
#include "project/RCLogFile.h"
#include "project/TemporaryHome.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class tst_RCLogFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void firstStartCreatesFoldersAndFile();
    void categoriesAndPattern();
    void eachLineReachesDiskAtOnce();
    void rawLinesGoIntoTheSameFile();
    void linesFromManyThreadsStayWhole();
    void twoStartsInOneSecondKeepBothLogs();

private:
    std::unique_ptr<TemporaryHome> m_home;
    QString m_logPath;
};

void tst_RCLogFile::initTestCase()
{
    m_home = std::make_unique<TemporaryHome>();
    QVERIFY(m_home->isValid());
    QVERIFY(!QFileInfo::exists(m_home->appDir()));
    RCLogFile::initLogFile();
    RCLogFile::initLogFile(); // a second call changes nothing
    m_logPath = RCLogFile::logFilePath();
}

void tst_RCLogFile::firstStartCreatesFoldersAndFile()
{
    // The very first start has no application folder yet; the log still gets its file.
    QVERIFY(!m_logPath.isEmpty());
    QCOMPARE(QFileInfo(m_logPath).absolutePath(), m_home->appDir() + QStringLiteral("/Log"));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d\\.log$"))
                .match(QFileInfo(m_logPath).fileName())
                .hasMatch());
    QVERIFY(QFileInfo::exists(m_logPath));
}

void tst_RCLogFile::categoriesAndPattern()
{
    qCDebug(lcRcProject) << "hidden-project-debug";
    qCInfo(lcRcProject) << "shown-project-info";
    qCWarning(lcRcProject) << "shown-project-warning";
    qCDebug(lcRcRecentProject) << "shown-recent-debug";
    qInfo() << "shown-default-info";

    const QString all = readLines(m_logPath).join(QLatin1Char('\n'));
    QVERIFY(!all.contains(QStringLiteral("hidden-project-debug")));

    // time, [type], [thread id], category, ": ", text
    const QRegularExpression line(
        QStringLiteral("^\\S.*\\[(debug|info|warning)\\]\\[\\d+\\]([\\w.]+): (.*)$"));
    struct Expected
    {
        QString text;
        QString type;
        QString category;
    };
    const QList<Expected> expected = {
        {QStringLiteral("shown-project-info"), QStringLiteral("info"), QStringLiteral("rc.project")},
        {QStringLiteral("shown-project-warning"), QStringLiteral("warning"), QStringLiteral("rc.project")},
        {QStringLiteral("shown-recent-debug"), QStringLiteral("debug"), QStringLiteral("rc.recentProject")},
        {QStringLiteral("shown-default-info"), QStringLiteral("info"), QStringLiteral("default")},
    };
    const QStringList lines = readLines(m_logPath);
    for (const Expected& e : expected) {
        bool found = false;
        for (const QString& l : lines) {
            const auto m = line.match(l);
            if (m.hasMatch() && m.captured(3) == e.text) {
                QCOMPARE(m.captured(1), e.type);
                QCOMPARE(m.captured(2), e.category);
                found = true;
            }
        }
        QVERIFY2(found, qPrintable(e.text));
    }
}

void tst_RCLogFile::eachLineReachesDiskAtOnce()
{
    // Read through a second handle while the log stays open: what a crash right now would leave.
    qCInfo(lcRcProject) << "flushed-at-once";
    QVERIFY(readLines(m_logPath).last().endsWith(QStringLiteral("flushed-at-once")));
}

void tst_RCLogFile::rawLinesGoIntoTheSameFile()
{
    RCLogFile::writeLine(QStringLiteral("tryLoadProjectnot need load project 0"));
    QCOMPARE(readLines(m_logPath).last(), QStringLiteral("tryLoadProjectnot need load project 0"));
}

void tst_RCLogFile::linesFromManyThreadsStayWhole()
{
    constexpr int threadCount = 4;
    constexpr int perThread = 200;
    QList<QThread*> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.append(QThread::create([t] {
            for (int i = 0; i < perThread; ++i)
                qCInfo(lcRcProject).noquote() << QStringLiteral("mt-%1-%2-end").arg(t).arg(i);
        }));
    }
    for (QThread* thread : threads)
        thread->start();
    for (QThread* thread : threads) {
        QVERIFY(thread->wait(30000));
        delete thread;
    }
    const QRegularExpression whole(
        QStringLiteral("^\\S.*\\[info\\]\\[\\d+\\]rc\\.project: mt-\\d+-\\d+-end$"));
    int count = 0;
    for (const QString& l : readLines(m_logPath)) {
        if (l.contains(QStringLiteral("mt-"))) {
            QVERIFY2(whole.match(l).hasMatch(), qPrintable(l));
            ++count;
        }
    }
    QCOMPARE(count, threadCount * perThread);
}

void tst_RCLogFile::twoStartsInOneSecondKeepBothLogs()
{
    const QString dir = m_home->filePath(QStringLiteral("other/Log"));
    const QDateTime start(QDate(2026, 1, 2), QTime(3, 4, 5));
    std::unique_ptr<QFile> first(RCLogFile::createLogFile(dir, start));
    QVERIFY(first);
    first->write("first run\n");
    first->close();
    std::unique_ptr<QFile> second(RCLogFile::createLogFile(dir, start));
    QVERIFY(second);
    QVERIFY(first->fileName() != second->fileName());
    QCOMPARE(QFileInfo(first->fileName()).fileName(), QStringLiteral("2026-01-02 03-04-05.log"));
    QCOMPARE(QFileInfo(second->fileName()).fileName(), QStringLiteral("2026-01-02 03-04-05 (2).log"));
    QCOMPARE(readLines(first->fileName()), QStringList{QStringLiteral("first run")});
}

QTEST_GUILESS_MAIN(tst_RCLogFile)
#include "tst_RCLogFile.moc"
