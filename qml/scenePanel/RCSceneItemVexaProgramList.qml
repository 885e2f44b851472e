import QtQuick
import "RCVexaKind.js" as VexaKind
import Rc.IRCStelvaneSyncer 1.0

// One page of the Vexa program manager: a tile per program of one Vexa list (mListId of kind
// mKind), in the list's order, following the programs added to, removed from and changed in that
// list. A tap on a stopped or paused program reports programTryPlay, on a playing one
// programTryPause; the tile has played the click sound already.
Item {
    id: root

    property string mListId: ""
    property int mKind: 0
    // The Vexa program manager that shows the page (node keys, mode, mirror).
    property var mView: null
    readonly property IRCStelvaneSyncer mStelvaneSyncer: mView ? mView.mStelvaneSyncer : null
    readonly property alias mTiles: tileModel

    signal programTryPlay(string programListId, string programId)
    signal programTryPause(string programListId, string programId)

    function fill() {
        tileModel.clear()
        var count = VexaKind.programCount(mStelvaneSyncer, mKind, mListId)
        for (var i = 0; i < count; ++i)
            putProgram(VexaKind.programId(mStelvaneSyncer, mKind, mListId, i))
    }
    function putProgram(programId, index) {
        tileModel.putTile(programId, VexaKind.text(readProgram(programId, "Name")),
                          VexaKind.number(readProgram(programId, "State")), "", index)
    }
    function readProgram(programId, key) {
        return VexaKind.programProperty(mStelvaneSyncer, mKind, mListId, programId, key)
    }
    function programAdded(kind, listId, programId, index) {
        if (kind === mKind && listId === mListId)
            putProgram(programId, index)
    }
    function programRemoved(kind, listId, programId) {
        if (kind === mKind && listId === mListId)
            tileModel.removeTile(programId)
    }

    onMListIdChanged: fill()
    onMKindChanged: fill()
    onMStelvaneSyncerChanged: fill()
    Component.onCompleted: fill()

    Connections {
        target: root.mStelvaneSyncer
        function onVexaVideoProgramAdd(programListId, programId, index) {
            root.programAdded(0, programListId, programId, index)
        }
        function onVexaAudioProgramAdd(programListId, programId, index) {
            root.programAdded(1, programListId, programId, index)
        }
        function onVexaTextProgramAdd(programListId, programId, index) {
            root.programAdded(2, programListId, programId, index)
        }
        function onVexaVideoProgramRemove(programListId, programId) {
            root.programRemoved(0, programListId, programId)
        }
        function onVexaAudioProgramRemove(programListId, programId) {
            root.programRemoved(1, programListId, programId)
        }
        function onVexaTextProgramRemove(programListId, programId) {
            root.programRemoved(2, programListId, programId)
        }
        // The change names no kind: the page reads its own list's program again.
        function onVexaProgramPropertyChanged(programListId, programId, sProName, value) {
            if (programListId !== root.mListId)
                return
            if (sProName === "Name")
                tileModel.setTileField(programId, "programName", VexaKind.text(root.readProgram(programId, "Name")))
            else if (sProName === "State")
                tileModel.setTileField(programId, "programState", VexaKind.number(root.readProgram(programId, "State")))
        }
    }
    RCProgramTileModel {
        id: tileModel
    }
    RCProgramTileGrid {
        objectName: "vexaGrid"
        anchors.fill: parent
        mView: root.mView
        model: tileModel
        onTileClicked: (sId, state) => {
            if (state === 0 || state === 2)
                root.programTryPlay(root.mListId, sId)
            else
                root.programTryPause(root.mListId, sId)
        }
    }
}
