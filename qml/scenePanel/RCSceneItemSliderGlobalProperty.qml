import QtQuick
import Rc.IRCAction 1.0
import "../common"
import "RCPlayTime.js" as PlayTime

// A slider of one global property of the media server (the item's "ProName": "Volume" or
// "Brightness") over "MinIntValue".."MaxIntValue", with its name above the bar, its value (a whole
// number) inside it and a reset icon at the right. The value shown is the mirror's; the view only
// asks the server.
//
// Control mode: a press sets the value at that point of the bar, a drag follows the pointer while
// it stays over the range, and the reset icon asks for "Slider_Default". Only values that differ
// from the last one asked for (at first the shown value) are sent, and nothing is sent for an
// item without "ProName" or with an empty range.
RCSceneItem {
    id: root

    property string mName: ""
    property real mMaxValue: 100
    property real mMinValue: 0
    property string mProName: ""
    property real mDefaultValue: 0
    property real mFrameSize: 1
    property color mFrameColor: "red"
    property color mBackgroundColor: "transparent"
    property color mHandlerColor: "transparent"
    property color mHandlerColorEnd: "transparent"
    property real mHandlerOpacity: 1
    property string mHandlerIconPath: ""
    property real mRadius: 0
    property color mTextColor: "white"
    property real mTextSize: 12
    property string mResetIconPath: "qrc:/reset.png"
    // The mirror's value of the property.
    property real mValue: 0
    // The last value asked for in the running gesture.
    property var mSentValue: null
    readonly property real mRate: PlayTime.rate(mValue, mMinValue, mMaxValue)

    function readValue() {
        var value = mStelvaneSyncer && mProName !== "" ? Number(mStelvaneSyncer.getGlobalProperty(mProName)) : 0
        mValue = isFinite(value) ? value : 0
    }
    // Asks the server for value when it is not the last value asked for.
    function send(value) {
        if (mProName === "" || value === null || value === mSentValue)
            return
        mSentValue = value
        var data = {}
        data[mProName] = value
        triggerAction(IRCAction.EActionType_SetGlobalProperty, data)
    }
    function valueAt(x) {
        var border = bar.border.width
        return PlayTime.seek(x - border, bar.width - 2 * border, Math.ceil(mMinValue), Math.floor(mMaxValue))
    }

    mKeyTable: [
        ["Name", "mName", "", "text"],
        ["MaxIntValue", "mMaxValue", 100, "number"],
        ["MinIntValue", "mMinValue", 0, "number"],
        ["ProName", "mProName", "", "text"],
        ["Slider_Default", "mDefaultValue", 0, "number"],
        ["FrameSize", "mFrameSize", 1, "number"],
        ["FrameColor", "mFrameColor", "red", "color"],
        ["Slider_BackgroundColor", "mBackgroundColor", "transparent", "color"],
        ["Slider_HandlerColor", "mHandlerColor", "transparent", "color"],
        ["Slider_HandlerColorEnd", "mHandlerColorEnd", "transparent", "color"],
        ["Slider_HandlerOpacity", "mHandlerOpacity", 1, "number"],
        ["Slider_HandlerIconPath", "mHandlerIconPath", "", "text"],
        ["Slider_Radius", "mRadius", 0, "number"],
        ["TextColor", "mTextColor", "white", "color"],
        ["TextSize", "mTextSize", 12, "number"],
        ["Slider_ResetIconPath", "mResetIconPath", "qrc:/reset.png", "text"]
    ]

    onMStelvaneSyncerChanged: readValue()
    onMProNameChanged: readValue()

    Connections {
        target: root.mStelvaneSyncer
        function onGlobalPropertyChanged(sProName, value) {
            if (sProName === root.mProName && root.mProName !== "")
                root.readValue()
        }
    }

    mContentItem: Item {
        Rectangle {
            id: bar
            objectName: "sliderBar"
            x: 3 * RCUnits.dp
            width: Math.max(0, resetIcon.x - x)
            height: parent.height
            color: root.mBackgroundColor
            radius: root.mRadius
            border.width: Math.max(0, root.mFrameSize) * RCUnits.dp
            border.color: root.mFrameColor

            Rectangle {
                id: valuePart
                objectName: "sliderValuePart"
                x: bar.border.width
                y: bar.border.width
                width: Math.max(0, (bar.width - 2 * bar.border.width) * root.mRate)
                height: Math.max(0, bar.height - 2 * bar.border.width)
                radius: bar.radius
                opacity: root.mHandlerOpacity
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop {
                        position: 0
                        color: root.mHandlerColor
                    }
                    GradientStop {
                        position: 1
                        color: root.mHandlerColorEnd
                    }
                }
            }
            RCImage {
                id: handle
                objectName: "sliderHandle"
                x: Math.max(0, valuePart.x + valuePart.width - width / 2)
                width: 10 * RCUnits.dp
                height: bar.height
                source: root.mHandlerIconPath
                mImageManager: root.mImageManager
                cache: source.indexOf("qrc:") === 0
            }
            RCText {
                id: valueText
                objectName: "sliderValue"
                // near the bar's right end; left of the handle once the handle reaches it, so that
                // it never covers it
                readonly property real mEndX: bar.width - 20 * root.mWidthDp - valueText.width

                x: handle.x + handle.width + 3 * RCUnits.dp > valueText.mEndX ? handle.x - 3 * RCUnits.dp - valueText.width
                                                                   : valueText.mEndX
                anchors.verticalCenter: parent.verticalCenter
                text: String(Math.round(root.mValue))
                color: root.mTextColor
                font.pixelSize: Math.max(1, root.mTextSize * root.mHeightDp)
            }
            MouseArea {
                objectName: "sliderInput"
                anchors.fill: parent
                enabled: !root.mInEditState
                preventStealing: true
                onPressed: mouse => {
                    root.mSentValue = Math.round(root.mValue)
                    root.send(root.valueAt(mouse.x))
                }
                onPositionChanged: mouse => {
                    if (mouse.x >= 0 && mouse.x <= bar.width)
                        root.send(root.valueAt(mouse.x))
                }
                onReleased: root.mSentValue = null
                onCanceled: root.mSentValue = null
            }
        }
        RCText {
            // above the bar and the reset icon: elided to the view's width, not the bar's, which a
            // narrow or square slider leaves a few pixels wide
            objectName: "sliderName"
            anchors.left: bar.left
            anchors.leftMargin: 9 * root.mHeightDp
            anchors.right: parent.right
            elide: Text.ElideRight
            anchors.bottom: bar.top
            anchors.bottomMargin: 6 * root.mHeightDp
            text: root.mName
            color: root.mTextColor
            font.pixelSize: Math.max(1, root.mTextSize * root.mHeightDp)
        }
        RCImage {
            id: resetIcon
            objectName: "sliderReset"
            anchors.right: parent.right
            width: parent.height
            height: parent.height
            source: root.mResetIconPath
            mImageManager: root.mImageManager
            cache: source.indexOf("qrc:") === 0

            MouseArea {
                anchors.fill: parent
                enabled: !root.mInEditState
                onClicked: {
                    if (root.mProName === "")
                        return
                    var data = {}
                    data[root.mProName] = root.mDefaultValue
                    root.triggerAction(IRCAction.EActionType_SetGlobalProperty, data)
                }
            }
        }
    }
}
