#pragma once

#include "model/RCSceneItemRecords.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonDocument>
#include <QJsonParseError>

#include <optional>
#include <vector>

// Parses the text of a project file as QJsonDocument::fromJson does, with its scenes (the elements
// of "sceneArray"/"sceneArray") parsed side by side on several threads: a large project's parse
// then takes a fraction of the time. Any text that this does not split cleanly (no such array,
// a key written with escapes or given twice, deep nesting, a scene that is no object, or any text
// that is no valid JSON) is parsed whole, so that the result and the error are always those of
// QJsonDocument::fromJson. Thread-safe; touches no object of the program.
class RCProjectJsonParser
{
public:
    // With sceneRows, a text parsed scene by scene also gives the item records of each scene
    // (RCSceneItemRecords::ofScene), read on the same threads; else sceneRows is left empty.
    static QJsonDocument parse(const QByteArray& text, QJsonParseError* error,
                               std::vector<RCSceneItemRecords::SceneRows>* sceneRows = nullptr);
    // The document parsed scene by scene, or nothing when the text is not split so (see above).
    static std::optional<QJsonDocument> parseInParts(const QByteArray& text,
                                                     std::vector<RCSceneItemRecords::SceneRows>* sceneRows = nullptr);

    // Whether the text, a project file's first bytes or all of it (complete), is a JSON object whose
    // top-level "sceneArray" is an object, decided from the bytes up to that value's first one
    // without building a document: nothing when the text ends before the answer (read more). Only
    // what comes before "sceneArray" is followed, by its brackets and strings: a text cut or broken
    // after it still answers true, one that is no object answers false at its first byte. A key
    // before it written with escapes answers false once the text is complete.
    static std::optional<bool> holdsSceneArrayObject(QByteArrayView text, bool complete);

private:
    RCProjectJsonParser() = delete;
};
