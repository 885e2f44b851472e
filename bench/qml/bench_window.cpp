// The main window against bare Qt Quick:
// - start-up to the first frame: the whole window (its start page with the templates and stored
//   projects) next to a bare window with the same imports and one rectangle, each made from its
//   compiled component, shown and drawn once;
// - 1,000 message boxes raised through the broker, shown by the window and answered, next to
//   1,000 bare popups made and destroyed: the time per box as a ratio, and the window's object
//   count and the resident set before and after (they stay flat when every answered box goes).
// Run in a Release build, inside a private network namespace (the project root starts the
// control link's discovery), on the offscreen platform:
//
//     unshare -rn scripts/netns-run.sh build/release-bench/bench/qml/bench_window

#include "BenchSupport.h"
#include "ProjectBenchSupport.h"
#include "project/RCMessageBoxManager.h"
#include "project/RCTemplateProjects.h"
#include "root/RCStartUp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

QQmlEngine* g_engine = nullptr;
RCProject* g_project = nullptr;
double g_startBaselineNs = 0;
double g_boxBaselineNs = 0;

const QByteArray kImports = "import QtQuick\nimport QtQuick.Controls.Basic\nimport QtQuick.Dialogs\n"
                            "import QtQuick.Window\nimport Qt.labs.platform as Platform\n"
                            "import Qt5Compat.GraphicalEffects\nimport Rc.IRCProject\n";

const QByteArray kBareWindow = kImports + R"(
Window { width: 1024; height: 768; visible: true; flags: Qt.Window | Qt.FramelessWindowHint
    Rectangle { anchors.fill: parent; color: "#1A1A1C" } })";

const QByteArray kBarePopups = kImports + R"(
Window { id: root; width: 1024; height: 768; visible: true
    Component { id: box; Popup { width: 410; height: 180; modal: true
        contentItem: Rectangle { color: "#2c2c2c"; Text { anchors.centerIn: parent; text: "提示" } } } }
    function showAndDrop() { var popup = box.createObject(root.contentItem); popup.open(); popup.close(); popup.destroy() } })";

// `inputs`: the window's initial properties (the main window's required services).
QQuickWindow* createWindow(QQmlComponent& component, benchmark::State& state, const QVariantMap& inputs = {})
{
    auto* window = qobject_cast<QQuickWindow*>(component.createWithInitialProperties(inputs));
    if (!window)
        state.SkipWithError(qPrintable(component.errorString()));
    return window;
}

void startUp(benchmark::State& state, QQmlComponent& component, bool baseline,
             const QVariantMap& inputs = {})
{
    double total = 0;
    int64_t count = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        std::unique_ptr<QQuickWindow> window(createWindow(component, state, inputs));
        if (!window)
            return;
        benchmark::DoNotOptimize(window->grabWindow());
        total += double(timer.nsecsElapsed());
        ++count;
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const double perRun = count ? total / double(count) : 0;
    if (baseline)
        g_startBaselineNs = perRun;
    else if (g_startBaselineNs > 0)
        state.counters["x_baseline"] = perRun / g_startBaselineNs;
}

void BM_BareWindowFirstFrame(benchmark::State& state)
{
    QQmlComponent component(g_engine);
    component.setData(kBareWindow, QUrl(QStringLiteral("qrc:/bench/bareWindow.qml")));
    startUp(state, component, true);
}
BENCHMARK(BM_BareWindowFirstFrame)->Unit(benchmark::kMillisecond);

void BM_MainWindowFirstFrame(benchmark::State& state)
{
    QQmlComponent component(g_engine, QUrl(QStringLiteral("qrc:/qml/main/RCMainWindow.qml")));
    startUp(state, component, false, RCStartUp::mainWindowInputs(g_engine));
}
BENCHMARK(BM_MainWindowFirstFrame)->Unit(benchmark::kMillisecond);

int objectsBelow(QObject* object)
{
    return int(object->findChildren<QObject*>().size());
}

void BM_BarePopups1000(benchmark::State& state)
{
    QQmlComponent component(g_engine);
    component.setData(kBarePopups, QUrl(QStringLiteral("qrc:/bench/barePopups.qml")));
    std::unique_ptr<QQuickWindow> window(createWindow(component, state));
    if (!window)
        return;
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 1000; ++i) {
            QMetaObject::invokeMethod(window.get(), "showAndDrop");
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        total += double(timer.nsecsElapsed());
    }
    g_boxBaselineNs = total / double(state.iterations());
}
BENCHMARK(BM_BarePopups1000)->Unit(benchmark::kMillisecond);

void BM_MessageBoxes1000(benchmark::State& state)
{
    QQmlComponent component(g_engine, QUrl(QStringLiteral("qrc:/qml/main/RCMainWindow.qml")));
    std::unique_ptr<QQuickWindow> window(createWindow(component, state, RCStartUp::mainWindowInputs(g_engine)));
    if (!window)
        return;
    RCMessageBoxManager* boxes = g_project->getMessageBoxManager();
    auto answerOne = [&] {
        const QString id = boxes->showMessage(QStringLiteral("提示"), QStringLiteral("消息"), true, false);
        boxes->accept(id);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    for (int i = 0; i < 50; ++i)
        answerOne();
    const int objectsBefore = objectsBelow(window.get());
    const double rssBefore = residentSetKiB();
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 1000; ++i)
            answerOne();
        total += double(timer.nsecsElapsed());
    }
    state.counters["objects_before"] = objectsBefore;
    state.counters["objects_after"] = objectsBelow(window.get());
    state.counters["open_boxes"] = boxes->openBoxCount();
    state.counters["rss_growth_KiB"] = residentSetKiB() - rssBefore;
    if (g_boxBaselineNs > 0)
        state.counters["x_baseline"] = total / double(state.iterations()) / g_boxBaselineNs;
}
BENCHMARK(BM_MessageBoxes1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!enterIsolatedOffscreenHome(home))
        return 2;
    QApplication app(argc, argv);
    quietBenchMessages();

    QmlBenchProject bench;
    bench.project->initDefaultScene();
    bench.project->setTemplateProjectList(RCTemplateProjects::buildTemplateProjectList());
    g_engine = &bench.engine;
    g_project = bench.project.get();
    return runRegisteredBenchmarks(argc, argv);
}
