import QtQuick
import "RCVexaKind.js" as VexaKind
import Rc.IRCStelvaneSyncer 1.0

// The Vexa program of one kind (mKind: 0 video, 1 audio, 2 text) that is playing, as the four
// playing-program views show it: its list and id (the current pair), state, name, length, begin
// and end positions and progress, read through the operations of that kind only.
//
// The pair is taken from the mirror's playing-program lookup when the tracker gets its mirror or
// its kind and whenever the lists of its kind change while it has none; a program of its kind
// whose state turns non-zero becomes current; the current program stopping (or going) clears the
// pair and looks the playing program up again. Only the current program's changes are taken.
Item {
    id: root

    property IRCStelvaneSyncer mStelvaneSyncer: null
    property int mKind: 0
    property string mListId: ""
    property string mProgramId: ""
    property int mState: 0
    property string mName: ""
    property real mLength: 0
    property real mBeginPos: 0
    property real mEndPos: 0
    property real mProgress: 0
    readonly property bool mHasProgram: mProgramId !== ""

    function lookUp() {
        var listId = VexaKind.playingList(mStelvaneSyncer, mKind)
        var programId = VexaKind.playingProgram(mStelvaneSyncer, mKind)
        if (listId === "" || programId === "")
            setCurrent("", "")
        else
            setCurrent(listId, programId)
    }
    // One look-up once the current event is handled; the timer goes with the tracker, so a view
    // that goes meanwhile looks nothing up.
    function scheduleLookUp() {
        lookUpTimer.start()
    }
    function setCurrent(listId, programId) {
        mListId = listId
        mProgramId = programId
        readAll()
    }
    function read(key) {
        return VexaKind.programProperty(mStelvaneSyncer, mKind, mListId, mProgramId, key)
    }
    function readAll() {
        var has = mProgramId !== ""
        mState = has ? VexaKind.number(read("State")) : 0
        mName = has ? VexaKind.text(read("Name")) : ""
        readPositions()
    }
    function readPositions() {
        var has = mProgramId !== ""
        mLength = has ? VexaKind.number(read("Length")) : 0
        mBeginPos = has ? VexaKind.number(read("BeginPos")) : 0
        mEndPos = has ? VexaKind.number(read("EndPos")) : 0
        mProgress = has ? VexaKind.number(read("Progress")) : 0
    }
    function isCurrent(listId, programId) {
        return mProgramId !== "" && listId === mListId && programId === mProgramId
    }
    // A list or program of the tracker's kind came or went.
    function listsChanged(kind, listId, programId) {
        if (kind !== mKind)
            return
        if (mProgramId === "" || (listId === mListId && (programId === undefined || programId === mProgramId)))
            scheduleLookUp()
    }

    visible: false
    onMStelvaneSyncerChanged: lookUp()
    onMKindChanged: lookUp()

    Timer {
        id: lookUpTimer
        interval: 0
        onTriggered: root.lookUp()
    }
    Connections {
        target: root.mStelvaneSyncer
        // The change names no kind: only lists of the tracker's kind count, read by kind.
        function onVexaProgramPropertyChanged(programListId, programId, sProName, value) {
            if (!VexaKind.hasList(root.mStelvaneSyncer, root.mKind, programListId))
                return
            var current = root.isCurrent(programListId, programId)
            if (sProName === "State") {
                var state = VexaKind.number(VexaKind.programProperty(root.mStelvaneSyncer, root.mKind,
                                                                     programListId, programId, "State"))
                if (state !== 0)
                    root.setCurrent(programListId, programId)
                else if (current)
                    root.lookUp()
                return
            }
            if (!current)
                return
            if (sProName === "Name")
                root.mName = VexaKind.text(root.read("Name"))
            else if (sProName === "Progress" || sProName === "Length" || sProName === "BeginPos"
                     || sProName === "EndPos")
                root.readPositions()
        }
        function onVexaVideoProgramListAdd(programListId, index) {
            root.listsChanged(0, programListId)
        }
        function onVexaAudioProgramListAdd(programListId, index) {
            root.listsChanged(1, programListId)
        }
        function onVexaTextProgramListAdd(programListId, index) {
            root.listsChanged(2, programListId)
        }
        function onVexaVideoProgramListRemove(programListId) {
            root.listsChanged(0, programListId)
        }
        function onVexaAudioProgramListRemove(programListId) {
            root.listsChanged(1, programListId)
        }
        function onVexaTextProgramListRemove(programListId) {
            root.listsChanged(2, programListId)
        }
        function onVexaVideoProgramAdd(programListId, programId, index) {
            root.listsChanged(0, programListId, programId)
        }
        function onVexaAudioProgramAdd(programListId, programId, index) {
            root.listsChanged(1, programListId, programId)
        }
        function onVexaTextProgramAdd(programListId, programId, index) {
            root.listsChanged(2, programListId, programId)
        }
        function onVexaVideoProgramRemove(programListId, programId) {
            root.listsChanged(0, programListId, programId)
        }
        function onVexaAudioProgramRemove(programListId, programId) {
            root.listsChanged(1, programListId, programId)
        }
        function onVexaTextProgramRemove(programListId, programId) {
            root.listsChanged(2, programListId, programId)
        }
    }
}
