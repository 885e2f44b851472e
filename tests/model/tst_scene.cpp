// Scenes and the scene manager: default rows, items in order, the selection, positions, the
// current scene, taking and re-adding, JSON round trips, the order of the removal signals,
// duplicate ids and the registration of items and scenes.
#include "ModelTestSupport.h"

#include "model/IRCObjectWatcher.h"
#include "model/IRCProperty.h"
#include "model/RCObjectManager.h"
#include "model/RCProperties.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneItemRecords.h"
#include "model/RCSceneManager.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Records the signals of a scene or of a scene manager as readable lines, in emission order.
// The manager's scenes are named by their "Name".
class Log : public QObject
{
public:
    explicit Log(RCScene* scene)
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
    explicit Log(RCSceneManager* m)
    {
        connect(m, &RCSceneManager::sceneAdd, this, [this](RCScene* s, int index) {
            lines << QString("add %1 %2").arg(s->getName()).arg(index);
        });
        connect(m, &RCSceneManager::sceneRemove, this,
                [this](RCScene* s) { lines << "remove " + s->getName(); });
        connect(m, &RCSceneManager::sceneSelectChanged, this,
                [this](RCScene* s) { lines << "current " + (s ? s->getName() : QString("null")); });
        connect(m, &IRCObject::destorySelf, this,
                [this](IRCObject* o) { lines << "destroy " + static_cast<RCScene*>(o)->getName(); });
        connect(m, &RCSceneManager::scenePropertyValueChanged, this,
                [this](RCScene* s, const QString& name, const QVariant& v) {
                    lines << QString("changed %1 %2=%3").arg(s->getName(), name, v.toString());
                });
    }
    QStringList lines;
};

RCSceneItem* itemWithId(const QString& id, bool select = false)
{
    QJsonArray rows{QJsonObject{{"name", "Id"}, {"readonly", true}, {"value", id}}};
    if (select)
        rows.append(QJsonObject{{"name", "Select"}, {"value", true}});
    return new RCSceneItem(QJsonObject{{"propertyArray", rows}}, nullptr);
}

// An item that tells how many connections its change signal has.
class CountedItem : public RCSceneItem
{
public:
    CountedItem() : RCSceneItem(QJsonObject(), nullptr) {}
    int changeReceivers() const { return receivers(SIGNAL(propertyValueChanged(QString, QVariant))); }
};

// Writes each change it is told of as "<name>:<tag> <property>=<value>".
class Recorder : public IRCObjectWatcher
{
public:
    Recorder(QStringList* lines, QString name) : m_lines(lines), m_name(std::move(name)) {}
    void watchedValueChanged(IRCObject*, const QString& tag, const QString& property,
                             const QVariant& value) override
    {
        *m_lines << m_name + ":" + tag + " " + property + "=" + value.toString();
    }

private:
    QStringList* m_lines;
    QString m_name;
};

QStringList itemIds(const RCScene& scene)
{
    QStringList ids;
    for (IRCObject* item : scene.getItemList())
        ids << item->getId();
    return ids;
}

QStringList names(const RCSceneManager& m)
{
    QStringList n;
    for (RCScene* s : m.getSceneList())
        n << s->getName();
    return n;
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
    void watchersHearChangesInOrderBeforeTheSignal();
    void itemsFollowedWithoutConnections();
    void roundTrip();
    void fromJsonKeepsDuplicateItems();
    void removalAndDestructionSignalOrder();

    void managerInsertPositionsAndLookups();
    void managerRemoveAndCurrentScene();
    void managerTakeAndReAdd();
    void managerJsonReplacesAndRoundTrips();
    void managerDuplicateSceneIdsKeepBoth();
    void managerDestructionRemovesAll();
    void managerBuildsItemsFromRowsReadAhead_data();
    void managerBuildsItemsFromRowsReadAhead();
};

