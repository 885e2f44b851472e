pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import Qt.labs.qmlmodels
import "../common"
import Rc.IRCImageManager
import Rc.RCMessageBoxManager
import Rc.RCPropertyRowModel
import Rc.IRCProject 1.0
import Rc.Platform 1.0
import Rc.RCSceneItemPresenter 1.0
import Rc.RCScenePresenter 1.0

// The property panel ("属性"): one row per visible property of the object shown, each row an editor
// chosen by the property's display type. The object shown follows the selection on screen (see
// RCPropertyRowModel): the one selected item of the selected scene, else the object with the
// editing focus, else the selected scene. Another object shown drops all rows and builds them
// anew; a change of one property reaches only its row. While two or more items of the selected
// scene are selected the rows are hidden. A panel that is not visible (the edit layout hidden) has
// no rows and follows nothing; it shows what the selection on screen says once it is visible.
//
// The rows are the delegates of rowModel, one file per display type; the repeater owns them. A
// dropped row is destroyed from the event loop, so a row that is handling the event that changed
// the object shown is never deleted under its own feet.
Rectangle {
    id: root

    property IRCProject mProject: null
    // Handed to the rows that show a message or a project picture.
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCImageManager mImageManager: null
    property Platform mPlatform: null
    property RCSceneItemPresenter mSceneItemPresenter: null
    property RCScenePresenter mScenePresenter: null
    // The object with the editing focus, as the platform last announced it.
    property string mFocusId: ""

    color: "black"

    Connections {
        target: root.mPlatform

        function onObjectFocusChanged(id) {
            root.mFocusId = id
        }
    }

    RCPropertyRowModel {
        id: rowModel
        objectName: "rowModel"
        scenePresenter: root.mScenePresenter
        sceneItemPresenter: root.mSceneItemPresenter
        focusId: root.mFocusId
        shown: root.visible
    }
    RCText {
        id: title
        objectName: "panelTitle"
        x: 10 * RCUnits.dp
        y: 2 * RCUnits.dp
        text: qsTr("属性")
        color: "white"
        font.pixelSize: 24 * RCUnits.dp
    }
    ScrollView {
        id: scrollView
        objectName: "rowView"
        anchors.top: title.bottom
        anchors.topMargin: 10 * RCUnits.dp
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        contentWidth: availableWidth
        clip: true
        visible: rowModel.selectedItemCount < 2

        Column {
            id: rowColumn
            objectName: "rowColumn"
            width: scrollView.availableWidth
            spacing: 1 * RCUnits.dp

            Repeater {
                id: rowRepeater
                objectName: "rowRepeater"
                model: rowModel

                // The editor of the row's display type (IRCPropertyDisplay::EIRCPropertyDisplayType);
                // types without an editor have no row in the model.
                delegate: DelegateChooser {
                    role: "displayType"

                    DelegateChoice {
                        roleValue: 0
                        RCPropertyRowString {
                            mModel: rowModel
                        }
                    }
                    DelegateChoice {
                        roleValue: 1
                        RCPropertyRowIcon {
                            mModel: rowModel
                            mProject: root.mProject
                            mMessageBoxManager: root.mMessageBoxManager
                            mImageManager: root.mImageManager
                        }
                    }
                    DelegateChoice {
                        roleValue: 2
                        RCPropertyRowInt {
                            mModel: rowModel
                        }
                    }
                    DelegateChoice {
                        roleValue: 3
                        RCPropertyRowDouble {
                            mModel: rowModel
                        }
                    }
                    DelegateChoice {
                        roleValue: 4
                        RCPropertyRowComboBox {
                            mModel: rowModel
                        }
                    }
                    DelegateChoice {
                        roleValue: 5
                        RCPropertyRowBool {
                            mModel: rowModel
                        }
                    }
                    DelegateChoice {
                        roleValue: 6
                        RCPropertyRowRadioButtonGroup {
                            mModel: rowModel
                        }
                    }
                    DelegateChoice {
                        roleValue: 8
                        RCPropertyRowIp {
                            mModel: rowModel
                        }
                    }
                    DelegateChoice {
                        roleValue: 9
                        RCPropertyRowTrigger {
                            mModel: rowModel
                        }
                    }
                    DelegateChoice {
                        roleValue: 11
                        RCPropertyRowStringList {
                            mModel: rowModel
                        }
                    }
                    DelegateChoice {
                        roleValue: 12
                        RCPropertyRowScript {
                            mModel: rowModel
                            mMessageBoxManager: root.mMessageBoxManager
                        }
                    }
                    DelegateChoice {
                        roleValue: 13
                        RCPropertyRowTrackList {
                            mModel: rowModel
                            mProject: root.mProject
                        }
                    }
                    DelegateChoice {
                        roleValue: 14
                        RCPropertyRowColor {
                            mModel: rowModel
                        }
                    }
                    DelegateChoice {
                        roleValue: 15
                        RCPropertyRowMacAddress {
                            mModel: rowModel
                        }
                    }
                }
            }
        }
    }
}
