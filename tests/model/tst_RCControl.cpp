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
    void nameChangeIsRelayed();
    void groupsAreCaseSensitive();
    void idsDiffer();
    void jsonRoundTrip();
    void fromJsonCanChangeKind();
    void destructorAnnouncesOnce();
    void templateAddPropertyReplacesAndMovesToEnd();
    void templateSizeAndPath();
    void templateIsNotRelayed();
    void objectTypes();
};

void tst_RCControl::newControlOfKind()
{
    RCControl control(21, nullptr);
    QCOMPARE(control.getControlType(), IRCControl::EIRCControlType_Label);
    QCOMPARE(control.getName(), QString());
    QCOMPARE(control.getIconPath(), QStringLiteral("qrc:/weizhi.png"));
    QCOMPARE(control.getGroupNameList(), QStringList());
    QCOMPARE(propertyNames(control.getProperties()),
             (QStringList{"Id", "ControlType", "ControlGroupNameList", "IconPath", "Name", "X", "Y", "Width",
                          "Height"}));
    IRCProperty* id = control.getProperties()->getProperty("Id");
    QVERIFY(id->getReadOnly() && !id->getVisible());
    QCOMPARE(control.getId().size(), 38);

    IRCControlInstantiationParam* param = control.getInstantiationParam();
    QVERIFY(param);
    RCProperties* rows = param->getProperties();
    QCOMPARE(propertyNames(rows), (QStringList{"Width", "Height", "QmlPath", "ControlType"}));
    QCOMPARE(rows->getPropertyValue("Width"), QVariant(100));
    QCOMPARE(rows->getPropertyValue("Height"), QVariant(100));
    QCOMPARE(rows->getPropertyValue("QmlPath"), QVariant("qrc:/RCSceneItem.qml"));
    IRCProperty* kind = rows->getProperty("ControlType");
    QCOMPARE(kind->getValue(), QVariant(21));
    QVERIFY(!kind->getVisible() && !kind->getReadOnly());
    QCOMPARE(kind->getDisplay()->getType(), IRCPropertyDisplay::EIRCPropertyDisplayType_Int);
    QCOMPARE(kind->getDescription(), QStringLiteral("控件类型"));
}

void tst_RCControl::nameChangeIsRelayed()
{
    RCControl control(1, nullptr);
    QSignalSpy changed(&control, &IRCControl::propertyValueChanged);
    QSignalSpy objectChanged(&control, &IRCObject::propertyValueChanged);
    control.setName("新名字");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0), QVariant("Name"));
    QCOMPARE(changed.at(0).at(1), QVariant("新名字"));
    QCOMPARE(objectChanged.count(), 0);
    // An equal value is no change.
    control.setName("新名字");
    QCOMPARE(changed.count(), 1);
}

void tst_RCControl::groupsAreCaseSensitive()
{
    RCControl control(1, nullptr);
    control.setPropertyValue(RCKeys::ControlGroupNameList(), QStringList{"Mirel", "Vexa"});
    QVERIFY(control.belongToGroup("Vexa"));
    QVERIFY(!control.belongToGroup("vexa"));
    QVERIFY(!control.belongToGroup("Quenor"));
    QVERIFY(!control.belongToGroup(QString()));
}

void tst_RCControl::idsDiffer()
{
    RCControl a(1, nullptr);
    RCControl b(1, nullptr);
    QVERIFY(a.getId() != b.getId());
    QCOMPARE(a.getInstantiationParam()->getId(), QString());
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
    QCOMPARE(copy.getName(), QStringLiteral("音量"));
    QCOMPARE(copy.getGroupNameList(), (QStringList{"Mirel", "Quenor"}));
    QCOMPARE(propertyNames(copy.getProperties()), propertyNames(control.getProperties()));
    QCOMPARE(propertyNames(copy.getInstantiationParam()->getProperties()),
             (QStringList{"Width", "Height", "QmlPath", "ControlType", "MaxIntValue"}));
    QCOMPARE(copy.getInstantiationParam()->getSize(), QSize(300, 50));
    QCOMPARE(copy.toJson(), json);
}

void tst_RCControl::fromJsonCanChangeKind()
{
    RCControl control(5, nullptr);
    RCControl other(9, nullptr);
    QVERIFY(control.fromJson(other.toJson()));
    QCOMPARE(control.getControlType(), IRCControl::EIRCControlType_StopAllProgram);
    QCOMPARE(control.getId(), other.getId());
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

void tst_RCControl::templateAddPropertyReplacesAndMovesToEnd()
{
    RCControlInstantiationParam param;
    param.addProperty("Name", "名称", false, true, QString(), 0, "a");
    param.addProperty("Width", "宽", true, false, QString(), IRCPropertyDisplay::EIRCPropertyDisplayType_Int,
                      7);
    QCOMPARE(propertyNames(param.getProperties()), (QStringList{"Height", "QmlPath", "Name", "Width"}));
    IRCProperty* width = param.getProperties()->getProperty("Width");
    QCOMPARE(width->getValue(), QVariant(7));
    QVERIFY(width->getReadOnly());
    QCOMPARE(width->getDescription(), QStringLiteral("宽"));
}

void tst_RCControl::templateSizeAndPath()
{
    RCControlInstantiationParam param;
    QCOMPARE(param.getSize(), QSize(100, 100));
    param.setSize(QSize(100, 50));
    QCOMPARE(param.getSize(), QSize(100, 50));
    param.setQmlPath("qrc:/qml/scenePanel/RCSceneItemLabel.qml");
    QCOMPARE(param.getQmlPath(), QStringLiteral("qrc:/qml/scenePanel/RCSceneItemLabel.qml"));

    const QJsonArray rows = param.toJson().value("propertyArray").toArray();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).toObject().value("name"), QJsonValue("Width"));
    QCOMPARE(rows.at(0).toObject().value("value"), QJsonValue(100));
    QCOMPARE(rows.at(1).toObject().value("value"), QJsonValue(50));
    QCOMPARE(param.toJson().keys(), QStringList{"propertyArray"});
}

void tst_RCControl::templateIsNotRelayed()
{
    RCControlInstantiationParam param;
    QSignalSpy changed(&param, &IRCObject::propertyValueChanged);
    param.setPropertyValue("Width", 10);
    param.setSize(QSize(20, 30));
    QCOMPARE(param.getPropertyValue("Width"), QVariant(20));
    QCOMPARE(changed.count(), 0);
}

void tst_RCControl::objectTypes()
{
    RCControl control(1, nullptr);
    QCOMPARE(control.getObjectType(), eIRCObjectType_Control);
    QCOMPARE(control.getInstantiationParam()->getObjectType(), eIRCObjectType_ControlInstantiationParam);
    // A control has no focus row: setFocus adds nothing.
    control.setFocus(true);
    QVERIFY(!control.getProperties()->getProperty("Focus"));
    // The template is a child of the control and goes with it.
    QCOMPARE(control.getInstantiationParam()->parent(), &control);
    // Invokables take and return the kind under this name.
    QCOMPARE(QByteArray(QMetaType::fromType<IRCControl::EIRCControlType>().name()),
             QByteArray("IRCControl::EIRCControlType"));
}

QTEST_GUILESS_MAIN(tst_RCControl)
#include "tst_RCControl.moc"
