// Editing a large scene through the presenters.
//  - Select all / deselect all per item count: per-item time must stay flat (linear total).
//  - removeItemList of every item, then undo and redo: compare undo and redo to the removal.
//  - 10,000 quick edits of one property: one undo step, heap flat; compare to setting the value
//    directly on the item.

#include "BenchSupport.h"
#include "editing/RCCommandManager.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"

#include <QCoreApplication>
#include <QJsonArray>

#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

qint64 g_now = 0;

QJsonObject itemTemplate()
{
    RCSceneItem item;
    QJsonArray records;
    for (const QJsonValue record : item.toJson().value(QStringLiteral("propertyArray")).toArray()) {
        if (record.toObject().value(QStringLiteral("name")).toString() != RCKeys::Id())
            records.append(record);
    }
    return QJsonObject{{QStringLiteral("propertyArray"), records}};
}

// A fresh document holding one scene of count items, none recorded.
QString makeScene(int count, QStringList* ids)
{
    RCSceneManager::instance()->fromJson(QJsonObject());
    RCCommandManager::instance()->clear();
    const QString scene =
        RCScenePresenter::instance()->addScene(QStringLiteral("S"), QString(), QString(), false);
    const QJsonObject description = itemTemplate();
    QList<QJsonObject> list;
    for (int i = 0; i < count; ++i)
        list.append(description);
    *ids = RCSceneItemPresenter::instance()->addItemList(scene, list, false);
    return scene;
}

void setSelect(const QString& scene, const QStringList& ids, bool select)
{
    RCSceneItemPresenter* p = RCSceneItemPresenter::instance();
    for (const QString& id : ids)
        p->setPropertyValue(scene, id, RCKeys::Select(), select, false);
}

void BM_SelectAllThenDeselectAll(benchmark::State& state)
{
    QStringList ids;
    const QString scene = makeScene(int(state.range(0)), &ids);
    for (auto _ : state) {
        setSelect(scene, ids, true);
        setSelect(scene, ids, false);
    }
    state.SetComplexityN(state.range(0));
    state.counters["per_item_ns"] =
        benchmark::Counter(double(state.range(0)) * 2,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SelectAllThenDeselectAll)->Arg(250)->Arg(1000)->Arg(4000)->Arg(8000)->Complexity(benchmark::oN);

enum class Phase
{
    Remove,
    Undo,
    Redo
};

void removalPhase(benchmark::State& state, Phase phase)
{
    QStringList ids;
    for (auto _ : state) {
        state.PauseTiming();
        const QString scene = makeScene(1000, &ids);
        if (phase != Phase::Remove)
            RCSceneItemPresenter::instance()->removeItemList(scene, ids, true);
        if (phase == Phase::Redo)
            RCCommandManager::instance()->undo();
        state.ResumeTiming();
        switch (phase) {
        case Phase::Remove:
            RCSceneItemPresenter::instance()->removeItemList(scene, ids, true);
            break;
        case Phase::Undo:
            RCCommandManager::instance()->undo();
            break;
        case Phase::Redo:
            RCCommandManager::instance()->redo();
            break;
        }
    }
}

void BM_RemoveAll1000(benchmark::State& state)
{
    removalPhase(state, Phase::Remove);
}
BENCHMARK(BM_RemoveAll1000)->Unit(benchmark::kMillisecond);

void BM_UndoRemoveAll1000(benchmark::State& state)
{
    removalPhase(state, Phase::Undo);
}
BENCHMARK(BM_UndoRemoveAll1000)->Unit(benchmark::kMillisecond);

void BM_RedoRemoveAll1000(benchmark::State& state)
{
    removalPhase(state, Phase::Redo);
}
BENCHMARK(BM_RedoRemoveAll1000)->Unit(benchmark::kMillisecond);

void BM_Baseline_DirectSet10000(benchmark::State& state)
{
    QStringList ids;
    const QString scene = makeScene(1, &ids);
    IRCObject* item = RCSceneManager::instance()->getScene(scene)->getItemById(ids[0]);
    int value = 0;
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i)
            item->setPropertyValue(RCKeys::X(), ++value);
    }
}
BENCHMARK(BM_Baseline_DirectSet10000)->Unit(benchmark::kMillisecond);

void BM_QuickEdits10000(benchmark::State& state)
{
    QStringList ids;
    const QString scene = makeScene(1, &ids);
    RCSceneItemPresenter* p = RCSceneItemPresenter::instance();
    int value = 0;
    double steps = 0;
    double heapGrowth = 0;
    for (auto _ : state) {
        RCCommandManager::instance()->clear();
        for (int i = 0; i < 1000; ++i)
            p->setPropertyValue(scene, ids[0], RCKeys::X(), ++value, true);
        const size_t after1000 = mallinfo2().uordblks;
        for (int i = 1000; i < 10000; ++i)
            p->setPropertyValue(scene, ids[0], RCKeys::X(), ++value, true);
        heapGrowth = double(mallinfo2().uordblks) - double(after1000);
        state.PauseTiming();
        steps = 0;
        while (RCCommandManager::instance()->canUndo()) {
            RCCommandManager::instance()->undo();
            ++steps;
        }
        state.ResumeTiming();
    }
    state.counters["undo_steps"] = steps;
    state.counters["heap_growth_9000_edits_B"] = heapGrowth;
}
BENCHMARK(BM_QuickEdits10000)->Unit(benchmark::kMillisecond);

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv, [] {
        qInstallMessageHandler(quiet);
        RCSceneItemPresenter::instance();
        RCCommandManager::instance()->setClock([] { return g_now; }); // every edit inside the merge window
    });
}
