// Start-up and load of the program as users run it: its binary is executed with a home of its
// own and timed from the exec to the first frame that Qt's render loop reports on its output
// ("qt.scenegraph.time.renderloop"):
//   - BM_ProgramStart: without a project and with a project of 1,000 and of 5,000 catalogue items
//     (5 and 25 scenes of 200) named on its command line;
//   - BM_ProgramLoad: with a project of 10 scenes of 1,000 and of 5,000 catalogue items named on
//     its command line, as a file manager opens a packet; the load lasts until the first frame,
//     which shows the project's first scene. Once the program has drawn it and then idled for
//     4 s (the parse freed, the views made), its resident set is read from /proc: the memory after
//     the load.
// Its twin, bare_startup (a bare window after a bare parse of the same file), is started and timed
// the same way; the starts of the two alternate, each going first in turn. With
// TAVIX_PREVIOUS_PROGRAM and TAVIX_BEFORE_LAST_PROGRAM naming the programs of earlier builds, their
// starts alternate with them as well. Counters: "x_twin", the program's median over the twin's,
// "x_previous" and "x_before_last", over the earlier builds'. Every start is also written to
// stderr as a line
//     FIGURE <figure> <new|previous|before-last|twin> <value> <ms|MB>
// (figures "startup", "startup-1000", "startup-5000", "load-1000", "load-5000", "memory-1000",
// "memory-5000"), in the order of the rounds, for scripts/bench-figures.py. Run in a Release
// build, inside a private network namespace (the programs start the control link's discovery):
//
//     export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
//     unshare -rn scripts/netns-run.sh build/release/bench/app/bench_programStart

#include "BenchSupport.h"
#include "ProjectBenchSupport.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "root/RCProjectRoot.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QQmlEngine>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kItemsPerScene = 200;
// Starts of each program per benchmark.
constexpr int kRuns = 5;
constexpr int kFrameTimeoutMs = 60000;
// How long a loaded program idles after its first frame before its memory is read.
constexpr int kSettleMs = 4000;
constexpr int kLoadScenes = 10;

QTemporaryDir* g_home = nullptr;
// The project file of each item count.
QMap<int, QString> g_projectFiles;
// The project file of 10 scenes of each item count.
QMap<int, QString> g_loadFiles;

// Scenes of 200 catalogue items each (every kind in turn); saved as a packet of 1,000 items after
// the 5th scene and of 5,000 after the 25th.
void buildProjects(RCProject* project)
{
    RCScenePresenter* scenes = RCScenePresenter::instance();
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QList<IRCControl*> controls = project->getControlManager()->getControllist();
    for (int s = 0; s < 25; ++s) {
        const QString sceneId =
            scenes->addScene(QStringLiteral("scene %1").arg(s), QString(), QString(), false);
        for (int i = 0; i < kItemsPerScene; ++i) {
            IRCControl* control = controls.at((s * kItemsPerScene + i) % controls.size());
            items->addItem(sceneId, control->getInstantiationParam()->toJson(), false);
        }
        const int count = (s + 1) * kItemsPerScene;
        if (count == 1000 || count == 5000) {
            const QString packet = g_home->filePath(QStringLiteral("items%1").arg(count));
            if (project->saveProjectPacket(packet))
                g_projectFiles.insert(count, packet + QStringLiteral("/project.tavx"));
        }
    }
}

