#pragma once

// What the QML benchmarks share: the project root as the program starts it and a shown window
// (runQmlBenchmarks), QML objects placed in that window (QmlObject), and times reported as ratios
// to a baseline measured in the same run (RatioReport of BenchSupport.h).

#include "BenchSupport.h"
#include "ProjectBenchSupport.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QJsonArray>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>

struct QmlBench
{
    QQmlEngine* engine = nullptr;
    QQuickWindow* window = nullptr;
    RCProject* project = nullptr;
};

// The running benchmark's engine, window and project; set by runQmlBenchmarks.
inline QmlBench& qmlBench()
{
    static QmlBench bench;
    return bench;
}

// The main() of a QML benchmark executable: inside a private network namespace only (the project
// root starts the control link's discovery), with a HOME of its own, on the offscreen platform
// unless told otherwise. setUp(project) runs before the benchmarks; only warnings are printed.
template <typename SetUp> int runQmlBenchmarks(int argc, char** argv, SetUp setUp)
{
    QTemporaryDir home;
    if (!enterIsolatedOffscreenHome(home))
        return 2;
    QGuiApplication app(argc, argv);
    quietBenchMessages();

    QmlBenchProject bench;
    setUp(bench.project.get());
    QQuickWindow window;
    window.resize(1280, 800);
    window.show();
    qmlBench() = QmlBench{&bench.engine, &window, bench.project.get()};
    const int result = runRegisteredBenchmarks(argc, argv);
    qmlBench() = QmlBench{};
    return result;
}

// QML that gives what it holds what the main window gives every view: `mainWindow` and `dp`.
inline QByteArray inMainWindow(const QByteArray& imports, const QByteArray& body)
{
    return "import QtQuick\nimport QtQuick.Controls.Basic\n" + imports +
           "\nItem { id: mainWindow; readonly property real dp: 1; width: 1024; height: 768\n" + body +
           "\n}\n";
}

// The scene canvas of the control layout (the views take the taps), 1200 x 760, given the project's
// services as the main window gives them; it shows the selected scene.
inline QByteArray controlScenePanelQml()
{
    return inMainWindow("import \"qrc:/qml/scenePanel\"", R"(
    RCScenePanel { width: 1200; height: 760; mInEditState: false
        mScenePresenter: project.getScenePresenter(); mSceneItemPresenter: project.getSceneItemPresenter()
        mWindow: mainWindow; mProject: project; mStelvaneSyncer: stelvaneSyncer; mImageManager: getImageManager
        mInterface: getRCInterface; mCloudClient: tavixProjectCloudClient })");
}

// The values a new item of the catalogue's kind starts with.
inline QJsonObject newItemJson(IRCControl::EIRCControlType kind)
{
    return qmlBench().project->getControlManager()->getControlByType(kind)->getInstantiationParam()->toJson();
}

// Adds a new item of kind to the scene with its place and size, in no undo step; answers its id.
inline QString addPlacedItem(const QString& sceneId, IRCControl::EIRCControlType kind, QPoint pos, QSize size)
{
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QString id = items->addItem(sceneId, newItemJson(kind), false);
    items->setPos(sceneId, id, pos, false);
    items->setSize(sceneId, id, size, false);
    return id;
}

// Adds a scene of count stop-all buttons of project's catalogue, 36 x 26 in rows of 20, with some
// values set, in no undo step; answers its id.
inline QString addButtonScene(RCProject* project, const QString& name, int count, const QVariantMap& values = {})
{
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QString sceneId = RCScenePresenter::instance()->addScene(name, QString(), QString(), false);
    const QJsonObject json = project->getControlManager()
                                 ->getControlByType(IRCControl::EIRCControlType_StopAllProgram)
                                 ->getInstantiationParam()
                                 ->toJson();
    for (int i = 0; i < count; ++i) {
        const QString id = items->addItem(sceneId, json, false);
        items->setPos(sceneId, id, QPoint(40 * (i % 20), 30 * (i / 20)), false);
        items->setSize(sceneId, id, QSize(36, 26), false);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            items->setPropertyValue(sceneId, id, it.key(), it.value(), false);
    }
    return sceneId;
}

// "setProgramTable" of programs x layers, each layer filled by nodes of nodeSpan programs; prefix
// makes the ids of one table.
inline QJsonObject programTable(const QString& prefix, int programs, int layers, int nodeSpan)
{
    QJsonArray programArray;
    for (int p = 0; p < programs; ++p)
        programArray.append(
            QJsonObject{{"id", prefix + "p" + QString::number(p)}, {"name", "P" + QString::number(p)}});
    QJsonArray layerArray;
    QJsonArray nodes;
    for (int l = 0; l < layers; ++l) {
        const QString layer = prefix + "l" + QString::number(l);
        layerArray.append(QJsonObject{{"id", layer}, {"name", "L" + QString::number(l)}, {"programLayerType", 0}});
        for (int first = 0; first < programs; first += nodeSpan) {
            QJsonArray span;
            for (int p = first; p < qMin(programs, first + nodeSpan); ++p)
                span.append(prefix + "p" + QString::number(p));
            nodes.append(QJsonObject{{"id", layer + "n" + QString::number(first)},
                                     {"name", "N" + QString::number(first)},
                                     {"playState", first % 3 == 0 ? 1 : 0},
                                     {"length", 60000},
                                     {"programLayerId", layer},
                                     {"programIdArray", span}});
        }
    }
    return QJsonObject{
        {"programArray", programArray}, {"programLayerArray", layerArray}, {"programNodeArray", nodes}};
}

// A QML object placed in the benchmark's window for its own life; what it drops is deleted when it
// goes. A QML error skips the benchmark.
class QmlObject
{
public:
    QmlObject(const QByteArray& qml, benchmark::State& state)
    {
        QQmlComponent component(qmlBench().engine);
        component.setData(qml, QUrl(QStringLiteral("qrc:/bench/bench.qml")));
        m_object.reset(component.create());
        m_item = qobject_cast<QQuickItem*>(m_object.get());
        if (m_item)
            m_item->setParentItem(qmlBench().window->contentItem());
        else
            state.SkipWithError(qPrintable(component.errorString()));
    }
    ~QmlObject()
    {
        m_object.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QmlObject(const QmlObject&) = delete;
    QmlObject& operator=(const QmlObject&) = delete;

    bool isValid() const { return m_item != nullptr; }
    QObject* object() const { return m_object.get(); }
    QObject* find(const char* objectName) const
    {
        return m_object ? m_object->findChild<QObject*>(QLatin1String(objectName)) : nullptr;
    }

private:
    std::unique_ptr<QObject> m_object;
    QQuickItem* m_item = nullptr;
};

// Runs the event loop for ms.
inline void runEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Times fn, the deletions it left behind and a drawn window, once per iteration, and reports the
// time per run to ratios.
template <typename Fn> void timeDrawn(benchmark::State& state, RatioReport& ratios, bool baseline, Fn fn)
{
    timeRuns(state, ratios, baseline, [&] {
        fn();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        benchmark::DoNotOptimize(qmlBench().window->grabWindow());
    });
}
