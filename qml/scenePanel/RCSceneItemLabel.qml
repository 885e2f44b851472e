import QtQuick
import Rc.RcEnums 1.0
import "../common"

// A label: the icon filling the view and the name over the whole view, aligned by
// "TextHAlignment" (left, centre or right; any other value left) and "TextVAlignment" (top,
// centre or bottom; any other value centre). In edit mode a blue veil shows while the item is
// selected. A label takes no taps.
RCSceneItem {
    id: root

    property string mIconPath: ""
    property string mName: ""
    property color mTextColor: "white"
    property real mTextSize: 12
    property bool mTextBold: false
    property int mHAlignment: RcEnums.EIRCTextAlignment_Left
    property int mVAlignment: RcEnums.EIRCTextAlignment_VCenter

    mKeyTable: [
        ["IconPath", "mIconPath", "", "text"],
        ["Name", "mName", "", "text"],
        ["TextColor", "mTextColor", "white", "color"],
        ["TextSize", "mTextSize", 12, "number"],
        ["TextBold", "mTextBold", false, "bool"],
        ["TextHAlignment", "mHAlignment", RcEnums.EIRCTextAlignment_Left, "number"],
        ["TextVAlignment", "mVAlignment", RcEnums.EIRCTextAlignment_VCenter, "number"]
    ]

    mContentItem: Item {
        RCImage {
            objectName: "labelIcon"
            anchors.fill: parent
            source: root.mIconPath
            mImageManager: root.mImageManager
            cache: root.mIconPath.indexOf("qrc:") === 0
        }
        RCText {
            objectName: "labelText"
            anchors.fill: parent
            elide: Text.ElideRight
            text: root.mName
            color: root.mTextColor
            font.pixelSize: Math.max(1, root.mTextSize * root.mHeightDp)
            font.bold: root.mTextBold
            horizontalAlignment: root.mHAlignment === RcEnums.EIRCTextAlignment_HCenter ? Text.AlignHCenter
                               : root.mHAlignment === RcEnums.EIRCTextAlignment_Right ? Text.AlignRight
                                                                                        : Text.AlignLeft
            verticalAlignment: root.mVAlignment === RcEnums.EIRCTextAlignment_Top ? Text.AlignTop
                             : root.mVAlignment === RcEnums.EIRCTextAlignment_Bottom ? Text.AlignBottom
                                                                                      : Text.AlignVCenter
        }
        Rectangle {
            objectName: "selectOverlay"
            anchors.fill: parent
            color: "blue"
            opacity: 0.3
            visible: root.mInEditState && root.mSelect
        }
    }
}
