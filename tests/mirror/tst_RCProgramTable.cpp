#include "mirror/MirrorTestSupport.h"
#include "mirror/RCProgramTable.h"

#include <QTest>

using namespace MirrorTest;

class tst_RCProgramTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusedAddsChangeNothing()
    {
        RCProgramTable table;
        QSignalSpy programs(&table, &RCProgramTable::programAdd);
        QSignalSpy layers(&table, &RCProgramTable::programLayerAdd);
        QSignalSpy nodes(&table, &RCProgramTable::programNodeAdd);
        QVERIFY(!table.addProgram(record("")));
        QVERIFY(!table.insertProgram(0, QVariantMap()));
        QVERIFY(table.addProgramLayer(record("")));
        QVERIFY(!table.addProgramLayer(record("")));
        QVERIFY(table.addProgramNode(QVariantMap()));
        QVERIFY(!table.addProgramNode(record("")));
        QCOMPARE(programs.size(), 0);
        QCOMPARE(layers.size(), 1);
        QCOMPARE(nodes.size(), 1);

        QVERIFY(table.addProgram(record("p", {{"Name", "first"}})));
        QVERIFY(!table.addProgram(record("p", {{"Name", "second"}})));
        QVERIFY(!table.insertProgram(0, record("p", {{"Name", "third"}})));
        QCOMPARE(table.getProgramName("p"), QString("first"));
        QCOMPARE(table.getProgramIndex("p"), 0);
        QCOMPARE(programs.size(), 1);
        QCOMPARE(table.getProgramCount(), 1);
    }
    void recordsKeepTheirKeySet()
    {
        RCProgramTable table;
        QSignalSpy added(&table, &RCProgramTable::programNodeAdd);
        QVERIFY(table.addProgramNode(record("n", {{"Name", "x"}, {"Foo", 1}})));
        QCOMPARE(added.at(0).at(1).toMap().value("Foo").toInt(), 1);
        QVERIFY(!table.getProgramNodePropertyValue("n", "Foo").isValid());
        QVERIFY(!table.setProgramNodePropertyValue("n", "Foo", 2));
        // Keys of the set that the map lacks hold null values, read by the typed getters as neutral.
        QVERIFY(table.getProgramNodePropertyValue("n", "State").isNull());
        QCOMPARE(table.getProgramNodeState("n"), 0);
        QCOMPARE(table.getProgramNodeProgramIdList("n"), QVariantList());
        QCOMPARE(table.getProgramNodeRowIndex("n"), -1);
        QCOMPARE(table.getProgramNodeName("unknown"), QString());
        QCOMPARE(table.getProgramNodeProgress("unknown"), 0);
    }
    void cellIndexFollowsEveryChange()
    {
        RCProgramTable table;
        // Nodes may name programs and layers that do not exist.
        QVERIFY(table.addProgramNode(node("n1", "L", {"P", "Q"})));
        QVERIFY(table.addProgramNode(node("n2", "L", {"Q"})));
        QCOMPARE(table.findProgramNode("P", "L"), QString("n1"));
        QCOMPARE(table.findProgramNode("Q", "L"), QString("n2"));

        // Removing the node added last gives the cell back to the one below it, and the reverse.
        table.removeProgramNode("n2");
        QCOMPARE(table.findProgramNode("Q", "L"), QString("n1"));
        QVERIFY(table.addProgramNode(node("n2", "L", {"Q"})));
        table.removeProgramNode("n1");
        QCOMPARE(table.findProgramNode("Q", "L"), QString("n2"));
        QCOMPARE(table.findProgramNode("P", "L"), QString());

        // Every setter that places a node moves its cells, and listeners see the new place.
        QString seen;
        connect(&table, &RCProgramTable::programNodePropertyChanged, this,
                [&] { seen = table.findProgramNode("R", "M"); });
        QVERIFY(table.setProgramNodePropertyValue("n2", "ProgramIdList", QStringList{"R"}));
        QCOMPARE(table.findProgramNode("Q", "L"), QString());
        table.setProgramNodeProgramLayerId("n2", "M");
        QCOMPARE(seen, QString("n2"));
        QCOMPARE(table.findProgramNode("R", "L"), QString());
        table.setProgramNodeProgramIdList("n2", {"S"});
        QCOMPARE(table.findProgramNode("R", "M"), QString());
        QCOMPARE(table.findProgramNode("S", "M"), QString("n2"));
        QVERIFY(table.setProgramNodePropertyValue("n2", "ProgramLayerId", "L"));
        QCOMPARE(table.findProgramNode("S", "L"), QString("n2"));
        QCOMPARE(table.findProgramNode("S", "M"), QString());

        table.clearProgramNode();
        QCOMPARE(table.findProgramNode("S", "L"), QString());
    }
    void removingProgramsAndLayersLeavesNodes()
    {
        RCProgramTable table;
        QVERIFY(table.addProgram(record("P")));
        QVERIFY(table.addProgramLayer(record("L0")));
        QVERIFY(table.addProgramLayer(record("L1")));
        QVERIFY(table.addProgramNode(node("n", "L1", {"P"})));
        QCOMPARE(table.getProgramNodeRowIndex("n"), 1);
        QSignalSpy removed(&table, &RCProgramTable::programNodeRemove);
        table.removeProgram("P");
        table.removeProgramLayer("L1");
        QCOMPARE(table.findProgramNode("P", "L1"), QString("n"));
        QCOMPARE(table.getProgramNodeRowIndex("n"), -1);
        table.removeProgramNode("n");
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), -1);
        QCOMPARE(removed.at(0).at(2).toList(), QVariantList{"P"});
    }
    void settersCompareAsTheirType()
    {
        RCProgramTable table;
        QVERIFY(table.addProgramNode(node("n", "L", {"P"}, {{"Name", "x"}, {"Progress", 5}})));
        QVERIFY(table.addProgramLayer(record("L", {{"ProgramLayerType", 2}})));
        QVERIFY(table.addProgramLayer(record("M")));
        QSignalSpy nodeChanges(&table, &RCProgramTable::programNodePropertyChanged);
        QSignalSpy layerChanges(&table, &RCProgramTable::programLayerPropertyChanged);

        table.setProgramNodeName("n", "x");
        table.setProgramNodeProgress("n", 5);
        QCOMPARE(nodeChanges.size(), 0);
        table.setProgramNodeProgress("n", 7);
        QCOMPARE(table.getProgramNodePropertyValue("n", "Progress").typeId(), QMetaType::LongLong);
        table.setProgramNodeProgramIdList("n", {"P"});
        table.setProgramNodeProgramIdList("n", {"P"});
        QCOMPARE(column(nodeChanges, 1), QStringList({"Progress", "ProgramIdList", "ProgramIdList"}));

        QVERIFY(!table.setProgramLayerPropertyValue("L", "ProgramLayerType", 2));
        QVERIFY(table.setProgramLayerPropertyValue("M", "ProgramLayerType", 2));
        QVERIFY(!table.setProgramLayerPropertyValue("M", "Volume", 2));
        QVERIFY(!table.setProgramLayerPropertyValue("unknown", "Name", "y"));
        QCOMPARE(layerChanges.size(), 1);
        QCOMPARE(layerChanges.at(0), (QVariantList{"M", "ProgramLayerType", 2}));
    }
    void clearsRemoveOneAtATime()
    {
        RCProgramTable table;
        for (const char* id : {"c", "a", "b"}) {
            QVERIFY(table.addProgram(record(id)));
            QVERIFY(table.addProgramNode(record(id)));
        }
        QCOMPARE(table.getProgramNode(0), QString("a"));
        QCOMPARE(table.getProgramNode(2), QString("c"));
        QCOMPARE(table.getProgramNode(3), QString());
        QSignalSpy programs(&table, &RCProgramTable::programRemove);
        QSignalSpy nodes(&table, &RCProgramTable::programNodeRemove);
        table.clearProgram();
        table.clearProgramNode();
        QCOMPARE(column(programs), QStringList({"c", "a", "b"}));
        QCOMPARE(column(programs, 1), QStringList({"0", "0", "0"}));
        QCOMPARE(column(nodes), QStringList({"a", "b", "c"}));
        QCOMPARE(table.getProgramCount() + table.getProgramNodeCount(), 0);
    }
    void nodeTitlesAndTheirPrograms()
    {
        RCProgramTable table;
        QVERIFY(table.addProgram(record("P")));
        QVERIFY(table.addProgram(record("Q")));
        QVERIFY(table.addProgramNode(node("x", "L", {"Q"}, {{"ProgramNodeTitle", "A"}})));
        QVERIFY(table.addProgramNode(node("y", "L", {"P"}, {{"ProgramNodeTitle", "B"}})));
        QVERIFY(table.addProgramNode(node("z", "L", {"P", "", "ghost", "Q"}, {{"ProgramNodeTitle", "A"}})));
        QVERIFY(table.addProgramNode(node("zz", "L", {"phantom"}, {{"ProgramNodeTitle", "A"}})));
        QVERIFY(table.addProgramNode(node("w", "L", {}, {{"ProgramNodeTitle", ""}})));
        QCOMPARE(table.getProgramNodeTitleList(), QStringList({"B", "A"}));
        // Ids that name no program share column -1, the later one winning.
        QCOMPARE(table.getProgramIdListByNodeTitle("A"), QStringList({"phantom", "P", "Q"}));
        QCOMPARE(table.getProgramIdListByNodeTitle("a"), QStringList());
        QCOMPARE(table.getProgramIdListByNodeTitle(""), QStringList());
    }
    void changedLayerIdKeepsFilingId()
    {
        RCProgramTable table;
        QVERIFY(table.addProgramLayer(record("L")));
        QSignalSpy changes(&table, &RCProgramTable::programLayerPropertyChanged);
        QVERIFY(table.setProgramLayerPropertyValue("L", "Id", "M"));
        QCOMPARE(changes.at(0).at(0).toString(), QString("L"));
        QCOMPARE(table.getProgramLayerIndex("L"), 0);
        QCOMPARE(table.getProgramLayerIndex("M"), -1);
        QSignalSpy removed(&table, &RCProgramTable::programLayerRemove);
        table.clearProgramLayer();
        QCOMPARE(column(removed), QStringList{"L"});
    }
    void roleNames_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("role");
        QTest::newRow("braced") << QString("{a-b}") << QString("col_a_b_");
        QTest::newRow("mixed") << QString("a:b.d-e") << QString("cola_b_d_e");
        QTest::newRow("empty") << QString("") << QString("col");
    }
    void roleNames()
    {
        QFETCH(QString, id);
        QFETCH(QString, role);
        const QVariant answer = RCProgramTable::getProgramRole(id);
        QCOMPARE(answer.typeId(), QMetaType::QString);
        QCOMPARE(answer.toString(), role);
    }
};

QTEST_GUILESS_MAIN(tst_RCProgramTable)
#include "tst_RCProgramTable.moc"
