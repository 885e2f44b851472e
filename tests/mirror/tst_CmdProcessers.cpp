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
    void commandsDriveTheMirror_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QVariantList>("expectations");

        // Each probe of the mirror (see MirrorProbe::probe) is followed by its expected value.
        const auto row = [](const char* name, const QStringList& setup, const QString& command,
                            const QVariantList& expectations) {
            QTest::newRow(name) << setup << command << expectations;
        };
        const QStringList none;
        const QStringList table{kTable};
        const QStringList tracks{kTracks, kTrackProgram};
        const QStringList vexa{kVexa};

        // An index past the end appends; a negative one inserts first.
        const struct
        {
            const char* command;
            QStringList setup;
            const char* list;
            const char* held;
            const char* signal;
        } placed[] = {{R"(addProgram {"id":"x")", table, "programs", "p1,p2", "signal:programInsert:2"},
                      {R"(addProgramLayer {"id":"x")", table, "layers", "l1", "signal:programLayerInsert:2"},
                      {R"(addTrack {"id":"x")", tracks, "tracks", "t1,t2", "signal:trackInsert:1"},
                      {R"(addTrackProgram {"trackId":"t1","id":"x")", tracks, "trackPrograms:t1", "tp1",
                       "signal:trackProgramAdded:2"},
                      {R"(addVexaProgramList {"programListType":1,"id":"x")", vexa, "audio", "a1",
                       "signal:vexaAudioProgramListAdd:1"},
                      {R"(addVexaProgram {"programListId":"v1","id":"x")", vexa, "vexaPrograms:v1", "vp1",
                       "signal:vexaVideoProgramAdd:2"}};
        for (const auto& p : placed) {
            const QString held = QString::fromLatin1(p.held);
            const QString name = QString::fromLatin1(p.command).section(' ', 0, 0);
            for (const int index : {9, -2})
                row(qPrintable(QStringLiteral("%1 at index %2").arg(name).arg(index)), p.setup,
                    QStringLiteral("%1,\"index\":%2}").arg(QString::fromLatin1(p.command)).arg(index),
                    {p.list, index < 0 ? "x," + held : held + ",x", p.signal,
                     QString::number(index < 0 ? 0 : int(held.count(',')) + 1)});
        }

        // Program table.
        row("setProgramTable: programs, layers, nodes in order; step 0", none, kTable,
            {"programs", S("p1,p2"), "layers", S("l1"), "nodes", S("n1"), "node:n1:ProgramIdList",
             QStringList{"p1"}, "node:n1:Length", 100, "signal:programAdd:0", S("p1,p2"),
             "signal:programTableUpdate", 1, "state", 1});
        row("setProgramTable {}: empties the table, completes the download", QStringList{kTable, kTracks},
            "setProgramTable {}",
            {"programs", S(""), "layers", S(""), "nodes", S(""), "signal:programTableUpdate", 1,
             "signal:downloadComplate", 1});
        row("setProgram name only", table, R"(setProgram {"id":"p1","name":"Z"})",
            {"program:p1:Name", S("Z"), "signal:programPropertyChanged", 1});
        row("setProgram playState only", table, R"(setProgram {"id":"p1","playState":2})",
            {"program:p1:State", 2, "signal:programCurrentChanged:0", S("p1")});
        row("setProgram playState as text reads 0",
            QStringList{kTable, R"(setProgram {"id":"p1","playState":2})"},
            R"(setProgram {"id":"p1","playState":"2"})", {"program:p1:State", 0});
        row("addProgram without index goes first", table,
            R"(addProgram {"id":"p3","name":"C","playState":1})",
            {"programs", S("p3,p1,p2"), "program:p3:State", 1, "signal:programTableUpdate", 1});
        row("addProgram at index 1", table, R"(addProgram {"id":"p3","index":1})",
            {"programs", S("p1,p3,p2"), "signal:programInsert:2", S("1")});
        row("removeProgram", table, R"(removeProgram {"id":"p1"})",
            {"programs", S("p2"), "signal:programTableUpdate", 1});
        row("removeProgram of an unknown id still announces", table, R"(removeProgram {"id":"zz"})",
            {"programs", S("p1,p2"), "signal:programTableUpdate", 1});
        row("addProgramLayer without index appends", table,
            R"(addProgramLayer {"id":"l2","name":"M","programLayerType":2})",
            {"layers", S("l1,l2"), "layer:l2:ProgramLayerType", 2, "signal:programTableUpdate", 1});
        row("addProgramLayer at index 0", table, R"(addProgramLayer {"id":"l2","index":0})",
            {"layers", S("l2,l1")});
        row("removeProgramLayer", table, R"(removeProgramLayer {"id":"l1"})",
            {"layers", S(""), "signal:programTableUpdate", 1});
        row("setProgramLayer", table, R"(setProgramLayer {"id":"l1","name":"Q","programLayerType":3})",
            {"layer:l1:Name", S("Q"), "layer:l1:ProgramLayerType", 3});
        row("setProgramLayer fractional type reads 0", table,
            R"(setProgramLayer {"id":"l1","programLayerType":1.5})",
            {"layer:l1:ProgramLayerType", 0, "layer:l1:Name", S("L")});
        row("addProgramNode with a thumbnail", table,
            R"(addProgramNode {"id":"n2","name":"N2","playState":1,"length":10,"progress":5,"programLayerId":"l1",)"
            R"("programIdArray":["p2"],"thumbnail":"@jpeg:40x30","programNodeTitle":"T2"})",
            {"nodes", S("n1,n2"), "node:n2:ThumbnailPath", S("image://stelvaneImageProvider/n2"), "image:n2",
             S("40x30"), "node:n2:ProgramNodeTitle", S("T2"), "signal:programTableUpdate", 0});
        row("addProgramNode wrong types read as defaults", table,
            R"(addProgramNode {"id":"n3","name":5,"playState":"1","length":1.5,"progress":true,"programLayerId":"l1",)"
            R"("programIdArray":["p1",2,null],"programNodeTitle":[]})",
            {"node:n3:Name", S(""), "node:n3:State", 0, "node:n3:Length", 0, "node:n3:Progress", 0,
             "node:n3:ProgramIdList", QStringList{"p1", "", ""}, "node:n3:ProgramNodeTitle", S(""),
             "node:n3:ThumbnailPath", QVariant()});
        row("removeProgramNode does not announce the table", table, R"(removeProgramNode {"id":"n1"})",
            {"nodes", S(""), "signal:programNodeRemove", 1, "signal:programTableUpdate", 0});
        row("setProgramNode with only an id does nothing", table, R"(setProgramNode {"id":"n1"})",
            {"signal:*", 0});
        row("setProgramNode every key, in order", table,
            R"(setProgramNode {"id":"n1","programNodeTitle":"U","progress":40,"programIdArray":["p1","p2"],)"
            R"("length":90,"playState":1,"name":"M"})",
            {"node:n1:Name", S("M"), "node:n1:State", 1, "node:n1:Progress", 40, "node:n1:ProgramIdList",
             QStringList{"p1", "p2"}, "signal:programNodePropertyChanged:1",
             S("Name,State,Length,Progress,ProgramIdList,ProgramNodeTitle")});
        row("setProgramNode empty thumbnail stores a null image", table,
            R"(setProgramNode {"id":"n1","thumbnail":""})",
            {"node:n1:ThumbnailPath", S("image://stelvaneImageProvider/n1"), "image:n1", S("20x20")});
        row("setProgramNode progress out of the int range reads 0", table,
            R"(setProgramNode {"id":"n1","progress":2147483648})", {"node:n1:Progress", 0});

        // Global properties and the stage image.
        row("brightness 0.5 reads as the int 0", none, R"(setGlobalProperty {"brightness":0.5})",
            {"global:Brightness", 0});
        row("brightness 70", none, R"(setGlobalProperty {"brightness":70})", {"global:Brightness", 70});
        row("volume 1 is the double 1.0", none, R"(setGlobalProperty {"volume":1})", {"global:Volume", 1.0});
        row("stageLink before standby, displayOutputState as DisplayOpen", none,
            R"(setGlobalProperty {"standby":true,"displayOutputState":true,"stageLink":true})",
            {"global:StageLink", true, "global:DisplayOpen", true, "signal:globalPropertyChanged:0",
             S("StageLink,Standby,DisplayOpen")});
        row("standby as text reads false", none, R"(setGlobalProperty {"standby":"yes"})",
            {"global:Standby", false, "signal:*", 0});
        row("setStageImage", none, R"(setStageImage {"stageImage":"@jpeg:64x36"})",
            {"global:StageImagePath", S("image://stelvaneImageProvider/stageViewImage"),
             "image:stageViewImage", S("64x36"), "signal:globalPropertyChanged", 2});
        row("setStageImage without an image", none, R"(setStageImage {"stageImage":""})",
            {"global:StageImagePath", S(""), "signal:*", 0});

        // Tracks.
        row("setTrackManager replaces the tracks", tracks,
            R"(setTrackManager {"trackArray":[{"name":"C","id":"t3"},3]})",
            {"tracks", S("t3"), "track:t3:Name", S("C"), "track:t3:State", 0});
        row("setTrackManager {}: no tracks, step 1 done", QStringList{kTable, kTracks}, "setTrackManager {}",
            {"tracks", S(""), "state", 2, "signal:downloadComplate", 1});
        row("setTrack progress only", tracks, R"(setTrack {"id":"t1","progress":40})",
            {"track:t1:Progress", 40, "signal:trackPropertyChanged:1", S("Progress")});
        row("setTrack name then state", tracks, R"(setTrack {"id":"t1","playState":1,"name":"Z"})",
            {"track:t1:Name", S("Z"), "signal:trackPropertyChanged:1", S("Name,State")});
        row("setTrack extremes of the int range", tracks,
            R"(setTrack {"id":"t1","progress":-2147483648,"playState":7.0})",
            {"track:t1:Progress", INT_MIN, "track:t1:State", 7});
        row("addTrack without index appends", tracks, R"(addTrack {"name":"C","id":"t3","playState":1})",
            {"tracks", S("t1,t2,t3"), "track:t3:State", 1});
        row("addTrack at index 0", tracks, R"(addTrack {"id":"t3","index":0})", {"tracks", S("t3,t1,t2")});
        row("removeTrack", tracks, R"(removeTrack {"id":"t1"})", {"tracks", S("t2")});
        row("addTrackProgram without index goes first; countdown truncated", tracks,
            R"(addTrackProgram {"trackId":"t1","id":"tp2","countdownTime":12.9})",
            {"trackPrograms:t1", S("tp2,tp1"), "trackProgram:t1:tp2:CountdownTime", L(12)});
        row("addTrackProgram negative countdown", tracks,
            R"(addTrackProgram {"trackId":"t1","id":"tp2","countdownTime":-12.9,"index":1})",
            {"trackPrograms:t1", S("tp1,tp2"), "trackProgram:t1:tp2:CountdownTime", L(-12)});
        row("addTrackProgram huge countdown is clamped", tracks,
            R"(addTrackProgram {"trackId":"t1","id":"tp2","countdownTime":1e300})",
            {"trackProgram:t1:tp2:CountdownTime", L(LLONG_MAX)});
        row("removeTrackProgram", tracks, R"(removeTrackProgram {"trackId":"t1","id":"tp1"})",
            {"trackPrograms:t1", S("")});
        row("setTrackProgram keeps the countdown a double", tracks,
            R"(setTrackProgram {"trackId":"t1","id":"tp1","countdownTime":12.9,"name":"Y"})",
            {"trackProgram:t1:tp1:CountdownTime", 12.9, "trackProgram:t1:tp1:Name", S("Y")});

        // Vexa program lists.
        row("setVexaProgramManager with text lists only", vexa,
            R"(setVexaProgramManager {"textProgramListArray":[{"id":"x1","name":"X","programArray":[{"id":"xp1"},{"id":"xp2"}]}]})",
            {"video", S(""), "audio", S(""), "text", S("x1"), "vexaPrograms:x1", S("xp1,xp2"),
             "vexaList:x1:ProgramListType", 0, "signal:vexaTextProgramAdd:0", S("x1,x1")});
        row("setVexaProgramManager {}: no lists, step 0 done", QStringList{kVexa, kTracks},
            "setVexaProgramManager {}", {"video", S(""), "audio", S(""), "state", 2});
        row("addVexaProgramList goes first, then its programs", vexa,
            R"(addVexaProgramList {"id":"a2","name":"B","programListType":1,"programArray":[{"id":"ap1","length":9}]})",
            {"audio", S("a2,a1"), "vexaPrograms:a2", S("ap1"), "vexaProgram:a2:ap1:Length", 9,
             "vexaList:a2:Name", S("B")});
        row("addVexaProgramList of kind 3 does nothing", vexa,
            R"(addVexaProgramList {"id":"z","programListType":3})", {"signal:*", 0});
        row("removeVexaProgramList", vexa, R"(removeVexaProgramList {"id":"v1"})", {"video", S("")});
        row("removeVexaProgramList of the wrong kind", vexa,
            R"(removeVexaProgramList {"id":"v1","programListType":1})", {"video", S("v1")});
        row("setVexaProgramList", vexa, R"(setVexaProgramList {"id":"a1","name":"N"})",
            {"vexaList:a1:Name", S("N")});
        row("addVexaProgram without kind or index: video, first", vexa,
            R"(addVexaProgram {"id":"vp2","programListId":"v1","beginPos":3,"endPos":8})",
            {"vexaPrograms:v1", S("vp2,vp1"), "vexaProgram:v1:vp2:BeginPos", 3, "vexaProgram:v1:vp2:EndPos",
             8});
        row("addVexaProgram of kind 3 does nothing", vexa,
            R"(addVexaProgram {"id":"vp2","programListId":"v1","programListType":3})", {"signal:*", 0});
        row("removeVexaProgram", vexa, R"(removeVexaProgram {"id":"vp1","programListId":"v1"})",
            {"vexaPrograms:v1", S("")});
        row("setVexaProgram with only the ids does nothing", vexa,
            R"(setVexaProgram {"id":"vp1","programListId":"v1"})", {"signal:*", 0});
        row("setVexaProgram every key, in order", vexa,
            R"(setVexaProgram {"id":"vp1","programListId":"v1","progress":4,"endPos":9,"beginPos":2,"length":30,"playState":1,"name":"b"})",
            {"vexaProgram:v1:vp1:Progress", 4, "signal:vexaProgramPropertyChanged:2",
             S("Name,State,Length,BeginPos,EndPos,Progress")});
    }
    void commandsDriveTheMirror()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, command);
        QFETCH(QVariantList, expectations);

        Harness harness;
        harness.connect();
        harness.send(setup);
        harness.resetCounts();
        harness.send(command);
        compareProbes(harness, expectations);
    }
};

QTEST_MAIN(tst_CmdProcessers)
#include "tst_CmdProcessers.moc"
