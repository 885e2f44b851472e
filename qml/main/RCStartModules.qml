import QtQml
import QtQuick
import QtQuick.Window
import QtQuick.Templates as T
import QtQuick.Controls.Basic
import QtQuick.Dialogs
import Qt.labs.qmlmodels
import Qt.labs.platform as Platform

// The Qt modules that the main window and its layouts import, loaded by start-up before the
// window's own files (RCStartUp::loadWindowTypes): their plugins start on the GUI thread, after
// which the engine's loader thread loads the window's files without waiting for it. Never made.
QtObject {}