// Packets of 10 scenes that hold the first count items of the 5,000 packet, a tenth each in their
// order, for count 1,000 and 5,000; the scenes' own values, the rest of the file and the pictures
// as the 5,000 packet has them.
void buildLoadProjects()
{
    QFile source(g_projectFiles.value(5000));
    if (!source.open(QIODevice::ReadOnly))
        return;
    const QJsonObject root = QJsonDocument::fromJson(source.readAll()).object();
    const QJsonArray scenes = root.value(QLatin1String("sceneArray")).toObject().value(QLatin1String("sceneArray")).toArray();
    QJsonArray items;
    for (const QJsonValue& scene : scenes) {
        for (const QJsonValue& item : scene.toObject().value(QLatin1String("itemArray")).toArray())
            items.append(item);
    }
    const QString sourcePacket = QFileInfo(source.fileName()).absolutePath();
    for (const int count : {1000, 5000}) {
        if (scenes.size() < kLoadScenes || items.size() < count)
            return;
        QJsonArray tenScenes;
        for (int s = 0; s < kLoadScenes; ++s) {
            QJsonObject scene = scenes.at(s).toObject();
            QJsonArray sceneItems;
            for (int i = s * count / kLoadScenes; i < (s + 1) * count / kLoadScenes; ++i)
                sceneItems.append(items.at(i));
            scene.insert(QLatin1String("itemArray"), sceneItems);
            tenScenes.append(scene);
        }
        QJsonObject project = root;
        QJsonObject outer = project.value(QLatin1String("sceneArray")).toObject();
        outer.insert(QLatin1String("sceneArray"), tenScenes);
        project.insert(QLatin1String("sceneArray"), outer);
        const QString packet = g_home->filePath(QStringLiteral("ten%1").arg(count));
        QDir(packet).mkpath(QStringLiteral("image"));
        const QDir pictures(sourcePacket + QStringLiteral("/image"));
        for (const QString& name : pictures.entryList(QDir::Files))
            QFile::copy(pictures.filePath(name), packet + QStringLiteral("/image/") + name);
        QFile file(packet + QStringLiteral("/project.tavx"));
        const QByteArray text = QJsonDocument(project).toJson(QJsonDocument::Indented);
        if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size())
            g_loadFiles.insert(count, file.fileName());
    }
}

// Starts the program with the arguments and a home of its own; the seconds from the start to the
// first frame that its render loop reports, or -1 when it reports none within a minute. With
// residentMiB, the program's resident set once it has idled kSettleMs after that frame. The
// program is ended afterwards, untimed.
double secondsToFirstFrame(const QString& program, const QStringList& arguments, double* residentMiB = nullptr)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral(".cache")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral(".local/share")));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("qt.scenegraph.time.renderloop.debug=true"));
    if (!environment.contains(QStringLiteral("QT_QUICK_BACKEND")))
        environment.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    QByteArray output;
    double seconds = -1;
    while (timer.elapsed() < kFrameTimeoutMs &&
           process.waitForReadyRead(int(kFrameTimeoutMs - timer.elapsed()))) {
        output += process.readAll().toLower();
        // "Frame rendered with 'software' renderloop …", "… syncAndRender: frame rendered in …"
        if (output.contains("frame rendered")) {
            seconds = double(timer.nsecsElapsed()) / 1e9;
            break;
        }
    }
    if (seconds >= 0 && residentMiB) {
        // its terminal read meanwhile, so that the program never waits on a full pipe
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < kSettleMs && process.state() == QProcess::Running) {
            process.waitForReadyRead(int(std::max<qint64>(1, kSettleMs - settle.elapsed())));
            process.readAll();
        }
        *residentMiB = process.state() == QProcess::Running ? residentSetKiB(process.processId()) / 1024 : 0;
        if (*residentMiB <= 0)
            seconds = -1;
    }
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
    }
    return seconds;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void writeFigure(const QString& figure, const QString& variant, double value, const char* unit)
{
    std::fprintf(stderr, "FIGURE %s %s %.1f %s\n", qPrintable(figure), qPrintable(variant), value, unit);
}

