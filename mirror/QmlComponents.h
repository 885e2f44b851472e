#pragma once

// Registers the module "Rc.QmlComponents" 1.0 with its creatable type ProgramTableModel (all minor
// versions of major version 1). Called once at start-up, before the QML is loaded.
void qml_register_types_Rc_QmlComponents();
