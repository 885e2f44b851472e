// Controls, their templates (instantiation parameters) and the control manager: adding, finding,
// removing, JSON, ownership, and calls from the script engine as QML makes them.
#include "ModelTestSupport.h"

#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCControl.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlInstantiationParam.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"

#include <QJSEngine>
#include <QJsonArray>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;
using model_test::propertyNames;

class tst_RCControlManager : public QObject
{
    Q_OBJECT

private slots:
    void newControlOfKind();
    void changesAndGroups();
    void controlJsonRoundTrip();
    void templateRows();

    void addOncePerKindAndLookups();
    void removeAndAddAgain();
    void fromJsonKeepsPresentIdsAndAllowsSecondOfKind();
    void destructionDeletesInListOrderWithoutRemoveSignals();
    void callableFromScriptEngine();
};

void tst_RCControlManager::newControlOfKind()
{
    RCControl control(21, nullptr);
    QCOMPARE(control.getObjectType(), eIRCObjectType_Control);
    QCOMPARE(control.getControlType(), IRCControl::EIRCControlType_Label);
    QCOMPARE(control.getIconPath(), QStringLiteral("qrc:/weizhi.png"));
    QCOMPARE(propertyNames(control.getProperties()),
             (QStringList{"Id", "ControlType", "ControlGroupNameList", "IconPath", "Name", "X", "Y", "Width",
                          "Height"}));
    QVERIFY(control.getProperties()->getProperty("Id")->getReadOnly());
    QVERIFY(RCControl(21, nullptr).getId() != control.getId());
    // A control has no focus row: setFocus adds nothing.
    control.setFocus(true);
    QVERIFY(!control.getProperties()->getProperty("Focus"));

    // Its template: a child of the control, without an id, with the kind as a hidden row.
    IRCControlInstantiationParam* param = control.getInstantiationParam();
    QCOMPARE(param->parent(), &control);
    QCOMPARE(param->getObjectType(), eIRCObjectType_ControlInstantiationParam);
    QCOMPARE(param->getId(), QString());
    QCOMPARE(propertyNames(param->getProperties()),
             (QStringList{"Width", "Height", "QmlPath", "ControlType"}));
    QCOMPARE(param->getPropertyValue("QmlPath"), QVariant("qrc:/RCSceneItem.qml"));
    IRCProperty* kind = param->getProperties()->getProperty("ControlType");
    QCOMPARE(kind->getValue(), QVariant(21));
    QVERIFY(!kind->getVisible() && !kind->getReadOnly());
    // Invokables take and return the kind under this name.
    QCOMPARE(QByteArray(QMetaType::fromType<IRCControl::EIRCControlType>().name()),
             QByteArray("IRCControl::EIRCControlType"));
}

void tst_RCControlManager::changesAndGroups()
{
    RCControl control(1, nullptr);
    QSignalSpy changed(&control, &IRCControl::propertyValueChanged);
    QSignalSpy objectChanged(&control, &IRCObject::propertyValueChanged);
    control.setName("新名字");
    control.setName("新名字");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0), QVariantList({"Name", "新名字"}));
    QCOMPARE(objectChanged.count(), 0);

    control.setPropertyValue(RCKeys::ControlGroupNameList(), QStringList{"Mirel", "Vexa"});
    QVERIFY(control.belongToGroup("Vexa"));
    QVERIFY(!control.belongToGroup("vexa") && !control.belongToGroup("Quenor") &&
            !control.belongToGroup(QString()));
}

void tst_RCControlManager::controlJsonRoundTrip()
{
    RCControl control(17, nullptr);
    control.setName("音量");
    control.setPropertyValue(RCKeys::ControlGroupNameList(), QStringList{"Mirel", "Quenor"});
    control.getInstantiationParam()->setSize(QSize(300, 50));
    control.getInstantiationParam()->addProperty("MaxIntValue", "最大值", true, false, QString(),
                                                 IRCPropertyDisplay::EIRCPropertyDisplayType_Int, 100);
    const QJsonObject json = control.toJson();
    RCControl copy(json, nullptr);
    QCOMPARE(copy.getId(), control.getId());
    QCOMPARE(copy.getControlType(), IRCControl::EIRCControlType_GlobalVolume);
    QCOMPARE(copy.getGroupNameList(), (QStringList{"Mirel", "Quenor"}));
    QCOMPARE(propertyNames(copy.getInstantiationParam()->getProperties()),
             (QStringList{"Width", "Height", "QmlPath", "ControlType", "MaxIntValue"}));
    QCOMPARE(copy.getInstantiationParam()->getSize(), QSize(300, 50));
    QCOMPARE(copy.toJson(), json);

    // Reading a record may change the kind.
    RCControl other(5, nullptr);
    QVERIFY(other.fromJson(json));
    QCOMPARE(other.getControlType(), IRCControl::EIRCControlType_GlobalVolume);
    QCOMPARE(other.getId(), control.getId());
}

