// A project of 50 scenes x 100 scene items (5,000 items with their default rows) built
// from JSON and written back, next to a bare QJsonDocument parse and write of the same
// text in the same run; and the clearing of one scene at growing item counts.
//
// Memory: "model_bytes_per_row" is the heap that the built scene manager holds per
// property row (mallinfo2 before and after fromJson); "load_peak_rss_bytes_per_row" is the
// peak resident size of parsing the text and building the manager from it, above the
// resident size with only the text loaded (Linux: the peak is reset through clear_refs),
// reported by BM_LoadPeak with the project's "rows" and "text_bytes".
#include "BenchSupport.h"
#include "model/RCProperties.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

constexpr int kScenes = 50;
constexpr int kItemsPerScene = 100;

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

RCScene* makeScene(int s, int items)
{
    auto* scene =
        new RCScene(QStringLiteral("场景%1").arg(s), QString(), QStringLiteral("qrc:/sceneBackground.png"));
    for (int i = 0; i < items; ++i) {
        auto* item = new RCSceneItem;
        item->setPos(QPoint(i * 7 % 960, i * 13 % 540));
        item->setPropertyValue(QStringLiteral("Name"), QStringLiteral("按钮%1").arg(i));
        scene->addItem(item);
    }
    return scene;
}

struct Project
{
    QByteArray text;
    QJsonDocument doc;
    int rows = 0;
};

const Project& project()
{
    static const Project p = [] {
        Project made;
        RCSceneManager manager;
        for (int s = 0; s < kScenes; ++s) {
            manager.addScene(makeScene(s, kItemsPerScene), -1);
        }
        for (RCScene* scene : manager.getSceneList()) {
            made.rows += scene->getProperties()->count();
            for (IRCObject* item : scene->getItemList()) {
                made.rows += item->getProperties()->count();
            }
        }
        made.text = QJsonDocument(manager.toJson()).toJson(QJsonDocument::Compact);
        made.doc = QJsonDocument::fromJson(made.text);
        return made;
    }();
    return p;
}

void BM_BareParse(benchmark::State& state)
{
    const QByteArray& text = project().text;
    for (auto _ : state) {
        QJsonDocument doc = QJsonDocument::fromJson(text);
        benchmark::DoNotOptimize(doc);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}

void BM_BuildFromParsed(benchmark::State& state)
{
    const QJsonObject root = project().doc.object();
    for (auto _ : state) {
        auto* manager = new RCSceneManager;
        manager->fromJson(root);
        state.PauseTiming();
        delete manager;
        state.ResumeTiming();
    }
    state.counters["rows"] = project().rows;
}

void BM_ParseAndBuild(benchmark::State& state)
{
    const QByteArray& text = project().text;
    for (auto _ : state) {
        auto* manager = new RCSceneManager;
        manager->fromJson(QJsonDocument::fromJson(text).object());
        state.PauseTiming();
        delete manager;
        state.ResumeTiming();
    }
}

void BM_BareWrite(benchmark::State& state)
{
    const QJsonDocument& doc = project().doc;
    for (auto _ : state) {
        QByteArray out = doc.toJson(QJsonDocument::Compact);
        benchmark::DoNotOptimize(out);
    }
}

void BM_ModelToJson(benchmark::State& state)
{
    RCSceneManager manager;
    manager.fromJson(project().doc.object());
    for (auto _ : state) {
        QJsonObject json = manager.toJson();
        benchmark::DoNotOptimize(json);
    }
}

void BM_ModelWrite(benchmark::State& state)
{
    RCSceneManager manager;
    manager.fromJson(project().doc.object());
    for (auto _ : state) {
        QByteArray out = QJsonDocument(manager.toJson()).toJson(QJsonDocument::Compact);
        benchmark::DoNotOptimize(out);
    }
}

void BM_ClearScene(benchmark::State& state)
{
    const int items = int(state.range(0));
    const QJsonObject selectedItem{
        {"propertyArray", QJsonArray{QJsonObject{{"name", "Select"}, {"value", true}}}}};
    for (auto _ : state) {
        state.PauseTiming();
        auto* scene = makeScene(0, items);
        // Every other item selected, so the selection is maintained while clearing.
        for (int i = 0; i < items; i += 2) {
            scene->getItem(i)->setPropertyValue(QStringLiteral("Select"), true);
        }
        state.ResumeTiming();
        scene->fromJson(QJsonObject());
        state.PauseTiming();
        delete scene;
        state.ResumeTiming();
    }
    state.SetComplexityN(items);
}

void BM_Memory(benchmark::State& state)
{
    const QJsonObject root = project().doc.object();
    for (auto _ : state) {
        malloc_trim(0);
        const size_t before = heapInUse();
        auto* manager = new RCSceneManager;
        manager->fromJson(root);
        const size_t after = heapInUse();
        state.counters["model_bytes_per_row"] = double(after - before) / project().rows;
        delete manager;
    }
}

BENCHMARK(BM_BareParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildFromParsed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseAndBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelToJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearScene)->RangeMultiplier(2)->Range(500, 8000)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memory)->Iterations(1);

// Resident sizes of this process in bytes, from /proc/self/status ("VmRSS", "VmHWM").
long long procStatusBytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) {
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
        }
    }
    return -1;
}

// Peak resident memory of loading the project text: parsing it and building the scene
// manager from the parsed document while both are alive, above the resident size with
// only the text in memory. Skipped where the peak cannot be reset.
void BM_LoadPeak(benchmark::State& state)
{
    const Project& p = project();
    const QByteArray text = p.text;
    for (auto _ : state) {
        malloc_trim(0);
        const long long base = procStatusBytes("VmRSS");
        QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
        const bool reset = clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
        clearRefs.close();
        const QJsonDocument doc = QJsonDocument::fromJson(text);
        RCSceneManager manager;
        manager.fromJson(doc.object());
        const long long peak = procStatusBytes("VmHWM");
        if (!reset || base <= 0 || peak <= 0) {
            state.SkipWithError("the peak resident size cannot be reset here");
            break;
        }
        state.counters["load_peak_rss_bytes_per_row"] = double(peak - base) / p.rows;
    }
    state.counters["rows"] = p.rows;
    state.counters["text_bytes"] = double(text.size());
}
BENCHMARK(BM_LoadPeak)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv, [] {
        // The registry logs every registration at debug level; measure the model, not the log.
        QLoggingCategory::setFilterRules(QStringLiteral("object.manager.debug=false"));
    });
}
