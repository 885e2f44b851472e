import QtQuick

// The grid of built-in templates ("新建"): at most eight.
RCProjectManagerView {
    id: root

    mTitle: qsTr("新建")
    mEnableEdit: false

    function fill(project) {
        clearProjectItem()
        var count = Math.min(project.getTemplateProjectCout(), 8)
        for (var i = 0; i < count; ++i)
            addProjectItem(project.getTemplateProject(i))
    }
}
