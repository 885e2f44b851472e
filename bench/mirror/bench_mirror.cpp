// The mirror's costs, each next to a bare baseline in the same run:
// - filling a program table of 200 programs x 50 layers x 5,000 nodes with every mirror signal
//   connected to a counting slot, next to a bare QMap fill of the same records;
// - node progress updates through the mirror's setter (with signals), next to a bare map write;
// - the stage image served by the image provider at full and at a quarter size, next to scaling
//   the image directly;
// - resident memory over 1,000 table replacements with fresh node ids and 400 x 300 thumbnails.
#include "BenchSupport.h"
#include "mirror/RCImageProvider.h"
#include "mirror/RCStelvaneSyncer.h"
#include "model/RCKeys.h"

#include <QFile>
#include <QMetaMethod>
#include <QQuickImageProvider>

#include <memory>
#include <unistd.h>

namespace {
constexpr int kPrograms = 200;
constexpr int kLayers = 50;
constexpr int kNodes = 5000;
constexpr int kProgressUpdates = 10000;

struct TableRecords
{
    QList<QVariantMap> programs;
    QList<QVariantMap> layers;
    QList<QVariantMap> nodes;
};

QString programId(int i)
{
    return QStringLiteral("{program-%1}").arg(i, 4, 10, QLatin1Char('0'));
}

// The records of one table; node ids carry a generation so that each table is new.
TableRecords makeTable(int programs, int layers, int nodes, int generation = 0)
{
    TableRecords table;
    for (int i = 0; i < programs; ++i)
        table.programs.append({{RCKeys::Id(), programId(i)},
                               {RCKeys::Name(), QStringLiteral("Program %1").arg(i)},
                               {RCKeys::State(), 0}});
    for (int i = 0; i < layers; ++i)
        table.layers.append({{RCKeys::Id(), QStringLiteral("{layer-%1}").arg(i)},
                             {RCKeys::Name(), QStringLiteral("Layer %1").arg(i)},
                             {RCKeys::ProgramLayerType(), i % 3}});
    for (int i = 0; i < nodes; ++i) {
        const int program = i % programs;
        table.nodes.append(
            {{RCKeys::Id(), QStringLiteral("{node-%1-%2}").arg(generation).arg(i)},
             {RCKeys::Name(), QStringLiteral("Node %1").arg(i)},
             {RCKeys::State(), 0},
             {RCKeys::Length(), 60000},
             {RCKeys::Progress(), 0},
             {RCKeys::ProgramLayerId(), QStringLiteral("{layer-%1}").arg((i / programs) % layers)},
             {RCKeys::ProgramIdList(), QStringList{programId(program), programId((program + 1) % programs)}},
             {RCKeys::ProgramNodeTitle(), QStringLiteral("Tab %1").arg(i % 7)}});
    }
    return table;
}

std::unique_ptr<RCStelvaneSyncer> makeMirror()
{
    return std::make_unique<RCStelvaneSyncer>(nullptr, QQuickImageProvider::Image,
                                              QQuickImageProvider::ForceAsynchronousImageLoading);
}

// Counts every signal the mirror emits, as the views listening to all of them would be reached.
class SignalCounter : public QObject
{
    Q_OBJECT

public:
    explicit SignalCounter(QObject* source)
    {
        const QMetaObject* meta = source->metaObject();
        const QMetaMethod hit = staticMetaObject.method(staticMetaObject.indexOfSlot("hit()"));
        for (int i = QObject::staticMetaObject.methodCount(); i < meta->methodCount(); ++i) {
            if (meta->method(i).methodType() == QMetaMethod::Signal)
                connect(source, meta->method(i), this, hit);
        }
    }
    qint64 hits = 0;

public Q_SLOTS:
    void hit() { ++hits; }
};

void fill(IRCStelvaneSyncer& mirror, const TableRecords& table)
{
    for (const QVariantMap& program : table.programs)
        mirror.addProgram(program);
    for (const QVariantMap& layer : table.layers)
        mirror.addProgramLayer(layer);
    for (const QVariantMap& node : table.nodes)
        mirror.addProgramNode(node);
}

long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}
} // namespace

void BM_BuildTable(benchmark::State& state)
{
    const TableRecords table = makeTable(kPrograms, kLayers, kNodes);
    auto mirror = makeMirror();
    SignalCounter counter(mirror.get());
    qint64 fillSignals = 0;
    for (auto _ : state) {
        state.PauseTiming();
        mirror->clearProgramNode();
        mirror->clearProgramLayer();
        mirror->clearProgram();
        const qint64 before = counter.hits;
        state.ResumeTiming();
        fill(*mirror, table);
        fillSignals += counter.hits - before;
    }
    state.counters["signals"] = double(fillSignals) / double(state.iterations());
    state.SetItemsProcessed(state.iterations() * (kPrograms + kLayers + kNodes));
}
BENCHMARK(BM_BuildTable)->Unit(benchmark::kMillisecond);

