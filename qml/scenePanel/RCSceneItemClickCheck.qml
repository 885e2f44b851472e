import QtQuick

// A button's icon as drawn at the button's size, read for the transparency of a pressed pixel
// (RCSceneItemButton makes it while "ClickAreaCheck" is on and there is an icon). Invisible.
Canvas {
    id: root

    // The button whose icon is read.
    required property Item mButton
    readonly property string mImageUrl: mButton.mIconUrl
    // Set once the icon is drawn at the current size.
    property bool mReady: false

    // An image already in the pixmap cache loads at once, without imageLoaded.
    function load() {
        mReady = false
        if (!isImageLoaded(mImageUrl))
            loadImage(mImageUrl)
        if (isImageLoaded(mImageUrl))
            requestPaint()
    }
    // The alpha (0 to 255) of the pixel at (x, y); 0 outside.
    function alphaAt(x, y) {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return 0
        return getContext("2d").getImageData(Math.floor(x), Math.floor(y), 1, 1).data[3]
    }

    anchors.fill: mButton
    opacity: 0

    onMImageUrlChanged: load()
    onImageLoaded: requestPaint()
    onWidthChanged: load()
    onHeightChanged: load()
    onPaint: {
        var context = getContext("2d")
        context.clearRect(0, 0, width, height)
        if (!isImageLoaded(mImageUrl))
            return
        context.drawImage(mImageUrl, 0, 0, width, height)
        mReady = true
    }
    Component.onCompleted: load()
}
