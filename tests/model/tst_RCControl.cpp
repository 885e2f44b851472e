// A control and its template (instantiation parameter).
#include "ModelTestSupport.h"

#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCControl.h"
#include "model/RCControlInstantiationParam.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QtTest>

using model_test::propertyNames;

class tst_RCControl : public QObject
{
    Q_OBJECT

private slots:
    void newControlOfKind();
    void changesAndGroups();
    void jsonRoundTrip();
    void destructorAnnouncesOnce();
    void templateRows();
};

void tst_RCControl::newControlOfKind()
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

void tst_RCControl::changesAndGroups()
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

void tst_RCControl::jsonRoundTrip()
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

void tst_RCControl::destructorAnnouncesOnce()
{
    auto* control = new RCControl(1, nullptr);
    QSignalSpy gone(control, &IRCControl::destroySelf);
    int emittedWithRows = -1;
    connect(control, &IRCControl::destroySelf, this,
            [&] { emittedWithRows = control->getProperties() ? control->getProperties()->count() : 0; });
    delete control;
    QCOMPARE(gone.count(), 1);
    // The rows are still there while the signal runs.
    QCOMPARE(emittedWithRows, 9);
}

void tst_RCControl::templateRows()
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

QTEST_GUILESS_MAIN(tst_RCControl)
#include "tst_RCControl.moc"
