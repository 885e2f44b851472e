#include "model/IRCObject.h"
#include "model/RCKeys.h"
#include "model/RCObjectManager.h"
#include "support/SpyColumn.h"

#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include <memory>

namespace {

// A document object whose only state is its "Focus" value. Like a property set, it refuses a
// value it already holds and emits nothing then.
class FakeObject : public IRCObject
{
    Q_OBJECT
public:
    explicit FakeObject(eIRCObjectType type = eIRCObjectType_Scene,
                        QString id = QUuid::createUuid().toString())
        : m_type(type), m_id(std::move(id))
    {
    }
    eIRCObjectType getObjectType() const override { return m_type; }
    QString getId() const override { return m_id; }
    void setFocus(bool b) override { setPropertyValue(RCKeys::Focus(), b); }
    void setPropertyValue(QString sName, QVariant var) override
    {
        if (sName != RCKeys::Focus() || var.toBool() == m_focus)
            return;
        m_focus = var.toBool();
        announcePropertyValue(sName, var);
    }
    QVariant getPropertyValue(QString sName) const override
    {
        return sName == RCKeys::Focus() ? QVariant(m_focus) : QVariant();
    }
    bool focus() const { return m_focus; }
    void setId(const QString& id) { m_id = id; }

private:
    eIRCObjectType m_type;
    QString m_id;
    bool m_focus = false;
};

} // namespace

class TestObjectManager : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addedObjectArrivesUnfocusedAndRemovedIsSilent();
    void nullRefusedAndDuplicateIdKeepsFirst();
    void focusMovesOnce();
    void removeAndDestroyNeverDangle();

private:
    RCObjectManager* manager() { return RCObjectManager::instance(); }
};

void TestObjectManager::addedObjectArrivesUnfocusedAndRemovedIsSilent()
{
    FakeObject obj;
    obj.setFocus(true);
    QSignalSpy spy(manager(), &RCObjectManager::objectFocusChanged);
    manager()->addObject(&obj);
    QVERIFY(!obj.focus());
    QCOMPARE(manager()->getObject(obj.getId()), &obj);
    manager()->removeObject(&obj);
    QCOMPARE(manager()->getObject(obj.getId()), nullptr);
    obj.setFocus(true);
    QCOMPARE(spy.count(), 0);

    manager()->addObject(&obj); // a moved scene comes back unfocused, and is heard once
    QVERIFY(!obj.focus());
    obj.setFocus(true);
    QCOMPARE(test_support::column(spy), QStringList{obj.getId()});
    manager()->removeObject(&obj);
}

void TestObjectManager::nullRefusedAndDuplicateIdKeepsFirst()
{
    QTest::ignoreMessage(QtWarningMsg, "object is null");
    manager()->addObject(nullptr);
    manager()->removeObject(nullptr);
    FakeObject first;
    FakeObject second(eIRCObjectType_SceneItem, first.getId());
    manager()->addObject(&first);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("object already exist"));
    manager()->addObject(&second);
    QCOMPARE(manager()->getObject(first.getId()), &first);

    // The second one is not connected: its focus is not the registry's business.
    QSignalSpy spy(manager(), &RCObjectManager::objectFocusChanged);
    second.setFocus(true);
    QCOMPARE(spy.count(), 0);
    // Removing the unregistered twin leaves the registered object in place.
    manager()->removeObject(&second);
    QCOMPARE(manager()->getObject(first.getId()), &first);
    manager()->removeObject(&first);
    QCOMPARE(manager()->getObject(first.getId()), nullptr);
}

void TestObjectManager::focusMovesOnce()
{
    FakeObject scene(eIRCObjectType_Scene);
    FakeObject item(eIRCObjectType_SceneItem);
    manager()->addObject(&scene);
    manager()->addObject(&item);
    QSignalSpy spy(manager(), &RCObjectManager::objectFocusChanged);
    scene.setFocus(true);
    item.setFocus(true); // announced as none, then the new one
    QCOMPARE(test_support::column(spy), QStringList({scene.getId(), QString(), item.getId()}));
    QVERIFY(!scene.focus());

    spy.clear();
    item.setPropertyValue(RCKeys::Focus(), true);          // already focused
    scene.setFocus(false);                                 // not focused
    item.setPropertyValue(QStringLiteral("focus"), false); // another key, case included
    QCOMPARE(spy.count(), 0);
    item.setFocus(false);
    scene.setFocus(true);
    // Removing the focused object clears the focus.
    manager()->removeObject(&scene);
    QVERIFY(!scene.focus());
    QCOMPARE(test_support::column(spy), QStringList({QString(), scene.getId(), QString()}));
    manager()->removeObject(&item);
}

void TestObjectManager::removeAndDestroyNeverDangle()
{
    // Removed under an id it no longer holds.
    FakeObject renamed;
    const QString oldId = renamed.getId();
    manager()->addObject(&renamed);
    renamed.setFocus(true);
    renamed.setId(QStringLiteral("{renamed}"));
    manager()->removeObject(&renamed);
    QCOMPARE(manager()->getObject(oldId), nullptr);
    QVERIFY(!renamed.focus());

    // Deleted without being removed while focused.
    auto obj = std::make_unique<FakeObject>();
    const QString id = obj->getId();
    manager()->addObject(obj.get());
    obj->setFocus(true);
    QSignalSpy spy(manager(), &RCObjectManager::objectFocusChanged);
    obj.reset();
    QCOMPARE(test_support::column(spy), QStringList{QString()});
    QCOMPARE(manager()->getObject(id), nullptr);
    FakeObject next;
    manager()->addObject(&next);
    next.setFocus(true);
    QCOMPARE(test_support::column(spy).last(), next.getId());
    manager()->removeObject(&next);
}

QTEST_GUILESS_MAIN(TestObjectManager)
#include "tst_object_manager.moc"
