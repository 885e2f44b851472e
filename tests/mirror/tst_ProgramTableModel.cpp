#include "mirror/DispatchTestSupport.h"
#include "mirror/MirrorTestSupport.h"
#include "mirror/ProgramTableModel.h"
#include "mirror/QmlComponents.h"

#include <QAbstractItemModelTester>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {
// One headerDataChanged emission as "H first last" or "V first last".
QString header(const QSignalSpy& spy, int i)
{
    const QList<QVariant>& args = spy.at(i);
    return QStringLiteral("%1 %2 %3")
        .arg(args.at(0).value<Qt::Orientation>() == Qt::Horizontal ? 'H' : 'V')
        .arg(args.at(1).toInt())
        .arg(args.at(2).toInt());
}

QStringList row(const ProgramTableModel& model, int r)
{
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells.append(model.data(model.index(r, c)).toString());
    return cells;
}

// The whole model as text: column headers, row headers, then the cells row by row.
QString snapshot(const ProgramTableModel& model)
{
    QStringList columns;
    for (int c = 0; c < model.columnCount(); ++c)
        columns.append(model.headerData(c, Qt::Horizontal).toString());
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r)
        rows.append(model.headerData(r, Qt::Vertical).toString());
    QStringList cells;
    for (int r = 0; r < model.rowCount(); ++r)
        cells.append(row(model, r).join(','));
    return columns.join(',') + " | " + rows.join(',') + " | " + cells.join(';');
}

// What a model that takes the mirror now shows: the full fill that single changes must agree with.
QString freshFill(IRCStelvaneSyncer* mirror)
{
    ProgramTableModel model;
    model.setStelvaneSyncer(mirror);
    return snapshot(model);
}

// "setProgramTable" of programs p<prefix>0.., layers l<prefix>0.. and per layer one node per run
// of span programs (n<prefix><layer>_<first>).
QString tableCommand(const QString& prefix, int programs, int layers, int span)
{
    QJsonArray programArray;
    for (int p = 0; p < programs; ++p)
        programArray.append(QJsonObject{{"id", QStringLiteral("p%1%2").arg(prefix).arg(p)}});
    QJsonArray layerArray;
    QJsonArray nodeArray;
    for (int l = 0; l < layers; ++l) {
        const QString layer = QStringLiteral("l%1%2").arg(prefix).arg(l);
        layerArray.append(QJsonObject{{"id", layer}});
        for (int first = 0; first < programs; first += span) {
            QJsonArray ids;
            for (int p = first; p < std::min(programs, first + span); ++p)
                ids.append(QStringLiteral("p%1%2").arg(prefix).arg(p));
            nodeArray.append(QJsonObject{{"id", QStringLiteral("n%1%2_%3").arg(prefix).arg(l).arg(first)},
                                         {"programLayerId", layer},
                                         {"programIdArray", ids}});
        }
    }
    const QJsonObject params{
        {"programArray", programArray}, {"programLayerArray", layerArray}, {"programNodeArray", nodeArray}};
    return "setProgramTable " + QString::fromUtf8(QJsonDocument(params).toJson(QJsonDocument::Compact));
}

// Three programs, two layers; n1 spans p1 and p2 in l1, n3 lies over it in (l1, p2) and spans p3.
const QString kCovered =
    QStringLiteral(R"(setProgramTable {"programArray":[{"id":"p1"},{"id":"p2"},{"id":"p3"}],)"
                   R"("programLayerArray":[{"id":"l1"},{"id":"l2"}],"programNodeArray":[)"
                   R"({"id":"n1","programLayerId":"l1","programIdArray":["p1","p2"]},)"
                   R"({"id":"n3","programLayerId":"l1","programIdArray":["p2","p3"]}]})");

// Every signal of a model that announces a change, by name.
const char* const kChangeSignals[] = {"modelReset",  "dataChanged",     "headerDataChanged", "rowsInserted",
                                      "rowsRemoved", "columnsInserted", "columnsRemoved",    "layoutChanged",
                                      "rowsMoved",   "columnsMoved"};

} // namespace

