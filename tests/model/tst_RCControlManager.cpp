// Controls, their templates (instantiation parameters), the control manager (adding, finding,
// removing, JSON, ownership, calls from the script engine as QML makes them) and the control
// catalogue: the whole of it (kinds, order, every row and its choices) against a reviewed golden
// snapshot, how it is built, and the scene items its templates make.
#include "ModelTestSupport.h"

#include "model/IRCControlInstantiationParam.h"
#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCControl.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlInstantiationParam.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneItemViews.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJSEngine>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using model_test::propertyNames;

namespace {

// Marks every looked-up text with its context, so that a test sees which texts went through the
// lookup and in which context.
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char* = nullptr,
                      int = -1) const override
    {
        return u"%1|%2"_s.arg(QString::fromLatin1(context), QString::fromUtf8(sourceText));
    }
    bool isEmpty() const override { return false; }
};

std::unique_ptr<RCControlManager> buildCatalogue()
{
    auto manager = std::make_unique<RCControlManager>();
    RCControlCatalogue::build(manager.get());
    return manager;
}

IRCProperty* templateRow(IRCControlManager* manager, int kind, const QString& key)
{
    IRCControl* control = manager->getControlByType(IRCControl::EIRCControlType(kind));
    if (!control)
        return nullptr;
    return control->getInstantiationParam()->getProperties()->getProperty(key);
}

// The catalogue as JSON, with the one value that differs between runs (each control's fresh id)
// blanked.
QJsonObject snapshot(const IRCControlManager& manager)
{
    QJsonArray controls;
    for (IRCControl* control : manager.getControllist()) {
        QJsonObject jsControl = control->toJson();
        QJsonArray rows = jsControl.value("propertyArray").toArray();
        for (int i = 0; i < rows.size(); ++i) {
            QJsonObject row = rows.at(i).toObject();
            if (row.value("name").toString() == RCKeys::Id()) {
                row.insert("value", QString());
                rows.replace(i, row);
            }
        }
        jsControl.insert("propertyArray", rows);
        controls.append(jsControl);
    }
    return QJsonObject{{"controlArray", controls}};
}

QByteArray compact(const QJsonValue& value)
{
    return value.isObject() ? QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact)
                            : QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
}

// One line per property record, so that the checked-in file reads row by row.
QByteArray formatSnapshot(const QJsonObject& snap)
{
    QByteArray out = "{\"controlArray\": [\n";
    const QJsonArray controls = snap.value("controlArray").toArray();
    for (int c = 0; c < controls.size(); ++c) {
        const QJsonObject control = controls.at(c).toObject();
        out += "{\"propertyArray\": [\n";
        const QJsonArray rows = control.value("propertyArray").toArray();
        for (int r = 0; r < rows.size(); ++r)
            out += "  " + compact(rows.at(r)) + (r + 1 < rows.size() ? ",\n" : "\n");
        out += "], \"instanceParam\": {\"propertyArray\": [\n";
        const QJsonArray tmpl = control.value("instanceParam").toObject().value("propertyArray").toArray();
        for (int r = 0; r < tmpl.size(); ++r)
            out += "  " + compact(tmpl.at(r)) + (r + 1 < tmpl.size() ? ",\n" : "\n");
        out += "]}}" + QByteArray(c + 1 < controls.size() ? ",\n" : "\n");
    }
    out += "]}\n";
    return out;
}

} // namespace

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

    void matchesGoldenSnapshot();
    void everyKindHasAShippedViewAndDropsAsItsOwnItem();
    void kindOfControlCannotBeChanged();
    void translationContexts();
    void buildSkipsKindsAlreadyPresent();
};

