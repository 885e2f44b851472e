// "setProject": the scene of generated controls, its layout, and the guard that applies only the
// answers to downloads this panel asked for.
#include "editing/EditingFixture.h"
#include "mirror/DispatchTestSupport.h"
#include "mirror/RCCmdProcesser_SetProject.h"

#include <QJsonArray>
#include <QTest>

using namespace DispatchTest;

namespace {
// "type@x,y" of every item of the scene in order, with the startup button's MAC address and the
// track buttons' names; every item must be 100 x 50.
QStringList describeItems(const QString& sceneId)
{
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    QStringList described;
    for (const QString& itemId : items->getItemIds(sceneId)) {
        const int type = items->getPropertyValue(sceneId, itemId, RCKeys::ControlType()).toInt();
        const QPoint pos = items->getPos(sceneId, itemId);
        QString text = QStringLiteral("%1@%2,%3").arg(type).arg(pos.x()).arg(pos.y());
        if (type == IRCControl::EIRCControlType_Startup)
            text += QStringLiteral(" mac=") +
                    items->getPropertyValue(sceneId, itemId, RCKeys::MacAddress()).toString();
        if (type == IRCControl::EIRCControlType_TrackPlay || type == IRCControl::EIRCControlType_TrackStop)
            text += QStringLiteral(" %1/%2").arg(
                items->getPropertyValue(sceneId, itemId, RCKeys::Name()).toString(),
                items->getPropertyValue(sceneId, itemId, RCKeys::TrackName()).toString());
        if (items->getSize(sceneId, itemId) != QSize(100, 50))
            text += QStringLiteral(" wrong size");
        described.append(text);
    }
    return described;
}
} // namespace

