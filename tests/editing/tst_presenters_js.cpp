// The presenters as QML script sees them: default arguments, JS arrays for the list operations,
// and C++ ownership of the objects handed to the engine.
#include "EditingFixture.h"

#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/RCProperties.h"
#include "model/RCScene.h"

#include <QJSEngine>
#include <QTest>

using namespace editing_fixture;

class TestPresentersJs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init() { resetDocument(); }
    void defaultArguments();
    void listsFromJsArrays();
    void engineDoesNotOwnPresenters();
    void documentObjectsHandOutTheirPropertySet();

private:
    QJSValue eval(const QString& code)
    {
        const QJSValue result = m_engine->evaluate(code);
        if (result.isError())
            qWarning() << result.toString();
        return result;
    }
    std::unique_ptr<QJSEngine> m_engine;
};

void TestPresentersJs::initTestCase()
{
    m_engine = std::make_unique<QJSEngine>();
    m_engine->globalObject().setProperty("scenes", m_engine->newQObject(RCScenePresenter::instance()));
    m_engine->globalObject().setProperty("items", m_engine->newQObject(RCSceneItemPresenter::instance()));
}

void TestPresentersJs::defaultArguments()
{
    const QString id = eval("scenes.addScene('A')").toString();
    QVERIFY(!id.isEmpty());
    QVERIFY(RCCommandManager::instance()->canUndo());
    const QString first = eval("scenes.insertScene('B', '', '', 0, false)").toString();
    QCOMPARE(eval("scenes.getSceneIds()").toVariant().toStringList(), QStringList({first, id}));
    QCOMPARE(eval("scenes.moveScene('" + first + "', 1)").toBool(), true);
    QCOMPARE(eval("scenes.removeScene('" + id + "')").toBool(), true);
    QCOMPARE(eval("scenes.getSceneCount()").toInt(), 1);
}

void TestPresentersJs::listsFromJsArrays()
{
    const QString scene = RCScenePresenter::instance()->addScene("S", QString(), QString(), false);
    m_engine->globalObject().setProperty("sceneId", scene);
    m_engine->globalObject().setProperty(
        "template", m_engine->toScriptValue(QVariant(itemTemplate("from js", 7, 8).toVariantMap())));

    const QStringList ids =
        eval("items.addItemList(sceneId, [template, template], true)").toVariant().toStringList();
    QCOMPARE(ids.size(), 2);
    QVERIFY(!ids[0].isEmpty() && !ids[1].isEmpty() && ids[0] != ids[1]);
    QCOMPARE(RCSceneItemPresenter::instance()->getPos(scene, ids[1]), QPoint(7, 8));
    QCOMPARE(RCSceneItemPresenter::instance()->getPropertyValue(scene, ids[0], RCKeys::Name()).toString(),
             QStringLiteral("from js"));
    QCOMPARE(undoAll(), 1);
    RCCommandManager::instance()->redo();

    m_engine->globalObject().setProperty("ids", m_engine->toScriptValue(ids));
    QVERIFY(eval("items.removeItemList(sceneId, [ids[1], ids[0]], true)").toBool());
    QCOMPARE(RCSceneItemPresenter::instance()->getItemCount(scene), 0);

    const QString one = eval("items.addItem(sceneId, template, false)").toString();
    QVERIFY(!one.isEmpty());
}

void TestPresentersJs::engineDoesNotOwnPresenters()
{
    QCOMPARE(QJSEngine::objectOwnership(RCScenePresenter::instance()), QJSEngine::CppOwnership);
    QCOMPARE(QJSEngine::objectOwnership(RCSceneItemPresenter::instance()), QJSEngine::CppOwnership);
    m_engine->collectGarbage();
    QCOMPARE(RCScenePresenter::instance()->getSceneCount(), 0);
}

void TestPresentersJs::documentObjectsHandOutTheirPropertySet()
{
    const QString scene = RCScenePresenter::instance()->addScene("S", QString(), QString(), false);
    RCScene* object = RCSceneManager::instance()->getScene(scene);
    m_engine->globalObject().setProperty("scene", m_engine->newQObject(object));
    QCOMPARE(eval("scene.getId()").toString(), scene);
    QCOMPARE(eval("scene.getObjectType()").toInt(), 4);
    const QJSValue properties = eval("scene.getProperties()");
    QVERIFY(properties.isQObject());
    QCOMPARE(properties.toQObject(), object->getProperties());
}

QTEST_GUILESS_MAIN(TestPresentersJs)
#include "tst_presenters_js.moc"
