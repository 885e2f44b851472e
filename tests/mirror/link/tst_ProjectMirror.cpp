// The project root's side of the mirror: creation, QML registration, the connection-state wiring
// and the relays.
#include "mirror/IRCStelvaneSyncer.h"
#include "project/RCProject.h"
#include "project/TemporaryHome.h"
#include "support/IsolatedNetwork.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class tst_ProjectMirror : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void qmlReadsTheMirrorAndCreatesTheTableModel();
    void connectionStateReachesTheMirror();
    void relaysCarryTheirLogLines();

private:
    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<RCProject> m_project;
};

void tst_ProjectMirror::initTestCase()
{
    QString reason;
    if (!insidePrivateNetwork(&reason))
        QFAIL(qPrintable(reason));
    m_home = std::make_unique<TemporaryHome>();
}

void tst_ProjectMirror::init()
{
    m_engine = std::make_unique<QQmlEngine>();
    m_project = std::make_unique<RCProject>(m_engine.get(), QStringList{QStringLiteral("Tavix")});
    QVERIFY(m_project->getStelvaneSyncer());
}

void tst_ProjectMirror::cleanup()
{
    m_project.reset();
    // The mirror took its image provider with it while the engine still existed.
    QVERIFY(!m_engine->imageProvider(QStringLiteral("stelvaneImageProvider")));
    m_engine.reset();
}

void tst_ProjectMirror::qmlReadsTheMirrorAndCreatesTheTableModel()
{
    QVERIFY(m_engine->imageProvider(QStringLiteral("stelvaneImageProvider")));
    // As main publishes it.
    m_engine->rootContext()->setContextProperty(QStringLiteral("project"), m_project.get());
    m_engine->rootContext()->setContextProperty(QStringLiteral("stelvaneSyncer"),
                                                m_project->getStelvaneSyncer());
    QQmlComponent component(m_engine.get());
    component.setData(R"(
        import QtQml
        import Rc.IRCStelvaneSyncer 1.0
        import Rc.QmlComponents 1.0
        QtObject {
            property int complete: IRCStelvaneSyncer.EState_ComplateDownload
            property int state: stelvaneSyncer.getState()
            property real volume: stelvaneSyncer.getGlobalProperty("Volume")
            property bool same: project.getStelvaneSyncer() === stelvaneSyncer
            property var model: ProgramTableModel {}
        }
    )",
                      QUrl(QStringLiteral("qrc:/probe.qml")));
    std::unique_ptr<QObject> probe(component.create());
    QVERIFY2(probe, qPrintable(component.errorString()));
    QCOMPARE(probe->property("complete").toInt(), 2);
    QCOMPARE(probe->property("state").toInt(), 0);
    QCOMPARE(probe->property("volume").toDouble(), 0.5);
    QVERIFY(probe->property("same").toBool());
    QVERIFY(probe->property("model").value<QObject*>());
}

void tst_ProjectMirror::connectionStateReachesTheMirror()
{
    IRCStelvaneSyncer* mirror = m_project->getStelvaneSyncer();
    QList<bool> markWhenRequested;
    connect(mirror, &IRCStelvaneSyncer::programTableRequest, this,
            [&] { markWhenRequested.append(m_project->isConnectFromHost()); });
    connect(mirror, &IRCStelvaneSyncer::disconnectFromServer, this,
            [&] { markWhenRequested.append(m_project->isConnectFromHost()); });

    QTest::ignoreMessage(QtInfoMsg, "Terminal project connected to server success. \"198.18.0.9\"");
    Q_EMIT m_project->connectToHost(QStringLiteral("198.18.0.9"));
    // The mirror asks for the server's data before the connected mark lets data commands in.
    QCOMPARE(markWhenRequested, QList<bool>{false});
    QVERIFY(m_project->isConnectFromHost());
    QCOMPARE(mirror->getState(), IRCStelvaneSyncer::EState_Connect);
    QCOMPARE(mirror->getServerIp(), QString("198.18.0.9"));

    QTest::ignoreMessage(QtInfoMsg, "Terminal socket disconnect.");
    Q_EMIT m_project->getTerminal()->socketDisconnected();
    QCOMPARE(markWhenRequested, QList<bool>({false, true}));
    QVERIFY(!m_project->isConnectFromHost());
    QCOMPARE(mirror->getState(), IRCStelvaneSyncer::EState_Idel);
}

void tst_ProjectMirror::relaysCarryTheirLogLines()
{
    IRCStelvaneSyncer* mirror = m_project->getStelvaneSyncer();
    QSignalSpy passwordError(mirror, &IRCStelvaneSyncer::connectPasswordError);
    QSignalSpy verifyAsk(mirror, &IRCStelvaneSyncer::connectVerifyAsk);
    QTest::ignoreMessage(QtWarningMsg, "Failed terminal connect to server with error password.");
    Q_EMIT m_project->connectPasswordError();
    QTest::ignoreMessage(QtInfoMsg, "Terminal project connecting to server with password verify.");
    Q_EMIT m_project->connectVerifyAsk();
    QCOMPARE(passwordError.size(), 1);
    QCOMPARE(verifyAsk.size(), 1);
}

QTEST_MAIN(tst_ProjectMirror)
#include "tst_ProjectMirror.moc"
