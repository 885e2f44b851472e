import QtQuick
import Rc.IRCImageManager

// An image whose source goes through the image manager, so that project image references
// ("rcimg:/...") load from the open packet. An empty source shows nothing. A reference is
// resolved again whenever the image manager resolves references elsewhere (the packet moved to
// another folder by a save), so the picture follows the packet. Without an image manager (views
// that show only the program's own pictures) the source is used as it is.
Item {
    id: root

    property string source: ""
    property var sourceSize: null
    property bool cache: false
    property IRCImageManager mImageManager: null
    property alias fillMode: image.fillMode
    readonly property alias status: image.status

    signal sig_showSourceChanged(string sPath)

    function resolve() {
        if (root.source === "")
            image.source = ""
        else
            image.source = root.mImageManager ? root.mImageManager.pathTransformation(root.source) : root.source
    }

    onSourceChanged: resolve()
    onMImageManagerChanged: resolve()
    onSourceSizeChanged: {
        if (sourceSize)
            image.sourceSize = sourceSize
    }
    Component.onCompleted: resolve()

    Connections {
        target: root.mImageManager
        function onResolutionChanged() {
            root.resolve()
        }
    }
    Image {
        id: image
        objectName: "image"
        anchors.fill: parent
        // A picture of the program's resources never changes on disk: it is cached whatever
        // root.cache says, so that views made again do not decode it again.
        cache: root.cache || root.source.startsWith("qrc:")
        mipmap: true
        onSourceChanged: root.sig_showSourceChanged(source.toString())
    }
}
