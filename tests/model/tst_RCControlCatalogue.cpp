// The control catalogue: the whole of it (kinds, order, every row and its choices) against a
// reviewed golden snapshot, how it is built, and the scene items its templates make.
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCControl.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneItemViews.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

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

class tst_RCControlCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void matchesGoldenSnapshot();
    void everyKindHasAShippedViewAndDropsAsItsOwnItem();
    void kindOfControlCannotBeChanged();
    void translationContexts();
    void buildSkipsKindsAlreadyPresent();
};

void tst_RCControlCatalogue::matchesGoldenSnapshot()
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

void tst_RCControlCatalogue::everyKindHasAShippedViewAndDropsAsItsOwnItem()
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

void tst_RCControlCatalogue::kindOfControlCannotBeChanged()
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

void tst_RCControlCatalogue::translationContexts()
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

void tst_RCControlCatalogue::buildSkipsKindsAlreadyPresent()
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

QTEST_GUILESS_MAIN(tst_RCControlCatalogue)
#include "tst_RCControlCatalogue.moc"
