// Project load and save against a bare JSON parse and write of the same file, and start-up to the
// first frame against a bare Qt Quick window with the same imports. Run in a Release build:
//
//     QT_QPA_PLATFORM=offscreen build/<you>-rel/bench/project/bench_project
//
// Targets: load <= 10x bare parse, save <= 5x bare write, start-up <= 5x bare window.

#include "BenchSupport.h"
#include "ProjectBenchSupport.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "project/RCLog.h"
#include "project/RCProject.h"
#include "project/RCTemplateProjects.h"
#include "root/RCProjectRoot.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kScenes = 20;
constexpr int kItemsPerScene = 200;

QTemporaryDir* g_home = nullptr;
RCProject* g_project = nullptr;
QString g_packet;

// 20 scenes of 200 catalogue items each, saved once as the packet the benchmarks read.
void buildLargeProject()
{
    RCScenePresenter* scenes = RCScenePresenter::instance();
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QList<IRCControl*> controls = g_project->getControlManager()->getControllist();
    for (int s = 0; s < kScenes; ++s) {
        const QString sceneId =
            scenes->addScene(QStringLiteral("scene %1").arg(s), QString(), QString(), false);
        for (int i = 0; i < kItemsPerScene; ++i) {
            IRCControl* control = controls.at((s * kItemsPerScene + i) % controls.size());
            items->addItem(sceneId, control->getInstantiationParam()->toJson(), false);
        }
    }
    g_packet = g_home->filePath(QStringLiteral("large"));
    g_project->saveProjectPacket(g_packet);
}

QByteArray projectFileBytes()
{
    QFile file(g_packet + QStringLiteral("/project.tavx"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void BM_BareParse(benchmark::State& state)
{
    for (auto _ : state) {
        QFile file(g_packet + QStringLiteral("/project.tavx"));
        file.open(QIODevice::ReadOnly);
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
        benchmark::DoNotOptimize(document.object().size());
    }
}
BENCHMARK(BM_BareParse)->Unit(benchmark::kMillisecond);

void BM_LoadProjectPacket(benchmark::State& state)
{
    for (auto _ : state) {
        if (!g_project->loadProjectPacket(g_packet))
            state.SkipWithError("load failed");
    }
    state.counters["bytes"] = double(projectFileBytes().size());
}
BENCHMARK(BM_LoadProjectPacket)->Unit(benchmark::kMillisecond);

void BM_BareWrite(benchmark::State& state)
{
    const QJsonDocument document = QJsonDocument::fromJson(projectFileBytes());
    const QString path = g_home->filePath(QStringLiteral("bare.json"));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(document.toJson(QJsonDocument::Indented));
    }
}
BENCHMARK(BM_BareWrite)->Unit(benchmark::kMillisecond);

void BM_SaveProjectPacket(benchmark::State& state)
{
    g_project->loadProjectPacket(g_packet);
    for (auto _ : state) {
        if (!g_project->saveProjectPacket(g_packet))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveProjectPacket)->Unit(benchmark::kMillisecond);

// Waits for the window's first frame; false after 10 s.
bool waitForFirstFrame(QQmlApplicationEngine& engine)
{
    if (engine.rootObjects().isEmpty())
        return false;
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
    if (!window)
        return false;
    QEventLoop loop;
    QObject::connect(window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 0;
}

void BM_BareWindow(benchmark::State& state)
{
    const QByteArray qml = R"(
        import QtQuick
        import QtQuick.Controls
        import QtQuick.Window
        Window { width: 1280; height: 800; visible: true; title: "Tavix Editor"
            Column { Label { text: "name" } Repeater { model: ["a"]; Label { text: modelData } } } }
    )";
    for (auto _ : state) {
        QQmlApplicationEngine engine;
        engine.loadData(qml);
        if (!waitForFirstFrame(engine))
            state.SkipWithError("no frame");
    }
}
BENCHMARK(BM_BareWindow)->Unit(benchmark::kMillisecond);

void BM_StartUpToFirstFrame(benchmark::State& state)
{
    for (auto _ : state) {
        QQmlApplicationEngine engine;
        auto project = std::make_unique<RCProjectRoot>(&engine, QStringList{QStringLiteral("Tavix")});
        project->setProject(QJsonObject{{QStringLiteral("sceneArray"), QJsonObject{}}});
        project->initDefaultScene();
        project->setTemplateProjectList(RCTemplateProjects::buildTemplateProjectList());
        engine.rootContext()->setContextProperty(QStringLiteral("project"), project.get());
        engine.rootContext()->setContextProperty(QStringLiteral("rcLog"), RCLog::instance());
        engine.load(QUrl(QStringLiteral("qrc:/qml/main/RCMainWindow.qml")));
        if (!waitForFirstFrame(engine))
            state.SkipWithError("no frame");
        qDeleteAll(engine.rootObjects());
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond);

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!enterIsolatedHome(home))
        return 2;
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    g_home = &home;
    QQmlEngine engine;
    g_project = new RCProjectRoot(&engine, {QStringLiteral("Tavix")});
    buildLargeProject();

    const int result = runRegisteredBenchmarks(argc, argv);
    delete g_project;
    return result;
}
