#include "project/RCLogCategories.h"
#include "project/RCLogFile.h"
#include "project/TemporaryHome.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <memory>

using namespace Qt::StringLiterals;

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
    void categoriesAndPattern();
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
    // The very first start has no application folder yet; the log still gets its file.
    QCOMPARE(QFileInfo(m_logPath).absolutePath(), m_home->appDir() + u"/Log"_s);
    QVERIFY(QRegularExpression(u"^\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d\\.log$"_s)
                .match(QFileInfo(m_logPath).fileName())
                .hasMatch());
}

void tst_RCLogFile::categoriesAndPattern()
{
    qCDebug(lcRcProject) << "hidden-project-debug";
    qCInfo(lcRcProject) << "shown-project-info";
    qCWarning(lcRcProject) << "shown-project-warning";
    qCDebug(lcRcRecentProject) << "shown-recent-debug";
    qInfo() << "shown-default-info";

    const QString all = readLines(m_logPath).join(QLatin1Char('\n'));
    QVERIFY(!all.contains(u"hidden-project-debug"_s));

    // time, [type], [thread id], category, ": ", text
    const QRegularExpression line(u"^\\S.*\\[(debug|info|warning)\\]\\[\\d+\\]([\\w.]+): (.*)$"_s);
    struct Expected
    {
        QString text;
        QString type;
        QString category;
    };
    const QList<Expected> expected = {
        {u"shown-project-info"_s, u"info"_s, u"rc.project"_s},
        {u"shown-project-warning"_s, u"warning"_s, u"rc.project"_s},
        {u"shown-recent-debug"_s, u"debug"_s, u"rc.recentProject"_s},
        {u"shown-default-info"_s, u"info"_s, u"default"_s},
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
    // Each line is on disk at once (read through a second handle while the log stays open: what a
    // crash now would leave); raw start-up lines go into the same file.
    qCInfo(lcRcProject) << "flushed-at-once";
    QVERIFY(readLines(m_logPath).last().endsWith(u"flushed-at-once"_s));
    RCLogFile::writeLine(u"tryLoadProjectnot need load project 0"_s);
    QCOMPARE(readLines(m_logPath).last(), u"tryLoadProjectnot need load project 0"_s);
}

void tst_RCLogFile::linesFromManyThreadsStayWhole()
{
    constexpr int threadCount = 4;
    constexpr int perThread = 200;
    QList<QThread*> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.append(QThread::create([t] {
            for (int i = 0; i < perThread; ++i)
                qCInfo(lcRcProject).noquote() << u"mt-%1-%2-end"_s.arg(t).arg(i);
        }));
    }
    for (QThread* thread : threads)
        thread->start();
    for (QThread* thread : threads) {
        QVERIFY(thread->wait(30000));
        delete thread;
    }
    const QRegularExpression whole(u"^\\S.*\\[info\\]\\[\\d+\\]rc\\.project: mt-\\d+-\\d+-end$"_s);
    int count = 0;
    for (const QString& l : readLines(m_logPath)) {
        if (l.contains(u"mt-"_s)) {
            QVERIFY2(whole.match(l).hasMatch(), qPrintable(l));
            ++count;
        }
    }
    QCOMPARE(count, threadCount * perThread);
}

void tst_RCLogFile::twoStartsInOneSecondKeepBothLogs()
{
    const QString dir = m_home->filePath(u"other/Log"_s);
    const QDateTime start(QDate(2026, 1, 2), QTime(3, 4, 5));
    std::unique_ptr<QFile> first(RCLogFile::createLogFile(dir, start));
    QVERIFY(first);
    first->write("first run\n");
    first->close();
    std::unique_ptr<QFile> second(RCLogFile::createLogFile(dir, start));
    QVERIFY(second);
    QVERIFY(first->fileName() != second->fileName());
    QCOMPARE(QFileInfo(first->fileName()).fileName(), u"2026-01-02 03-04-05.log"_s);
    QCOMPARE(QFileInfo(second->fileName()).fileName(), u"2026-01-02 03-04-05 (2).log"_s);
    QCOMPARE(readLines(first->fileName()), QStringList{u"first run"_s});
}

QTEST_GUILESS_MAIN(tst_RCLogFile)
#include "tst_RCLogFile.moc"
