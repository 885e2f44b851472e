// Scenes: default rows, items in order, the selection, JSON round trips, the order of the
// removal signals, duplicate ids and the registration of items.
#include "ModelTestSupport.h"

#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCObjectManager.h"
#include "model/RCProperties.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Records the scene's signals as readable lines, in emission order.
class SceneLog : public QObject
{
public:
    explicit SceneLog(RCScene* scene)
    {
        connect(scene, &RCScene::itemAdded, this,
                [this](const QString&, const QString& id) { lines << "added " + id; });
        connect(scene, &RCScene::itemRemove, this,
                [this](const QString&, const QString& id) { lines << "remove " + id; });
        connect(scene, &RCScene::itemSelectChanged, this, [this](const QString&, const QStringList& ids) {
            lines << "select [" + ids.join(',') + "]";
        });
        connect(scene, &IRCObject::destorySelf, this,
                [this](IRCObject* item) { lines << "destroy " + item->getId(); });
    }
    QStringList lines;
};

RCSceneItem* itemWithId(const QString& id, bool select = false)
{
    QJsonArray rows{QJsonObject{{"name", "Id"}, {"readonly", true}, {"value", id}}};
    if (select) {
        rows.append(QJsonObject{{"name", "Select"}, {"value", true}});
    }
    return new RCSceneItem(QJsonObject{{"propertyArray", rows}}, nullptr);
}

QStringList itemIds(const RCScene& scene)
{
    QStringList ids;
    for (IRCObject* item : scene.getItemList()) {
        ids << item->getId();
    }
    return ids;
}

} // namespace

class TestScene : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultRows();
    void constructors();
    void addAndLookup();
    void duplicateAddDeletesNewcomer();
    void addingHeldItemAgainChangesNothing();
    void removeUnknownIsSilent();
    void removeUnselectedSignalOrder();
    void selectionOrder();
    void itemRelay();
    void selectedOnArrivalIsSelected();
    void roundTrip();
    void fromJsonClearsThenRebuilds();
    void fromJsonKeepsDuplicateItems();
    void sceneIdStaysReadOnly();
    void destructionSignalOrder();
    void registryFollowsItems();
};

void TestScene::defaultRows()
{
    RCScene scene;
    RCProperties* p = scene.getProperties();
    QCOMPARE(model_test::propertyNames(p),
             QStringList({"Id", "Name", "TypeName", "IndentLevel", "Width", "Height", "IconPath",
                          "BackgroundImg", "Focus", "SingleSelection"}));
    QCOMPARE(scene.getObjectType(), eIRCObjectType_Scene);
    QCOMPARE(p->getPropertyValue("Width"), QVariant(960));
    QCOMPARE(p->getPropertyValue("Height"), QVariant(540));
    QVERIFY(p->getProperty("Id")->getReadOnly());
    QVERIFY(!p->getProperty("Focus")->getVisible());
    QCOMPARE(int(p->getProperty("BackgroundImg")->getDisplay()->getType()), 1);
    QCOMPARE(p->getProperty("IndentLevel")->getDescription(), QString("缩进等级"));
    QCOMPARE(scene.getId().size(), 38);
    RCScene other;
    QVERIFY(other.getId() != scene.getId());
}

void TestScene::constructors()
{
    RCScene scene("场景", "qrc:/i.png", "qrc:/bg.png");
    QCOMPARE(scene.getName(), QString("场景"));
    QCOMPARE(scene.getIconPath(), QString("qrc:/i.png"));
    QCOMPARE(scene.getBackgroundImg(), QString("qrc:/bg.png"));

    RCScene fromJson(scene.toJson(), nullptr);
    QCOMPARE(fromJson.getId(), scene.getId());
    QCOMPARE(fromJson.getName(), QString("场景"));
}

void TestScene::addAndLookup()
{
    RCScene scene;
    QSignalSpy added(&scene, &RCScene::itemAdded);
    scene.addItem(itemWithId("{a}"));
    scene.addItem(itemWithId("{b}"));
    QCOMPARE(itemIds(scene), QStringList({"{a}", "{b}"}));
    QCOMPARE(added.count(), 2);
    QCOMPARE(added.at(1).at(0).toString(), scene.getId());
    QCOMPARE(added.at(1).at(1).toString(), QString("{b}"));
    QCOMPARE(scene.getItem(1)->getId(), QString("{b}"));
    QVERIFY(!scene.getItem(2));
    QVERIFY(!scene.getItem(-1));
    QCOMPARE(scene.getItemById("{a}")->getId(), QString("{a}"));
    QVERIFY(!scene.getItemById("{c}"));
    QCOMPARE(scene.getItem(0)->parent(), &scene);
    scene.addItem(nullptr);
    QCOMPARE(scene.getItemCount(), 2);
}

