// Every data command of the media server, applied through the dispatch on a connected project:
// the parameters in, the mirror's state and signals out, with the reading rules' wrong-type and
// missing-key rows.
#include "mirror/DispatchTestSupport.h"

#include <QTest>

#include <climits>

using namespace DispatchTest;

namespace {
const QString kTable = QStringLiteral(
    R"(setProgramTable {"programArray":[{"id":"p1","name":"A","playState":0},{"id":"p2","name":"B","playState":0}],)"
    R"("programLayerArray":[{"id":"l1","name":"L","programLayerType":1}],"programNodeArray":[{"id":"n1","name":"N",)"
    R"("playState":0,"length":100,"progress":0,"programLayerId":"l1","programIdArray":["p1"],"programNodeTitle":"T"}]})");
const QString kTracks = QStringLiteral(
    R"(setTrackManager {"trackArray":[{"name":"A","id":"t1","playState":0,"progress":0},{"name":"B","id":"t2"}]})");
const QString kTrackProgram = QStringLiteral(
    R"(addTrackProgram {"trackId":"t1","id":"tp1","name":"X","playState":0,"countdownTime":5})");
const QString kVexa = QStringLiteral(
    R"(setVexaProgramManager {"videoProgramListArray":[{"id":"v1","name":"V","programArray":[{"id":"vp1","name":"a"}]}],)"
    R"("audioProgramListArray":[{"id":"a1","name":"A"}]})");

QVariant S(const char* text)
{
    return QVariant(QString::fromUtf8(text));
}
QVariant L(qlonglong value)
{
    return QVariant(value);
}
} // namespace

class tst_CmdProcessers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandsDriveTheMirror_data();
    void commandsDriveTheMirror();
};