void TestScene::rowsAndConstructors()
{
    RCScene plain;
    QCOMPARE(model_test::propertyNames(plain.getProperties()), model_test::kSceneRows);
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
    Log log(&scene);
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
    Log log(&scene);
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

void TestScene::watchersHearChangesInOrderBeforeTheSignal()
{
    RCSceneItem item;
    QStringList lines;
    Recorder a(&lines, "a");
    Recorder b(&lines, "b");
    item.addWatcher(&a, "t");
    item.addWatcher(&b);
    item.addWatcher(&a, "again"); // keeps its place and its first tag
    connect(&item, &IRCObject::propertyValueChanged, this,
            [&lines](const QString& name, const QVariant&) { lines << "signal " + name; });
    item.setPropertyValue("X", 1);
    item.setPropertyValue("X", 1); // no change
    QCOMPARE(lines, QStringList({"a:t X=1", "b: X=1", "signal X"}));
    lines.clear();
    item.removeWatcher(&a);
    item.removeWatcher(&a);
    item.setPropertyValue("X", 2);
    QCOMPARE(lines, QStringList({"b: X=2", "signal X"}));
}

void TestScene::itemsFollowedWithoutConnections()
{
    // The scene and the object registry follow every item, without a connection per item.
    RCScene scene;
    auto* item = new CountedItem;
    scene.addItem(item);
    QCOMPARE(item->changeReceivers(), 0);
    QSignalSpy relayed(&scene, &RCScene::itemPropertyValueChanged);
    QSignalSpy focus(RCObjectManager::instance(), &RCObjectManager::objectFocusChanged);
    item->setPropertyValue("Focus", true);
    QCOMPARE(relayed.count(), 1);
    QCOMPARE(focus.count(), 1);
    QCOMPARE(focus.first().at(0).toString(), item->getId());
    // A blocked item is heard by neither.
    item->blockSignals(true);
    item->setPropertyValue("Focus", false);
    item->setPropertyValue("X", 9);
    QCOMPARE(relayed.count(), 1);
    QCOMPARE(focus.count(), 1);
    item->blockSignals(false);
    // A connection made later hears the later changes, after the scene.
    QStringList order;
    connect(&scene, &RCScene::itemPropertyValueChanged, this, [&order] { order << "scene"; });
    connect(item, &IRCObject::propertyValueChanged, this, [&order] { order << "item"; });
    QCOMPARE(item->changeReceivers(), 1);
    item->setPropertyValue("X", 10);
    QCOMPARE(order, QStringList({"scene", "item"}));
    // Out of the scene: no longer in the registry, so the focus no longer follows it.
    const QString id = item->getId();
    scene.removeItem(id);
    QCOMPARE(RCObjectManager::instance()->getObject(id), nullptr);
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
    Log log(&copy);
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
    RCSceneItem twin(item.toJson(), nullptr);
    twin.setPropertyValue("Name", "second");
    const QJsonObject json{{"propertyArray", QJsonArray()},
                           {"itemArray", QJsonArray{item.toJson(), twin.toJson()}}};

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

// Removed and destroyed items also leave the registry.
void TestScene::removalAndDestructionSignalOrder()
{
    RCObjectManager* registry = RCObjectManager::instance();
    auto* scene = new RCScene;
    for (const char* id : {"{1}", "{2}", "{3}"})
        scene->addItem(itemWithId(id));
    scene->getItemById("{3}")->setPropertyValue("Select", true);
    Log log(scene);
    QPointer<IRCObject> first = scene->getItemById("{1}");
    scene->removeItem("{1}");
    QVERIFY(first.isNull() && !registry->getObject("{1}"));
    QVERIFY(registry->getObject("{2}"));
    delete scene;
    QVERIFY(!registry->getObject("{2}") && !registry->getObject("{3}"));
    QCOMPARE(log.lines,
             QStringList({"remove {1}", "select [{3}]", "destroy {1}", "remove {2}", "select [{3}]",
                          "destroy {2}", "remove {3}", "select []", "destroy {3}"}));
}

void TestScene::managerInsertPositionsAndLookups()
{
    QCOMPARE(RCSceneManager::instance()->getObjectType(), eIRCObjectType_SceneManager);
    QVERIFY(RCSceneManager::instance()->getId().isEmpty() && !RCSceneManager::instance()->getProperties());
    // -1 appends, 0 .. count inserts there, any other index appends; the announced index is the
    // real one. Null is ignored.
    RCSceneManager m;
    Log log(&m);
    m.addScene(nullptr, -1);
    QVERIFY(!m.removeScene(nullptr));
    const QList<QPair<const char*, int>> adds{{"a", -1}, {"b", -1}, {"c", 0}, {"d", 3}, {"e", 9}, {"f", -7}};
    for (const auto& [name, index] : adds)
        m.addScene(new RCScene(name, "", ""), index);
    QCOMPARE(log.lines, QStringList({"add a 0", "add b 1", "add c 0", "add d 3", "add e 4", "add f 5"}));
    QCOMPARE(names(m), QStringList({"c", "a", "b", "d", "e", "f"}));
    RCScene* b = m.sceneAt(2);
    QCOMPARE(b->parent(), &m);
    QCOMPARE(m.getScene(b->getId()), b);
    QCOMPARE(m.indexOf(b->getId()), 2);
    QCOMPARE(m.indexOf("{none}"), -1);
    QVERIFY(!m.sceneAt(6) && !m.sceneAt(-1) && !m.getScene(""));
    auto* item = new RCSceneItem(b);
    b->addItem(item);
    QCOMPARE(m.getSceneItem(b->getId(), item->getId()), item);
    QVERIFY(!m.getSceneItem(m.sceneAt(0)->getId(), item->getId()));
    QVERIFY(!m.getSceneItem("{none}", item->getId()));
}

void TestScene::managerRemoveAndCurrentScene()
{
    RCSceneManager m;
    for (const char* n : {"a", "b", "c"})
        m.addScene(new RCScene(n, "", ""), -1);
    RCScene* a = m.sceneAt(0);
    RCScene* b = m.sceneAt(1);
    Log log(&m);
    m.setCurrentScene(b);
    m.setCurrentScene(b);
    const QString id = b->getId();
    QVERIFY(m.removeScene(b));
    QCOMPARE(log.lines, QStringList({"current b", "remove b", "destroy b", "current null"}));
    QVERIFY(!m.getCurrentScene() && !m.getScene(id) && !RCObjectManager::instance()->getObject(id));

    // A scene that is not current leaves the current one alone; a stranger carrying the id of a
    // held scene touches nothing.
    m.setCurrentScene(a);
    log.lines.clear();
    RCScene stranger(a->toJson(), nullptr);
    QVERIFY(!m.removeScene(&stranger));
    m.removeScene(m.sceneAt(1));
    QCOMPARE(log.lines, QStringList({"remove c", "destroy c"}));
    QCOMPARE(m.getCurrentScene(), a);
    QCOMPARE(m.getScene(a->getId()), a);
}

void TestScene::managerTakeAndReAdd()
{
    RCSceneManager m;
    for (const char* n : {"a", "b", "c"})
        m.addScene(new RCScene(n, "", ""), -1);
    RCScene* a = m.sceneAt(0);
    a->addItem(new RCSceneItem);
    const QString id = a->getId();
    m.setCurrentScene(a);
    Log log(&m);
    QVERIFY(!m.takeScene("{none}"));

    RCScene* taken = m.takeScene(id);
    QCOMPARE(taken, a);
    QCOMPARE(m.getCurrentScene(), a); // current is left as it was
    QVERIFY(!RCObjectManager::instance()->getObject(id));
    m.addScene(taken, 2);
    QCOMPARE(names(m), QStringList({"b", "c", "a"}));
    QCOMPARE(a->getItemCount(), 1);
    QCOMPARE(RCObjectManager::instance()->getObject(id), a);
    // Each later change is relayed once; adding a held scene again is ignored.
    a->setPropertyValue("Name", "a2");
    m.addScene(a, 0);
    QCOMPARE(log.lines, QStringList({"remove a", "add a 2", "changed a2 Name=a2"}));

    // A taken current scene that its taker deletes is no longer current.
    delete m.takeScene(id);
    QVERIFY(!m.getCurrentScene());
}

void TestScene::managerJsonReplacesAndRoundTrips()
{
    RCSceneManager source;
    QCOMPARE(source.toJson(), QJsonObject({{"sceneArray", QJsonArray()}}));
    for (int s = 0; s < 2; ++s) {
        auto* scene = new RCScene(QString("s%1").arg(s), "", "");
        for (int i = 0; i < 3; ++i) {
            auto* item = new RCSceneItem;
            item->setPos(QPoint(s, i));
            scene->addItem(item);
        }
        source.addScene(scene, -1);
    }
    const QJsonObject json = source.toJson();

    RCSceneManager m;
    m.addScene(new RCScene("old", "", ""), -1);
    Log log(&m);
    QVERIFY(m.fromJson(json));
    QCOMPARE(log.lines, QStringList({"remove old", "destroy old", "add s0 0", "add s1 1"}));
    QCOMPARE(m.sceneAt(1)->parent(), &m);
    QCOMPARE(static_cast<RCSceneItem*>(m.sceneAt(1)->getItem(2))->getPos(), QPoint(1, 2));
    QCOMPARE(m.toJson(), json);
    QVERIFY(m.fromJson(QJsonObject()));
    QCOMPARE(m.getSceneCount(), 0);
}

void TestScene::managerDuplicateSceneIdsKeepBoth()
{
    RCScene scene("twin", "", "");
    scene.addItem(new RCSceneItem);
    const QJsonObject one = scene.toJson();
    RCSceneManager m;
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression("RCSceneManager::addScene scene id .* already held"));
    m.fromJson(QJsonObject{{"sceneArray", QJsonArray{one, one}}});
    QCOMPARE(m.getSceneCount(), 2);
    RCScene* first = m.sceneAt(0);
    RCScene* second = m.sceneAt(1);
    QCOMPARE(first->getId(), scene.getId());
    QVERIFY(second->getId() != scene.getId());
    QCOMPARE(m.getScene(second->getId()), second);
    QCOMPARE(m.getScene(first->getId()), first);
    QCOMPARE(m.toJson().value("sceneArray").toArray().size(), 2);

    // Removing either leaves the other's entry in place.
    const QString firstId = first->getId();
    QVERIFY(m.removeScene(second));
    QCOMPARE(m.getScene(firstId), first);
    QCOMPARE(m.indexOf(firstId), 0);
}

void TestScene::managerDestructionRemovesAll()
{
    auto* m = new RCSceneManager;
    m->addScene(new RCScene("a", "", ""), -1);
    m->addScene(new RCScene("b", "", ""), -1);
    QPointer<RCScene> a = m->sceneAt(0);
    const QString id = a->getId();
    Log log(m);
    delete m;
    QCOMPARE(log.lines, QStringList({"remove a", "destroy a", "remove b", "destroy b"}));
    QVERIFY(a.isNull());
    QVERIFY(!RCObjectManager::instance()->getObject(id));
}

namespace {

// Two scenes of two items each, whose rows read as the catalogue's do and then some: a text row
// of a kind that declares it, a row that is no object, one without a name, one with display data.
// `tag` goes into every item's name.
QJsonObject twoScenes(const QString& tag)
{
    QJsonArray scenes;
    for (int s = 0; s < 2; ++s) {
        QJsonArray items;
        for (int i = 0; i < 2; ++i) {
            const QString id = QString("{%1%2}").arg(s).arg(i);
            items.append(QJsonObject{{"propertyArray",
                                      QJsonArray{model_test::record("Id", id), model_test::record("ControlType", 13),
                                                 model_test::record("Name", tag + id), model_test::record("Text", "#Size#10"),
                                                 7, QJsonObject{{"value", 1}},
                                                 QJsonObject{{"name", "List"}, {"description", "d"}, {"readonly", false},
                                                             {"visible", true}, {"unit", ""}, {"value", "a"},
                                                             {"display", QJsonObject{{"type", 6}, {"data", QJsonObject{{"list", QJsonArray{"a", "b"}}}}}}}}}});
        }
        scenes.append(QJsonObject{{"propertyArray", QJsonArray{model_test::record("Id", QString("{s%1}").arg(s))}},
                                  {"itemArray", items}});
    }
    return QJsonObject{{"sceneArray", scenes}};
}

QStringList itemNames(const RCSceneManager& manager)
{
    QStringList names;
    for (RCScene* scene : manager.getSceneList())
        for (IRCObject* item : scene->getItemList())
            names << item->getPropertyValue("Name").toString();
    return names;
}

} // namespace

// Items built from the rows read ahead of a scene's description are the items built from the
// description itself; rows that do not match the scenes or their items are not taken.
void TestScene::managerBuildsItemsFromRowsReadAhead_data()
{
    QTest::addColumn<int>("rowsOfScene0"); // -1: none, else the items of "ahead" taken
    QTest::addColumn<int>("rowsOfScene1");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("rows of every scene") << 2 << 2 << QStringList{"ahead{00}", "ahead{01}", "ahead{10}", "ahead{11}"};
    QTest::newRow("rows of one scene only") << 2 << -1 << QStringList{"file{00}", "file{01}", "file{10}", "file{11}"};
    QTest::newRow("rows of too few items") << 1 << 2 << QStringList{"file{00}", "file{01}", "ahead{10}", "ahead{11}"};
}

void TestScene::managerBuildsItemsFromRowsReadAhead()
{
    QFETCH(int, rowsOfScene0);
    QFETCH(int, rowsOfScene1);
    QFETCH(QStringList, names);
    const QJsonObject file = twoScenes("file");
    // Read from a description that differs in its names only, so that the names tell which was taken.
    const QJsonArray ahead = twoScenes("ahead").value("sceneArray").toArray();
    std::vector<RCSceneItemRecords::SceneRows> rows;
    for (int taken : {rowsOfScene0, rowsOfScene1}) {
        if (taken < 0)
            continue;
        RCSceneItemRecords::SceneRows scene = RCSceneItemRecords::ofScene(ahead.at(qsizetype(rows.size())).toObject());
        scene.resize(size_t(taken));
        rows.push_back(std::move(scene));
    }

    QString built;
    {
        RCSceneManager fromRows;
        fromRows.fromJson(file, &rows);
        QCOMPARE(itemNames(fromRows), names);
        built = QString::fromUtf8(QJsonDocument(fromRows.toJson()).toJson()).replace("ahead{", "file{");
    }
    // Apart from the names, what the rows built is what the description builds.
    RCSceneManager plain;
    plain.fromJson(file);
    QCOMPARE(built, QString::fromUtf8(QJsonDocument(plain.toJson()).toJson()));
}

QTEST_GUILESS_MAIN(TestScene)
#include "tst_scene.moc"