class tst_ProgramTableModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every slot in the order the program-table view uses them, checked by the model tester.
    void scriptedSequenceUnderTheModelTester()
    {
        ProgramTableModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);

        // A full rebuild: the counts first, then the headers, then the cells.
        model.setTableInfo(2, 3);
        QCOMPARE(model.data(model.index(1, 2)).typeId(), QMetaType::QString);
        QCOMPARE(row(model, 1), QStringList({"", "", ""}));
        model.setHorizontalData({"p0", "p1", "p2"});
        model.setVerticalData({"l0", "l1"});
        QCOMPARE(header(headers, 0), QString("H 0 2"));
        QCOMPARE(header(headers, 1), QString("V 0 1"));
        model.setTableItemData(1, model.columnIndex("p2"), "n");
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QString("p2"));
        QVERIFY(model.headerData(3, Qt::Horizontal).isNull());
        QVERIFY(model.data(model.index(1, 2), Qt::ToolTipRole).isNull());
        QCOMPARE(model.roleNames(), (QHash<int, QByteArray>{{Qt::DisplayRole, "display"}}));

        // Single changes.
        headers.clear();
        model.appendColumn("p3");
        model.appendRow("l2");
        model.insertColumn(0, "q");
        model.insertRow(1, "mid");
        QCOMPARE(model.columnCount(), 5);
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(row(model, 2), QStringList({"", "", "", "n", ""}));
        QCOMPARE(model.rowIndex("l1"), 2);
        QCOMPARE(header(headers, 0), QString("H 3 3"));
        QCOMPARE(header(headers, 2), QString("H 0 4"));
        model.removeColumn(3);
        model.removeRow(1);
        QCOMPARE(row(model, 1), QStringList({"", "", "", ""}));
        QCOMPARE(model.columnIndex("p2"), -1);
        headers.clear();
        model.updateHorizontalData(0, "q");
        QCOMPARE(headers.size(), 1);
        QCOMPARE(header(headers, 0), QString("H 0 0"));
        QSignalSpy data(&model, &QAbstractItemModel::dataChanged);
        model.trigleUpdateByRowIndex(2);
        model.trigleUpdateByColIndex(3);
        QCOMPARE(data.at(0).at(1).toModelIndex(), model.index(2, 3));
        QCOMPARE(data.at(1).at(1).toModelIndex(), model.index(2, 3));

        // Sizes and lists that disagree stay inside what exists.
        model.setTableInfo(-1, -3);
        QCOMPARE(model.rowCount() + model.columnCount(), 0);
        model.appendColumn("lonely");
        QCOMPARE(model.columnCount(), 1);
        model.trigleUpdateByColIndex(0);
        model.setVerticalData({"a", "b", "c"});
        model.insertRow(0, "first");
        model.updateHorizontalData(4, "beyond the count");
        QCOMPARE(model.rowCount(), 1);
        QVERIFY(!model.insertRows(-1, 1));
        QVERIFY(!model.removeRows(0, 5));
        QVERIFY(!model.insertColumns(3, 1));
        QVERIFY(!model.removeColumns(0, 0));
    }
    void refusedArgumentsChangeNothing_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("warning");
        const auto row = [](const char* name, const char* call, const char* warning) {
            QTest::newRow(name) << QString(call) << QString(warning);
        };
        row("cell above", "setTableItemData -1", "^ProgramTableModel::setTableItemData -1 0");
        row("cell right", "setTableItemData 3", "^ProgramTableModel::setTableItemData 0 3");
        row("column at end", "insertColumn 3", "^ProgramTableModel::insertColumn invalid args 3");
        row("column past", "removeColumn 3", "^ProgramTableModel::removeColumn invalid args 3");
        row("row at end", "insertRow 2", "^ProgramTableModel::insertRow invalid index 2");
        row("row past", "removeRow 2", "^ProgramTableModel::removeRow invalid index 2 2");
        row("header past", "updateHorizontalData 3",
            "^ProgramTableModel::updateHorizontalData invalid colIndex 3 3 3");
        row("row refresh", "trigleUpdateByRowIndex -1",
            "^ProgramTableModel::trigleUpdateByRowIndex invalid rowIndex -1");
        row("column refresh", "trigleUpdateByColIndex 3",
            "^ProgramTableModel::trigleUpdateByColIndex invalid colIndex 3");
    }
    void refusedArgumentsChangeNothing()
    {
        QFETCH(QString, call);
        QFETCH(QString, warning);
        ProgramTableModel model;
        model.setTableInfo(2, 3);
        model.setHorizontalData({"p0", "p1", "p2"});
        model.setVerticalData({"l0", "l1"});
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
        QSignalSpy layout(&model, &QAbstractItemModel::rowsAboutToBeInserted);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        const QStringList parts = call.split(' ');
        const int n = parts.at(1).toInt();
        const QString slot = parts.at(0);
        if (slot == "setTableItemData")
            model.setTableItemData(n == -1 ? -1 : 0, n == -1 ? 0 : n, "v");
        else if (slot == "updateHorizontalData")
            model.updateHorizontalData(n, "v");
        else if (slot == "insertColumn" || slot == "insertRow")
            QVERIFY(QMetaObject::invokeMethod(&model, qPrintable(slot), Q_ARG(int, n), Q_ARG(QString, "h")));
        else
            QVERIFY(QMetaObject::invokeMethod(&model, qPrintable(slot), Q_ARG(int, n)));
        QCOMPARE(changes.size() + headers.size() + layout.size(), 0);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(row(model, 0), QStringList({"", "", ""}));
    }
    // A replace by "setProgramTable" reaches the model in one step and leaves what a fresh fill
    // shows: one reset when the table was or becomes empty; else the columns and rows it gains or
    // loses, at the ends, then one dataChanged over every cell and one headerDataChanged per
    // orientation; nothing else, whatever the old and the new table.
    void replaceIsOneStep_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("expected");
        const QString reset = "modelReset 1; dataChanged 0; headerDataChanged 0; rowsInserted 0; rowsRemoved 0; "
                              "columnsInserted 0; columnsRemoved 0; ";
        const auto kept = [](int rowsIn, int rowsOut, int columnsIn, int columnsOut) {
            return QStringLiteral("modelReset 0; dataChanged 1; headerDataChanged 2; rowsInserted %1; rowsRemoved "
                                  "%2; columnsInserted %3; columnsRemoved %4; ")
                .arg(rowsIn)
                .arg(rowsOut)
                .arg(columnsIn)
                .arg(columnsOut);
        };
        QTest::newRow("empty to a table") << QString() << tableCommand("a", 6, 3, 2) << reset;
        QTest::newRow("to a larger table")
            << tableCommand("a", 6, 3, 2) << tableCommand("b", 20, 5, 3) << kept(1, 0, 1, 0);
        QTest::newRow("one program more")
            << tableCommand("a", 6, 3, 2) << tableCommand("b", 7, 3, 2) << kept(0, 0, 1, 0);
        QTest::newRow("to one of the same shape")
            << tableCommand("a", 6, 3, 2) << tableCommand("b", 6, 3, 3) << kept(0, 0, 0, 0);
        QTest::newRow("to itself") << tableCommand("a", 6, 3, 2) << tableCommand("a", 6, 3, 2) << kept(0, 0, 0, 0);
        QTest::newRow("to none") << tableCommand("a", 6, 3, 2) << QString("setProgramTable {}") << reset;
        QTest::newRow("none to none")
            << QString("setProgramTable {}") << QString("setProgramTable {}") << reset;
        QTest::newRow("covered cells") << tableCommand("a", 6, 3, 2) << kCovered << kept(0, 1, 0, 1);
    }
    void replaceIsOneStep()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, expected);
        DispatchTest::Harness harness;
        harness.connect();
        if (!before.isEmpty())
            harness.send(before);
        ProgramTableModel model;
        model.setStelvaneSyncer(harness.mirror());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const char* name : kChangeSignals) {
            QMetaMethod signal;
            for (int m = 0; m < model.metaObject()->methodCount() && !signal.isValid(); ++m) {
                const QMetaMethod candidate = model.metaObject()->method(m);
                if (candidate.methodType() == QMetaMethod::Signal && candidate.name() == name)
                    signal = candidate;
            }
            QVERIFY2(signal.isValid(), name);
            spies.push_back(
                std::make_unique<QSignalSpy>(&model, ("2" + signal.methodSignature()).constData()));
        }

        harness.send(after);
        QString counts;
        for (size_t i = 0; i < spies.size(); ++i)
            counts += QStringLiteral("%1 %2; ").arg(kChangeSignals[i]).arg(spies[i]->size());
        QCOMPARE(counts, expected + "layoutChanged 0; rowsMoved 0; columnsMoved 0; ");
        const QList<QVariant> cells = spies[1]->value(0);
        if (!cells.isEmpty()) {
            QCOMPARE(cells.at(0).toModelIndex(), model.index(0, 0));
            QCOMPARE(cells.at(1).toModelIndex(), model.index(model.rowCount() - 1, model.columnCount() - 1));
            QCOMPARE(header(*spies[2], 0), QStringLiteral("H 0 %1").arg(model.columnCount() - 1));
            QCOMPARE(header(*spies[2], 1), QStringLiteral("V 0 %1").arg(model.rowCount() - 1));
        }
        QCOMPARE(model.property("mFillCount").toInt(), 2);
        QCOMPARE(snapshot(model), freshFill(harness.mirror()));
        if (after == kCovered)
            QCOMPARE(snapshot(model), QString("p1,p2,p3 | l1,l2 | n1,n3,n3;,,"));
    }
    // Single commands change the model in place and leave it as a fresh fill shows it; the commands
    // that add or remove a program or a layer end with the mirror's programTableUpdate, which fills
    // it anew.
    void singleChangesAgreeWithAFill_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("fills");
        const auto row = [](const char* name, const QStringList& commands, const char* expected, int fills) {
            QTest::newRow(name) << commands << QString(expected) << fills;
        };
        row("a covering node leaves", {R"(removeProgramNode {"id":"n3"})"}, "p1,p2,p3 | l1,l2 | n1,n1,;,,",
            0);
        row("a covered node leaves", {R"(removeProgramNode {"id":"n1"})"}, "p1,p2,p3 | l1,l2 | ,n3,n3;,,", 0);
        row("a node moves to another layer", {R"(setProgramNode {"id":"n3","programLayerId":"l2"})"},
            "p1,p2,p3 | l1,l2 | n1,n1,;,n3,n3", 0);
        row("a node moves to other programs", {R"(setProgramNode {"id":"n3","programIdArray":["p3"]})"},
            "p1,p2,p3 | l1,l2 | n1,n1,n3;,,", 0);
        row("a node is added",
            {R"(addProgramNode {"id":"n2","programLayerId":"l2","programIdArray":["p1","p3"]})"},
            "p1,p2,p3 | l1,l2 | n1,n3,n3;n2,,n2", 0);
        // The first change after a fill and the ones after it.
        row("a node moves twice",
            {R"(setProgramNode {"id":"n3","programLayerId":"l2"})",
             R"(setProgramNode {"id":"n3","programIdArray":["p1"]})"},
            "p1,p2,p3 | l1,l2 | n1,n1,;n3,,", 0);
        row("a covering node is renamed, then leaves",
            {R"(setProgramNode {"id":"n3","name":"x"})", R"(removeProgramNode {"id":"n3"})"},
            "p1,p2,p3 | l1,l2 | n1,n1,;,,", 0);
        row("a node is added over another, then the other leaves",
            {R"(addProgramNode {"id":"n4","programLayerId":"l1","programIdArray":["p1"]})",
             R"(removeProgramNode {"id":"n1"})"},
            "p1,p2,p3 | l1,l2 | n4,n3,n3;,,", 0);
        row("a program goes, a layer goes",
            {R"(removeProgram {"id":"p2"})", R"(removeProgramLayer {"id":"l1"})"}, "p1,p3 | l2 | ,", 2);
        row("a program comes back with its nodes",
            {R"(removeProgram {"id":"p2"})", R"(addProgram {"id":"p2","index":0})"},
            "p2,p1,p3 | l1,l2 | n3,n1,n3;,,", 2);
        row("a layer is added", {R"(addProgramLayer {"id":"l0","index":0})"},
            "p1,p2,p3 | l0,l1,l2 | ,,;n1,n3,n3;,,", 1);
        row("states and names read again",
            {R"(setProgram {"id":"p1","playState":1})", R"(setProgramLayer {"id":"l1","name":"x"})",
             R"(setProgramNode {"id":"n1","playState":1})"},
            "p1,p2,p3 | l1,l2 | n1,n3,n3;,,", 0);
        // Straight on the mirror ("mirror:"), without the programTableUpdate of the commands.
        row("a program is inserted",
            {"mirror:removeProgram p2", "mirror:insertProgram p2 0", "mirror:insertProgram p4 9"},
            "p2,p1,p3,p4 | l1,l2 | n3,n1,n3,;,,,", 0);
        row("a layer is inserted", {"mirror:insertProgramLayer l0 0", "mirror:insertProgramLayer l3 -1"},
            "p1,p2,p3 | l3,l0,l1,l2 | ,,;,,;n1,n3,n3;,,", 0);
        row("the link goes down", {"mirror:disconnectServer"}, " |  | ", 0);
    }
    void singleChangesAgreeWithAFill()
    {
        QFETCH(QStringList, commands);
        QFETCH(QString, expected);
        QFETCH(int, fills);
        DispatchTest::Harness harness;
        harness.connect();
        harness.send(kCovered);
        ProgramTableModel model;
        model.setStelvaneSyncer(harness.mirror());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        QTest::failOnWarning(QRegularExpression("."));
        RCStelvaneSyncer* mirror = harness.mirror();
        for (const QString& command : commands) {
            const QStringList words = command.split(' ');
            if (words.at(0) == QLatin1String("mirror:disconnectServer"))
                mirror->disconnectServer();
            else if (words.at(0) == QLatin1String("mirror:removeProgram"))
                mirror->removeProgram(words.at(1));
            else if (words.at(0) == QLatin1String("mirror:insertProgram"))
                QVERIFY(mirror->insertProgram(words.at(2).toInt(), MirrorTest::record(words.at(1))));
            else if (words.at(0) == QLatin1String("mirror:insertProgramLayer"))
                QVERIFY(mirror->insertProgramLayer(words.at(2).toInt(), MirrorTest::record(words.at(1))));
            else
                harness.send(command);
        }
        QCOMPARE(snapshot(model), expected);
        QCOMPARE(snapshot(model), freshFill(harness.mirror()));
        QCOMPARE(model.fillCount() - 1, fills);
    }
    // A model given another mirror, or none, no longer follows the first one.
    void aModelLetsGoOfItsMirror()
    {
        DispatchTest::Harness harness;
        harness.connect();
        harness.send(kCovered);
        ProgramTableModel model;
        QSignalSpy changed(&model, &ProgramTableModel::mStelvaneSyncerChanged);
        model.setStelvaneSyncer(harness.mirror());
        model.setStelvaneSyncer(harness.mirror());
        QCOMPARE(changed.size(), 1);
        model.setStelvaneSyncer(nullptr);
        const QString before = snapshot(model);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy cells(&model, &QAbstractItemModel::dataChanged);
        harness.send(R"(removeProgramNode {"id":"n3"})");
        harness.send(tableCommand("b", 2, 1, 1));
        QCOMPARE(resets.size() + cells.size(), 0);
        QCOMPARE(snapshot(model), before);
        QCOMPARE(changed.size(), 2);
    }
    void qmlCreatesIt()
    {
        qml_register_types_Rc_QmlComponents();
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData(
            "import QtQml\nimport Rc.QmlComponents 1.0\nProgramTableModel { Component.onCompleted: "
            "setTableInfo(2, 1) }",
            QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        auto* model = qobject_cast<ProgramTableModel*>(object.get());
        QVERIFY(model);
        QCOMPARE(model->rowCount(), 2);
    }
};

QTEST_MAIN(tst_ProgramTableModel)
#include "tst_ProgramTableModel.moc"
