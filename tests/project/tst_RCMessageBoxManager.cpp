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
    void showAndQuery_data();
    void showAndQuery();
    void eachAnswerEmitsOnceAndForgets_data();
    void eachAnswerEmitsOnceAndForgets();
    void boxesAreIndependent();
    void qmlCallerAndWindowRoundTrip();
    void windowComingUpLateSeesAnnouncedBoxes();
};

void tst_RCMessageBoxManager::showAndQuery_data()
{
    QTest::addColumn<bool>("byDefault"); // only the two texts given
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("close");
    QTest::addColumn<bool>("announce");
    QTest::newRow("defaults") << true << true << true << false << true;
    QTest::newRow("silent, close only") << false << false << false << true << false;
}

// A box is complete when it is announced, and its id is a braced UUID; a silent box is not
// announced but can be queried. Boxes and manager stay with C++.
void tst_RCMessageBoxManager::showAndQuery()
{
    QFETCH(bool, byDefault);
    QFETCH(bool, ok);
    QFETCH(bool, cancel);
    QFETCH(bool, close);
    QFETCH(bool, announce);
    RCMessageBoxManager manager;
    QStringList seenTitles;
    connect(&manager, &RCMessageBoxManager::messageBoxShow, this,
            [&](const QString& id) { seenTitles.append(manager.getTitle(id)); });
    const QString id = byDefault ? manager.showMessage(QStringLiteral("错误"), QStringLiteral("x"))
                                 : manager.showMessage(QStringLiteral("错误"), QStringLiteral("x"), ok,
                                                       cancel, close, announce);
    QCOMPARE(seenTitles, announce ? QStringList{QStringLiteral("错误")} : QStringList());
    QVERIFY(QRegularExpression(QStringLiteral("^\\{[0-9a-f-]{36}\\}$")).match(id).hasMatch());
    QVERIFY(!QUuid::fromString(id).isNull());
    QCOMPARE(manager.getText(id), QStringLiteral("x"));
    QCOMPARE(manager.okButtonIsVisible(id), ok);
    QCOMPARE(manager.cancelButtonIsVisible(id), cancel);
    QCOMPARE(manager.closeButtonIsVisible(id), close);
    QCOMPARE(QJSEngine::objectOwnership(manager.findChild<RCMessageBox*>()), QJSEngine::CppOwnership);
    QCOMPARE(QJSEngine::objectOwnership(&manager), QJSEngine::CppOwnership);
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

// Answering one box leaves the others; unknown ids answer nothing and read as empty.
void tst_RCMessageBoxManager::boxesAreIndependent()
{
    RCMessageBoxManager manager;
    QSignalSpy accepted(&manager, &RCMessageBoxManager::messageBoxAccept);
    const QString first = manager.showMessage(QStringLiteral("one"), QStringLiteral("1"));
    const QString second = manager.showMessage(QStringLiteral("two"), QStringLiteral("2"));
    QVERIFY(first != second);
    manager.reject(first);
    QCOMPARE(manager.getTitle(first), QString());
    QCOMPARE(manager.getTitle(second), QStringLiteral("two"));

    manager.accept(QStringLiteral("{00000000-0000-0000-0000-000000000000}"));
    manager.reject(QString());
    manager.close(QStringLiteral("nothing"));
    QCOMPARE(accepted.count(), 0);
    QCOMPARE(manager.openBoxCount(), 1);
    QVERIFY(!manager.okButtonIsVisible(QStringLiteral("nothing")));
    QVERIFY(!manager.closeButtonIsVisible(QStringLiteral("nothing")));
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
