#include "editing/Platform.h"
#include "editing/RCCommand.h"
#include "editing/RCCommandManager.h"
#include "model/IRCObject.h"
#include "model/RCKeys.h"
#include "model/RCObjectManager.h"

#include <QSignalSpy>
#include <QTest>
#include <QUuid>

namespace {

class FakeObject : public IRCObject
{
    Q_OBJECT
public:
    explicit FakeObject(eIRCObjectType type) : m_type(type), m_id(QUuid::createUuid().toString()) {}
    eIRCObjectType getObjectType() const override { return m_type; }
    QString getId() const override { return m_id; }
    void setFocus(bool b) override
    {
        if (b == m_focus)
            return;
        m_focus = b;
        Q_EMIT propertyValueChanged(RCKeys::Focus(), b);
    }

private:
    eIRCObjectType m_type;
    QString m_id;
    bool m_focus = false;
};

class Counter : public RCCommand
{
public:
    explicit Counter(int* value) : m_value(value) {}
    bool execute() override { return ++*m_value, true; }
    bool undo() override { return --*m_value, true; }
    QString typeName() const override { return QStringLiteral("Counter"); }

private:
    int* m_value;
};

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void idsByTypeAndFocus();
    void forwardsToUndoHistory();
};

void TestPlatform::idsByTypeAndFocus()
{
    FakeObject scene(eIRCObjectType_Scene);
    FakeObject item(eIRCObjectType_SceneItem);
    FakeObject control(eIRCObjectType_Control);
    for (FakeObject* obj : {&scene, &item, &control})
        RCObjectManager::instance()->addObject(obj);
    Platform* platform = Platform::instance();
    QCOMPARE(platform->tryGetSceneId(scene.getId()), scene.getId());
    QCOMPARE(platform->tryGetSceneItemId(item.getId()), item.getId());
    QCOMPARE(platform->tryGetSceneId(item.getId()), QString());
    QCOMPARE(platform->tryGetSceneItemId(scene.getId()), QString());
    QCOMPARE(platform->tryGetSceneId(control.getId()), QString());
    QCOMPARE(platform->tryGetSceneItemId(QStringLiteral("{not-registered}")), QString());

    // Focus changes of the registry are relayed: none, then the new one.
    QSignalSpy spy(platform, &Platform::objectFocusChanged);
    scene.setFocus(true);
    item.setFocus(true);
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(1).at(0).toString(), QString());
    QCOMPARE(spy.at(2).at(0).toString(), item.getId());
    for (FakeObject* obj : {&scene, &item, &control})
        RCObjectManager::instance()->removeObject(obj);
    QCOMPARE(platform->tryGetSceneId(scene.getId()), QString());
}

void TestPlatform::forwardsToUndoHistory()
{
    Platform* platform = Platform::instance();
    int value = 0;
    auto* cmd = new Counter(&value);
    cmd->execute();
    RCCommandManager::instance()->push(cmd, RCCommandManager::UndoStack, true);
    QVERIFY(platform->canUndo());
    platform->undo();
    QCOMPARE(value, 0);
    QVERIFY(!platform->canUndo());
    platform->redo();
    QCOMPARE(value, 1);
    QVERIFY(platform->canUndo());
    platform->clearCommands();
    QVERIFY(!platform->canUndo());
    platform->redo();
    QCOMPARE(value, 1);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
