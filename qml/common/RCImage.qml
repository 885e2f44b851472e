import QtQuick

// An image whose source goes through the image manager, so that project image references
// ("rcimg:/...") load from the open packet. An empty source shows nothing.
Item {
    id: root

    property string source: ""
    property var sourceSize: null
    property bool cache: false
    property alias fillMode: image.fillMode
    readonly property alias status: image.status

    signal sig_showSourceChanged(string sPath)

    onSourceSizeChanged: {
        if (sourceSize)
            image.sourceSize = sourceSize
    }

    Image {
        id: image
        objectName: "image"
        anchors.fill: parent
        cache: root.cache
        mipmap: true
        source: root.source === "" ? "" : getImageManager.pathTransformation(root.source)
        onSourceChanged: root.sig_showSourceChanged(source.toString())
    }
}