// The same records filed in bare maps by id: the floor under any table.
void BM_BuildTableBareMap(benchmark::State& state)
{
    const TableRecords table = makeTable(kPrograms, kLayers, kNodes);
    QMap<QString, QVariantMap> programs, layers, nodes;
    for (auto _ : state) {
        state.PauseTiming();
        programs.clear();
        layers.clear();
        nodes.clear();
        state.ResumeTiming();
        for (const QVariantMap& program : table.programs)
            programs.insert(program.value(RCKeys::Id()).toString(), program);
        for (const QVariantMap& layer : table.layers)
            layers.insert(layer.value(RCKeys::Id()).toString(), layer);
        for (const QVariantMap& node : table.nodes)
            nodes.insert(node.value(RCKeys::Id()).toString(), node);
        benchmark::DoNotOptimize(nodes.size());
    }
    state.SetItemsProcessed(state.iterations() * (kPrograms + kLayers + kNodes));
}
BENCHMARK(BM_BuildTableBareMap)->Unit(benchmark::kMillisecond);

void BM_NodeProgress(benchmark::State& state)
{
    auto mirror = makeMirror();
    fill(*mirror, makeTable(kPrograms, kLayers, kNodes));
    SignalCounter counter(mirror.get());
    const QString node = mirror->getProgramNode(kNodes / 2);
    qlonglong progress = 0;
    for (auto _ : state) {
        for (int i = 0; i < kProgressUpdates; ++i)
            mirror->setProgramNodeProgress(node, ++progress);
    }
    state.counters["signals"] = double(counter.hits) / double(state.iterations());
    state.SetItemsProcessed(state.iterations() * kProgressUpdates);
}
BENCHMARK(BM_NodeProgress)->Unit(benchmark::kMillisecond);

// The same writes into a bare map of records.
void BM_NodeProgressBareMap(benchmark::State& state)
{
    QMap<QString, QVariantMap> nodes;
    for (const QVariantMap& node : makeTable(kPrograms, kLayers, kNodes).nodes)
        nodes.insert(node.value(RCKeys::Id()).toString(), node);
    const QString node = nodes.firstKey();
    qlonglong progress = 0;
    for (auto _ : state) {
        for (int i = 0; i < kProgressUpdates; ++i)
            nodes[node].insert(RCKeys::Progress(), ++progress);
        benchmark::DoNotOptimize(nodes.size());
    }
    state.SetItemsProcessed(state.iterations() * kProgressUpdates);
}
BENCHMARK(BM_NodeProgressBareMap)->Unit(benchmark::kMillisecond);

// requestImage of the 1920 x 1080 stage image; argument 0 asks for the full size, 1 for 480 x 270.
void BM_RequestStageImage(benchmark::State& state)
{
    RCImageProvider provider(QQuickImageProvider::Image, QQuickImageProvider::ForceAsynchronousImageLoading);
    QImage stage(1920, 1080, QImage::Format_ARGB32);
    stage.fill(Qt::darkCyan);
    provider.setStageImage(stage);
    const QSize requested = state.range(0) ? QSize(480, 270) : QSize();
    for (auto _ : state) {
        QSize size;
        const QImage image = provider.requestImage(provider.getStageImageId(), &size, requested);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RequestStageImage)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same image scaled directly; argument as above (0 copies the full image).
void BM_ScaleImageBare(benchmark::State& state)
{
    QImage stage(1920, 1080, QImage::Format_ARGB32);
    stage.fill(Qt::darkCyan);
    for (auto _ : state) {
        const QImage image =
            state.range(0) ? stage.scaled(480, 270, Qt::IgnoreAspectRatio, Qt::FastTransformation) : stage;
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ScaleImageBare)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Resident memory after 100 and after 1,000 replacements of a table of 20 nodes, each with a fresh
// id and a fresh 400 x 300 thumbnail (as decoded from the server): it stays flat.
void BM_TableReplacementMemory(benchmark::State& state)
{
    constexpr int kReplacements = 1000;
    constexpr int kTableNodes = 20;
    auto mirror = makeMirror();
    long after100 = 0;
    long after1000 = 0;
    for (auto _ : state) {
        for (int round = 1; round <= kReplacements; ++round) {
            mirror->clearProgramNode();
            mirror->clearProgramLayer();
            mirror->clearProgram();
            TableRecords table = makeTable(4, 2, kTableNodes, round);
            for (QVariantMap& node : table.nodes) {
                QImage thumbnail(400, 300, QImage::Format_ARGB32);
                thumbnail.fill(QColor::fromRgb(round % 256, 0, 0));
                node.insert(RCKeys::Thumbnail(), thumbnail);
            }
            fill(*mirror, table);
            if (round == 100)
                after100 = residentKiB();
        }
        after1000 = residentKiB();
    }
    state.counters["rss_after_100_MiB"] = double(after100) / 1024.0;
    state.counters["rss_after_1000_MiB"] = double(after1000) / 1024.0;
    state.counters["growth_ratio"] = after100 > 0 ? double(after1000) / double(after100) : 0.0;
}
BENCHMARK(BM_TableReplacementMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}

#include "bench_mirror.moc"
