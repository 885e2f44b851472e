#pragma once

#include "mirror/IRCStelvaneSyncer.h"

// The mirror operations of one kind of Vexa program list, chosen by the wire's "programListType"
// (0 video, 1 audio, 2 text), so that a processor names the operation once for all kinds.
class RCCmdVexaKind
{
public:
    using ListAdd = bool (IRCStelvaneSyncer::*)(QVariantMap);
    using ListInsert = bool (IRCStelvaneSyncer::*)(QVariantMap, int);
    using ListRemove = void (IRCStelvaneSyncer::*)(QString);
    using ProgramAdd = bool (IRCStelvaneSyncer::*)(QString, QVariantMap);
    using ProgramInsert = bool (IRCStelvaneSyncer::*)(QString, QVariantMap, int);
    using ProgramRemove = void (IRCStelvaneSyncer::*)(QString, QString);

    ListAdd listAdd;
    ListInsert listInsert;
    ListRemove listRemove;
    ProgramAdd programAdd;
    ProgramInsert programInsert;
    ProgramRemove programRemove;

    // The operations of that kind; null for a number outside 0 to 2.
    static const RCCmdVexaKind* of(int programListType);
};