void tst_CmdProcessers::commandsDriveTheMirror_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("probes");
    QTest::addColumn<QVariantList>("expected");

    const QStringList none;
    const QStringList table{kTable};
    const QStringList tracks{kTracks, kTrackProgram};
    const QStringList vexa{kVexa};

    // Program table.
    QTest::newRow("setProgramTable: programs, layers, nodes in order; step 0")
        << none << kTable
        << QStringList{"programs",
                       "layers",
                       "nodes",
                       "node:n1:ProgramIdList",
                       "node:n1:Length",
                       "signal:programAdd:0",
                       "signal:programTableUpdate",
                       "state"}
        << QVariantList{S("p1,p2"), S("l1"), S("n1"), QStringList{"p1"}, 100, S("p1,p2"), 1, 1};
    QTest::newRow("setProgramTable {}: empties the table, completes the download")
        << QStringList{kTable, kTracks} << "setProgramTable {}"
        << QStringList{"programs", "layers", "nodes", "signal:programTableUpdate", "signal:downloadComplate"}
        << QVariantList{S(""), S(""), S(""), 1, 1};
    QTest::newRow("setProgram name only")
        << table << R"(setProgram {"id":"p1","name":"Z"})"
        << QStringList{"program:p1:Name", "signal:programPropertyChanged"} << QVariantList{S("Z"), 1};
    QTest::newRow("setProgram playState only")
        << table << R"(setProgram {"id":"p1","playState":2})"
        << QStringList{"program:p1:State", "signal:programCurrentChanged:0"} << QVariantList{2, S("p1")};
    QTest::newRow("setProgram playState as text reads 0")
        << QStringList{kTable, R"(setProgram {"id":"p1","playState":2})"}
        << R"(setProgram {"id":"p1","playState":"2"})" << QStringList{"program:p1:State"} << QVariantList{0};
    QTest::newRow("addProgram without index goes first")
        << table << R"(addProgram {"id":"p3","name":"C","playState":1})"
        << QStringList{"programs", "program:p3:State", "signal:programTableUpdate"}
        << QVariantList{S("p3,p1,p2"), 1, 1};
    QTest::newRow("addProgram at index 1") << table << R"(addProgram {"id":"p3","index":1})"
                                           << QStringList{"programs"} << QVariantList{S("p1,p3,p2")};
    QTest::newRow("removeProgram") << table << R"(removeProgram {"id":"p1"})"
                                   << QStringList{"programs", "signal:programTableUpdate"}
                                   << QVariantList{S("p2"), 1};
    QTest::newRow("removeProgram of an unknown id still announces")
        << table << R"(removeProgram {"id":"zz"})" << QStringList{"programs", "signal:programTableUpdate"}
        << QVariantList{S("p1,p2"), 1};
    QTest::newRow("addProgramLayer without index appends")
        << table << R"(addProgramLayer {"id":"l2","name":"M","programLayerType":2})"
        << QStringList{"layers", "layer:l2:ProgramLayerType", "signal:programTableUpdate"}
        << QVariantList{S("l1,l2"), 2, 1};
    QTest::newRow("addProgramLayer at index 0") << table << R"(addProgramLayer {"id":"l2","index":0})"
                                                << QStringList{"layers"} << QVariantList{S("l2,l1")};
    QTest::newRow("removeProgramLayer")
        << table << R"(removeProgramLayer {"id":"l1"})" << QStringList{"layers", "signal:programTableUpdate"}
        << QVariantList{S(""), 1};
    QTest::newRow("setProgramLayer") << table
                                     << R"(setProgramLayer {"id":"l1","name":"Q","programLayerType":3})"
                                     << QStringList{"layer:l1:Name", "layer:l1:ProgramLayerType"}
                                     << QVariantList{S("Q"), 3};
    QTest::newRow("setProgramLayer fractional type reads 0")
        << table << R"(setProgramLayer {"id":"l1","programLayerType":1.5})"
        << QStringList{"layer:l1:ProgramLayerType", "layer:l1:Name"} << QVariantList{0, S("L")};
    QTest::newRow("addProgramNode with a thumbnail")
        << table
        << R"(addProgramNode {"id":"n2","name":"N2","playState":1,"length":10,"progress":5,"programLayerId":"l1",)"
           R"("programIdArray":["p2"],"thumbnail":"@jpeg:40x30","programNodeTitle":"T2"})"
        << QStringList{"nodes", "node:n2:ThumbnailPath", "image:n2", "node:n2:ProgramNodeTitle",
                       "signal:programTableUpdate"}
        << QVariantList{S("n1,n2"), S("image://stelvaneImageProvider/n2"), S("40x30"), S("T2"), 0};
    QTest::newRow("addProgramNode wrong types read as defaults")
        << table
        << R"(addProgramNode {"id":"n3","name":5,"playState":"1","length":1.5,"progress":true,"programLayerId":"l1",)"
           R"("programIdArray":["p1",2,null],"programNodeTitle":[]})"
        << QStringList{"node:n3:Name",         "node:n3:State",         "node:n3:Length",
                       "node:n3:Progress",     "node:n3:ProgramIdList", "node:n3:ProgramNodeTitle",
                       "node:n3:ThumbnailPath"}
        << QVariantList{S(""), 0, 0, 0, QStringList{"p1", "", ""}, S(""), QVariant()};
    QTest::newRow("removeProgramNode does not announce the table")
        << table << R"(removeProgramNode {"id":"n1"})"
        << QStringList{"nodes", "signal:programNodeRemove", "signal:programTableUpdate"}
        << QVariantList{S(""), 1, 0};
    QTest::newRow("setProgramNode with only an id does nothing")
        << table << R"(setProgramNode {"id":"n1"})" << QStringList{"signal:*"} << QVariantList{0};
    QTest::newRow("setProgramNode every key, in order")
        << table
        << R"(setProgramNode {"id":"n1","programNodeTitle":"U","progress":40,"programIdArray":["p1","p2"],)"
           R"("length":90,"playState":1,"name":"M"})"
        << QStringList{"node:n1:Name", "node:n1:State", "node:n1:Progress", "node:n1:ProgramIdList",
                       "signal:programNodePropertyChanged:1"}
        << QVariantList{S("M"), 1, 40, QStringList{"p1", "p2"},
                        S("Name,State,Length,Progress,ProgramIdList,ProgramNodeTitle")};
    QTest::newRow("setProgramNode empty thumbnail stores a null image")
        << table << R"(setProgramNode {"id":"n1","thumbnail":""})"
        << QStringList{"node:n1:ThumbnailPath", "image:n1"}
        << QVariantList{S("image://stelvaneImageProvider/n1"), S("20x20")};
    QTest::newRow("setProgramNode progress out of the int range reads 0")
        << table << R"(setProgramNode {"id":"n1","progress":2147483648})" << QStringList{"node:n1:Progress"}
        << QVariantList{0};

    // Global properties and the stage image.
    QTest::newRow("brightness 0.5 reads as the int 0") << none << R"(setGlobalProperty {"brightness":0.5})"
                                                       << QStringList{"global:Brightness"} << QVariantList{0};
    QTest::newRow("brightness 70") << none << R"(setGlobalProperty {"brightness":70})"
                                   << QStringList{"global:Brightness"} << QVariantList{70};
    QTest::newRow("volume 1 is the double 1.0")
        << none << R"(setGlobalProperty {"volume":1})" << QStringList{"global:Volume"} << QVariantList{1.0};
    QTest::newRow("stageLink before standby, displayOutputState as DisplayOpen")
        << none << R"(setGlobalProperty {"standby":true,"displayOutputState":true,"stageLink":true})"
        << QStringList{"global:StageLink", "global:DisplayOpen", "signal:globalPropertyChanged:0"}
        << QVariantList{true, true, S("StageLink,Standby,DisplayOpen")};
    QTest::newRow("standby as text reads false")
        << none << R"(setGlobalProperty {"standby":"yes"})" << QStringList{"global:Standby", "signal:*"}
        << QVariantList{false, 0};
    QTest::newRow("setStageImage") << none << R"(setStageImage {"stageImage":"@jpeg:64x36"})"
                                   << QStringList{"global:StageImagePath", "image:stageViewImage",
                                                  "signal:globalPropertyChanged"}
                                   << QVariantList{S("image://stelvaneImageProvider/stageViewImage"),
                                                   S("64x36"), 2};
    QTest::newRow("setStageImage without an image")
        << none << R"(setStageImage {"stageImage":""})" << QStringList{"global:StageImagePath", "signal:*"}
        << QVariantList{S(""), 0};

    // Tracks.
    QTest::newRow("setTrackManager replaces the tracks")
        << tracks << R"(setTrackManager {"trackArray":[{"name":"C","id":"t3"},3]})"
        << QStringList{"tracks", "track:t3:Name", "track:t3:State"} << QVariantList{S("t3"), S("C"), 0};
    QTest::newRow("setTrackManager {}: no tracks, step 1 done")
        << QStringList{kTable, kTracks} << "setTrackManager {}"
        << QStringList{"tracks", "state", "signal:downloadComplate"} << QVariantList{S(""), 2, 1};
    QTest::newRow("setTrack progress only")
        << tracks << R"(setTrack {"id":"t1","progress":40})"
        << QStringList{"track:t1:Progress", "signal:trackPropertyChanged:1"}
        << QVariantList{40, S("Progress")};
    QTest::newRow("setTrack name then state") << tracks << R"(setTrack {"id":"t1","playState":1,"name":"Z"})"
                                              << QStringList{"track:t1:Name", "signal:trackPropertyChanged:1"}
                                              << QVariantList{S("Z"), S("Name,State")};
    QTest::newRow("setTrack extremes of the int range")
        << tracks << R"(setTrack {"id":"t1","progress":-2147483648,"playState":7.0})"
        << QStringList{"track:t1:Progress", "track:t1:State"} << QVariantList{INT_MIN, 7};
    QTest::newRow("addTrack without index appends")
        << tracks << R"(addTrack {"name":"C","id":"t3","playState":1})"
        << QStringList{"tracks", "track:t3:State"} << QVariantList{S("t1,t2,t3"), 1};
    QTest::newRow("addTrack at index 0") << tracks << R"(addTrack {"id":"t3","index":0})"
                                         << QStringList{"tracks"} << QVariantList{S("t3,t1,t2")};
    QTest::newRow("removeTrack") << tracks << R"(removeTrack {"id":"t1"})" << QStringList{"tracks"}
                                 << QVariantList{S("t2")};
    QTest::newRow("addTrackProgram without index goes first; countdown truncated")
        << tracks << R"(addTrackProgram {"trackId":"t1","id":"tp2","countdownTime":12.9})"
        << QStringList{"trackPrograms:t1", "trackProgram:t1:tp2:CountdownTime"}
        << QVariantList{S("tp2,tp1"), L(12)};
    QTest::newRow("addTrackProgram negative countdown")
        << tracks << R"(addTrackProgram {"trackId":"t1","id":"tp2","countdownTime":-12.9,"index":1})"
        << QStringList{"trackPrograms:t1", "trackProgram:t1:tp2:CountdownTime"}
        << QVariantList{S("tp1,tp2"), L(-12)};
    QTest::newRow("addTrackProgram huge countdown is clamped")
        << tracks << R"(addTrackProgram {"trackId":"t1","id":"tp2","countdownTime":1e300})"
        << QStringList{"trackProgram:t1:tp2:CountdownTime"} << QVariantList{L(LLONG_MAX)};
    QTest::newRow("removeTrackProgram") << tracks << R"(removeTrackProgram {"trackId":"t1","id":"tp1"})"
                                        << QStringList{"trackPrograms:t1"} << QVariantList{S("")};
    QTest::newRow("setTrackProgram keeps the countdown a double")
        << tracks << R"(setTrackProgram {"trackId":"t1","id":"tp1","countdownTime":12.9,"name":"Y"})"
        << QStringList{"trackProgram:t1:tp1:CountdownTime", "trackProgram:t1:tp1:Name"}
        << QVariantList{12.9, S("Y")};

    // Vexa program lists.
    QTest::newRow("setVexaProgramManager with text lists only")
        << vexa
        << R"(setVexaProgramManager {"textProgramListArray":[{"id":"x1","name":"X","programArray":[{"id":"xp1"},{"id":"xp2"}]}]})"
        << QStringList{"video",
                       "audio",
                       "text",
                       "vexaPrograms:x1",
                       "vexaList:x1:ProgramListType",
                       "signal:vexaTextProgramAdd:0"}
        << QVariantList{S(""), S(""), S("x1"), S("xp1,xp2"), 0, S("x1,x1")};
    QTest::newRow("setVexaProgramManager {}: no lists, step 0 done")
        << QStringList{kVexa, kTracks} << "setVexaProgramManager {}" << QStringList{"video", "audio", "state"}
        << QVariantList{S(""), S(""), 2};
    QTest::newRow("addVexaProgramList goes first, then its programs")
        << vexa
        << R"(addVexaProgramList {"id":"a2","name":"B","programListType":1,"programArray":[{"id":"ap1","length":9}]})"
        << QStringList{"audio", "vexaPrograms:a2", "vexaProgram:a2:ap1:Length", "vexaList:a2:Name"}
        << QVariantList{S("a2,a1"), S("ap1"), 9, S("B")};
    QTest::newRow("addVexaProgramList of kind 3 does nothing")
        << vexa << R"(addVexaProgramList {"id":"z","programListType":3})" << QStringList{"signal:*"}
        << QVariantList{0};
    QTest::newRow("removeVexaProgramList")
        << vexa << R"(removeVexaProgramList {"id":"v1"})" << QStringList{"video"} << QVariantList{S("")};
    QTest::newRow("removeVexaProgramList of the wrong kind")
        << vexa << R"(removeVexaProgramList {"id":"v1","programListType":1})" << QStringList{"video"}
        << QVariantList{S("v1")};
    QTest::newRow("setVexaProgramList") << vexa << R"(setVexaProgramList {"id":"a1","name":"N"})"
                                        << QStringList{"vexaList:a1:Name"} << QVariantList{S("N")};
    QTest::newRow("addVexaProgram without kind or index: video, first")
        << vexa << R"(addVexaProgram {"id":"vp2","programListId":"v1","beginPos":3,"endPos":8})"
        << QStringList{"vexaPrograms:v1", "vexaProgram:v1:vp2:BeginPos", "vexaProgram:v1:vp2:EndPos"}
        << QVariantList{S("vp2,vp1"), 3, 8};
    QTest::newRow("addVexaProgram of kind 3 does nothing")
        << vexa << R"(addVexaProgram {"id":"vp2","programListId":"v1","programListType":3})"
        << QStringList{"signal:*"} << QVariantList{0};
    QTest::newRow("removeVexaProgram") << vexa << R"(removeVexaProgram {"id":"vp1","programListId":"v1"})"
                                       << QStringList{"vexaPrograms:v1"} << QVariantList{S("")};
    QTest::newRow("setVexaProgram with only the ids does nothing")
        << vexa << R"(setVexaProgram {"id":"vp1","programListId":"v1"})" << QStringList{"signal:*"}
        << QVariantList{0};
    QTest::newRow("setVexaProgram every key, in order")
        << vexa
        << R"(setVexaProgram {"id":"vp1","programListId":"v1","progress":4,"endPos":9,"beginPos":2,"length":30,"playState":1,"name":"b"})"
        << QStringList{"vexaProgram:v1:vp1:Progress", "signal:vexaProgramPropertyChanged:2"}
        << QVariantList{4, S("Name,State,Length,BeginPos,EndPos,Progress")};
}

void tst_CmdProcessers::commandsDriveTheMirror()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, command);
    QFETCH(QStringList, probes);
    QFETCH(QVariantList, expected);

    Harness harness;
    harness.connect();
    harness.send(setup);
    harness.resetCounts();
    harness.send(command);
    compareProbes(harness, probes, expected);
}

QTEST_MAIN(tst_CmdProcessers)
#include "tst_CmdProcessers.moc"
