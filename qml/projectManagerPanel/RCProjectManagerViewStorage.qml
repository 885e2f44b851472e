pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Window
import Qt.labs.platform as Platform

// The grid of stored projects ("打开"): the first eight, or all of them while the window is
// maximised; "更多项目" opens any project file.
RCProjectManagerView {
    id: root

    property var mFileDialog: null

    mTitle: qsTr("打开")
    mTitleMore: qsTr("更多项目")
    mEnableEdit: true

    function fill(project) {
        clearProjectItem()
        var count = project.getProjectCount()
        if (mWindow.visibility !== Window.Maximized)
            count = Math.min(count, 8)
        for (var i = 0; i < count; ++i)
            addProjectItem(project.getProject(i))
    }

    onSig_moreSelectClicked: {
        if (!mFileDialog)
            mFileDialog = fileDialogComponent.createObject(root)
        mFileDialog.open()
    }

    Component {
        id: fileDialogComponent

        Platform.FileDialog {
            nameFilters: ["Project files (*.tavx *.json)"]
            onAccepted: root.sig_openProjectFile(String(file))
        }
    }
}
