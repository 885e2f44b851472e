#include "project/RCMessageBox.h"
#include "project/RCMessageBoxManager.h"

#include <QJSEngine>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

using namespace Qt::StringLiterals;

class tst_RCMessageBoxManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A box is complete when it is announced, and its id is a braced UUID; a silent box is not
    // announced but can be queried. Boxes and manager stay with C++.
    void showAndQuery()
    {
        RCMessageBoxManager manager;
        QStringList seen;
        connect(&manager, &RCMessageBoxManager::messageBoxShow, this,
                [&](const QString& id) { seen.append(manager.getTitle(id)); });
        const QString byDefault = manager.showMessage(u"错误"_s, u"x"_s);
        const QString silent = manager.showMessage(u"提示"_s, u"y"_s, false, false, true, false);
        QCOMPARE(seen, QStringList{u"错误"_s});
        for (const QString& id : {byDefault, silent})
            QVERIFY(id.startsWith(u'{') && !QUuid::fromString(id).isNull());
        QCOMPARE(manager.getText(silent), u"y"_s);
        QVERIFY(manager.okButtonIsVisible(byDefault) && manager.cancelButtonIsVisible(byDefault));
        QVERIFY(!manager.closeButtonIsVisible(byDefault));
        QVERIFY(!manager.okButtonIsVisible(silent) && !manager.cancelButtonIsVisible(silent));
        QVERIFY(manager.closeButtonIsVisible(silent));
        QCOMPARE(QJSEngine::objectOwnership(manager.findChild<RCMessageBox*>()), QJSEngine::CppOwnership);
        QCOMPARE(QJSEngine::objectOwnership(&manager), QJSEngine::CppOwnership);
    }

    void eachAnswerEmitsOnceAndForgets_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("accept") << 0;
        QTest::newRow("reject") << 1;
        QTest::newRow("close") << 2;
    }
    // Each answer emits once and deletes the box at once; answering one box leaves the others;
    // unknown ids answer nothing and read as empty.
    void eachAnswerEmitsOnceAndForgets()
    {
        QFETCH(int, answer);
        RCMessageBoxManager manager;
        QSignalSpy accepted(&manager, &RCMessageBoxManager::messageBoxAccept);
        QSignalSpy rejected(&manager, &RCMessageBoxManager::messageBoxReject);
        QSignalSpy closed(&manager, &RCMessageBoxManager::messageBoxOnlyClose);
        const QSignalSpy* spies[] = {&accepted, &rejected, &closed};
        const QString id = manager.showMessage(u"t"_s, u"x"_s);
        QPointer<QObject> box = manager.findChild<RCMessageBox*>();
        const QString other = manager.showMessage(u"two"_s, u"2"_s);
        for (int i = 0; i < 2; ++i) {
            if (answer == 0)
                manager.accept(id);
            else if (answer == 1)
                manager.reject(id);
            else
                manager.close(id);
        }
        for (int spy = 0; spy < 3; ++spy)
            QCOMPARE(spies[spy]->count(), spy == answer ? 1 : 0);
        QCOMPARE(spies[answer]->at(0).at(0).toString(), id);
        QVERIFY(box.isNull());
        QCOMPARE(manager.getTitle(id), QString());
        QCOMPARE(manager.openBoxCount(), 1);

        manager.accept(u"{00000000-0000-0000-0000-000000000000}"_s);
        manager.reject(QString());
        manager.close(u"nothing"_s);
        QCOMPARE(manager.getTitle(other), u"two"_s);
        QCOMPARE(accepted.count() + rejected.count() + closed.count(), 1);
        QVERIFY(!manager.okButtonIsVisible(u"nothing"_s));
    }

    // Boxes raised during start-up are announced before any window listens; the window asks for
    // them once it is up. Silent boxes count only once their caller announces them.
    void windowComingUpLateSeesAnnouncedBoxes()
    {
        RCMessageBoxManager manager;
        const QString early = manager.showMessage(u"错误"_s, u"创建路径 x 失败"_s);
        const QString silent = manager.showMessage(u"s"_s, u"x"_s, true, true, false, false);
        manager.accept(manager.showMessage(u"a"_s, u"x"_s));
        QCOMPARE(manager.getShownMessageIds(), QStringList{early});

        Q_EMIT manager.messageBoxShow(silent);
        Q_EMIT manager.messageBoxShow(silent);
        Q_EMIT manager.messageBoxShow(u"unknown"_s);
        QCOMPARE(manager.getShownMessageIds(), (QStringList{early, silent}));
        manager.close(early);
        QCOMPARE(manager.getShownMessageIds(), QStringList{silent});
    }
};

QTEST_GUILESS_MAIN(tst_RCMessageBoxManager)
#include "tst_RCMessageBoxManager.moc"
