// Scene items made from catalogue templates, as a drop onto a scene makes them.
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCProperty.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"
#include "model/RCSceneItem.h"

#include <QJsonArray>
#include <QtTest>

class tst_RCControlCatalogueDrop : public QObject
{
    Q_OBJECT

private slots:
    void everyKindDropsAsItsOwnItem();
};

void tst_RCControlCatalogueDrop::everyKindDropsAsItsOwnItem()
{
    RCControlManager manager;
    QCOMPARE(RCControlCatalogue::build(&manager), 43);
    for (IRCControl* control : manager.getControllist()) {
        const QJsonObject tmpl = control->getInstantiationParam()->toJson();
        RCSceneItem a(tmpl, nullptr);
        RCSceneItem b(tmpl, nullptr);
        const QByteArray kind = QByteArray::number(control->getControlType());
        QVERIFY2(a.getPropertyValue(RCKeys::ControlType()).toInt() == control->getControlType(), kind);
        QVERIFY2(a.getSize() == control->getInstantiationParam()->getSize(), kind);
        QVERIFY2(a.getPropertyValue(RCKeys::QmlPath()) == control->getInstantiationParam()->getQmlPath(),
                 kind);
        // The kind row keeps the item default's place; two drops differ in their ids only.
        QVERIFY2(a.getProperties()->getPropertyAt(1)->getName() == RCKeys::ControlType(), kind);
        QVERIFY2(!a.getId().isEmpty() && a.getId() != b.getId(), kind);
        QJsonArray rowsA = a.toJson().value("propertyArray").toArray();
        QJsonArray rowsB = b.toJson().value("propertyArray").toArray();
        rowsA.removeAt(0);
        rowsB.removeAt(0);
        QVERIFY2(rowsA == rowsB, kind);
    }
}

QTEST_GUILESS_MAIN(tst_RCControlCatalogueDrop)
#include "tst_RCControlCatalogueDrop.moc"
