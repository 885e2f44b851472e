pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Window
import Rc.PathSelection

// The grid of stored projects ("打开"): the first eight, or all of them while the window is
// maximised; "更多项目" opens any project file with a picker that only reads and opens beside the
// open project's packet (in the user's documents folder for a project that has no packet of its
// own yet, else in home).
RCProjectManagerView {
    id: root

    property PathSelection mFilePicker: null

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
    // The picker of "更多项目", made on first use, starting beside the open packet.
    function filePicker() {
        if (!mFilePicker)
            mFilePicker = filePickerComponent.createObject(root)
        var packet = mProject && !mProject.isNewProject() ? mProject.getProjectPacketPath() : ""
        mFilePicker.startFolder = mInterface.parentFolder(packet)
        return mFilePicker
    }

    onSig_moreSelectClicked: filePicker().show()

    Component {
        id: filePickerComponent

        PathSelection {
            title: qsTr("选择项目文件")
            nameFilters: ["Project files (*.tavx *.json)"]
            onPicked: path => root.sig_openProjectFile(path)
        }
    }
}
