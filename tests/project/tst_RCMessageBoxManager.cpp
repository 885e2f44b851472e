#include "project/RCMessageBox.h"
#include "project/RCMessageBoxManager.h"

#include <QJSEngine>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include <memory>

using namespace Qt::StringLiterals;

class tst_RCMessageBoxManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showAndQuery_data();
    void showAndQuery();
    void eachAnswerEmitsOnceAndForgets_data();
    void eachAnswerEmitsOnceAndForgets();
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
    const QString id = byDefault ? manager.showMessage(u"错误"_s, u"x"_s)
                                 : manager.showMessage(u"错误"_s, u"x"_s, ok, cancel, close, announce);
    QCOMPARE(seenTitles, announce ? QStringList{u"错误"_s} : QStringList());
    QVERIFY(id.startsWith(u'{') && !QUuid::fromString(id).isNull());
    QCOMPARE(manager.getText(id), u"x"_s);
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
    const QString id = manager.showMessage(u"t"_s, u"x"_s);
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

    // Answering one box leaves the others; unknown ids answer nothing and read as empty.
    const QString other = manager.showMessage(u"two"_s, u"2"_s);
    manager.accept(u"{00000000-0000-0000-0000-000000000000}"_s);
    manager.reject(QString());
    manager.close(u"nothing"_s);
    QCOMPARE(manager.getTitle(other), u"two"_s);
    QCOMPARE(accepted.count() + rejected.count() + closed.count(), 1);
    QVERIFY(!manager.okButtonIsVisible(u"nothing"_s));
}

// Answering one box leaves the others; unknown ids answer nothing and read as empty.
// A QML caller raises a box silently, keeps its id and announces it itself; a QML "main window"
// answers every shown box from the manager's queries. The caller acts only on its own id.
void tst_RCMessageBoxManager::qmlCallerAndWindowRoundTrip()
{
    RCMessageBoxManager manager;
    QQmlEngine engine;
    engine.rootContext()->setContextProperty(u"getRCMessageBoxManager"_s, &manager);
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
                      QUrl(u"qrc:/tst_RCMessageBoxManager.qml"_s));
    std::unique_ptr<QObject> root(component.create());
    QVERIFY2(root, qPrintable(component.errorString()));

    // A box raised natively by someone else is answered too, but is not the caller's.
    manager.showMessage(u"other"_s, u"x"_s);
    QCOMPARE(root->property("answersForOthers").toInt(), 1);

    QVERIFY(QMetaObject::invokeMethod(root.get(), "ask"));
    const QString myId = root->property("myId").toString();
    QVERIFY(!myId.isEmpty());
    QCOMPARE(root->property("seenTitle").toString(), u"提示"_s);
    QCOMPARE(root->property("seenOk").toBool(), false);
    QCOMPARE(root->property("seenClose").toBool(), true);
    QCOMPARE(root->property("answersForMe").toStringList(), QStringList{u"reject"_s});
    QCOMPARE(root->property("answersForOthers").toInt(), 1);
    QCOMPARE(manager.openBoxCount(), 0);
}

// Boxes raised during start-up are announced before any window listens; the window asks for them
// once it is up. Silent boxes count only once their caller announces them.
void tst_RCMessageBoxManager::windowComingUpLateSeesAnnouncedBoxes()
{
    RCMessageBoxManager manager;
    const QString early = manager.showMessage(u"错误"_s, u"创建路径 x 失败"_s);
    const QString silent = manager.showMessage(u"s"_s, u"x"_s, true, true, false, false);
    const QString answered = manager.showMessage(u"a"_s, u"x"_s);
    manager.accept(answered);
    QCOMPARE(manager.getShownMessageIds(), QStringList{early});

    Q_EMIT manager.messageBoxShow(silent);
    Q_EMIT manager.messageBoxShow(silent);
    Q_EMIT manager.messageBoxShow(u"unknown"_s);
    QCOMPARE(manager.getShownMessageIds(), (QStringList{early, silent}));
    manager.close(early);
    QCOMPARE(manager.getShownMessageIds(), QStringList{silent});
}

QTEST_GUILESS_MAIN(tst_RCMessageBoxManager)
#include "tst_RCMessageBoxManager.moc"
