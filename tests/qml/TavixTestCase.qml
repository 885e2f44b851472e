import QtQuick
import QtTest

// The TestCase of the Quick tests, with what several test files look up the same way.
TestCase {
    // The child named name of item, once the views have made it (delegates are made when drawn).
    function child(item, name) {
        tryVerify(() => findChild(item, name) !== null, 3000, name)
        return findChild(item, name)
    }
    // A click at (x, y) of item, at its centre where they are left out.
    function tap(item, x, y) {
        mouseClick(item, x === undefined ? item.width / 2 : x, y === undefined ? item.height / 2 : y)
    }
    // Points spy at target's signalName, with no signals counted yet.
    function spyOn(spy, target, signalName) {
        spy.target = null
        spy.signalName = signalName
        spy.target = target
        spy.clear()
    }
    // The text of the message box shown last, "" when none shows.
    function lastMessage() {
        var ids = getRCMessageBoxManager.getShownMessageIds()
        return ids.length ? getRCMessageBoxManager.getText(ids[ids.length - 1]) : ""
    }
    // Whether the message box shown last shows [OK, cancel].
    function lastMessageButtons() {
        var ids = getRCMessageBoxManager.getShownMessageIds()
        var id = ids[ids.length - 1]
        return [getRCMessageBoxManager.okButtonIsVisible(id), getRCMessageBoxManager.cancelButtonIsVisible(id)]
    }
    function closeMessages() {
        var ids = getRCMessageBoxManager.getShownMessageIds()
        for (var i = 0; i < ids.length; ++i)
            getRCMessageBoxManager.close(ids[i])
    }
}