class tst_SetProjectCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { editing_fixture::resetDocument(); }
    void generatesASceneOfControls_data()
    {
        QTest::addColumn<QString>("params");
        QTest::addColumn<QStringList>("items");

        const QStringList displays{"15@270,140", "16@430,140", "5@590,140"};
        QTest::newRow("name and id") << R"({"id":7,"name":"Show"})" << displays;
        QTest::newRow("with a MAC address") << R"({"id":7,"name":"Show","macAddress":"00:11:22:33:44:55"})"
                                            << QStringList{"19@430,10 mac=00:11:22:33:44:55"} + displays;
        // Six buttons fit a row of the 960-wide scene.
        QStringList tracks;
        QJsonArray trackArray;
        for (int i = 0; i < 7; ++i) {
            const QString name = QStringLiteral("T%1").arg(i);
            trackArray.append(QJsonObject{{"name", name}});
            for (const int type : {13, 14}) {
                const int n = int(tracks.size());
                const int inRow = n < 12 ? 6 : 2;
                const int x = (960 - 160 * inRow + 60) / 2 + 160 * (n % 6);
                tracks.append(
                    QStringLiteral("%1@%2,%3 %4/%4").arg(type).arg(x).arg(270 + 130 * (n / 6)).arg(name));
            }
        }
        QTest::newRow("seven tracks")
            << QString::fromUtf8(
                   QJsonDocument(QJsonObject{{"id", 7}, {"name", "Show"}, {"trackArray", trackArray}})
                       .toJson())
            << displays + tracks;
        QTest::newRow("track elements that are not objects")
            << R"({"id":7,"trackArray":[3]})" << displays + QStringList{"13@350,270 /", "14@510,270 /"};
    }
    void generatesASceneOfControls()
    {
        QFETCH(QString, params);
        QFETCH(QStringList, items);

        Harness harness;
        harness.connect();
        harness.mirror()->addProjectRequest(7);
        RCScenePresenter* scenes = RCScenePresenter::instance();
        const QStringList before = scenes->getSceneIds();
        // The scene is complete before the download view hears of it.
        QStringList itemsWhenSet;
        QObject::connect(harness.mirror(), &IRCStelvaneSyncer::projectSet, harness.mirror(),
                         [&] { itemsWhenSet = describeItems(scenes->getSelectSceneId()); });

        harness.send(QStringLiteral("setProject ") + params);
        const QStringList after = scenes->getSceneIds();
        QCOMPARE(after.size(), before.size() + 1);
        const QString sceneId = after.last();
        QCOMPARE(scenes->getSelectSceneId(), sceneId);
        QCOMPARE(scenes->getPropertyValue(sceneId, RCKeys::Name()).toString(),
                 jsonObject(params).value("name").toString());
        QCOMPARE(scenes->getPropertyValue(sceneId, RCKeys::BackgroundImg()).toString(),
                 QStringLiteral("qrc:/sceneBackground.png"));
        QCOMPARE(describeItems(sceneId), items);
        QCOMPARE(itemsWhenSet, items);
        QCOMPARE(harness.probe("signal:projectSet:0"), QVariant("7"));
        QCOMPARE(harness.spy("projectSet").at(0).at(1).toJsonObject(), jsonObject(params));

        // Nothing of it can be undone.
        QVERIFY(!RCCommandManager::instance()->canUndo());
    }
    void rowsAreCentredAndCut_data()
    {
        QTest::addColumn<int>("sceneWidth");
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("positions");

        QStringList fourteen;
        for (int i = 0; i < 12; ++i)
            fourteen.append(QStringLiteral("%1,270").arg(30 + 160 * i));
        QTest::newRow("1920: 12 in a row, then 2")
            << 1920 << 2 << 14 << fourteen + QStringList{"830,400", "990,400"};
        QTest::newRow("1920: exactly 12, one row") << 1920 << 2 << 12 << fourteen;
        QTest::newRow("1920: displays band")
            << 1920 << 1 << 3 << QStringList{"750,140", "910,140", "1070,140"};
        QTest::newRow("1920: startup band") << 1920 << 0 << 1 << QStringList{"910,10"};
        QTest::newRow("100: one to a row") << 100 << 1 << 3 << QStringList{"0,140", "0,270", "0,400"};
    }
    void rowsAreCentredAndCut()
    {
        QFETCH(int, sceneWidth);
        QFETCH(int, band);
        QFETCH(int, count);
        QFETCH(QStringList, positions);

        RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
        const QString sceneId = RCScenePresenter::instance()->addScene(QStringLiteral("S"));
        QStringList ids;
        for (int i = 0; i < count; ++i)
            ids.append(items->addItem(sceneId, editing_fixture::itemTemplate(QStringLiteral("I")), false));
        RCCmdProcesser_SetProject::layoutGeneratedControls(sceneId, band, ids, sceneWidth);
        QStringList actual;
        for (const QString& id : std::as_const(ids)) {
            const QPoint pos = items->getPos(sceneId, id);
            actual.append(QStringLiteral("%1,%2").arg(pos.x()).arg(pos.y()));
            QCOMPARE(items->getSize(sceneId, id), QSize(100, 50));
        }
        QCOMPARE(actual, positions);
    }
    void onlyRequestedProjectsAreApplied()
    {
        Harness harness;
        harness.connect();
        const int scenes = RCScenePresenter::instance()->getSceneCount();
        const QString answer = QStringLiteral(R"(setProject {"id":7,"name":"Show","uid":3})");

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("did not ask for, id 7$"));
        harness.send(answer);
        harness.mirror()->addProjectRequest(7);
        harness.send(answer);
        // Each request is answered once.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("did not ask for, id 7$"));
        harness.send(answer);
        // An id sent as text reads 0.
        harness.mirror()->addProjectRequest(0);
        harness.send(QStringLiteral(R"(setProject {"id":"7"})"));

        QCOMPARE(RCScenePresenter::instance()->getSceneCount(), scenes + 2);
        QCOMPARE(harness.probe("signal:projectSet:0"), QVariant("7,0"));
        QCOMPARE(harness.spy("projectSet").at(0).at(1).toJsonObject().value("uid").toInt(), 3);
    }
    void requestsAreBoundedAndForgottenOnDisconnect()
    {
        Harness harness;
        RCStelvaneSyncer* mirror = harness.mirror();
        for (int id = 1; id <= RCStelvaneSyncer::kMaxProjectRequests + 1; ++id)
            mirror->addProjectRequest(id);
        QVERIFY(!mirror->takeProjectRequest(1));
        QVERIFY(mirror->takeProjectRequest(RCStelvaneSyncer::kMaxProjectRequests + 1));
        QVERIFY(mirror->takeProjectRequest(2));

        harness.connect();
        harness.project()->dropLink();
        QVERIFY(!mirror->takeProjectRequest(3));
    }
    void missingControlsAndTooManyTracks()
    {
        {
            Harness bare(false);
            bare.connect();
            bare.mirror()->addProjectRequest(1);
            bare.send(QStringLiteral(R"(setProject {"id":1,"macAddress":"m","trackArray":[{"name":"A"}]})"));
            QCOMPARE(describeItems(RCScenePresenter::instance()->getSelectSceneId()), QStringList());
            QCOMPARE(bare.count("projectSet"), 1);
        }
        Harness harness;
        harness.connect();
        harness.mirror()->addProjectRequest(1);
        QJsonArray tracks;
        for (int i = 0; i <= RCCmdProcesser_SetProject::kMaxTracks; ++i)
            tracks.append(QJsonObject{{"name", QString::number(i)}});
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("names 1001 tracks; buttons for the first 1000$"));
        harness.manager().process("setProject", QJsonObject{{"id", 1}, {"trackArray", tracks}},
                                  harness.project());
        QCOMPARE(
            RCSceneItemPresenter::instance()->getItemCount(RCScenePresenter::instance()->getSelectSceneId()),
            3 + 2 * RCCmdProcesser_SetProject::kMaxTracks);
    }
};

QTEST_MAIN(tst_SetProjectCommand)
#include "tst_SetProjectCommand.moc"
