// Cost of the typed value conversions against hand-written baselines doing the bare minimum for
// the same value (formatting or parsing the numbers, building the JSON value). Report the ratio
// of each BM_* to its BM_Baseline_* counterpart.

#include "model/RCTypedValue.h"

#include <QColor>
#include <QJsonArray>
#include <QJsonValue>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <benchmark/benchmark.h>

namespace {

void BM_Baseline_FormatSize(benchmark::State& state)
{
    const QSize size(960, 540);
    for (auto _ : state) {
        QJsonValue json(QStringLiteral("#Size#") + QString::number(size.width()) + u'x' +
                        QString::number(size.height()));
        benchmark::DoNotOptimize(json);
    }
}
BENCHMARK(BM_Baseline_FormatSize);

void BM_WriteSize(benchmark::State& state)
{
    const QVariant value(QSize(960, 540));
    for (auto _ : state) {
        QJsonValue json = variantToJsonValue(value);
        benchmark::DoNotOptimize(json);
    }
}
BENCHMARK(BM_WriteSize);

void BM_Baseline_ParseSize(benchmark::State& state)
{
    const QJsonValue json(QStringLiteral("#Size#960x540"));
    for (auto _ : state) {
        const QStringList parts = json.toString().mid(6).split(u'x');
        QVariant value(QSize(parts[0].toInt(), parts[1].toInt()));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_Baseline_ParseSize);

void BM_ReadSize(benchmark::State& state)
{
    const QJsonValue json(QStringLiteral("#Size#960x540"));
    for (auto _ : state) {
        QVariant value = jsonValueToVariant(json);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ReadSize);

void BM_Baseline_PlainString(benchmark::State& state)
{
    const QJsonValue json(QStringLiteral("#ffffff"));
    for (auto _ : state) {
        QVariant value(json.toString());
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_Baseline_PlainString);

// Colours as text, the common case in templates: must stay close to a plain copy.
void BM_ReadPlainString(benchmark::State& state)
{
    const QJsonValue json(QStringLiteral("#ffffff"));
    for (auto _ : state) {
        QVariant value = jsonValueToVariant(json);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ReadPlainString);

// A scene item's worth of mixed values written and read back, against copying the same values
// into and out of a JSON array without conversion.
QVariantList itemValues()
{
    return {QStringLiteral("{6f1c2d7e-0000-4000-8000-000000000001}"),
            QStringLiteral("按钮"),
            12,
            34.5,
            200,
            80,
            0.0,
            true,
            false,
            QStringLiteral("#ffffff"),
            14,
            QSize(960, 540),
            QRect(-5, -3, 10, 10),
            QColor(255, 0, 0),
            QStringList{QStringLiteral("Mirel"), QStringLiteral("Vexa")}};
}

void BM_Baseline_ItemValues(benchmark::State& state)
{
    const QVariantList values = itemValues();
    const QJsonArray prepared = QJsonArray::fromVariantList(values);
    for (auto _ : state) {
        QJsonArray array;
        for (const QJsonValue v : prepared)
            array.append(v);
        QVariantList back = array.toVariantList();
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_Baseline_ItemValues);

void BM_ItemValuesRoundTrip(benchmark::State& state)
{
    const QVariantList values = itemValues();
    for (auto _ : state) {
        QVariantList back;
        for (const QVariant& v : values)
            back.append(jsonValueToVariant(variantToJsonValue(v)));
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_ItemValuesRoundTrip);

} // namespace

BENCHMARK_MAIN();
