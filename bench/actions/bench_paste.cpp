// Paste and undo of 1,000 copied scene items through the actions, next to the item presenter
// adding the same 1,000 items as one undo step (the least a paste must do), in the same run; and
// the memory the undo history keeps per pasted item, next to the memory of a live item. Run in a
// Release build:
//
//     build/release-bench/bench/actions/bench_paste
#include "BenchSupport.h"
#include "actions/IRCAction.h"
#include "actions/RCActionManager.h"
#include "editing/RCCommandManager.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCSceneManager.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QUuid>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>

namespace {
constexpr int kItems = 1000;

IRCActionManager* g_actions = nullptr;
QString g_sceneId;
QList<QJsonObject> g_copies;

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

RCSceneItemPresenter* items()
{
    return RCSceneItemPresenter::instance();
}

// A scene of kItems labels, all selected and copied; the scene is emptied again.
void prepare()
{
    std::unique_ptr<IRCControlManager> controls(RCControlManager::create());
    RCControlCatalogue::build(controls.get());
    const QJsonObject label =
        controls->getControlByType(IRCControl::EIRCControlType_Label)->getInstantiationParam()->toJson();
    g_sceneId = RCScenePresenter::instance()->addScene(QStringLiteral("bench"), QString(), QString(), false);
    for (int i = 0; i < kItems; ++i) {
        const QString id = items()->addItem(g_sceneId, label, false);
        items()->setPos(g_sceneId, id, QPoint(i % 40 * 20, i / 40 * 20), false);
        items()->setPropertyValue(g_sceneId, id, RCKeys::Select(), true, false);
        g_copies.append(items()->getItemJson(g_sceneId, id).toObject());
    }
    g_actions->execAction(g_sceneId, QString(), IRCAction::EActionType_CopySceneItem, QVariant());
    items()->removeItemList(g_sceneId, items()->getItemIds(g_sceneId), false);
    RCCommandManager::instance()->clear();
}

// The copies with new ids, as a paste adds them.
QList<QJsonObject> freshCopies()
{
    QList<QJsonObject> copies = g_copies;
    for (QJsonObject& copy : copies) {
        QJsonArray records = copy.value(QStringLiteral("propertyArray")).toArray();
        for (qsizetype i = 0; i < records.size(); ++i) {
            QJsonObject record = records.at(i).toObject();
            if (record.value(QStringLiteral("name")).toString() == RCKeys::Id()) {
                record.insert(QStringLiteral("value"), QUuid::createUuid().toString());
                records.replace(i, record);
            }
        }
        copy.insert(QStringLiteral("propertyArray"), records);
    }
    return copies;
}

void emptyScene()
{
    items()->removeItemList(g_sceneId, items()->getItemIds(g_sceneId), false);
    RCCommandManager::instance()->clear();
}

void BM_AddItemList(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        const QList<QJsonObject> copies = freshCopies();
        state.ResumeTiming();
        items()->addItemList(g_sceneId, copies, true);
        state.PauseTiming();
        emptyScene();
        state.ResumeTiming();
    }
}

void BM_Paste(benchmark::State& state)
{
    for (auto _ : state) {
        if (g_actions->execAction(g_sceneId, QString(), IRCAction::EActionType_PasteSceneItem, QVariant()) !=
            0)
            state.SkipWithError("paste failed");
        state.PauseTiming();
        emptyScene();
        state.ResumeTiming();
    }
}

void BM_UndoAddItemList(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        items()->addItemList(g_sceneId, freshCopies(), true);
        state.ResumeTiming();
        g_actions->execAction(g_sceneId, QString(), IRCAction::EActionType_Undo, QVariant());
        state.PauseTiming();
        emptyScene();
        state.ResumeTiming();
    }
}

void BM_UndoPaste(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        g_actions->execAction(g_sceneId, QString(), IRCAction::EActionType_PasteSceneItem, QVariant());
        state.ResumeTiming();
        g_actions->execAction(g_sceneId, QString(), IRCAction::EActionType_Undo, QVariant());
        state.PauseTiming();
        emptyScene();
        state.ResumeTiming();
    }
}

// Heap per pasted item with its undo record, against the same items added without one.
void BM_MemoryPerItem(benchmark::State& state)
{
    double liveBytes = 0;
    double withUndoBytes = 0;
    for (auto _ : state) {
        const QList<QJsonObject> copies = freshCopies();
        size_t before = heapInUse();
        items()->addItemList(g_sceneId, copies, false);
        liveBytes = double(heapInUse() - before) / kItems;
        emptyScene();
        before = heapInUse();
        g_actions->execAction(g_sceneId, QString(), IRCAction::EActionType_PasteSceneItem, QVariant());
        withUndoBytes = double(heapInUse() - before) / kItems;
        emptyScene();
    }
    state.counters["item_B"] = liveBytes;
    state.counters["undo_B"] = withUndoBytes - liveBytes;
    state.counters["undo_x_item"] = (withUndoBytes - liveBytes) / liveBytes;
}

} // namespace

BENCHMARK(BM_AddItemList)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoAddItemList)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoPaste)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryPerItem)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    std::unique_ptr<IRCActionManager> actions(RCActionManager::create(nullptr));
    g_actions = actions.get();
    prepare();
    return runRegisteredBenchmarks(argc, argv);
}
