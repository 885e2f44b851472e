import QtQuick
import QtQuick.Window

Window {
    id: root
    width: 1280
    height: 800
    visible: true
    title: "Tavix Editor"
}
