// Scenes: default rows, items in order, the selection, JSON round trips, the order of the
// removal signals, duplicate ids and the registration of items.
#include "ModelTestSupport.h"

#include "model/IRCProperty.h"
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
    void rowsAndConstructors();
    void addLookupAndDuplicates();
    void selection();
    void itemRelay();
    void roundTrip();
    void fromJsonKeepsDuplicateItems();
    void removalAndDestructionSignalOrder();
    void registryFollowsItems();
};

void TestScene::rowsAndConstructors()
{
    RCScene plain;
    QCOMPARE(model_test::propertyNames(plain.getProperties()),
             QStringList({"Id", "Name", "TypeName", "IndentLevel", "Width", "Height", "IconPath",
                          "BackgroundImg", "Focus", "SingleSelection"}));
    QCOMPARE(plain.getObjectType(), eIRCObjectType_Scene);
    QCOMPARE(plain.getId().size(), 38);
    RCScene scene("场景", "qrc:/i.png", "qrc:/bg.png");
    QVERIFY(scene.getId() != plain.getId());
    QCOMPARE(scene.getName(), QString("场景"));
    QCOMPARE(scene.getIconPath(), QString("qrc:/i.png"));
    QCOMPARE(scene.getBackgroundImg(), QString("qrc:/bg.png"));
    RCScene fromJson(scene.toJson(), nullptr);
    QCOMPARE(fromJson.getId(), scene.getId());
    QCOMPARE(fromJson.getName(), QString("场景"));
    // The id stays read-only, also when a record leaves the flag out.
    fromJson.fromJson(
        QJsonObject{{"propertyArray", QJsonArray{QJsonObject{{"name", "Id"}, {"value", "{s}"}}}}});
    fromJson.setPropertyValue("Id", "{t}");
    QCOMPARE(fromJson.getId(), QString("{s}"));
}

void TestScene::addLookupAndDuplicates()
{
    RCScene scene;
    QSignalSpy added(&scene, &RCScene::itemAdded);
    scene.addItem(itemWithId("{a}"));
    scene.addItem(itemWithId("{b}"));
    scene.addItem(nullptr);
    QCOMPARE(itemIds(scene), QStringList({"{a}", "{b}"}));
    QCOMPARE(added.count(), 2);
    QCOMPARE(added.at(1), QVariantList({scene.getId(), "{b}"}));
    QCOMPARE(scene.getItem(1)->getId(), QString("{b}"));
    QVERIFY(!scene.getItem(2) && !scene.getItem(-1) && !scene.getItemById("{c}"));
    IRCObject* held = scene.getItemById("{a}");
    QCOMPARE(held->parent(), &scene);

    // A newcomer with a held id is deleted; the held item added again stays; unknown ids are
    // removed silently.
    SceneLog log(&scene);
    QPointer<RCSceneItem> dup = itemWithId("{a}");
    scene.addItem(dup);
    QVERIFY(dup.isNull());
    scene.addItem(held);
    scene.removeItem("");
    scene.removeItem("{zzz}");
    QCOMPARE(scene.getItemById("{a}"), held);
    QCOMPARE(RCObjectManager::instance()->getObject("{a}"), held);
    QCOMPARE(scene.getItemCount(), 2);
    QVERIFY(log.lines.isEmpty());
}

void TestScene::selection()
{
    RCScene scene;
    SceneLog log(&scene);
    scene.addItem(itemWithId("{a}", true)); // selected on arrival
    scene.addItem(itemWithId("{b}"));
    IRCObject* a = scene.getItemById("{a}");
    IRCObject* b = scene.getItemById("{b}");
    b->setPropertyValue("Select", true);
    a->setPropertyValue("Select", false);
    a->setPropertyValue("Select", true);
    QCOMPARE(scene.getSelectItems(), QStringList({"{b}", "{a}"}));
    QCOMPARE(log.lines, QStringList({"added {a}", "select [{a}]", "added {b}", "select [{a},{b}]",
                                     "select [{b}]", "select [{b},{a}]"}));
    // A scene loaded from a file saved with a selection shows that selection; removing a
    // selected item takes it out.
    RCScene loaded(scene.toJson(), nullptr);
    QCOMPARE(loaded.getSelectItems(), QStringList({"{a}", "{b}"})); // in item order
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

void TestScene::roundTrip()
{
    RCScene scene("s", "", "qrc:/bg.png");
    scene.setPropertyValue("Width", 1920);
    for (const char* id : {"{c}", "{a}", "{b}"})
        scene.addItem(itemWithId(id));
    scene.getItemById("{a}")->setPropertyValue("X", 50);
    const QJsonObject json = scene.toJson();
    QCOMPARE(json.keys(), QStringList({"itemArray", "propertyArray"}));

    // Reading clears the held items first, then rebuilds.
    RCScene copy;
    copy.addItem(itemWithId("{o1}"));
    SceneLog log(&copy);
    QVERIFY(copy.fromJson(json));
    QCOMPARE(log.lines.mid(0, 3), QStringList({"remove {o1}", "select []", "destroy {o1}"}));
    QCOMPARE(copy.getId(), scene.getId());
    QCOMPARE(itemIds(copy), QStringList({"{c}", "{a}", "{b}"}));
    QCOMPARE(copy.getItem(0)->parent(), &copy);
    QCOMPARE(copy.toJson(), json);
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

void TestScene::removalAndDestructionSignalOrder()
{
    auto* scene = new RCScene;
    for (const char* id : {"{1}", "{2}", "{3}"})
        scene->addItem(itemWithId(id));
    scene->getItemById("{3}")->setPropertyValue("Select", true);
    SceneLog log(scene);
    QPointer<IRCObject> first = scene->getItemById("{1}");
    scene->removeItem("{1}");
    QVERIFY(first.isNull());
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
