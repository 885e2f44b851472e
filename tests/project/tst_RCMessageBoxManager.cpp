#include "project/RCMessageBox.h"
#include "project/RCMessageBoxManager.h"

#include <QJSEngine>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include <memory>

class tst_RCMessageBoxManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultsAndShowBeforeReturn();
    void silentShowCanBeQueried();
    void eachAnswerEmitsOnceAndForgets_data();
    void eachAnswerEmitsOnceAndForgets();
    void boxesAreIndependent();
    void unknownIdsAreHarmless();
    void boxesStayWithTheProgram();
    void qmlCallerAndWindowRoundTrip();
    void windowComingUpLateSeesAnnouncedBoxes();
};

void tst_RCMessageBoxManager::defaultsAndShowBeforeReturn()
{
    RCMessageBoxManager manager;
    QString shownId;
    connect(&manager, &RCMessageBoxManager::messageBoxShow, this, [&](const QString& id) {
        shownId = id;
        // The box is complete when it is announced.
        QCOMPARE(manager.getTitle(id), QStringLiteral("错误"));
    });
    const QString id = manager.showMessage(QStringLiteral("错误"), QStringLiteral("创建路径 x 失败"));
    QCOMPARE(shownId, id);
    QVERIFY(QRegularExpression(QStringLiteral("^\\{[0-9a-f-]{36}\\}$")).match(id).hasMatch());
    QVERIFY(!QUuid::fromString(id).isNull());
    QCOMPARE(manager.getText(id), QStringLiteral("创建路径 x 失败"));
    QVERIFY(manager.okButtonIsVisible(id));
    QVERIFY(manager.cancelButtonIsVisible(id));
    QVERIFY(!manager.closeButtonIsVisible(id));
}

void tst_RCMessageBoxManager::silentShowCanBeQueried()
{
    RCMessageBoxManager manager;
    QSignalSpy shown(&manager, &RCMessageBoxManager::messageBoxShow);
    const QString id =
        manager.showMessage(QStringLiteral("t"), QStringLiteral("x"), false, false, true, false);
    QCOMPARE(shown.count(), 0);
    QVERIFY(!manager.okButtonIsVisible(id));
    QVERIFY(!manager.cancelButtonIsVisible(id));
    QVERIFY(manager.closeButtonIsVisible(id));
    QCOMPARE(manager.getTitle(id), QStringLiteral("t"));
}

void tst_RCMessageBoxManager::eachAnswerEmitsOnceAndForgets_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("accept") << 0;
    QTest::newRow("reject") << 1;
    QTest::newRow("close") << 2;
}

void tst_RCMessageBoxManager::eachAnswerEmitsOnceAndForgets()
{
    QFETCH(int, answer);
    RCMessageBoxManager manager;
    QSignalSpy accepted(&manager, &RCMessageBoxManager::messageBoxAccept);
    QSignalSpy rejected(&manager, &RCMessageBoxManager::messageBoxReject);
    QSignalSpy closed(&manager, &RCMessageBoxManager::messageBoxOnlyClose);
    const QString id = manager.showMessage(QStringLiteral("t"), QStringLiteral("x"));
    QPointer<QObject> box = manager.findChild<RCMessageBox*>();
    QVERIFY(box);

    for (int i = 0; i < 2; ++i) {
        if (answer == 0)
            manager.accept(id);
        else if (answer == 1)
            manager.reject(id);
        else
            manager.close(id);
    }
    QCOMPARE(accepted.count(), answer == 0 ? 1 : 0);
    QCOMPARE(rejected.count(), answer == 1 ? 1 : 0);
    QCOMPARE(closed.count(), answer == 2 ? 1 : 0);
    const QSignalSpy& fired = answer == 0 ? accepted : answer == 1 ? rejected : closed;
    QCOMPARE(fired.at(0).at(0).toString(), id);
    QVERIFY(box.isNull()); // deleted at once
    QCOMPARE(manager.getTitle(id), QString());
    QCOMPARE(manager.openBoxCount(), 0);
}

void tst_RCMessageBoxManager::boxesAreIndependent()
{
    RCMessageBoxManager manager;
    const QString first = manager.showMessage(QStringLiteral("one"), QStringLiteral("1"));
    const QString second = manager.showMessage(QStringLiteral("two"), QStringLiteral("2"));
    QVERIFY(first != second);
    manager.reject(first);
    QCOMPARE(manager.getTitle(first), QString());
    QCOMPARE(manager.getTitle(second), QStringLiteral("two"));
    QCOMPARE(manager.openBoxCount(), 1);
}

