import QtQuick
import QtQuick.Controls.Basic

// Stands in for the connect and join-project dialogs in tst_scenePanel.qml: the properties the
// scene panel sets, and open().
Popup {
    property string mTitle: ""
    property var mSetting: null
    property var mStelvaneSyncer: null
    property var mProjectw: null

    width: 200
    height: 100
}
