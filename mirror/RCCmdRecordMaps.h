#pragma once

#include <QJsonObject>
#include <QVariantMap>

// The property maps the command processors hand the mirror, built from one command object (or
// one array element) by the reading rules of RCCmdParams. Every key of a map is always filled,
// with the reading default when the JSON key is absent, except a node's "Thumbnail", which is
// there only when the object has "thumbnail". Value types are part of the contract: the mirror
// stores values as given.
class RCCmdRecordMaps
{
public:
    // "Id", "Name" (string), "State" (int).
    static QVariantMap program(const QJsonObject& obj);
    // "Id", "Name" (string), "ProgramLayerType" (int).
    static QVariantMap layer(const QJsonObject& obj);
    // "Id", "Name" (string), "State", "Length", "Progress" (int), "ProgramLayerId" (string),
    // "ProgramIdList" (string list), "Thumbnail" (decoded image, null when it does not decode),
    // "ProgramNodeTitle" (string).
    static QVariantMap node(const QJsonObject& obj);
    // "Id", "Name" (string), "State", "Progress" (int).
    static QVariantMap track(const QJsonObject& obj);
    // "Id", "Name" (string), "State" (int), "CountdownTime" (qlonglong, truncated toward zero).
    static QVariantMap trackProgram(const QJsonObject& obj);
    // "Id", "Name" (string).
    static QVariantMap vexaList(const QJsonObject& obj);
    // "Id", "Name" (string), "State", "Length", "Progress", "BeginPos", "EndPos" (int).
    static QVariantMap vexaProgram(const QJsonObject& obj);
};
