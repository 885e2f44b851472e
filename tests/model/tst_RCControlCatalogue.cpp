// The control catalogue: the whole of it against a reviewed golden snapshot, and spot checks
// whose expectations are written out here independently of the catalogue tables.
#include "ModelTestSupport.h"

#include "model/IRCControlInstantiationParam.h"
#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCControl.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"
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

namespace {

// Marks every looked-up text with its context, so that a test sees which texts went through the
// lookup and in which context.
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char* = nullptr,
                      int = -1) const override
    {
        return QStringLiteral("%1|%2").arg(QString::fromLatin1(context), QString::fromUtf8(sourceText));
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

// The template row key of kind as it is written to JSON; empty when absent.
QJsonObject templateJsonRow(IRCControlManager* manager, int kind, const QString& key)
{
    const QJsonArray rows = manager->getControlByType(IRCControl::EIRCControlType(kind))
                                ->getInstantiationParam()
                                ->toJson()
                                .value("propertyArray")
                                .toArray();
    for (const QJsonValue& row : rows) {
        if (row.toObject().value("name").toString() == key)
            return row.toObject();
    }
    return {};
}

QStringList templateKeys(IRCControlManager* manager, int kind)
{
    return model_test::propertyNames(manager->getControlByType(IRCControl::EIRCControlType(kind))
                                         ->getInstantiationParam()
                                         ->getProperties());
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
    void kindsInCatalogueOrder();
    void controlEntries();
    void rowCountsOfTemplates();
    void everyKindHasAShippedView();
    void fastForwardTemplateJson();
    void rowFieldsSpotChecks();
    void choiceDataIsPlainJsonArrays();
    void kindOfControlCannotBeChanged();
    void translationContexts();
    void secondBuildAddsNothing();
    void kindAlreadyPresentIsSkipped();
    void nullManager();
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
                 qPrintable(QStringLiteral("control #%1 differs; see %2").arg(i + 1).arg(actualPath)));
    QFAIL("snapshot differs");
}

void tst_RCControlCatalogue::kindsInCatalogueOrder()
{
    auto manager = buildCatalogue();
    const QList<int> expected{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 15, 43, 16,
                              17, 18, 13, 14, 19, 21, 22, 26, 27, 23, 24, 28, 29, 30, 31,
                              32, 33, 34, 42, 35, 36, 37, 38, 39, 40, 44, 45, 46};
    QCOMPARE(manager->getControlCout(), 43);
    QList<int> ids;
    for (IRCControl* control : manager->getControllist())
        ids << control->getControlType();
    QCOMPARE(ids, expected);

    for (int unused : {0, 20, 25, 41, 47})
        QVERIFY(!manager->getControlByType(IRCControl::EIRCControlType(unused)));
}

void tst_RCControlCatalogue::controlEntries()
{
    auto manager = buildCatalogue();

    IRCControl* custom = manager->getControlByType(IRCControl::EIRCControlType_Custom);
    QCOMPARE(custom->getName(), QStringLiteral("自定义"));
    QCOMPARE(custom->getGroupNameList(), (QStringList{"Mirel", "Quenor"}));
    QCOMPARE(custom->getIconPath(), QStringLiteral("qrc:/control/custom.png"));
    QVERIFY(!custom->belongToGroup("Vexa"));
    QVERIFY(!custom->belongToGroup("mirel"));

    // The group order is the catalogue's, not alphabetical.
    IRCControl* join = manager->getControlByType(IRCControl::EIRCControlType_JoinProject);
    QCOMPARE(join->getGroupNameList(), (QStringList{"Mirel", "Vexa", "Quenor"}));

    IRCControl* table = manager->getControlByType(IRCControl::EIRCControlType_ProgramTable);
    QCOMPARE(table->getInstantiationParam()->getSize(), QSize(1000, 500));
    QCOMPARE(table->getInstantiationParam()->getQmlPath(),
             QStringLiteral("qrc:/qml/scenePanel/RCSceneItemProgramTable.qml"));

    // Every action-button kind draws with the same view; the two sliders share theirs.
    for (int kind : {1, 7, 8, 9, 10, 11, 15, 16, 19, 26, 30, 31, 36, 37, 38, 39, 40, 45})
        QCOMPARE(manager->getControlByType(IRCControl::EIRCControlType(kind))
                     ->getInstantiationParam()
                     ->getQmlPath(),
                 QStringLiteral("qrc:/qml/scenePanel/RCSceneItemActionButton.qml"));
    for (int kind : {17, 18})
        QCOMPARE(manager->getControlByType(IRCControl::EIRCControlType(kind))
                     ->getInstantiationParam()
                     ->getQmlPath(),
                 QStringLiteral("qrc:/qml/scenePanel/RCSceneItemSliderGlobalProperty.qml"));

    // Three kinds share a name; each is still its own control.
    for (int kind : {3, 29, 44})
        QCOMPARE(manager->getControlByType(IRCControl::EIRCControlType(kind))->getName(),
                 QStringLiteral("节目管理"));
}

