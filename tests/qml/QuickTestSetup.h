#pragma once

#include <QObject>

class CursorPosProvider;
class DistributionPeers;
class ServerPeers;
class QQmlEngine;
class RCProject;
class TestMirror;
class TestSupport;

// The set-up of the Qt Quick tests (tests/qml/tst_*.qml): every test file's QML engine gets the
// real project services the way the program starts them: the project root with its presenters,
// control catalogue, message boxes, image manager and every type and root-context property it
// registers, the default first scene and the built-in templates, and the root-context
// properties that main publishes. The main window's own names (`mainWindow`,
// `calDialogGeometry()`) come from RCTestMainWindow.qml, the root of every test file:
//
//     RCTestMainWindow { id: mainWindow; TestCase { ... } }
//
// Besides, "testSupport" steps the undo history and runs helper programs (TestSupport.h),
// "distributionPeers" plays the far side of project distribution (DistributionPeers.h), and
// "serverPeers" runs a media server and a cloud relay on loopback and holds the table of item
// clicks (ServerPeers.h), and "testMirror" changes the project's mirror as the server's commands
// do, one change at a time (TestMirror.h).
//
// The project ends when its test file's engine begins to go, before the engine deletes anything
// (as main deletes the project before the engine), also when the file failed to load. Quick
// Test gives each test file an engine of its own; the presenters and the document are
// process-wide, which is why CTest runs each file in a process of its own. Refuses to run
// outside a private network namespace. Every thread it and the project start is awaited before the
// application object goes, so that none is still ending at exit.
class QuickTestSetup : public QObject
{
    Q_OBJECT

public:
    QuickTestSetup();
    ~QuickTestSetup() override;

public Q_SLOTS:
    void applicationAvailable();
    void qmlEngineAvailable(QQmlEngine* engine);
    void cleanupTestCase();

private Q_SLOTS:
    void releaseProject();

private:
    RCProject* m_project = nullptr;
    CursorPosProvider* m_cursorPosProvider = nullptr;
    TestSupport* m_testSupport = nullptr;
    DistributionPeers* m_distributionPeers = nullptr;
    ServerPeers* m_serverPeers = nullptr;
    TestMirror* m_testMirror = nullptr;
};
