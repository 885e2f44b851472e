// Project load and save against a bare JSON parse and write of the same file; start-up to the
// first frame against a bare Qt Quick window with the same imports; and start-up as the program
// makes it with a project of 1,000 items named on its command line, against a bare window's first
// frame plus a bare parse of the same file; and the save dialog's Return on a folder that holds a
// project file of 135 MB, up to the overwrite question, against a bare read of that file's first
// bytes. Each measured one reports its time as a ratio to its bare twin of the same run
// ("x_baseline"); load and save run several times each. Run in a
// Release build, inside a private network namespace (the project root starts the control link's
// discovery):
//
//     QT_QPA_PLATFORM=offscreen unshare -rn scripts/netns-run.sh build/release/bench/project/bench_project

#include "BenchSupport.h"
#include "ProjectBenchSupport.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/RCSceneManager.h"
#include "project/CursorPosProvider.h"
#include "project/RCInterface.h"
#include "project/RCMessageBoxManager.h"
#include "project/RCProject.h"
#include "project/RCTemplateProjects.h"
#include "root/RCProjectRoot.h"
#include "root/RCQmlRegistration.h"
#include "root/RCStartUp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonArray>
#include <QJsonObject>
#include <QQmlComponent>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kScenes = 20;
constexpr int kStartUpScenes = 5;
constexpr int kItemsPerScene = 200;
// Runs per benchmark of the ones that take a second or so (load, save, start-up with a project).
constexpr int kFileRuns = 5;

QTemporaryDir* g_home = nullptr;
QQmlEngine* g_engine = nullptr;
RCProject* g_project = nullptr;
QString g_packet;
// The first kStartUpScenes scenes of the large project (1,000 items), as a packet of its own.
QString g_startUpPacket;
RatioReport g_loadRatios;
RatioReport g_saveRatios;
RatioReport g_startRatios;
RatioReport g_startWithProjectRatios;
RatioReport g_saveDialogRatios;
// The project file of 135 MB that the save dialog finds in its target folder.
constexpr qint64 kLargeFileBytes = 135LL * 1024 * 1024;
QString g_largeFileParent;
const QString kLargeFileName = QStringLiteral("large135");