void tst_RCControlCatalogue::rowCountsOfTemplates()
{
    auto manager = buildCatalogue();
    // Width, Height, QmlPath and ControlType come first, then the kind's own rows.
    QCOMPARE(templateKeys(manager.get(), 22),
             (QStringList{"Width", "Height", "QmlPath", "ControlType", "Name"}));
    const QStringList pm = templateKeys(manager.get(), 3);
    QCOMPARE(pm.size(), 4 + 31);
    QCOMPARE(pm.last(), QStringLiteral("TitleHeight"));
    QVERIFY(pm.contains("ProgramManager_Tab_Visible") && pm.contains("ProgramManager_Tab_Spacing"));
    const QStringList vexa = templateKeys(manager.get(), 29);
    QCOMPARE(vexa.size(), 4 + 28);
    QCOMPARE(vexa.last(), QStringLiteral("ProgramListType"));
    QVERIFY(!vexa.contains("ProgramManager_Tab_Visible") && !vexa.contains("ProgramManager_Tab_Spacing"));
    const QStringList quenor = templateKeys(manager.get(), 44);
    QCOMPARE(quenor.mid(4, 2), (QStringList{"Name", "TrackName"}));
    QCOMPARE(quenor.filter("ProgramManager_Tab_").size(), 0);

    int rows = 0;
    for (IRCControl* control : manager->getControllist())
        rows += control->getInstantiationParam()->getProperties()->count() - 4;
    QCOMPARE(rows, 330);
}

void tst_RCControlCatalogue::fastForwardTemplateJson()
{
    auto manager = buildCatalogue();
    const int kind = IRCControl::EIRCControlType_FastForward;
    QCOMPARE(templateJsonRow(manager.get(), kind, "Sec").value("value"), QJsonValue(5));
    QCOMPARE(templateJsonRow(manager.get(), kind, "CmdProNameList").value("value"),
             QJsonValue("#StringList#$sl$Sec"));
}

void tst_RCControlCatalogue::everyKindHasAShippedView()
{
    // A kind added to the catalogue without a view of its own would make items that the scene
    // panel cannot show.
    auto manager = buildCatalogue();
    for (IRCControl* control : manager->getControllist()) {
        const QString path = control->getInstantiationParam()->getQmlPath();
        QVERIFY2(RCSceneItemViews::isKnownViewPath(path),
                 qPrintable(QString::number(control->getControlType())));
    }
}

