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