void tst_RCControlManager::newControlOfKind()
{
    RCControl control(21, nullptr);
    QCOMPARE(control.getObjectType(), eIRCObjectType_Control);
    QCOMPARE(control.getControlType(), IRCControl::EIRCControlType_Label);
    QCOMPARE(control.getIconPath(), QStringLiteral("qrc:/weizhi.png"));
    // (Its rows and its template's, with their flags, are those of the catalogue snapshot.)
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
    QCOMPARE(param->getPropertyValue("ControlType"), QVariant(21));
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
    auto manager = buildCatalogue();
    {
        QJSEngine engine;
        engine.globalObject().setProperty("manager", engine.newQObject(manager.get()));
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
}

void tst_RCControlManager::matchesGoldenSnapshot()
{
    auto manager = buildCatalogue();
    const QJsonObject actual = snapshot(*manager);

    const QString goldenPath =
        QDir(qEnvironmentVariable("TAVIX_SOURCE_DIR")).filePath("tests/model/data/controlCatalogue.json");
    QFile golden(goldenPath);
    QJsonParseError error{};
    QJsonObject expected;
    if (golden.open(QIODevice::ReadOnly))
        expected = QJsonDocument::fromJson(golden.readAll(), &error).object();
    if (expected == actual)
        return;

    // Leave the built catalogue next to the build, in the checked-in layout, for a diff.
    const QString actualPath =
        QDir(qEnvironmentVariable("TAVIX_BINARY_DIR")).filePath("controlCatalogue.actual.json");
    QFile out(actualPath);
    if (out.open(QIODevice::WriteOnly))
        out.write(formatSnapshot(actual));
    QVERIFY2(golden.isOpen(), qPrintable(goldenPath));
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonArray exp = expected.value("controlArray").toArray();
    const QJsonArray act = actual.value("controlArray").toArray();
    QCOMPARE(act.size(), exp.size());
    for (int i = 0; i < act.size(); ++i)
        QVERIFY2(act.at(i) == exp.at(i),
                 qPrintable(u"control #%1 differs; see %2"_s.arg(i + 1).arg(actualPath)));
    QFAIL("snapshot differs");
}

void tst_RCControlManager::everyKindHasAShippedViewAndDropsAsItsOwnItem()
{
    // A kind added to the catalogue without a view of its own would make items that the scene
    // panel cannot show. A drop onto a scene makes an item from the template.
    auto manager = buildCatalogue();
    for (IRCControl* control : manager->getControllist()) {
        const QByteArray kind = QByteArray::number(control->getControlType());
        IRCControlInstantiationParam* param = control->getInstantiationParam();
        QVERIFY2(RCSceneItemViews::isKnownViewPath(param->getQmlPath()), kind);
        RCSceneItem a(param->toJson(), nullptr);
        RCSceneItem b(param->toJson(), nullptr);
        QVERIFY2(a.getPropertyValue(RCKeys::ControlType()).toInt() == control->getControlType(), kind);
        QVERIFY2(a.getSize() == param->getSize(), kind);
        QVERIFY2(a.getPropertyValue(RCKeys::QmlPath()) == param->getQmlPath(), kind);
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

void tst_RCControlManager::kindOfControlCannotBeChanged()
{
    auto manager = buildCatalogue();
    IRCControl* control = manager->getControlByType(IRCControl::EIRCControlType_ProgramManager);
    QSignalSpy changed(control, &IRCControl::propertyValueChanged);
    control->setPropertyValue(RCKeys::ControlType(), 5);
    QCOMPARE(control->getControlType(), IRCControl::EIRCControlType_ProgramManager);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(control->getPropertyValue(RCKeys::ControlType()), QVariant(3));
    QCOMPARE(manager->getControlByType(IRCControl::EIRCControlType_ProgramManager), control);
    QCOMPARE(control->getInstantiationParam()->getPropertyValue(RCKeys::ControlType()), QVariant(3));
}

void tst_RCControlManager::translationContexts()
{
    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    auto manager = buildCatalogue();
    QCoreApplication::removeTranslator(&translator);
    IRCControlManager* m = manager.get();

    IRCControl* vexaManager = m->getControlByType(IRCControl::EIRCControlType_VexaProgramManager);
    QCOMPARE(vexaManager->getName(), u"QObject|节目管理"_s);
    QCOMPARE(templateRow(m, 29, "Name")->getValue(), QVariant("QObject|节目管理"));
    QCOMPARE(templateRow(m, 29, "Name")->getDescription(), u"QObject|名称"_s);
    // Colour names are translated only where the catalogue says so.
    QCOMPARE(templateRow(m, 29, "FrameColor")->getValue(), QVariant("QObject|gray"));
    QCOMPARE(templateRow(m, 29, "ProgramManager_Node_FrameColor")->getValue(), QVariant("gray"));
    for (int kind : {28, 32, 44})
        QCOMPARE(templateRow(m, kind, "FrameColor")->getValue(), QVariant("QObject|gray"));
    QCOMPARE(templateRow(m, 23, "Title")->getValue(), QVariant("QObject|连接"));
    QCOMPARE(templateRow(m, 33, "Name")->getValue(), QVariant("QObject|进度"));
    QCOMPARE(templateRow(m, 3, "FrameColor")->getValue(), QVariant("#0343C4"));

    // Choice names in the project's context, except the network type's.
    QCOMPARE(templateRow(m, 29, "ProgramListType")->getDisplay()->getData("ComboBoxItemNameList"),
             QVariant(QVariantList{"RCProject|视频列表", "RCProject|音频列表", "RCProject|字幕"}));
    QCOMPARE(templateRow(m, 1, "CustomCmdTcpipType")->getDisplay()->getData("ComboBoxItemNameList"),
             QVariant(QVariantList{"tcp", "udp"}));
    // The row that the control adds for itself is described in the same context.
    QCOMPARE(templateRow(m, 29, "ControlType")->getDescription(), u"QObject|控件类型"_s);
}

void tst_RCControlManager::buildSkipsKindsAlreadyPresent()
{
    // A kind the manager already holds keeps its own control; the kinds after it still come in
    // catalogue order.
    RCControlManager manager;
    IRCControl* own = manager.addControl(IRCControl::EIRCControlType_Label, "mine", {"Vexa"}, QString());
    QCOMPARE(RCControlCatalogue::build(&manager), 42);
    QCOMPARE(manager.getControl(0), own);
    QCOMPARE(own->getName(), u"mine"_s);
    QCOMPARE(own->getGroupNameList(), QStringList{"Vexa"});
    QCOMPARE(own->getInstantiationParam()->getProperties()->count(), 4);
    QCOMPARE(manager.getControl(1)->getControlType(), IRCControl::EIRCControlType_Custom);

    // A second build adds nothing, and does not append to the templates again.
    const QJsonObject before = snapshot(manager);
    QSignalSpy added(&manager, &IRCControlManager::controlAdd);
    QCOMPARE(RCControlCatalogue::build(&manager), 0);
    QCOMPARE(RCControlCatalogue::build(nullptr), 0);
    QCOMPARE(added.count(), 0);
    QCOMPARE(manager.getControlCout(), 43);
    QCOMPARE(snapshot(manager), before);
}

QTEST_GUILESS_MAIN(tst_RCControlManager)
#include "tst_RCControlManager.moc"
