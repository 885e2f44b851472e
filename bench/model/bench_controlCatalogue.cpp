// Building the control catalogue (43 kinds, 330 template rows) into a fresh manager, against two
// baselines measured in the same run: entering 43 bare controls, and filling one property set
// with as many rows as the catalogue's templates carry.
#include "BenchSupport.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCProperties.h"

#include <QCoreApplication>
#include <QStringList>

#include <benchmark/benchmark.h>

namespace {

void BM_BuildCatalogue(benchmark::State& state)
{
    for (auto _ : state) {
        RCControlManager manager;
        benchmark::DoNotOptimize(RCControlCatalogue::build(&manager));
    }
}
BENCHMARK(BM_BuildCatalogue)->Unit(benchmark::kMicrosecond);

// The part of the build that does not depend on the tables: 43 controls with their own rows and
// template defaults.
void BM_Baseline_BareControls(benchmark::State& state)
{
    for (auto _ : state) {
        RCControlManager manager;
        for (int kind = 1; kind <= 46; ++kind) {
            if (kind == 20 || kind == 25 || kind == 41)
                continue;
            benchmark::DoNotOptimize(manager.addControl(
                IRCControl::EIRCControlType(kind), QStringLiteral("name"),
                QStringList{QStringLiteral("Mirel")}, QStringLiteral("qrc:/control/custom.png")));
        }
    }
}
BENCHMARK(BM_Baseline_BareControls)->Unit(benchmark::kMicrosecond);

// The rows alone: 330 properties added to one set.
void BM_Baseline_PropertyRows(benchmark::State& state)
{
    QStringList keys;
    for (int i = 0; i < 330; ++i)
        keys << QStringLiteral("Key%1").arg(i);
    for (auto _ : state) {
        RCProperties properties;
        for (const QString& key : keys)
            properties.addProperty(key, QStringLiteral("描述"), false, true, QString(),
                                   IRCPropertyDisplay::EIRCPropertyDisplayType_Int, 1);
    }
}
BENCHMARK(BM_Baseline_PropertyRows)->Unit(benchmark::kMicrosecond);

// What a drop reads: the template JSON of every kind.
void BM_TemplateJsonOfEveryKind(benchmark::State& state)
{
    RCControlManager manager;
    RCControlCatalogue::build(&manager);
    for (auto _ : state) {
        for (IRCControl* control : manager.getControllist())
            benchmark::DoNotOptimize(control->getInstantiationParam()->toJson());
    }
}
BENCHMARK(BM_TemplateJsonOfEveryKind)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