void tst_RCControlManager::templateRows()
{
    RCControlInstantiationParam param;
    QCOMPARE(param.getSize(), QSize(100, 100));
    QSignalSpy changed(&param, &IRCObject::propertyValueChanged);
    param.setPropertyValue("Width", 10);
    param.setSize(QSize(20, 50));
    QCOMPARE(param.getPropertyValue("Width"), QVariant(20));
    QCOMPARE(changed.count(), 0); // a template relays nothing
    param.setQmlPath("qrc:/qml/scenePanel/RCSceneItemLabel.qml");
    QCOMPARE(param.getQmlPath(), QStringLiteral("qrc:/qml/scenePanel/RCSceneItemLabel.qml"));
    const QJsonObject json = param.toJson();
    QCOMPARE(json.keys(), QStringList{"propertyArray"});
    QCOMPARE(json.value("propertyArray").toArray().at(1).toObject().value("value"), QJsonValue(50));

    // Adding a row of a held name replaces it at the end.
    param.addProperty("Name", "名称", false, true, QString(), 0, "a");
    param.addProperty("Width", "宽", true, false, QString(), IRCPropertyDisplay::EIRCPropertyDisplayType_Int,
                      7);
    QCOMPARE(propertyNames(param.getProperties()), (QStringList{"Height", "QmlPath", "Name", "Width"}));
    QVERIFY(param.getProperties()->getProperty("Width")->getReadOnly());
}

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

void tst_RCControlManager::fromJsonKeepsPresentIdsAndAllowsSecondOfKind()
{
    RCControlManager manager;
    IRCControl* present = manager.addControl(IRCControl::EIRCControlType_Custom, "present", {}, QString());
    RCControl sameKind(IRCControl::EIRCControlType_Custom, nullptr);
    sameKind.setName("later");

    // A record with an id already held is discarded, whatever else it says.
    RCControl changedPresent(present->toJson(), nullptr);
    changedPresent.setName("changed");

    QSignalSpy added(&manager, &IRCControlManager::controlAdd);
    QVERIFY(manager.fromJson(
        QJsonObject{{"controlArray", QJsonArray{changedPresent.toJson(), sameKind.toJson()}}}));
    QCOMPARE(added.count(), 1);
    QCOMPARE(manager.getControlCout(), 2);
    QCOMPARE(present->getName(), u"present"_s);
    IRCControl* later = manager.getControl(1);
    QCOMPARE(later->getName(), u"later"_s);
    QCOMPARE(manager.getControlByType(IRCControl::EIRCControlType_Custom), later);
    // What the manager writes reads back the same.
    RCControlManager copy;
    QVERIFY(copy.fromJson(manager.toJson()));
    QCOMPARE(copy.toJson(), manager.toJson());
    QCOMPARE(copy.getControlByType(IRCControl::EIRCControlType_Custom), copy.getControl(1));

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
        // Each control announces itself once, its rows still there while the signal runs.
        const int kind = control->getControlType();
        connect(control, &IRCControl::destroySelf, this, [&order, control, kind] {
            order << QString("%1/%2").arg(kind).arg(control->getProperties()->count());
        });
    }
    QSignalSpy removed(manager, &IRCControlManager::controlRemove);
    delete manager;
    QCOMPARE(removed.count(), 0);
    QCOMPARE(order.size(), 43);
    QCOMPARE(order.at(13), u"43/9"_s);
    QCOMPARE(order.filter(QRegularExpression("/9$")).size(), 43);
}

void tst_RCControlManager::callableFromScriptEngine()
{
    auto* manager = new RCControlManager();
    RCControlCatalogue::build(manager);
    {
        QJSEngine engine;
        engine.globalObject().setProperty("manager", engine.newQObject(manager));
        // Kinds travel as plain numbers both ways; the misspelt names are the ones QML calls.
        const QJSValue result =
            engine.evaluate("var c = manager.getControlByType(17);"
                            "[manager.getControlCout(), c.getName(), c.getControlType(),"
                            " manager.getControllist().length, manager.getControl(13).getControlType(),"
                            " manager.getControlByType(20) === null, c.belongToGroup('Vexa'),"
                            " c.getInstantiationParam().toJson().propertyArray.length].join()");
        QCOMPARE(result.toString(), u"43,全局音量,17,43,43,true,true,18"_s);
        engine.collectGarbage();
    }
    // The engine never owned the manager or the controls it handed out.
    QCOMPARE(manager->getControlCout(), 43);
    QCOMPARE(manager->getControlByType(IRCControl::EIRCControlType_GlobalVolume)->getName(), u"全局音量"_s);
    delete manager;
}

QTEST_GUILESS_MAIN(tst_RCControlManager)
#include "tst_RCControlManager.moc"
