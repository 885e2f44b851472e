// The item script runner: statements, waits on the worker's thread while the interface runs on,
// busy notices, malformed statements, and a runner destroyed in the middle of a long wait.
#include "actions/RCScriptProcess.h"
#include "actions/RCScriptProcessThread.h"
#include "support/ProcessThreads.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMutex>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Runs one script to its end and answers the announced items as "scene/item".
QStringList runScript(const QString& script)
{
    RCScriptProcess runner;
    QStringList items;
    QObject::connect(&runner, &RCScriptProcess::sceneItemExcute,
                     [&](const QString& scene, const QString& item) { items.append(scene + "/" + item); });
    QSignalSpy busy(&runner, &RCScriptProcess::busyingChanged);
    runner.excute(script);
    if (!QTest::qWaitFor([&] { return busy.size() == 2; }, 5000))
        return {"timeout"};
    return items;
}

} // namespace

class tst_ScriptProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void statements_data();
    void statements();
    void waitsRunOnTheWorker();
    void busyRunnerDropsNewScripts();
    void destroyingInterruptsAWait();
    void longAndNegativeWaits();
    void oneThreadPerRunner();

private:
    int m_baseThreads = 0;
};

void tst_ScriptProcess::initTestCase()
{
    m_baseThreads = runningThreads();
}

// A worker's thread can still be listed for a moment after QThread::wait() returned: every case
// starts once the threads of the cases before it are gone.
void tst_ScriptProcess::init()
{
    QTRY_VERIFY_WITH_TIMEOUT(runningThreads() <= m_baseThreads, 5000);
}

void tst_ScriptProcess::statements_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("items");
    QTest::addRow("plain") << "执行(S,A);执行(S,B)" << QStringList{"S/A", "S/B"};
    QTest::addRow("full-width") << "执行（S，A）；执行(S,B)" << QStringList{"S/A", "S/B"};
    QTest::addRow("white space") << " 执行 ( S , A )\n;\t执行(S\t,B);" << QStringList{"S/A", "S/B"};
    QTest::addRow("names lose their spaces") << "执行(my scene,my item)" << QStringList{"myscene/myitem"};
    QTest::addRow("one argument") << "执行(S)" << QStringList();
    QTest::addRow("three arguments") << "执行(S,A,B)" << QStringList();
    QTest::addRow("second group") << "执行(S,A)(x)" << QStringList();
    QTest::addRow("no brackets") << "执行S,A" << QStringList();
    QTest::addRow("unknown keyword") << "运行(S,A)" << QStringList();
    QTest::addRow("empty") << "" << QStringList();
    QTest::addRow("wait not a number") << "等待(abc);执行(S,A)" << QStringList{"S/A"};
}

void tst_ScriptProcess::statements()
{
    QFETCH(QString, script);
    QFETCH(QStringList, items);
    QCOMPARE(runScript(script), items);
}

// A waits 500 ms on the worker between A and B; the GUI keeps handling events meanwhile and sees
// busy, A, B, not busy in that order.
void tst_ScriptProcess::waitsRunOnTheWorker()
{
    RCScriptProcess runner;
    QStringList events;
    QElapsedTimer clock;
    qint64 announcedA = -1;
    qint64 announcedB = -1;
    int ticks = 0;
    int ticksAtA = 0;
    connect(&runner, &RCScriptProcess::busyingChanged, this,
            [&](bool busy) { events.append(busy ? "busy" : "idle"); });
    connect(&runner, &RCScriptProcess::sceneItemExcute, this, [&](const QString&, const QString& item) {
        events.append(item);
        (item == "A" ? announcedA : announcedB) = clock.elapsed();
        if (item == "A")
            ticksAtA = ticks;
    });
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
    ticker.start(20);
    clock.start();
    runner.excute("执行（S，A）；等待(500)；执行(S,B)");
    QTRY_COMPARE_WITH_TIMEOUT(events.size(), 4, 5000);
    QCOMPARE(events, QStringList({"busy", "A", "B", "idle"}));
    QVERIFY2(announcedB - announcedA >= 490, qPrintable(QString::number(announcedB - announcedA)));
    QVERIFY(ticks - ticksAtA >= 10);

    // The gap measured where the statements run, on the worker's own clock.
    RCScriptProcessThread worker;
    QMutex lock;
    QList<qint64> times;
    QElapsedTimer workerClock;
    connect(
        &worker, &RCScriptProcessThread::sceneItemExcute, &worker,
        [&] {
            QMutexLocker locker(&lock);
            times.append(workerClock.elapsed());
        },
        Qt::DirectConnection);
    workerClock.start();
    Q_EMIT worker.sig_excute("执行(S,A);等待(500);执行(S,B)");
    QTRY_VERIFY_WITH_TIMEOUT((QMutexLocker(&lock), times.size() == 2), 5000);
    QVERIFY(times.at(1) - times.at(0) >= 500);
}

void tst_ScriptProcess::busyRunnerDropsNewScripts()
{
    RCScriptProcess runner;
    QStringList items;
    connect(&runner, &RCScriptProcess::sceneItemExcute, this,
            [&](const QString&, const QString& item) { items.append(item); });
    QSignalSpy busy(&runner, &RCScriptProcess::busyingChanged);
    runner.excute("等待(300);执行(S,A)");
    QVERIFY(busy.wait(5000));
    runner.excute("执行(S,X)");
    QTRY_COMPARE_WITH_TIMEOUT(busy.size(), 2, 5000);
    QCOMPARE(items, QStringList{"A"});
}

// A scene switch or the program closing destroys the runner: a long wait ends at once, the
// statements after it never run and the thread is gone.
void tst_ScriptProcess::destroyingInterruptsAWait()
{
    const int threadsBefore = runningThreads();
    auto runner = std::make_unique<RCScriptProcess>();
    QStringList items;
    connect(runner.get(), &RCScriptProcess::sceneItemExcute, this,
            [&](const QString&, const QString& item) { items.append(item); });
    QSignalSpy busy(runner.get(), &RCScriptProcess::busyingChanged);
    runner->excute("等待(600000);执行(S,A)");
    QVERIFY(busy.wait(5000));
    QElapsedTimer clock;
    clock.start();
    runner.reset();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QCoreApplication::processEvents();
    QVERIFY(items.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(runningThreads() <= threadsBefore, 5000);
}

void tst_ScriptProcess::longAndNegativeWaits()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Script wait ignored, negative"));
    QCOMPARE(runScript("等待(-5);执行(S,A)"), QStringList{"S/A"});

    // A runner destroyed early may never reach its wait, so the cap is checked where it is made.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Script wait cut to 3600000 ms"));
    QCOMPARE(RCScriptProcessThread::waitMilliseconds("99999999999999999999999"),
             RCScriptProcessThread::kMaxWaitMs);
}

void tst_ScriptProcess::oneThreadPerRunner()
{
    const int threadsBefore = runningThreads();
    {
        std::vector<std::unique_ptr<RCScriptProcess>> runners;
        for (int i = 0; i < 3; ++i)
            runners.push_back(std::make_unique<RCScriptProcess>());
        QCOMPARE(runningThreads(), threadsBefore + 3);
    }
    QTRY_VERIFY_WITH_TIMEOUT(runningThreads() <= threadsBefore, 5000);
}

QTEST_MAIN(tst_ScriptProcess)
#include "tst_ScriptProcess.moc"
