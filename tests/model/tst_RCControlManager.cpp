// The control manager: adding, finding, removing, JSON, ownership, and calls from the script
// engine as QML makes them.
#include "model/RCControl.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"

#include <QJSEngine>
#include <QJsonArray>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

class tst_RCControlManager : public QObject
{
    Q_OBJECT

private slots:
    void addOncePerKindAndLookups();
    void removeAndAddAgain();
    void jsonRoundTrip();
    void fromJsonKeepsPresentIdsAndAllowsSecondOfKind();
    void destructionDeletesInListOrderWithoutRemoveSignals();
    void callableFromScriptEngine();
};

void tst_RCControlManager::addOncePerKindAndLookups()
{
    RCControlManager manager;
    QCOMPARE(manager.getObjectType(), eIRCObjectType_ControlManager);
    QVERIFY(!manager.getProperties() && manager.getId().isEmpty());
    manager.setPropertyValue("Name", "x");
    QVERIFY(!manager.getPropertyValue("Name").isValid());
    QSignalSpy added(&manager, &IRCControlManager::controlAdd);
    IRCControl* a = manager.addControl(IRCControl::EIRCControlType_Label, "标签", {"Mirel", "Quenor"},
                                       "qrc:/control/label.png");
    IRCControl* b = manager.addControl(IRCControl::EIRCControlType_Custom, "b", {}, QString());
    QVERIFY(!manager.addControl(IRCControl::EIRCControlType_Label, "other", {"Vexa"}, "x.png"));
    QCOMPARE(added.count(), 2);
    QCOMPARE(added.at(0).at(0).value<IRCControl*>(), a);
    QCOMPARE(a->parent(), &manager);
    QCOMPARE(a->getName(), u"标签"_s);
    QCOMPARE(a->getGroupNameList(), (QStringList{"Mirel", "Quenor"}));
    QCOMPARE(a->getIconPath(), u"qrc:/control/label.png"_s);
    QCOMPARE(manager.getControllist(), (QList<IRCControl*>{a, b}));
    QCOMPARE(manager.getControl(1), b);
    QVERIFY(!manager.getControl(-1) && !manager.getControl(2));
    QCOMPARE(manager.getControlById(b->getId()), b);
    QVERIFY(!manager.getControlById(QString()));
    QCOMPARE(manager.getControlByType(IRCControl::EIRCControlType_Label), a);
    QVERIFY(!manager.getControlByType(IRCControl::EIRCControlType_Script));
}

void tst_RCControlManager::removeAndAddAgain()
{
    RCControlManager manager;
    manager.addControl(IRCControl::EIRCControlType_Custom, "a", {}, QString());
    IRCControl* control = manager.addControl(IRCControl::EIRCControlType_Script, "b", {}, QString());
    const QString id = control->getId();
    QStringList order;
    connect(&manager, &IRCControlManager::controlRemove, this, [&order] { order << "controlRemove"; });
    connect(control, &IRCControl::destroySelf, this, [&order] { order << "destroySelf"; });
    QVERIFY(!manager.removeControl(QString()));
    QVERIFY(!manager.removeControl(static_cast<IRCControl*>(nullptr)));
    QVERIFY(manager.removeControl(id));
    QVERIFY(!manager.removeControl(id));
    QCOMPARE(order, (QStringList{"controlRemove", "destroySelf"}));
    QVERIFY(!manager.getControlById(id) && !manager.getControlByType(IRCControl::EIRCControlType_Script));
    IRCControl* again = manager.addControl(IRCControl::EIRCControlType_Script, "c", {}, QString());
    QCOMPARE(manager.getControlByType(IRCControl::EIRCControlType_Script), again);
    QVERIFY(manager.removeControl(again));

    // A control that a controlAdd handler removes at once is not answered.
    connect(&manager, &IRCControlManager::controlAdd, &manager,
            [&manager](IRCControl* added) { manager.removeControl(added); });
    QCOMPARE(manager.addControl(IRCControl::EIRCControlType_Script, "gone", {}, QString()), nullptr);
    QCOMPARE(manager.getControlCout(), 1);
}

void tst_RCControlManager::jsonRoundTrip()
{
    RCControlManager source;
    source.addControl(IRCControl::EIRCControlType_StageView, "a", {"Mirel"}, QString());
    IRCControl* b = source.addControl(IRCControl::EIRCControlType_Custom, "b", {"Vexa"}, QString());
    const QJsonObject json = source.toJson();
    QCOMPARE(json.keys(), QStringList{"controlArray"});
    RCControlManager copy;
    QVERIFY(copy.fromJson(json));
    QCOMPARE(copy.getControl(1)->getId(), b->getId());
    QCOMPARE(copy.getControlByType(IRCControl::EIRCControlType_Custom), copy.getControl(1));
    QCOMPARE(copy.toJson(), json);
}

