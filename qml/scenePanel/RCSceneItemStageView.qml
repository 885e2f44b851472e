import QtQuick
import "../common"

// The media server's stage image, live: a frame with a title band holding the name, and below it
// the latest stage image filling the area. While the view is shown it counts itself with the
// mirror, which then asks the server for a new image about every 100 ms; a view that is hidden
// (the other mode's layout, a scene going) or destroyed takes its count back, each count paired
// with exactly one release.
//
// A new image is loaded into a hidden second image and shown once it has loaded, so the frame
// never goes blank between two images; the images are never cached and are requested at the size
// they are shown (1920 x 1080 until the view has a size).
RCSceneItem {
    id: root

    property string mName: ""
    property real mTextSize: 12
    property color mTextColor: "white"
    property bool mTextBold: true
    property color mBackgroundColor: "#1A1A1C"
    property color mTitleBackgroundColor: "transparent"
    property real mTitleHeight: 0
    // Whether this view holds one of the mirror's stage view counts.
    property bool mCounted: false
    property bool mCompleted: false
    // The image shown (0 or 1) and an image that arrived while the other was still loading.
    property int mFront: 0
    property string mPendingUrl: ""

    function updateCount() {
        if (!mStelvaneSyncer) {
            mCounted = false
            return
        }
        var wanted = mCompleted && visible
        if (wanted === mCounted)
            return
        mCounted = wanted
        if (wanted)
            mStelvaneSyncer.stageViewRefAddOne()
        else
            mStelvaneSyncer.stageViewRefMinusOne()
    }
    // Loads url into the hidden image; it is shown once it has loaded.
    function showImage(url) {
        if (url === "")
            return
        var back = mFront === 0 ? frameB : frameA
        if (back.status === Image.Loading) {
            mPendingUrl = url
            return
        }
        mPendingUrl = ""
        back.source = ""
        back.source = url
    }
    function imageReady(index) {
        var image = index === 0 ? frameA : frameB
        if (image.status !== Image.Ready && image.status !== Image.Error)
            return
        if (image.status === Image.Ready && index !== mFront)
            mFront = index
        if (mPendingUrl !== "")
            showImage(mPendingUrl)
    }

    mKeyTable: [
        ["Name", "mName", "", "text"],
        ["TextSize", "mTextSize", 12, "number"],
        ["TextColor", "mTextColor", "white", "color"],
        ["TextBold", "mTextBold", true, "bool"],
        ["BackgroundColor", "mBackgroundColor", "#1A1A1C", "color"],
        ["TitleBackgroundColor", "mTitleBackgroundColor", "transparent", "color"],
        ["TitleHeight", "mTitleHeight", 0, "number"]
    ]

    onVisibleChanged: updateCount()
    onMStelvaneSyncerChanged: {
        updateCount()
        if (mStelvaneSyncer)
            showImage(mStelvaneSyncer.getStageImageUrl())
    }
    Component.onCompleted: {
        mCompleted = true
        updateCount()
    }
    Component.onDestruction: {
        mCompleted = false
        updateCount()
    }

    Connections {
        target: root.mStelvaneSyncer
        function onGlobalPropertyChanged(sProName, value) {
            if (sProName === "StageImagePath")
                root.showImage(value === undefined || value === null ? "" : String(value))
        }
    }

    mContentItem: RCSceneItemFrame {
        mView: root
        mFrameSize: 2
        mFrameColor: "#0343C4"
        mFrameRadius: 2 * RCUnits.dp
        mTitleHeight: root.mTitleHeight
        mTitleColor: root.mTitleBackgroundColor
        mContentColor: root.mBackgroundColor
        mName: root.mName
        mTextColor: root.mTextColor
        mTextSize: root.mTextSize
        mTextBold: root.mTextBold

        Image {
            id: frameA
            objectName: "stageImageA"
            anchors.fill: parent
            cache: false
            asynchronous: true
            visible: root.mFront === 0
            sourceSize: Qt.size(width > 0 ? width : 1920, height > 0 ? height : 1080)
            onStatusChanged: root.imageReady(0)
        }
        Image {
            id: frameB
            objectName: "stageImageB"
            anchors.fill: parent
            cache: false
            asynchronous: true
            visible: root.mFront === 1
            sourceSize: frameA.sourceSize
            onStatusChanged: root.imageReady(1)
        }
    }
}
