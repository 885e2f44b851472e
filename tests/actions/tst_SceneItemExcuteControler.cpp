// The item executor runs each kind of item as its view's click would, through the project's
// routing into the actions and a recording control link.
#include "ActionTestSupport.h"
#include "ItemClickTable.h"

#include "actions/RCSceneItemExcuteControler.h"
#include "model/RCSceneItemViews.h"

#include <QTest>

using namespace ActionTest;

class tst_SceneItemExcuteControler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clicks_data()
    {
        QTest::addColumn<int>("row");
        const QList<ItemClickTable::Row> rows = ItemClickTable::rows();
        for (int i = 0; i < rows.size(); ++i)
            QTest::addRow("%s", rows.at(i).name) << i;
    }
    void clicks()
    {
        QFETCH(int, row);
        const ItemClickTable::Row expected = ItemClickTable::rows().at(row);
        FakeProject project;
        ItemClickTable::prepare(*project.mirror(), expected.mirror);
        std::unique_ptr<IRCActionManager> manager(RCActionManager::create(&project));
        RCSceneItemExcuteControler executor(&project);
        RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
        // The project's routing of item taps.
        connect(items, &RCSceneItemPresenter::actionTrigger, &executor,
                [&](const QString& sceneId, const QString& itemId, int type, const QVariant& data) {
                    manager->execAction(sceneId, itemId, type, data);
                });
        const QString sceneId = freshScene();
        const QString itemId =
            addControl(project.getControlManager(), sceneId, expected.kind, expected.properties);
        QVERIFY(!itemId.isEmpty());

        executor.excute(sceneId, QString());
        executor.excute(QString(), itemId);
        QVERIFY(project.terminal()->sent.isEmpty());
        executor.excute(sceneId, itemId);
        QCOMPARE(project.terminal()->sent, expected.sent);
        QCOMPARE(project.closeRequests, expected.closes ? 1 : 0);
    }
    // Every kind the executor knows still has its view; a renamed view would silently disable it.
    void executableKindsHaveViews()
    {
        const QList<int>& kinds = RCSceneItemExcuteControler::executableControlTypes();
        QCOMPARE(kinds.size(), 8);
        for (int kind : kinds)
            QVERIFY(!RCSceneItemViews::fileNameForControlType(kind).isEmpty());
    }
};

QTEST_MAIN(tst_SceneItemExcuteControler)
#include "tst_SceneItemExcuteControler.moc"