void TestScene::duplicateAddDeletesNewcomer()
{
    RCScene scene;
    scene.addItem(itemWithId("{a}"));
    IRCObject* held = scene.getItemById("{a}");
    SceneLog log(&scene);
    QPointer<RCSceneItem> dup = itemWithId("{a}");
    scene.addItem(dup);
    QVERIFY(dup.isNull());
    QCOMPARE(scene.getItemCount(), 1);
    QCOMPARE(scene.getItemById("{a}"), held);
    QCOMPARE(RCObjectManager::instance()->getObject("{a}"), held);
    QVERIFY(log.lines.isEmpty());
}

void TestScene::addingHeldItemAgainChangesNothing()
{
    RCScene scene;
    auto* item = itemWithId("{a}");
    scene.addItem(item);
    SceneLog log(&scene);
    scene.addItem(item); // must not delete the held item
    QCOMPARE(scene.getItemById("{a}"), item);
    QCOMPARE(item->getId(), QString("{a}"));
    QVERIFY(log.lines.isEmpty());
}

void TestScene::removeUnknownIsSilent()
{
    RCScene scene;
    scene.addItem(itemWithId("{a}"));
    SceneLog log(&scene);
    scene.removeItem("");
    scene.removeItem("{zzz}");
    QVERIFY(log.lines.isEmpty());
    QCOMPARE(scene.getItemCount(), 1);
}

void TestScene::removeUnselectedSignalOrder()
{
    RCScene scene;
    scene.addItem(itemWithId("{a}"));
    scene.addItem(itemWithId("{b}"));
    scene.getItemById("{b}")->setPropertyValue("Select", true);
    QPointer<IRCObject> a = scene.getItemById("{a}");
    SceneLog log(&scene);
    scene.removeItem("{a}");
    QCOMPARE(log.lines, QStringList({"remove {a}", "select [{b}]", "destroy {a}"}));
    QVERIFY(a.isNull());
    QCOMPARE(itemIds(scene), QStringList({"{b}"}));
}

void TestScene::selectionOrder()
{
    RCScene scene;
    scene.addItem(itemWithId("{a}"));
    scene.addItem(itemWithId("{b}"));
    IRCObject* a = scene.getItemById("{a}");
    IRCObject* b = scene.getItemById("{b}");
    SceneLog log(&scene);
    a->setPropertyValue("Select", true);
    b->setPropertyValue("Select", true);
    a->setPropertyValue("Select", false);
    QCOMPARE(scene.getSelectItems(), QStringList({"{b}"}));
    a->setPropertyValue("Select", true);
    QCOMPARE(scene.getSelectItems(), QStringList({"{b}", "{a}"}));
    QCOMPARE(log.lines,
             QStringList({"select [{a}]", "select [{a},{b}]", "select [{b}]", "select [{b},{a}]"}));
    // Removing a selected item takes it out of the selection.
    scene.removeItem("{b}");
    QCOMPARE(scene.getSelectItems(), QStringList({"{a}"}));
}

void TestScene::itemRelay()
{
    QStringList order;
    RCScene scene;
    scene.addItem(itemWithId("{a}"));
    connect(&scene, &RCScene::itemSelectChanged, this, [&order] { order << "select"; });
    connect(&scene, &RCScene::itemPropertyValueChanged, this,
            [&order, &scene](const QString& sceneId, const QString& itemId, const QString& name,
                             const QVariant& v) {
                QCOMPARE(sceneId, scene.getId());
                order << itemId + " " + name + "=" + v.toString();
            });
    QSignalSpy own(&scene, &IRCObject::propertyValueChanged);
    scene.getItemById("{a}")->setPropertyValue("X", 4);
    scene.getItemById("{a}")->setPropertyValue("Select", true);
    QCOMPARE(order, QStringList({"{a} X=4", "select", "{a} Select=true"}));
    QCOMPARE(own.count(), 0);
    scene.setPropertyValue("Name", "n");
    QCOMPARE(own.count(), 1);
    QCOMPARE(own.first().at(0).toString(), QString("Name"));
}

void TestScene::selectedOnArrivalIsSelected()
{
    RCScene scene;
    SceneLog log(&scene);
    scene.addItem(itemWithId("{a}", true));
    scene.addItem(itemWithId("{b}"));
    QCOMPARE(scene.getSelectItems(), QStringList({"{a}"}));
    QCOMPARE(log.lines, QStringList({"added {a}", "select [{a}]", "added {b}"}));

    // Deselecting it afterwards works like for any selected item.
    scene.getItemById("{a}")->setPropertyValue("Select", false);
    QVERIFY(scene.getSelectItems().isEmpty());

    // A scene loaded from a file saved with a selection shows that selection.
    scene.getItemById("{b}")->setPropertyValue("Select", true);
    RCScene loaded(scene.toJson(), nullptr);
    QCOMPARE(loaded.getSelectItems(), QStringList({"{b}"}));
}

