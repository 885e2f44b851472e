pragma Singleton

import QtQuick
import "../scenePanel"

// The parts scene item views make only when needed, each component made once per engine (owned
// by the engine) rather than looked up by file at every use.
QtObject {
    // The canvas reading a button icon's transparency (RCSceneItemClickCheck; initial property mButton).
    readonly property Component clickCheck: Component { RCSceneItemClickCheck {} }
}
