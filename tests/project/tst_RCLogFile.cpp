#include "editing/RCScenePresenter.h"
#include "project/RCLog.h"
#include "project/RCLogCategories.h"
#include "project/RCLogFile.h"
#include "project/TemporaryHome.h"
#include "support/FileTree.h"

#include <QJSEngine>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTemporaryFile>
#include <QThread>

#include <cstdio>
#include <memory>

#include <unistd.h>

using namespace Qt::StringLiterals;

// Standard error goes into a temporary file while an object lives.
class TerminalCapture
{
public:
    TerminalCapture()
    {
        if (m_file.open()) {
            std::fflush(stderr);
            m_saved = ::dup(STDERR_FILENO);
            ::dup2(m_file.handle(), STDERR_FILENO);
        }
    }
    ~TerminalCapture() { restore(); }
    // What the terminal got; standard error is its own again.
    QByteArray text()
    {
        restore();
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }
    QTemporaryFile m_file;
    int m_saved = -1;
};

class tst_RCLogFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // a zone away from UTC, so that a line stamped in the wrong one shows
        qputenv("TZ", "Asia/Shanghai");
        m_home = std::make_unique<TemporaryHome>();
        QVERIFY(m_home->isValid());
        QVERIFY(!QFileInfo::exists(m_home->appDir()));
        // The log follows Qt's own handler, as in the program, not the test logger's.
        qInstallMessageHandler(nullptr);
        RCLogFile::initLogFile();
        RCLogFile::initLogFile(); // a second call changes nothing
        m_logPath = RCLogFile::logFilePath();
        // The very first start has no application folder yet; the log still gets its file.
        QCOMPARE(QFileInfo(m_logPath).absolutePath(), m_home->appDir() + u"/Log"_s);
        QVERIFY(QRegularExpression(u"^\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d\\.log$"_s)
                    .match(QFileInfo(m_logPath).fileName())
                    .hasMatch());
    }

    // Each line: time, [type], [thread id], category, ": ", text; debug output of the project
    // category is left out. Each line is on disk at once (read through a second handle while the
    // log stays open: what a crash now would leave); raw start-up lines go into the same file.
    void categoriesAndPattern()
    {
        qCInfo(lcRcProject) << "a";
        qCDebug(lcRcProject) << "hidden";
        qCWarning(lcRcProject) << "b";
        qCDebug(lcRcRecentProject) << "c";
        qInfo() << "d";
        RCLogFile::writeLine(u"tryLoadProjectnot need load project 0"_s);
        QStringList tail = lines().mid(lines().size() - 5);
        for (QString& line : tail)
            line.replace(QRegularExpression(u"^\\S.*(\\[\\w+\\])\\[\\d+\\]"_s), u"\\1"_s);
        QCOMPARE(tail, (QStringList{u"[info]rc.project: a"_s, u"[warning]rc.project: b"_s,
                                    u"[debug]rc.recentProject: c"_s, u"[info]default: d"_s,
                                    u"tryLoadProjectnot need load project 0"_s}));
        // The registry's line per object would bury everything else.
        RCScenePresenter* scenes = RCScenePresenter::instance();
        scenes->removeScene(scenes->addScene(u"registered"_s, QString(), QString(), false), false);
        QVERIFY(!readFile(m_logPath).contains("object.manager"));
    }

    // The file's lines, and the terminal's, are what Qt's own formatter makes of the pattern, on
    // any thread.
    void linesAreThePattern_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("category");
        QTest::addColumn<bool>("onWorker");
        QTest::newRow("debug") << int(QtDebugMsg) << QByteArray("scene.presenter") << false;
        QTest::newRow("info, no category") << int(QtInfoMsg) << QByteArray() << false;
        QTest::newRow("warning, worker") << int(QtWarningMsg) << QByteArray("rc.project") << true;
        QTest::newRow("critical, worker") << int(QtCriticalMsg) << QByteArray("default") << true;
    }
    void linesAreThePattern()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, category);
        QFETCH(bool, onWorker);
        const QString text = u"line \u00e9\u573a %1"_s.arg(QTest::currentDataTag());
        QStringList expected;
        const auto log = [&] {
            const QMessageLogContext context("f.cpp", 1, "f", category.isNull() ? nullptr : category.constData());
            const auto msgType = QtMsgType(type);
            expected << qFormatLogMessage(msgType, context, text);
            RCLogFile::logMessageHandler(msgType, context, text);
            expected << qFormatLogMessage(msgType, context, text);
        };
        TerminalCapture terminal;
        if (onWorker) {
            std::unique_ptr<QThread> worker(QThread::create(log));
            worker->start();
            QVERIFY(worker->wait(30000));
        } else {
            log();
        }
        // the second may turn between the line and either reference
        QVERIFY2(expected.contains(lines().constLast()), qPrintable(lines().constLast() + u" / "_s + expected.join(u" / "_s)));
        QCOMPARE(terminal.text(), lines().constLast().toUtf8() + '\n');
    }

    void linesFromManyThreadsStayWhole()
    {
        constexpr int threadCount = 4;
        constexpr int perThread = 200;
        QList<QThread*> threads;
        for (int t = 0; t < threadCount; ++t) {
            threads.append(QThread::create([t] {
                for (int i = 0; i < perThread; ++i)
                    qCInfo(lcRcProject).noquote() << u"mt-%1-%2-end"_s.arg(t).arg(i);
            }));
            threads.last()->start();
        }
        for (QThread* thread : threads) {
            QVERIFY(thread->wait(30000));
            delete thread;
        }
        const QRegularExpression whole(u"^\\S.*\\[info\\]\\[\\d+\\]rc\\.project: mt-\\d+-\\d+-end$"_s);
        int count = 0;
        for (const QString& l : lines()) {
            if (l.contains(u"mt-"_s)) {
                QVERIFY2(whole.match(l).hasMatch(), qPrintable(l));
                ++count;
            }
        }
        QCOMPARE(count, threadCount * perThread);
    }

    void twoStartsInOneSecondKeepBothLogs()
    {
        const QString dir = m_home->filePath(u"other/Log"_s);
        const QDateTime start(QDate(2026, 1, 2), QTime(3, 4, 5));
        std::unique_ptr<QFile> first(RCLogFile::createLogFile(dir, start));
        QVERIFY(first);
        first->write("first run\n");
        first->close();
        std::unique_ptr<QFile> second(RCLogFile::createLogFile(dir, start));
        QVERIFY(second);
        QCOMPARE(QFileInfo(first->fileName()).fileName(), u"2026-01-02 03-04-05.log"_s);
        QCOMPARE(QFileInfo(second->fileName()).fileName(), u"2026-01-02 03-04-05 (2).log"_s);
        QCOMPARE(readFile(first->fileName()), QByteArray("first run\n"));
    }

    // What QML logs goes to its listeners only, never into the log file.
    void qmlLogOnlySignals()
    {
        RCLog* log = RCLog::instance();
        QCOMPARE(log, RCLog::instance());
        QCOMPARE(QJSEngine::objectOwnership(log), QJSEngine::CppOwnership);
        QSignalSpy spy(log, &IRCLog::logWrite);
        log->output(u"from-qml-only"_s);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), u"from-qml-only"_s);
        QVERIFY(!readFile(m_logPath).contains("from-qml-only"));
    }

private:
    QStringList lines() const
    {
        return QString::fromUtf8(readFile(m_logPath)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    std::unique_ptr<TemporaryHome> m_home;
    QString m_logPath;
};

QTEST_GUILESS_MAIN(tst_RCLogFile)
#include "tst_RCLogFile.moc"