// Starts the twin, the program and the earlier builds (when named) in turn, each going first in
// turn, once per iteration, with the project file; reports their start-up (and with memory, the
// resident set after the load) as figure.
void timeStarts(benchmark::State& state, const QString& projectFile, const QString& figure, bool memory)
{
    const QStringList arguments = projectFile.isEmpty() ? QStringList() : QStringList{projectFile};
    QStringList programs{QStringLiteral(TAVIX_BARE_STARTUP), QStringLiteral(TAVIX_PROGRAM)};
    QStringList variants{QStringLiteral("twin"), QStringLiteral("new")};
    const std::pair<const char*, QString> earlier[] = {{"TAVIX_PREVIOUS_PROGRAM", QStringLiteral("previous")},
                                                       {"TAVIX_BEFORE_LAST_PROGRAM", QStringLiteral("before-last")}};
    for (const auto& [variable, variant] : earlier) {
        const QString program = qEnvironmentVariable(variable);
        if (!program.isEmpty()) {
            programs << program;
            variants << variant;
        }
    }
    std::vector<std::vector<double>> times(size_t(programs.size()));
    std::vector<std::vector<double>> resident(size_t(programs.size()));
    int round = 0;
    for (auto _ : state) {
        for (int k = 0; k < programs.size(); ++k) {
            const int which = (k + round) % int(programs.size());
            double mib = 0;
            const double seconds = secondsToFirstFrame(programs.at(which), arguments, memory ? &mib : nullptr);
            if (seconds < 0) {
                state.SkipWithError(qPrintable(QStringLiteral("no first frame from ") + programs.at(which)));
                return;
            }
            times[size_t(which)].push_back(seconds);
            resident[size_t(which)].push_back(mib);
        }
        // in the order of the variants, so that the n-th line of each is of the same round
        for (int which = 0; which < programs.size(); ++which) {
            const QString load = memory ? figure.arg(QStringLiteral("load")) : figure;
            writeFigure(load, variants.at(which), times[size_t(which)].back() * 1e3, "ms");
            if (memory)
                writeFigure(figure.arg(QStringLiteral("memory")), variants.at(which), resident[size_t(which)].back(), "MB");
        }
        state.SetIterationTime(times[1].back());
        ++round;
    }
    state.counters["twin_ms"] = median(times[0]) * 1e3;
    state.counters["median_ms"] = median(times[1]) * 1e3;
    state.counters["x_twin"] = median(times[1]) / median(times[0]);
    if (memory) {
        state.counters["twin_MiB"] = median(resident[0]);
        state.counters["resident_MiB"] = median(resident[1]);
    }
    for (int which = 2; which < programs.size(); ++which) {
        const std::string name = QString(variants.at(which)).replace(QLatin1Char('-'), QLatin1Char('_')).toStdString();
        state.counters[name + "_ms"] = median(times[size_t(which)]) * 1e3;
        state.counters["x_" + name] = median(times[1]) / median(times[size_t(which)]);
        if (memory)
            state.counters[name + "_MiB"] = median(resident[size_t(which)]);
    }
}

void BM_ProgramStart(benchmark::State& state)
{
    const int items = int(state.range(0));
    if (items && !g_projectFiles.contains(items)) {
        state.SkipWithError("the project was not saved");
        return;
    }
    timeStarts(state, g_projectFiles.value(items),
               items ? QStringLiteral("startup-%1").arg(items) : QStringLiteral("startup"), false);
}
BENCHMARK(BM_ProgramStart)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(5000)
    ->Iterations(kRuns)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ProgramLoad(benchmark::State& state)
{
    const int items = int(state.range(0));
    if (!g_loadFiles.contains(items)) {
        state.SkipWithError("the project was not saved");
        return;
    }
    timeStarts(state, g_loadFiles.value(items), QStringLiteral("%1-") + QString::number(items), true);
}
BENCHMARK(BM_ProgramLoad)->Arg(1000)->Arg(5000)->Iterations(kRuns)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!enterIsolatedOffscreenHome(home))
        return 2;
    QGuiApplication app(argc, argv);
    quietBenchMessages();
    RCQmlRegistration::registerTypes();
    g_home = &home;
    {
        QQmlEngine engine;
        RCProjectRoot project(&engine, {QStringLiteral("Tavix")});
        buildProjects(&project);
    }
    buildLoadProjects();
    return runRegisteredBenchmarks(argc, argv);
}
