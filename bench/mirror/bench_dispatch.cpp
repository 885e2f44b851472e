// The command dispatch's costs, each next to a baseline in the same run:
// - 10,000 "setProgramNode" progress updates through the dispatch on a connected project with a
//   table of 200 programs x 50 layers x 5,000 nodes, next to the same 10,000 calls of the mirror
//   setter that the processor ends in;
// - a 1920 x 1080 stage JPEG, sent as Base64, decoded and set through the dispatch (the GUI
//   thread's time per frame), next to decoding the same JPEG bytes alone.
#include "BenchSupport.h"
#include "mirror/RCCmdProcesserManager.h"
#include "model/RCKeys.h"
#include "tests/support/FakeProject.h"

#include <QBuffer>
#include <QJsonArray>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

#include <memory>

namespace {
constexpr int kPrograms = 200;
constexpr int kLayers = 50;
constexpr int kNodes = 5000;
constexpr int kProgressUpdates = 10000;

struct Connected
{
    FakeProject project{false};
    RCCmdProcesserManager manager;
    QString node;

    Connected()
    {
        manager.process(QStringLiteral("connected"), QJsonObject(), &project);
        QJsonArray programs, layers, nodes;
        for (int i = 0; i < kPrograms; ++i)
            programs.append(
                QJsonObject{{"id", QStringLiteral("{program-%1}").arg(i)}, {"name", "P"}, {"playState", 0}});
        for (int i = 0; i < kLayers; ++i)
            layers.append(QJsonObject{
                {"id", QStringLiteral("{layer-%1}").arg(i)}, {"name", "L"}, {"programLayerType", 0}});
        for (int i = 0; i < kNodes; ++i)
            nodes.append(
                QJsonObject{{"id", QStringLiteral("{node-%1}").arg(i)},
                            {"name", "N"},
                            {"length", 60000},
                            {"programLayerId", QStringLiteral("{layer-%1}").arg((i / kPrograms) % kLayers)},
                            {"programIdArray", QJsonArray{QStringLiteral("{program-%1}").arg(i % kPrograms)}},
                            {"programNodeTitle", "T"}});
        manager.process(QStringLiteral("setProgramTable"),
                        QJsonObject{{"programArray", programs},
                                    {"programLayerArray", layers},
                                    {"programNodeArray", nodes}},
                        &project);
        node = project.mirror()->getProgramNode(kNodes / 2);
    }
};

// A stage-like frame: gradients and noise, so that the JPEG is as large as a real one.
QByteArray stageJpeg()
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 1920, 1080);
    gradient.setColorAt(0, QColor(20, 90, 160));
    gradient.setColorAt(1, QColor(160, 40, 20));
    painter.fillRect(image.rect(), gradient);
    QRandomGenerator random(7);
    for (int i = 0; i < 4000; ++i)
        painter.fillRect(int(random.bounded(1920)), int(random.bounded(1080)), 12, 12,
                         QColor::fromRgb(random.generate()));
    painter.end();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 80);
    return jpeg;
}
} // namespace

void BM_DispatchNodeProgress(benchmark::State& state)
{
    Connected connected;
    // As the link delivers them: parsed, with the "uid" it adds.
    QList<QJsonObject> updates;
    for (int i = 0; i < kProgressUpdates; ++i)
        updates.append(QJsonObject{{"id", connected.node}, {"progress", i + 1}, {"uid", QString::number(i)}});
    const QString command = QStringLiteral("setProgramNode");
    for (auto _ : state) {
        for (const QJsonObject& update : std::as_const(updates))
            connected.manager.process(command, update, &connected.project);
    }
    state.SetItemsProcessed(state.iterations() * kProgressUpdates);
}
BENCHMARK(BM_DispatchNodeProgress)->Unit(benchmark::kMillisecond);

// The mirror call the processor ends in, alone.
void BM_MirrorSetterNodeProgress(benchmark::State& state)
{
    Connected connected;
    IRCStelvaneSyncer* mirror = connected.project.mirror();
    for (auto _ : state) {
        for (int i = 0; i < kProgressUpdates; ++i)
            mirror->setProgramNodePropertyValue(connected.node, RCKeys::Progress(), i + 1);
    }
    state.SetItemsProcessed(state.iterations() * kProgressUpdates);
}
BENCHMARK(BM_MirrorSetterNodeProgress)->Unit(benchmark::kMillisecond);

void BM_DispatchStageImage(benchmark::State& state)
{
    FakeProject project(false);
    RCCmdProcesserManager manager;
    manager.process(QStringLiteral("connected"), QJsonObject(), &project);
    const QByteArray jpeg = stageJpeg();
    const QJsonObject params{{"stageImage", QString::fromLatin1(jpeg.toBase64())}, {"uid", "1"}};
    const QString command = QStringLiteral("setStageImage");
    for (auto _ : state)
        manager.process(command, params, &project);
    state.counters["jpeg_KiB"] = double(jpeg.size()) / 1024.0;
}
BENCHMARK(BM_DispatchStageImage)->Unit(benchmark::kMillisecond);

// Decoding the same JPEG bytes, and nothing else.
void BM_DecodeStageJpegBare(benchmark::State& state)
{
    const QByteArray jpeg = stageJpeg();
    for (auto _ : state) {
        const QImage image = QImage::fromData(jpeg, "JPG");
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DecodeStageJpegBare)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
