import QtQuick

// An image whose source goes through the image manager, so that project image references
// ("rcimg:/...") load from the open packet. An empty source shows nothing. A reference is
// resolved again whenever the image manager resolves references elsewhere (the packet moved to
// another folder by a save), so the picture follows the packet.
Item {
    id: root

    property string source: ""
    property var sourceSize: null
    property bool cache: false
    property alias fillMode: image.fillMode
    readonly property alias status: image.status

    signal sig_showSourceChanged(string sPath)

    function resolve() {
        image.source = root.source === "" ? "" : getImageManager.pathTransformation(root.source)
    }

    onSourceChanged: resolve()
    onSourceSizeChanged: {
        if (sourceSize)
            image.sourceSize = sourceSize
    }
    Component.onCompleted: resolve()

    Connections {
        target: getImageManager
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
