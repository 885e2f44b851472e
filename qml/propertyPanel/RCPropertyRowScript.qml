import QtQuick

// An item script: the multi-line editor with a help icon that shows how scripts are written.
RCPropertyRowMultiLine {
    id: root

    mIconSource: "qrc:/weizhi.png"

    onIconClicked: mMessageBoxManager.showMessage(
qsTr("脚本使用说明"),
        qsTr("功能:\n    点击场景1中的按钮1，等待1秒，点击场景2中的按钮2\n\n脚本:\n    执行(场景1,按钮1);\n    等待(1000);\n    执行(场景2,按钮2);"),
        true, false)
}
