#include "model/IRCObject.h"
#include "model/RCKeys.h"
#include "model/RCObjectManager.h"

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
        Q_EMIT propertyValueChanged(sName, var);
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

QStringList ids(const QSignalSpy& spy)
{
    QStringList out;
    for (const QList<QVariant>& args : spy)
        out.append(args.at(0).toString());
    return out;
}

} // namespace

class TestObjectManager : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addedObjectArrivesUnfocused();
    void duplicateIdKeepsFirst();
    void movingFocusAnnouncesEmptyThenNew();
    void focusNoOpsAndClearing();
    void removingFocusedObjectClearsFocus();
    void removeFindsObjectWhoseIdChanged();
    void destroyedFocusedObjectNeverDangles();
    void removedObjectIsSilentUntilReAdded();
    void nullObjectIsLogged();

private:
    RCObjectManager* manager() { return RCObjectManager::instance(); }
};

void TestObjectManager::addedObjectArrivesUnfocused()
{
    FakeObject obj;
    obj.setFocus(true);
    QSignalSpy spy(manager(), &RCObjectManager::objectFocusChanged);
    manager()->addObject(&obj);
    QVERIFY(!obj.focus());
    QCOMPARE(spy.count(), 0);
    QCOMPARE(manager()->getObject(obj.getId()), &obj);
    manager()->removeObject(&obj);
    QCOMPARE(manager()->getObject(obj.getId()), nullptr);
}

void TestObjectManager::duplicateIdKeepsFirst()
{
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

void TestObjectManager::movingFocusAnnouncesEmptyThenNew()
{
    FakeObject scene(eIRCObjectType_Scene);
    FakeObject item(eIRCObjectType_SceneItem);
    manager()->addObject(&scene);
    manager()->addObject(&item);
    QSignalSpy spy(manager(), &RCObjectManager::objectFocusChanged);

    scene.setFocus(true);
    QCOMPARE(ids(spy), QStringList{scene.getId()});
    spy.clear();

    item.setFocus(true);
    QCOMPARE(ids(spy), QStringList({QString(), item.getId()}));
    QVERIFY(!scene.focus());
    QVERIFY(item.focus());

    manager()->removeObject(&scene);
    manager()->removeObject(&item);
}

void TestObjectManager::focusNoOpsAndClearing()
{
    FakeObject a;
    FakeObject b;
    manager()->addObject(&a);
    manager()->addObject(&b);
    a.setFocus(true);
    QSignalSpy spy(manager(), &RCObjectManager::objectFocusChanged);

    a.setPropertyValue(RCKeys::Focus(), true);          // already focused
    b.setFocus(false);                                  // not focused
    a.setPropertyValue(QStringLiteral("focus"), false); // another key, case included
    QCOMPARE(spy.count(), 0);
    QVERIFY(a.focus());

    a.setFocus(false);
    QCOMPARE(ids(spy), QStringList{QString()});

    manager()->removeObject(&a);
    manager()->removeObject(&b);
}

void TestObjectManager::removingFocusedObjectClearsFocus()
{
    FakeObject a;
    FakeObject b;
    manager()->addObject(&a);
    manager()->addObject(&b);
    a.setFocus(true);
    QSignalSpy spy(manager(), &RCObjectManager::objectFocusChanged);
    manager()->removeObject(&a);
    QVERIFY(!a.focus());
    QCOMPARE(ids(spy), QStringList{QString()});

    // Focus is free: b can take it with a single announcement.
    spy.clear();
    b.setFocus(true);
    QCOMPARE(ids(spy), QStringList{b.getId()});
    manager()->removeObject(&b);
}

void TestObjectManager::removeFindsObjectWhoseIdChanged()
{
    FakeObject obj;
    const QString oldId = obj.getId();
    manager()->addObject(&obj);
    obj.setFocus(true);
    obj.setId(QStringLiteral("{renamed}"));
    manager()->removeObject(&obj);
    QCOMPARE(manager()->getObject(oldId), nullptr);
    QVERIFY(!obj.focus());
}

void TestObjectManager::destroyedFocusedObjectNeverDangles()
{
    auto obj = std::make_unique<FakeObject>();
    const QString id = obj->getId();
    manager()->addObject(obj.get());
    obj->setFocus(true);
    QSignalSpy spy(manager(), &RCObjectManager::objectFocusChanged);
    obj.reset();
    QCOMPARE(ids(spy), QStringList{QString()});
    QCOMPARE(manager()->getObject(id), nullptr);

    // The registry still works and does not touch the deleted object.
    FakeObject next;
    manager()->addObject(&next);
    next.setFocus(true);
    QCOMPARE(ids(spy).last(), next.getId());
    manager()->removeObject(&next);
}

void TestObjectManager::removedObjectIsSilentUntilReAdded()
{
    FakeObject obj;
    manager()->addObject(&obj);
    manager()->removeObject(&obj);
    QSignalSpy spy(manager(), &RCObjectManager::objectFocusChanged);
    obj.setFocus(true);
    QCOMPARE(spy.count(), 0);

    manager()->addObject(&obj); // a moved scene comes back unfocused, and is heard once
    QVERIFY(!obj.focus());
    obj.setFocus(true);
    QCOMPARE(ids(spy), QStringList{obj.getId()});
    manager()->removeObject(&obj);
}

void TestObjectManager::nullObjectIsLogged()
{
    QTest::ignoreMessage(QtWarningMsg, "object is null");
    manager()->addObject(nullptr);
    manager()->removeObject(nullptr);
}

QTEST_GUILESS_MAIN(TestObjectManager)
#include "tst_object_manager.moc"