void tst_RCControlCatalogue::rowFieldsSpotChecks()
{
    auto manager = buildCatalogue();
    IRCControlManager* m = manager.get();

    // Only Sec is a double default; Double rows with whole defaults keep ints.
    QCOMPARE(templateRow(m, 10, "Sec")->getValue().typeId(), QMetaType::Double);
    QCOMPARE(templateRow(m, 17, "Slider_Default")->getValue(), QVariant(80));
    QCOMPARE(templateRow(m, 17, "Slider_Default")->getValue().typeId(), QMetaType::Int);
    QCOMPARE(templateRow(m, 18, "Slider_Default")->getDescription(), QStringLiteral("重置值"));
    QCOMPARE(templateRow(m, 4, "PlayStateManager_ProgressBar_HandleOpacity")->getValue().typeId(),
             QMetaType::Int);

    // Volume bounds are fixed and hidden, brightness bounds editable.
    IRCProperty* volMax = templateRow(m, 17, "MaxIntValue");
    QVERIFY(volMax->getReadOnly() && !volMax->getVisible());
    IRCProperty* brMin = templateRow(m, 18, "MinIntValue");
    QVERIFY(!brMin->getReadOnly() && brMin->getVisible());
    QCOMPARE(brMin->getValue(), QVariant(-100));
    QCOMPARE(templateRow(m, 18, "ProName")->getValue(), QVariant(QStringLiteral("Brightness")));

    // Action types as stored projects know them.
    QCOMPARE(templateRow(m, 38, "ActionType")->getValue(), QVariant(46));
    QCOMPARE(templateRow(m, 39, "ActionType")->getValue(), QVariant(45));
    QCOMPARE(templateRow(m, 27, "ActionType")->getValue(), QVariant(35));
    QCOMPARE(templateRow(m, 26, "ActionType")->getValue(), QVariant(35));

    QCOMPARE(templateRow(m, 43, "DisplayOpenIconPath")->getValue(),
             QVariant("qrc:/control/closeDisplay.png"));
    QCOMPARE(templateRow(m, 43, "DisplayCloseIconPath")->getValue(),
             QVariant("qrc:/control/openDisplay.png"));

    IRCProperty* labelClick = templateRow(m, 21, "EnableClick");
    QVERIFY(labelClick->getReadOnly() && !labelClick->getVisible());
    QCOMPARE(labelClick->getValue(), QVariant(false));
    IRCProperty* netClick = templateRow(m, 23, "EnableClick");
    QVERIFY(!netClick->getReadOnly() && netClick->getVisible());
    QCOMPARE(netClick->getValue(), QVariant(true));
    QCOMPARE(templateRow(m, 21, "IconPath")->getValue(), QVariant(QString()));
    QCOMPARE(templateRow(m, 21, "TextVAlignment")->getValue(), QVariant(4));

    QCOMPARE(templateRow(m, 30, "TrackNameList")->getDisplay()->getType(),
             IRCPropertyDisplay::EIRCPropertyDisplayType_TrackCheckList);
    QCOMPARE(templateRow(m, 45, "Ip")->getDisplay()->getType(),
             IRCPropertyDisplay::EIRCPropertyDisplayType_String);
    QCOMPARE(templateRow(m, 1, "CustomCmdToIp")->getDisplay()->getType(),
             IRCPropertyDisplay::EIRCPropertyDisplayType_Ip);
    QCOMPARE(templateRow(m, 33, "Name")->getValue(), QVariant(QStringLiteral("进度")));

    QCOMPARE(templateRow(m, 4, "FrameMargin")->getValue(), QVariant(0));
    QCOMPARE(templateRow(m, 3, "FrameMargin")->getValue(), QVariant(2));
    QCOMPARE(templateRow(m, 28, "FrameSize")->getValue(), QVariant(0));
    QCOMPARE(templateRow(m, 32, "FrameSize")->getValue(), QVariant(5));

    // The command rows name the keys whose values travel with the command.
    QCOMPARE(templateRow(m, 1, "CmdProNameList")->getValue().toStringList(),
             (QStringList{"CustomCmdTcpipType", "CustomCmdToIp", "CustomCmdToPort", "CustomCmd"}));
    QCOMPARE(templateRow(m, 1, "CmdProNameList")->getDisplay()->getType(),
             IRCPropertyDisplay::EIRCPropertyDisplayType_StringList);

    // The hidden kind row that the control itself adds.
    IRCProperty* kindRow = templateRow(m, 44, "ControlType");
    QVERIFY(!kindRow->getReadOnly() && !kindRow->getVisible());
    QCOMPARE(kindRow->getValue(), QVariant(44));
    QCOMPARE(kindRow->getDisplay()->getType(), IRCPropertyDisplay::EIRCPropertyDisplayType_Int);
}

