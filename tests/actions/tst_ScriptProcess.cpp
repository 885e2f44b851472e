// The item script runner: statements, waits on the worker's thread while the interface runs on,
// busy notices, malformed statements, and runners destroyed in the middle of a long wait.
#include "actions/RCScriptProcess.h"
#include "actions/RCScriptProcessThread.h"
#include "support/ProcessThreads.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Records what a runner announces: "busy", "idle" and the items as "scene/item".
QStringList* record(RCScriptProcess* runner)
{
    auto* events = new QStringList;
    QObject::connect(runner, &QObject::destroyed, [events] { delete events; });
    QObject::connect(runner, &RCScriptProcess::busyingChanged,
                     [events](bool busy) { events->append(busy ? "busy" : "idle"); });
    QObject::connect(
        runner, &RCScriptProcess::sceneItemExcute,
        [events](const QString& scene, const QString& item) { events->append(scene + "/" + item); });
    return events;
}

} // namespace

class tst_ScriptProcess : public QObject
{
    Q_OBJECT

    int m_baseThreads = 0;

private Q_SLOTS:
    void initTestCase() { m_baseThreads = runningThreads(); }
    // A worker's thread can still be listed for a moment after QThread::wait() returned: every case
    // starts once the threads of the cases before it are gone.
    void init() { QTRY_VERIFY_WITH_TIMEOUT(runningThreads() <= m_baseThreads, 5000); }

    void statements_data()
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
        QTest::addRow("negative wait skipped") << "等待(-5);执行(S,A)" << QStringList{"S/A"};
    }
    void statements()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, items);
        if (script.contains('-'))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Script wait ignored, negative"));
        RCScriptProcess runner;
        const QStringList* events = record(&runner);
        runner.excute(script);
        QTRY_COMPARE_WITH_TIMEOUT(events->size(), items.size() + 2, 5000);
        QCOMPARE(*events, QStringList{"busy"} + items + QStringList{"idle"});
    }

    // The cap on a wait is applied where the wait is read.
    void longWaitsAreCut()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Script wait cut to 3600000 ms"));
        QCOMPARE(RCScriptProcessThread::waitMilliseconds("99999999999999999999999"),
                 RCScriptProcessThread::kMaxWaitMs);
    }

    // A waits 500 ms on the worker between A and B while the GUI keeps handling events; a script
    // handed to the busy runner is dropped.
    void waitsRunOnTheWorker()
    {
        RCScriptProcess runner;
        const QStringList* events = record(&runner);
        int ticks = 0;
        int ticksAtA = -1;
        connect(&runner, &RCScriptProcess::sceneItemExcute, this, [&] {
            if (ticksAtA < 0)
                ticksAtA = ticks;
        });
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(20);
        runner.excute("执行（S，A）；等待(500)；执行(S,B)");
        QTRY_VERIFY_WITH_TIMEOUT(!events->isEmpty(), 5000);
        runner.excute("执行(S,X)");
        QTRY_COMPARE_WITH_TIMEOUT(events->size(), 4, 5000);
        QCOMPARE(*events, QStringList({"busy", "S/A", "S/B", "idle"}));
        QVERIFY(ticks - ticksAtA >= 10);

        // The gap measured where the statements run, on the worker's own clock.
        RCScriptProcessThread worker;
        QMutex lock;
        QList<qint64> times;
        QElapsedTimer clock;
        connect(
            &worker, &RCScriptProcessThread::sceneItemExcute, &worker,
            [&] {
                QMutexLocker locker(&lock);
                times.append(clock.elapsed());
            },
            Qt::DirectConnection);
        clock.start();
        Q_EMIT worker.sig_excute("执行(S,A);等待(500);执行(S,B)");
        QTRY_VERIFY_WITH_TIMEOUT((QMutexLocker(&lock), times.size() == 2), 5000);
        QVERIFY(times.at(1) - times.at(0) >= 500);
    }

    // Each runner has a thread of its own. A scene switch or the program closing destroys the
    // runners: a long wait ends at once, the statements after it never run and the threads are gone.
    void destroyingInterruptsAWait()
    {
        const int threadsBefore = runningThreads();
        std::vector<std::unique_ptr<RCScriptProcess>> runners;
        for (int i = 0; i < 3; ++i)
            runners.push_back(std::make_unique<RCScriptProcess>());
        QCOMPARE(runningThreads(), threadsBefore + 3);
        const QStringList* events = record(runners.front().get());
        runners.front()->excute("等待(600000);执行(S,A)");
        QTRY_COMPARE_WITH_TIMEOUT(*events, QStringList{"busy"}, 5000);
        QElapsedTimer clock;
        clock.start();
        QStringList seen = *events;
        connect(runners.front().get(), &RCScriptProcess::sceneItemExcute, this, [&] { seen << "item"; });
        runners.clear();
        // far less than the 600 s wait, whatever the machine's load
        QVERIFY2(clock.elapsed() < 60000, qPrintable(QString::number(clock.elapsed())));
        QCoreApplication::processEvents();
        QCOMPARE(seen, QStringList{"busy"});
        QTRY_VERIFY_WITH_TIMEOUT(runningThreads() <= threadsBefore, 5000);
    }
};

QTEST_MAIN(tst_ScriptProcess)
#include "tst_ScriptProcess.moc"
