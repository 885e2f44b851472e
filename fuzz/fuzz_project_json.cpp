// Feeds arbitrary bytes to the project file parser (RCProjectJsonParser), which splits a large
// file into pieces (scenes, and runs of a scene's items). Its document, error and error offset
// must be those of QJsonDocument::fromJson of the whole text, and the item records it reads on
// its threads those that RCSceneItemRecords reads from the whole parse's scenes; any difference
// aborts.
//
// Only a file of 512 KB or more is split, so the input is grown with whitespace: the first byte
// picks the padding, each 0x1f byte of the rest becomes a run of it (so that the scenes around it
// are split over threads), and the text is then filled up to the size that is split.
//   bits 0-1: the padding's character (space, tab, line feed, carriage return)
//   bits 2-4: the run's length, 32 KB to 256 KB
//   bit 5:    the fill goes in front of the text instead of after it

#include "model/RCSceneItemRecords.h"
#include "project/RCProjectJsonParser.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr qsizetype kSplitBytes = 512 * 1024;

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "project json mismatch: %s\n", what);
    std::abort();
}

bool sameRecord(const RCProperty::Record& a, const RCProperty::Record& b)
{
    return a.name == b.name && a.description == b.description && a.unit == b.unit && a.value == b.value &&
           a.display == b.display && a.displayType == b.displayType && a.displayHasData == b.displayHasData &&
           a.readOnly == b.readOnly && a.visible == b.visible && a.source == b.source;
}

QByteArray padded(const uint8_t* data, size_t size)
{
    const uint8_t mode = size ? data[0] : 0;
    const char space = " \t\n\r"[mode & 3];
    const QByteArray run((((mode >> 2) & 7) + 1) * 32 * 1024, space);
    QByteArray text;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0x1f)
            text += run;
        else
            text += char(data[i]);
    }
    if (text.size() < kSplitBytes) {
        const QByteArray fill(kSplitBytes - text.size(), space);
        text = (mode & 0x20) ? fill + text : text + fill;
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QByteArray text = padded(data, size);

    QJsonParseError wholeError;
    const QJsonDocument whole = QJsonDocument::fromJson(text, &wholeError);
    QJsonParseError error{-1, QJsonParseError::UnterminatedObject};
    std::vector<RCSceneItemRecords::SceneRows> rows{{}};
    const QJsonDocument document = RCProjectJsonParser::parse(text, &error, &rows);
    if (error.error != wholeError.error)
        fail("error");
    if (error.offset != wholeError.offset)
        fail("error offset");
    if (document != whole)
        fail("document");
    if (rows.empty())
        return 0;

    // Records come only with a split parse, one list per scene, each as read the ordinary way.
    const QJsonArray scenes = whole.object().value(QLatin1StringView("sceneArray")).toObject()
                                  .value(QLatin1StringView("sceneArray")).toArray();
    if (rows.size() != size_t(scenes.size()))
        fail("scene count of the records");
    for (qsizetype s = 0; s < scenes.size(); ++s) {
        const RCSceneItemRecords::SceneRows expected = RCSceneItemRecords::ofScene(scenes.at(s).toObject());
        const RCSceneItemRecords::SceneRows& got = rows[size_t(s)];
        if (got.size() != expected.size())
            fail("item count of the records");
        for (size_t i = 0; i < got.size(); ++i) {
            if (got[i].size() != expected[i].size())
                fail("record count of an item");
            for (size_t r = 0; r < got[i].size(); ++r)
                if (!sameRecord(got[i][r], expected[i][r]))
                    fail("record");
        }
    }
    return 0;
}
