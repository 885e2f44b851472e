import QtQuick
import QtTest

// The real main window while a question about the open document is pending: what arrives meanwhile
// waits, is refused or withdraws the question.
RCTestMainWindow {
    id: mainWindow

    MainWindowTestCase {
        // While a question or dialog about the open document is pending (the save question, a
        // save dialog), nothing the user did not start touches the document: an invitation, or an
        // install accepted on a question shown before, waits until it is settled (and then asks
        // its own question), a switch-project or exit request is refused, a download from the
        // media server gives its request up. A document replaced all the same withdraws the
        // question unanswered.
        function test_arrivalsWhileAsking_data() {
            var rows = []
            for (var pending of ["question", "save dialog"]) {
                for (var arrival of ["invitation", "accepted install", "switch", "exit", "download", "replaced"])
                    rows.push({tag: pending + ", " + arrival, pending: pending, arrival: arrival})
            }
            return rows
        }
        function test_arrivalsWhileAsking(data) {
            makeWindow()
            var other = openStored("别的")
            var folder = openStored("当前")
            var menu = win.mContent.editPanel.menu()
            var download = null
            var installView = data.arrival === "accepted install" ? offerPacket() : null
            if (data.arrival === "download") {
                verify(serverPeers.connectServer())
                var downloadEntry = findChild(menu, "menuDownloadProject")
                downloadEntry.triggered()
                download = downloadEntry.mPopup.mView
                download.download()
                compare(download.mDownloadState, 1, "the request is out")
            }
            change()
            var names = sceneNames()
            var flow = null
            if (data.pending === "question") {
                askToClose()
            } else {
                var saveAs = findChild(menu, "menuSaveOtherProject")
                saveAs.triggered()
                flow = saveAs.mFlow
                verify(flow.mDialog)
                findChild(flow.mDialog.contentItem, "nameField").text = "用户的名字"
            }
            var question = win.mIsSaveMessageBoxId
            if (data.arrival === "invitation")
                compare(offerPacket(), null, "the install question waits")
            else if (data.arrival === "accepted install")
                installView.accept()
            else if (data.arrival === "switch")
                project.switchProjectRequested(other)
            else if (data.arrival === "exit")
                project.closeRequested()
            else if (data.arrival === "download")
                serverPeers.receive("setProject", {"id": download.mDownloadUid, "name": "服务器的项目"})
            else
                verify(project.loadStorageProjectPacket(other))
            verify(win.visible)
            if (data.arrival === "replaced") {
                compare(win.mIsSaveMessageBoxId, "", "the question is withdrawn")
                compare(messages.getShownMessageIds().length, 0)
                if (flow)
                    compare(flow.mDialog, null, "the save dialog is gone")
                return
            }
            compare(project.getProjectPacketPath(), folder, "the document stays")
            compare(sceneNames(), names)
            compare(win.mIsSaveMessageBoxId, question, "no other question")
            if (installView)
                verify(!findChild(child(installView, "setupConfirmView"), "okButton").enabled, "the install waits")
            if (flow) {
                verify(flow.mDialog, "the save dialog stays")
                mouseClick(findChild(flow.mDialog.contentItem, "headerClose"))
            } else {
                answer(question, "closeButton")
            }
            if (data.arrival === "invitation") {
                var install = findChild(win.contentItem, "projectDownloadDialog")
                tryVerify(() => install.view() !== null && install.mPopup.opened, 5000,
                          "the install question shows once nothing is pending")
            } else if (installView) {
                tryVerify(() => win.mIsSaveMessageBoxId !== "", 5000, "the install asks about saving")
                answer(win.mIsSaveMessageBoxId, "cancelButton")
                verify(distributionPeers.designerWaitFor("download"), "then installs")
            }
        }
    }
}
