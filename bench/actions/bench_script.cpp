// The item script runner: how close "等待(500)" comes to 500 ms between the two statements around
// it (on the worker's clock, and as the GUI thread receives them), next to a bare 500 ms sleep of a
// thread; and the threads and memory of 100 runners (one scene of 100 script buttons), next to 100
// bare started QThreads. Run in a Release build:
//
//     build/release-bench/bench/actions/bench_script
#include "BenchSupport.h"
#include "actions/RCScriptProcess.h"
#include "actions/RCScriptProcessThread.h"
#include "tests/support/ProcessThreads.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMutex>
#include <QThread>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

namespace {
constexpr int kRuns = 10;
constexpr int kWaitMs = 500;
constexpr int kRunners = 100;

double residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble();
    }
    return 0;
}

void spread(benchmark::State& state, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    state.counters["mean_ms"] = std::accumulate(ms.begin(), ms.end(), 0.0) / double(ms.size());
    state.counters["min_ms"] = ms.front();
    state.counters["max_ms"] = ms.back();
}

void BM_BareSleep(benchmark::State& state)
{
    std::vector<double> ms;
    for (auto _ : state) {
        for (int i = 0; i < kRuns; ++i) {
            QElapsedTimer clock;
            clock.start();
            QThread::msleep(kWaitMs);
            ms.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
    }
    spread(state, ms);
}

void BM_ScriptWaitOnWorker(benchmark::State& state)
{
    std::vector<double> ms;
    for (auto _ : state) {
        RCScriptProcessThread worker;
        QMutex lock;
        QList<qint64> times;
        QElapsedTimer clock;
        QObject::connect(
            &worker, &RCScriptProcessThread::sceneItemExcute, &worker,
            [&] {
                QMutexLocker locker(&lock);
                times.append(clock.nsecsElapsed());
            },
            Qt::DirectConnection);
        clock.start();
        for (int i = 0; i < kRuns; ++i)
            Q_EMIT worker.sig_excute(QStringLiteral("执行(S,A);等待(%1);执行(S,B)").arg(kWaitMs));
        while (true) {
            QMutexLocker locker(&lock);
            if (times.size() == 2 * kRuns)
                break;
            locker.unlock();
            QThread::msleep(10);
        }
        for (int i = 0; i < kRuns; ++i)
            ms.push_back(double(times.at(2 * i + 1) - times.at(2 * i)) / 1e6);
    }
    spread(state, ms);
}

void BM_ScriptWaitOnGui(benchmark::State& state)
{
    std::vector<double> ms;
    for (auto _ : state) {
        RCScriptProcess runner;
        QElapsedTimer clock;
        qint64 first = 0;
        QEventLoop loop;
        QObject::connect(&runner, &RCScriptProcess::sceneItemExcute, &loop,
                         [&](const QString&, const QString& item) {
                             if (item == QLatin1String("A"))
                                 first = clock.nsecsElapsed();
                             else
                                 ms.push_back(double(clock.nsecsElapsed() - first) / 1e6);
                         });
        QObject::connect(&runner, &RCScriptProcess::busyingChanged, &loop, [&](bool busy) {
            if (!busy)
                loop.quit();
        });
        clock.start();
        for (int i = 0; i < kRuns; ++i) {
            runner.excute(QStringLiteral("执行(S,A);等待(%1);执行(S,B)").arg(kWaitMs));
            loop.exec();
        }
    }
    spread(state, ms);
}

template <typename Make> void footprint(benchmark::State& state, Make make)
{
    for (auto _ : state) {
        const int threadsBefore = runningThreads();
        const size_t heapBefore = mallinfo2().uordblks;
        const double rssBefore = residentKiB();
        auto made = make();
        state.counters["threads"] = runningThreads() - threadsBefore;
        state.counters["heap_KiB_each"] = double(mallinfo2().uordblks - heapBefore) / 1024.0 / kRunners;
        state.counters["rss_KiB_each"] = (residentKiB() - rssBefore) / kRunners;
    }
}

// kRunners started threads with their event loops, as each runner has one.
struct BareThreads
{
    std::vector<std::unique_ptr<QThread>> list;
    BareThreads()
    {
        for (int i = 0; i < kRunners; ++i) {
            list.push_back(std::make_unique<QThread>());
            list.back()->start();
        }
    }
    ~BareThreads()
    {
        for (auto& thread : list) {
            thread->quit();
            thread->wait();
        }
    }
};

void BM_HundredBareThreads(benchmark::State& state)
{
    footprint(state, [] { return std::make_unique<BareThreads>(); });
}

void BM_HundredRunners(benchmark::State& state)
{
    footprint(state, [] {
        auto list = std::make_unique<std::vector<std::unique_ptr<RCScriptProcess>>>();
        for (int i = 0; i < kRunners; ++i)
            list->push_back(std::make_unique<RCScriptProcess>());
        return list;
    });
}

} // namespace

BENCHMARK(BM_BareSleep)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScriptWaitOnWorker)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScriptWaitOnGui)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HundredBareThreads)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HundredRunners)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return runRegisteredBenchmarks(argc, argv);
}
