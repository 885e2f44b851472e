import QtQuick
import Rc.IRCStelvaneSyncer 1.0

// A list of track names, one text joined by ";": the multi-line editor with a fill icon that
// puts in the names of all tracks of the media server, in track order. With no tracks known the
// fill leaves the list as it is.
RCPropertyRowMultiLine {
    id: root

    property IRCStelvaneSyncer mStelvaneSyncer: mProject ? mProject.getStelvaneSyncer() : null

    // The names of the mirror's tracks in order.
    function trackNames() {
        var names = []
        if (!mStelvaneSyncer)
            return names
        var count = mStelvaneSyncer.getTrackCount()
        for (var i = 0; i < count; ++i) {
            var name = mStelvaneSyncer.getTrackProperty(mStelvaneSyncer.getTrack(i), "Name")
            names.push(name === undefined || name === null ? "" : String(name))
        }
        return names
    }

    mIconSource: "qrc:/init.png"
    mIconPressedSource: "qrc:/init_pressed.png"

    onIconClicked: {
        var names = trackNames()
        if (names.length > 0)
            writeValue(names.join(";"))
    }
}