// 20 scenes of 200 catalogue items each, saved as the packet the benchmarks read; the first 5
// are saved on their own as the start-up packet.
void buildLargeProject()
{
    RCScenePresenter* scenes = RCScenePresenter::instance();
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QList<IRCControl*> controls = g_project->getControlManager()->getControllist();
    for (int s = 0; s < kScenes; ++s) {
        if (s == kStartUpScenes) {
            g_startUpPacket = g_home->filePath(QStringLiteral("startUp"));
            g_project->saveProjectPacket(g_startUpPacket);
        }
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

QString projectFile(const QString& packet)
{
    return packet + QStringLiteral("/project.tavx");
}

QByteArray projectFileBytes(const QString& packet)
{
    QFile file(projectFile(packet));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Reads and parses the packet's project file, as a bare program would.
void bareParse(const QString& packet)
{
    QFile file(projectFile(packet));
    file.open(QIODevice::ReadOnly);
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    benchmark::DoNotOptimize(document.object().size());
}

void BM_BareParse(benchmark::State& state)
{
    timeRuns(state, g_loadRatios, true, [] { bareParse(g_packet); });
}
BENCHMARK(BM_BareParse)->Iterations(kFileRuns)->Unit(benchmark::kMillisecond);

void BM_LoadProjectPacket(benchmark::State& state)
{
    timeRuns(state, g_loadRatios, false, [&] {
        if (!g_project->loadProjectPacket(g_packet))
            state.SkipWithError("load failed");
    });
    state.counters["bytes"] = double(projectFileBytes(g_packet).size());
}
BENCHMARK(BM_LoadProjectPacket)->Iterations(kFileRuns)->Unit(benchmark::kMillisecond);

void BM_BareWrite(benchmark::State& state)
{
    const QJsonDocument document = QJsonDocument::fromJson(projectFileBytes(g_packet));
    const QString path = g_home->filePath(QStringLiteral("bare.json"));
    timeRuns(state, g_saveRatios, true, [&] {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(document.toJson(QJsonDocument::Indented));
    });
}
BENCHMARK(BM_BareWrite)->Iterations(kFileRuns)->Unit(benchmark::kMillisecond);

void BM_SaveProjectPacket(benchmark::State& state)
{
    g_project->loadProjectPacket(g_packet);
    timeRuns(state, g_saveRatios, false, [&] {
        if (!g_project->saveProjectPacket(g_packet))
            state.SkipWithError("save failed");
    });
}
BENCHMARK(BM_SaveProjectPacket)->Iterations(kFileRuns)->Unit(benchmark::kMillisecond);

// Waits for the first frame of window (a QQuickWindow); false after 10 s, or when there is none.
bool waitForFirstFrame(QObject* root)
{
    auto* window = qobject_cast<QQuickWindow*>(root);
    if (!window)
        return false;
    QEventLoop loop;
    QObject::connect(window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 0;
}

// With the modules that the main window's start page imports, as large as the main window and,
// like it, frameless.
const QByteArray kBareWindow = R"(
    import QtQuick
    import QtQuick.Controls.Basic
    import QtQuick.Dialogs
    import QtQuick.Window
    import Qt.labs.platform as Platform
    import Rc.IRCProject
    Window { width: 1024; height: 768; visible: true; title: "Tavix Editor"
        flags: Qt.Window | Qt.FramelessWindowHint
        Column { Label { text: "name" } Repeater { model: ["a"]; Label { text: modelData } } } }
)";

// A bare window's first frame, after a bare parse of the packet's project file when one is given;
// the nanoseconds from the start of the parse to the frame. The shutdown is not timed.
double bareStart(benchmark::State& state, const QString& packet)
{
    QElapsedTimer timer;
    timer.start();
    if (!packet.isEmpty())
        bareParse(packet);
    auto engine = std::make_unique<QQmlApplicationEngine>();
    engine->loadData(kBareWindow);
    if (!waitForFirstFrame(engine->rootObjects().value(0)))
        state.SkipWithError("no frame");
    const double elapsed = double(timer.nsecsElapsed());
    state.PauseTiming();
    engine.reset();
    state.ResumeTiming();
    return elapsed;
}

// The program's start-up to the main window's first frame, as main makes it, with the packet's
// project file on the command line when one is given; the nanoseconds from the engine's creation
// to the frame. The scene manager is process-wide and still holds the scenes of the benchmarks'
// own project (or of the run before): they are dropped before the clock starts, as a fresh
// process has none. Neither that nor the shutdown after the frame is timed (nor counted as CPU
// time).
double programStart(benchmark::State& state, const QString& packet)
{
    state.PauseTiming();
    RCSceneManager::instance()->fromJson(QJsonObject());
    state.ResumeTiming();
    QElapsedTimer timer;
    timer.start();
    auto engine = std::make_unique<QQmlEngine>();
    CursorPosProvider cursor;
    std::unique_ptr<RCProject> project(RCStartUp::createProject(engine.get(), {QStringLiteral("Tavix")}));
    project->initDefaultScene();
    project->setTemplateProjectList(RCTemplateProjects::buildTemplateProjectList());
    if (!packet.isEmpty()) {
        const bool loaded = project->loadStorageProjectFile(projectFile(packet));
        if (!loaded)
            state.SkipWithError("load failed");
        project->setInitState(loaded ? 1 : 2);
    }
    RCStartUp::publishRootContext(engine.get(), project.get(), &cursor);
    std::unique_ptr<QObject> window(RCStartUp::createMainWindow(engine.get()));
    if (!waitForFirstFrame(window.get()))
        state.SkipWithError("no frame");
    const double elapsed = double(timer.nsecsElapsed());
    state.PauseTiming();
    window.reset();
    project.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    engine.reset();
    state.ResumeTiming();
    return elapsed;
}

// Runs start once per iteration and reports the time it returns per run to ratios.
template <typename Start> void timeStarts(benchmark::State& state, RatioReport& ratios, bool baseline, Start start)
{
    double total = 0;
    int64_t count = 0;
    for (auto _ : state) {
        total += start();
        ++count;
    }
    ratios.report(state, total, count, baseline);
}

void BM_BareWindow(benchmark::State& state)
{
    timeStarts(state, g_startRatios, true, [&] { return bareStart(state, QString()); });
}
BENCHMARK(BM_BareWindow)->Unit(benchmark::kMillisecond);

void BM_StartUpToFirstFrame(benchmark::State& state)
{
    timeStarts(state, g_startRatios, false, [&] { return programStart(state, QString()); });
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond);

void BM_BareWindowAndParse1000(benchmark::State& state)
{
    timeStarts(state, g_startWithProjectRatios, true, [&] { return bareStart(state, g_startUpPacket); });
    state.counters["bytes"] = double(projectFileBytes(g_startUpPacket).size());
}
BENCHMARK(BM_BareWindowAndParse1000)->Iterations(kFileRuns)->Unit(benchmark::kMillisecond);

void BM_StartUpWithProject1000(benchmark::State& state)
{
    timeStarts(state, g_startWithProjectRatios, false, [&] { return programStart(state, g_startUpPacket); });
}
BENCHMARK(BM_StartUpWithProject1000)->Iterations(kFileRuns)->Unit(benchmark::kMillisecond);

// A packet of only a project file of at least kLargeFileBytes, in a folder of its own: the scenes
// of the benchmarks' own project, repeated, written as a save writes them.
bool writeLargeFilePacket()
{
    const QJsonArray scenes = QJsonDocument::fromJson(projectFileBytes(g_packet))
                                  .object()
                                  .value(QStringLiteral("sceneArray"))
                                  .toObject()
                                  .value(QStringLiteral("sceneArray"))
                                  .toArray();
    if (scenes.isEmpty())
        return false;
    g_largeFileParent = g_home->filePath(QStringLiteral("largeFileParent"));
    const QString packet = g_largeFileParent + QLatin1Char('/') + kLargeFileName;
    QDir().mkpath(packet + QStringLiteral("/image"));
    QFile file(projectFile(packet));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    qint64 written = file.write("{\n    \"sceneArray\": {\n        \"sceneArray\": [\n");
    // Bounded: every round writes at least one scene.
    for (int i = 0; written < kLargeFileBytes; ++i) {
        if (i > 0)
            written += file.write(",\n");
        const QJsonObject scene = scenes.at(i % scenes.size()).toObject();
        written += file.write(QJsonDocument(scene).toJson(QJsonDocument::Indented));
    }
    written += file.write("]\n    },\n    \"setting\": {},\n    \"version\": \"3.0.0\"\n}\n");
    return file.error() == QFileDevice::NoError;
}

// A bare program's answer to "is this a project file": the file's first block read.
void BM_BareReadOfFirstBytes(benchmark::State& state)
{
    const QString path = projectFile(g_largeFileParent + QLatin1Char('/') + kLargeFileName);
    timeRuns(state, g_saveDialogRatios, true, [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.read(64 * 1024).size());
    });
    state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(BM_BareReadOfFirstBytes)->Iterations(kFileRuns * 4)->Unit(benchmark::kMillisecond);

// The main window's stand-in for the save flow: its content item holds the dialog.
const QByteArray kSaveFlowWindow = R"(
    import QtQuick
    import QtQuick.Window
    import Rc.IRCInterface
    import Rc.IRCProject
    import Rc.RCMessageBoxManager
    import "qrc:/qml/menus"
    Window { id: w; width: 1024; height: 768
        required property IRCProject project
        required property RCMessageBoxManager messages
        required property IRCInterface paths
        property RCSaveFlow flow: RCSaveFlow { mWindow: w; mProject: w.project
            mMessageBoxManager: w.messages; mInterface: w.paths } }
)";

// Return in the save dialog (RCDialogSaveProject::save) with the name of a folder that holds only
// the large project file, through the checks of the dialog and of its save flow, until the flow
// asks "项目存在，是否覆盖？". Opening the dialog and declining the question are not timed.
void BM_SaveDialogReturnOnLargeFile(benchmark::State& state)
{
    QQmlComponent component(g_engine);
    component.setData(kSaveFlowWindow, QUrl(QStringLiteral("qrc:/bench/saveFlow.qml")));
    std::unique_ptr<QObject> window(component.createWithInitialProperties(
        {{QStringLiteral("project"), QVariant::fromValue<QObject*>(g_project)},
         {QStringLiteral("messages"), QVariant::fromValue<QObject*>(g_project->getMessageBoxManager())},
         {QStringLiteral("paths"), QVariant::fromValue<QObject*>(RCInterface::instance())}}));
    QObject* flow = window ? window->property("flow").value<QObject*>() : nullptr;
    if (!flow) {
        state.SkipWithError(qPrintable(component.errorString()));
        return;
    }
    double total = 0;
    int64_t count = 0;
    for (auto _ : state) {
        QMetaObject::invokeMethod(flow, "openDialog", Q_ARG(QVariant, QString()));
        auto* dialog = flow->property("mDialog").value<QObject*>();
        QObject* name = dialog ? dialog->findChild<QObject*>(QStringLiteral("nameField")) : nullptr;
        if (!name) {
            state.SkipWithError("no save dialog");
            return;
        }
        name->setProperty("text", kLargeFileName);
        dialog->setProperty("mFolder", g_largeFileParent);
        QElapsedTimer timer;
        timer.start();
        QMetaObject::invokeMethod(dialog, "save");
        const double elapsed = double(timer.nsecsElapsed());
        const QString question = flow->property("mMessageBoxId").toString();
        if (question.isEmpty()) {
            state.SkipWithError("no overwrite question");
            return;
        }
        state.SetIterationTime(elapsed / 1e9);
        total += elapsed;
        ++count;
        g_project->getMessageBoxManager()->close(question);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    g_saveDialogRatios.report(state, total, count, false);
}
BENCHMARK(BM_SaveDialogReturnOnLargeFile)
    ->Iterations(kFileRuns * 4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!enterIsolatedHome(home))
        return 2;
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    RCQmlRegistration::registerTypes();
    g_home = &home;
    QQmlEngine engine;
    g_engine = &engine;
    g_project = new RCProjectRoot(&engine, {QStringLiteral("Tavix")});
    buildLargeProject();
    if (!writeLargeFilePacket())
        return 2;

    const int result = runRegisteredBenchmarks(argc, argv);
    delete g_project;
    return result;
}
