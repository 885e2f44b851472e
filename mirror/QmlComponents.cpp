#include "mirror/QmlComponents.h"

#include "mirror/ProgramTableModel.h"

#include <QtQml/qqml.h>

void qml_register_types_Rc_QmlComponents()
{
    qmlRegisterTypesAndRevisions<ProgramTableModel>("Rc.QmlComponents", 1);
    qmlRegisterModule("Rc.QmlComponents", 1, 0);
}
