// The scene manager: positions, the current scene, taking and re-adding, JSON and the
// order of its signals, duplicate scene ids and scenes it does not hold.
#include "model/RCObjectManager.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Records the manager's signals as readable lines, in emission order. Scenes are named by
// their "Name".
class ManagerLog : public QObject
{
public:
    explicit ManagerLog(RCSceneManager* m)
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

QStringList names(const RCSceneManager& m)
{
    QStringList n;
    for (RCScene* s : m.getSceneList()) {
        n << s->getName();
    }
    return n;
}

} // namespace

class TestSceneManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void insertPositionsAndLookups();
    void removeAndCurrentScene();
    void takeAndReAdd();
    void jsonReplacesAndRoundTrips();
    void duplicateSceneIdsKeepBoth();
    void destructionRemovesAll();
};

void TestSceneManager::insertPositionsAndLookups()
{
    QCOMPARE(RCSceneManager::instance()->getObjectType(), eIRCObjectType_SceneManager);
    QVERIFY(RCSceneManager::instance()->getId().isEmpty() && !RCSceneManager::instance()->getProperties());
    // -1 appends, 0 .. count inserts there, any other index appends; the announced index is the
    // real one. Null is ignored.
    RCSceneManager m;
    ManagerLog log(&m);
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

void TestSceneManager::removeAndCurrentScene()
{
    RCSceneManager m;
    for (const char* n : {"a", "b", "c"})
        m.addScene(new RCScene(n, "", ""), -1);
    RCScene* a = m.sceneAt(0);
    RCScene* b = m.sceneAt(1);
    ManagerLog log(&m);
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

void TestSceneManager::takeAndReAdd()
{
    RCSceneManager m;
    for (const char* n : {"a", "b", "c"})
        m.addScene(new RCScene(n, "", ""), -1);
    RCScene* a = m.sceneAt(0);
    a->addItem(new RCSceneItem);
    const QString id = a->getId();
    m.setCurrentScene(a);
    ManagerLog log(&m);
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

void TestSceneManager::jsonReplacesAndRoundTrips()
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
    ManagerLog log(&m);
    QVERIFY(m.fromJson(json));
    QCOMPARE(log.lines, QStringList({"remove old", "destroy old", "add s0 0", "add s1 1"}));
    QCOMPARE(m.sceneAt(1)->parent(), &m);
    QCOMPARE(static_cast<RCSceneItem*>(m.sceneAt(1)->getItem(2))->getPos(), QPoint(1, 2));
    QCOMPARE(m.toJson(), json);
    QVERIFY(m.fromJson(QJsonObject()));
    QCOMPARE(m.getSceneCount(), 0);
}

void TestSceneManager::duplicateSceneIdsKeepBoth()
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

void TestSceneManager::destructionRemovesAll()
{
    auto* m = new RCSceneManager;
    m->addScene(new RCScene("a", "", ""), -1);
    m->addScene(new RCScene("b", "", ""), -1);
    QPointer<RCScene> a = m->sceneAt(0);
    const QString id = a->getId();
    ManagerLog log(m);
    delete m;
    QCOMPARE(log.lines, QStringList({"remove a", "destroy a", "remove b", "destroy b"}));
    QVERIFY(a.isNull());
    QVERIFY(!RCObjectManager::instance()->getObject(id));
}

QTEST_GUILESS_MAIN(TestSceneManager)
#include "tst_scenemanager.moc"