void tst_RCControlCatalogue::choiceDataIsPlainJsonArrays()
{
    auto manager = buildCatalogue();
    const QJsonObject display =
        templateJsonRow(manager.get(), IRCControl::EIRCControlType_Label, "TextVAlignment")
            .value("display")
            .toObject();
    QCOMPARE(display.value("type").toInt(), 4);
    const QJsonObject data = display.value("data").toObject();
    QCOMPARE(data.value("ComboBoxItemNameList"), QJsonValue(QJsonArray{"靠上", "居中", "靠下"}));
    QCOMPARE(data.value("ComboBoxItemDataList"), QJsonValue(QJsonArray{3, 4, 5}));

    IRCPropertyDisplay* tcp = templateRow(manager.get(), 1, "CustomCmdTcpipType")->getDisplay();
    QCOMPARE(tcp->getType(), IRCPropertyDisplay::EIRCPropertyDisplayType_RadioButtonGroup);
    QCOMPARE(tcp->getData("ComboBoxItemNameList"), QVariant(QVariantList{"tcp", "udp"}));
    QCOMPARE(tcp->getData("ComboBoxItemDataList"), QVariant(QVariantList{0, 1}));

    // Rows without choices carry no display data.
    QVERIFY(
        !templateRow(manager.get(), 1, "CustomCmd")->getDisplay()->getData("ComboBoxItemNameList").isValid());
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
    QCOMPARE(vexaManager->getName(), QStringLiteral("QObject|节目管理"));
    QCOMPARE(templateRow(m, 29, "Name")->getValue(), QVariant("QObject|节目管理"));
    QCOMPARE(templateRow(m, 29, "Name")->getDescription(), QStringLiteral("QObject|名称"));
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
    QCOMPARE(templateRow(m, 29, "ControlType")->getDescription(), QStringLiteral("QObject|控件类型"));
}

void tst_RCControlCatalogue::secondBuildAddsNothing()
{
    auto manager = buildCatalogue();
    const QJsonObject before = snapshot(*manager);
    QSignalSpy added(manager.get(), &IRCControlManager::controlAdd);
    QCOMPARE(RCControlCatalogue::build(manager.get()), 0);
    QCOMPARE(added.count(), 0);
    QCOMPARE(manager->getControlCout(), 43);
    // Templates are not appended to a second time.
    QCOMPARE(snapshot(*manager), before);
}

void tst_RCControlCatalogue::kindAlreadyPresentIsSkipped()
{
    RCControlManager manager;
    IRCControl* own = manager.addControl(IRCControl::EIRCControlType_Label, "mine", {"Vexa"}, QString());
    QVERIFY(own);
    QVERIFY(!manager.addControl(IRCControl::EIRCControlType_Label, "other", {"Mirel"}, "x.png"));

    QCOMPARE(RCControlCatalogue::build(&manager), 42);
    QCOMPARE(manager.getControlCout(), 43);
    QCOMPARE(manager.getControl(0), own);
    QCOMPARE(manager.getControlByType(IRCControl::EIRCControlType_Label), own);
    QCOMPARE(own->getName(), QStringLiteral("mine"));
    QCOMPARE(own->getGroupNameList(), QStringList{"Vexa"});
    QCOMPARE(own->getIconPath(), QStringLiteral("qrc:/weizhi.png"));
    QCOMPARE(own->getInstantiationParam()->getProperties()->count(), 4);
    // The kinds after it still come in catalogue order.
    QCOMPARE(manager.getControl(1)->getControlType(), IRCControl::EIRCControlType_Custom);
}

void tst_RCControlCatalogue::nullManager()
{
    QCOMPARE(RCControlCatalogue::build(nullptr), 0);
}

QTEST_GUILESS_MAIN(tst_RCControlCatalogue)
#include "tst_RCControlCatalogue.moc"
