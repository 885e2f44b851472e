#pragma once

#include <QMetaType>

// Type code of a document object, as answered by IRCObject::getObjectType(). The numbers are part of
// the QML contract; never renumber.
enum eIRCObjectType
{
    eIRCObjectType_None = 0,
    eIRCObjectType_Control = 1,
    eIRCObjectType_ControlInstantiationParam = 2,
    eIRCObjectType_ControlManager = 3,
    eIRCObjectType_Scene = 4,
    eIRCObjectType_SceneManager = 5,
    eIRCObjectType_SceneItem = 6,
};

Q_DECLARE_METATYPE(eIRCObjectType)