void tst_RCMessageBoxManager::unknownIdsAreHarmless()
{
    RCMessageBoxManager manager;
    QSignalSpy accepted(&manager, &RCMessageBoxManager::messageBoxAccept);
    manager.accept(QStringLiteral("{00000000-0000-0000-0000-000000000000}"));
    manager.reject(QString());
    manager.close(QStringLiteral("nothing"));
    QCOMPARE(accepted.count(), 0);
    QCOMPARE(manager.getText(QStringLiteral("nothing")), QString());
    QVERIFY(!manager.okButtonIsVisible(QStringLiteral("nothing")));
    QVERIFY(!manager.cancelButtonIsVisible(QStringLiteral("nothing")));
    QVERIFY(!manager.closeButtonIsVisible(QStringLiteral("nothing")));
}

void tst_RCMessageBoxManager::boxesStayWithTheProgram()
{
    RCMessageBoxManager manager;
    manager.showMessage(QStringLiteral("t"), QStringLiteral("x"));
    auto* box = manager.findChild<RCMessageBox*>();
    QVERIFY(box);
    QCOMPARE(QJSEngine::objectOwnership(box), QJSEngine::CppOwnership);
    QCOMPARE(QJSEngine::objectOwnership(&manager), QJSEngine::CppOwnership);
}

// A QML caller raises a box silently, keeps its id and announces it itself; a QML "main window"
// answers every shown box from the manager's queries. The caller acts only on its own id.
void tst_RCMessageBoxManager::qmlCallerAndWindowRoundTrip()
{
    RCMessageBoxManager manager;
    QQmlEngine engine;
    engine.rootContext()->setContextProperty(QStringLiteral("getRCMessageBoxManager"), &manager);
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQml
        QtObject {
            id: root
            property string myId: ""
            property string seenTitle: ""
            property bool seenOk: true
            property bool seenClose: false
            property var answersForMe: []
            property int answersForOthers: 0

            // The main window's side: draw the box from the queries and answer with "reject".
            property Connections window: Connections {
                target: getRCMessageBoxManager
                function onMessageBoxShow(sId) {
                    root.seenTitle = getRCMessageBoxManager.getTitle(sId)
                    root.seenOk = getRCMessageBoxManager.okButtonIsVisible(sId)
                    root.seenClose = getRCMessageBoxManager.closeButtonIsVisible(sId)
                    getRCMessageBoxManager.reject(sId)
                }
            }
            // The caller's side.
            property Connections caller: Connections {
                target: getRCMessageBoxManager
                function onMessageBoxReject(sId) {
                    if (sId === root.myId)
                        root.answersForMe = root.answersForMe.concat(["reject"])
                    else
                        root.answersForOthers += 1
                }
            }
            function ask() {
                myId = getRCMessageBoxManager.showMessage("提示", "保存？", false, true, true, false)
                getRCMessageBoxManager.messageBoxShow(myId)
            }
        }
    )",
                      QUrl(QStringLiteral("qrc:/tst_RCMessageBoxManager.qml")));
    std::unique_ptr<QObject> root(component.create());
    QVERIFY2(root, qPrintable(component.errorString()));

    // A box raised natively by someone else is answered too, but is not the caller's.
    manager.showMessage(QStringLiteral("other"), QStringLiteral("x"));
    QCOMPARE(root->property("answersForOthers").toInt(), 1);

    QVERIFY(QMetaObject::invokeMethod(root.get(), "ask"));
    const QString myId = root->property("myId").toString();
    QVERIFY(!myId.isEmpty());
    QCOMPARE(root->property("seenTitle").toString(), QStringLiteral("提示"));
    QCOMPARE(root->property("seenOk").toBool(), false);
    QCOMPARE(root->property("seenClose").toBool(), true);
    QCOMPARE(root->property("answersForMe").toStringList(), QStringList{QStringLiteral("reject")});
    QCOMPARE(root->property("answersForOthers").toInt(), 1);
    QCOMPARE(manager.openBoxCount(), 0);
}

// Boxes raised during start-up are announced before any window listens; the window asks for them
// once it is up. Silent boxes count only once their caller announces them.
void tst_RCMessageBoxManager::windowComingUpLateSeesAnnouncedBoxes()
{
    RCMessageBoxManager manager;
    const QString early = manager.showMessage(QStringLiteral("错误"), QStringLiteral("创建路径 x 失败"));
    const QString silent =
        manager.showMessage(QStringLiteral("s"), QStringLiteral("x"), true, true, false, false);
    const QString answered = manager.showMessage(QStringLiteral("a"), QStringLiteral("x"));
    manager.accept(answered);
    QCOMPARE(manager.getShownMessageIds(), QStringList{early});

    Q_EMIT manager.messageBoxShow(silent);
    Q_EMIT manager.messageBoxShow(silent);
    Q_EMIT manager.messageBoxShow(QStringLiteral("unknown"));
    QCOMPARE(manager.getShownMessageIds(), (QStringList{early, silent}));
    manager.close(early);
    QCOMPARE(manager.getShownMessageIds(), QStringList{silent});
}

QTEST_GUILESS_MAIN(tst_RCMessageBoxManager)
#include "tst_RCMessageBoxManager.moc"