void TestScene::roundTrip()
{
    RCScene scene("s", "", "qrc:/bg.png");
    scene.setPropertyValue("Width", 1920);
    for (const char* id : {"{c}", "{a}", "{b}"}) {
        scene.addItem(itemWithId(id));
    }
    scene.getItemById("{a}")->setPropertyValue("X", 50);
    const QJsonObject json = scene.toJson();
    QCOMPARE(json.keys(), QStringList({"itemArray", "propertyArray"}));

    RCScene copy;
    QVERIFY(copy.fromJson(json));
    QCOMPARE(copy.getId(), scene.getId());
    QCOMPARE(itemIds(copy), QStringList({"{c}", "{a}", "{b}"}));
    QCOMPARE(copy.getPropertyValue("Width").toInt(), 1920);
    QCOMPARE(copy.getItemById("{a}")->getPropertyValue("X").toInt(), 50);
    QCOMPARE(copy.toJson(), json);
}

void TestScene::fromJsonClearsThenRebuilds()
{
    RCScene source;
    source.addItem(itemWithId("{n1}"));
    const QJsonObject json = source.toJson();
    source.removeItem("{n1}");

    RCScene scene;
    scene.addItem(itemWithId("{o1}"));
    scene.addItem(itemWithId("{o2}"));
    SceneLog log(&scene);
    QVERIFY(scene.fromJson(json));
    QCOMPARE(log.lines, QStringList({"remove {o1}", "select []", "destroy {o1}", "remove {o2}", "select []",
                                     "destroy {o2}", "added {n1}"}));
    QCOMPARE(scene.getId(), source.getId());
    QCOMPARE(scene.getItem(0)->parent(), &scene);
}

void TestScene::fromJsonKeepsDuplicateItems()
{
    RCSceneItem item;
    item.setPropertyValue("Name", "first");
    QJsonObject second = item.toJson();
    QJsonArray rows = second.value("propertyArray").toArray();
    QJsonObject nameRow = rows.at(2).toObject();
    nameRow["value"] = "second";
    rows.replace(2, nameRow);
    second["propertyArray"] = rows;
    const QJsonObject json{{"propertyArray", QJsonArray()}, {"itemArray", QJsonArray{item.toJson(), second}}};

    RCScene scene;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("RCScene::fromJson item id .* appears twice"));
    scene.fromJson(json);
    QCOMPARE(scene.getItemCount(), 2);
    QCOMPARE(scene.getItem(0)->getId(), item.getId());
    QVERIFY(scene.getItem(1)->getId() != item.getId());
    QCOMPARE(scene.getItem(1)->getId().size(), 38);
    QCOMPARE(scene.getItem(1)->getPropertyValue("Name").toString(), QString("second"));
    QVERIFY(scene.getItem(1)->getProperties()->getProperty("Id")->getReadOnly());
    // Both survive the next save.
    QCOMPARE(scene.toJson().value("itemArray").toArray().size(), 2);
}

void TestScene::sceneIdStaysReadOnly()
{
    RCScene scene;
    scene.fromJson(QJsonObject{{"propertyArray", QJsonArray{QJsonObject{{"name", "Id"}, {"value", "{s}"}}}}});
    QCOMPARE(scene.getId(), QString("{s}"));
    scene.setPropertyValue("Id", "{t}");
    QCOMPARE(scene.getId(), QString("{s}"));
}

void TestScene::destructionSignalOrder()
{
    auto* scene = new RCScene;
    for (const char* id : {"{1}", "{2}", "{3}"}) {
        scene->addItem(itemWithId(id));
    }
    scene->getItemById("{3}")->setPropertyValue("Select", true);
    SceneLog log(scene);
    delete scene;
    QCOMPARE(log.lines,
             QStringList({"remove {1}", "select [{3}]", "destroy {1}", "remove {2}", "select [{3}]",
                          "destroy {2}", "remove {3}", "select []", "destroy {3}"}));
}

void TestScene::registryFollowsItems()
{
    RCObjectManager* registry = RCObjectManager::instance();
    RCScene scene;
    scene.addItem(itemWithId("{reg}"));
    IRCObject* item = scene.getItemById("{reg}");
    QCOMPARE(registry->getObject("{reg}"), item);
    scene.removeItem("{reg}");
    QVERIFY(!registry->getObject("{reg}"));

    {
        RCScene temp;
        temp.addItem(itemWithId("{tmp}"));
        QVERIFY(registry->getObject("{tmp}"));
    }
    QVERIFY(!registry->getObject("{tmp}"));
}

QTEST_GUILESS_MAIN(TestScene)
#include "tst_scene.moc"