void tst_RCControlManager::fromJsonKeepsPresentIdsAndAllowsSecondOfKind()
{
    RCControlManager manager;
    IRCControl* present = manager.addControl(IRCControl::EIRCControlType_Custom, "present", {}, QString());
    RCControl sameKind(IRCControl::EIRCControlType_Custom, nullptr);
    sameKind.setName("later");

    QJsonObject changedPresent = present->toJson();
    // A record with an id already held is discarded, whatever else it says.
    QJsonArray rows = changedPresent.value("propertyArray").toArray();
    for (int i = 0; i < rows.size(); ++i) {
        QJsonObject row = rows.at(i).toObject();
        if (row.value("name") == QJsonValue("Name")) {
            row.insert("value", "changed");
            rows.replace(i, row);
        }
    }
    changedPresent.insert("propertyArray", rows);

    QSignalSpy added(&manager, &IRCControlManager::controlAdd);
    QVERIFY(manager.fromJson(QJsonObject{{"controlArray", QJsonArray{changedPresent, sameKind.toJson()}}}));
    QCOMPARE(added.count(), 1);
    QCOMPARE(manager.getControlCout(), 2);
    QCOMPARE(present->getName(), u"present"_s);
    IRCControl* later = manager.getControl(1);
    QCOMPARE(later->getName(), u"later"_s);
    QCOMPARE(manager.getControlByType(IRCControl::EIRCControlType_Custom), later);

    // Removing the earlier control of the kind leaves the later one findable by kind, so that
    // addControl cannot create a third control of that kind.
    QVERIFY(manager.removeControl(present));
    QCOMPARE(manager.getControlByType(IRCControl::EIRCControlType_Custom), later);
    QVERIFY(!manager.addControl(IRCControl::EIRCControlType_Custom, "third", {}, QString()));
    QVERIFY(manager.removeControl(later));
    QVERIFY(!manager.getControlByType(IRCControl::EIRCControlType_Custom));
    QCOMPARE(manager.getControlCout(), 0);
}

void tst_RCControlManager::destructionDeletesInListOrderWithoutRemoveSignals()
{
    auto* manager = RCControlManager::create();
    QVERIFY(!manager->parent());
    RCControlCatalogue::build(manager);
    QStringList order;
    for (IRCControl* control : manager->getControllist()) {
        const QString name = QString::number(control->getControlType());
        connect(control, &IRCControl::destroySelf, this, [&order, name] { order << name; });
    }
    QSignalSpy removed(manager, &IRCControlManager::controlRemove);
    delete manager;
    QCOMPARE(removed.count(), 0);
    QCOMPARE(order.size(), 43);
    QCOMPARE(order.at(13), u"43"_s);
}

void tst_RCControlManager::callableFromScriptEngine()
{
    auto* manager = new RCControlManager();
    RCControlCatalogue::build(manager);
    {
        QJSEngine engine;
        engine.globalObject().setProperty("manager", engine.newQObject(manager));
        // Kinds travel as plain numbers both ways; the misspelt names are the ones QML calls.
        QJSValue result =
            engine.evaluate("var c = manager.getControlByType(17);"
                            "[manager.getControlCout(), c.getName(), c.getControlType(),"
                            " manager.getControllist().length, manager.getControl(13).getControlType(),"
                            " manager.getControlByType(20) === null, c.belongToGroup('Vexa'),"
                            " c.getInstantiationParam().toJson().propertyArray.length]");
        QVERIFY2(!result.isError(), qPrintable(result.toString()));
        QCOMPARE(result.property(0).toInt(), 43);
        QCOMPARE(result.property(1).toString(), u"全局音量"_s);
        QCOMPARE(result.property(2).toInt(), 17);
        QCOMPARE(result.property(3).toInt(), 43);
        QCOMPARE(result.property(4).toInt(), 43);
        QVERIFY(result.property(5).toBool());
        QVERIFY(result.property(6).toBool());
        QCOMPARE(result.property(7).toInt(), 4 + 14);
        engine.collectGarbage();
    }
    // The engine never owned the manager or the controls it handed out.
    QCOMPARE(manager->getControlCout(), 43);
    QCOMPARE(manager->getControlByType(IRCControl::EIRCControlType_GlobalVolume)->getName(), u"全局音量"_s);
    delete manager;
}

QTEST_GUILESS_MAIN(tst_RCControlManager)
#include "tst_RCControlManager.moc"
