pragma Singleton

import QtQml

// The sizes every view shares. dp is the length of one design pixel on the screen; views give
// their sizes as multiples of it. One instance per engine, owned by the engine.
QtObject {
    readonly property real dp: 1
}
