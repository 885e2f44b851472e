#include "project/RCProjectJsonParser.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QThread>

#include <algorithm>
#include <array>
#include <cstring>
#include <future>
#include <system_error>
#include <vector>

namespace {

// Deeper than this the whole-text parse decides (its own nesting limit counts the levels above a
// scene too).
constexpr int kMaxDepth = 256;
// Below this many bytes of scenes the threads cost more than they save.
constexpr qsizetype kMinPartBytes = 256 * 1024;

struct Span
{
    qsizetype begin = -1; // the value's first byte
    qsizetype end = -1;   // one past its last byte
};

// Finds the extent of JSON values without checking them (the parse of each part does that), and
// the scenes' array below the keys that lead to it. Every step fails (returns false) on text it
// cannot follow.
class Scanner
{
public:
    explicit Scanner(const QByteArray& text) : m_text(text.constData()), m_size(text.size()) {}

    qsizetype pos = 0;

    void skipSpace()
    {
        while (pos < m_size && (m_text[pos] == ' ' || m_text[pos] == '\t' || m_text[pos] == '\n' ||
                                m_text[pos] == '\r'))
            ++pos;
    }
    bool take(char c)
    {
        skipSpace();
        if (pos >= m_size || m_text[pos] != c)
            return false;
        ++pos;
        return true;
    }
    // A string at pos (its opening quote); its raw bytes between the quotes.
    bool string(QByteArrayView* raw)
    {
        skipSpace();
        if (pos >= m_size || m_text[pos] != '"')
            return false;
        const qsizetype begin = ++pos;
        if (!skipStringBody())
            return false;
        if (raw)
            *raw = QByteArrayView(m_text + begin, pos - 1 - begin);
        return true;
    }
    // Any value at pos; depth counts the levels above it.
    bool value(Span* span, int depth)
    {
        skipSpace();
        if (pos >= m_size)
            return false;
        const qsizetype begin = pos;
        const char c = m_text[pos];
        bool ok = true;
        if (c == '"') {
            ok = string(nullptr);
        } else if (c == '{' || c == '[') {
            ok = skipComposite(depth);
        } else {
            // A number or a literal: up to the next delimiter.
            while (pos < m_size && !std::strchr(",]}: \t\n\r", m_text[pos]))
                ++pos;
            ok = pos > begin;
        }
        if (span)
            *span = {begin, pos};
        return ok;
    }
    // The members of the object at pos, each handed to visit(name, depth) at its value, which
    // must leave pos after the value; false when visit does.
    template <typename Visit>
    bool members(int depth, Visit visit)
    {
        if (!take('{'))
            return false;
        if (take('}'))
            return true;
        do {
            QByteArrayView name;
            // A key written with escapes might name a key that matters in other bytes.
            if (!string(&name) || name.contains('\\') || !take(':'))
                return false;
            skipSpace();
            if (!visit(name, depth + 1))
                return false;
        } while (take(','));
        return take('}');
    }

private:
    // After the opening quote: up to and past the closing one.
    bool skipStringBody()
    {
        for (;;) {
            const void* quote = std::memchr(m_text + pos, '"', size_t(m_size - pos));
            if (!quote)
                return false;
            const qsizetype at = static_cast<const char*>(quote) - m_text;
            qsizetype slashes = 0;
            while (at - slashes - 1 >= pos && m_text[at - slashes - 1] == '\\')
                ++slashes;
            pos = at + 1;
            if (slashes % 2 == 0)
                return true;
        }
    }
    // An object or array at pos, by its brackets and strings alone.
    bool skipComposite(int depth)
    {
        // The bytes that matter here; a table read per byte passes the rest (mostly indentation,
        // numbers and punctuation) quickly.
        static constexpr auto kMarks = [] {
            std::array<bool, 256> marks{};
            for (unsigned char c : {'"', '{', '[', '}', ']'})
                marks[c] = true;
            return marks;
        }();
        int level = 0;
        while (pos < m_size) {
            while (pos < m_size && !kMarks[static_cast<unsigned char>(m_text[pos])])
                ++pos;
            if (pos >= m_size)
                break;
            const char c = m_text[pos++];
            if (c == '"') {
                if (!skipStringBody())
                    return false;
            } else if (c == '{' || c == '[') {
                if (++level + depth > kMaxDepth)
                    return false;
            } else if (c == '}' || c == ']') {
                if (--level == 0)
                    return true;
            }
        }
        return false;
    }

    const char* m_text;
    qsizetype m_size;
};

// The spans of the scenes, and of the array that holds them; false when not found cleanly.
bool findScenes(const QByteArray& text, Span* array, std::vector<Span>* scenes)
{
    static constexpr QByteArrayView kKey("sceneArray");
    Scanner scan(text);
    int outerSeen = 0;
    int innerSeen = 0;
    const auto sceneList = [&](int depth) {
        *array = {scan.pos, -1};
        if (!scan.take('['))
            return false;
        if (!scan.take(']')) {
            do {
                Span scene;
                scan.skipSpace();
                if (scan.pos >= text.size() || text.at(scan.pos) != '{' || !scan.value(&scene, depth + 1))
                    return false;
                scenes->push_back(scene);
            } while (scan.take(','));
            if (!scan.take(']'))
                return false;
        }
        array->end = scan.pos;
        return true;
    };
    const auto inner = [&](QByteArrayView name, int depth) {
        if (name != kKey)
            return scan.value(nullptr, depth);
        return ++innerSeen == 1 && sceneList(depth);
    };
    const auto outer = [&](QByteArrayView name, int depth) {
        if (name != kKey)
            return scan.value(nullptr, depth);
        return ++outerSeen == 1 && scan.members(depth, inner);
    };
    if (!scan.members(0, outer) || outerSeen != 1 || innerSeen != 1)
        return false;
    scan.skipSpace();
    return scan.pos == text.size();
}

// The objects of the scenes [first, last), each parsed alone; false when any is not an object.
bool parseScenes(const QByteArray& text, const std::vector<Span>& scenes, size_t first, size_t last,
                 std::vector<QJsonObject>* out, std::vector<RCSceneItemRecords::SceneRows>* rows)
{
    for (size_t i = first; i < last; ++i) {
        const Span& span = scenes[i];
        QJsonParseError error;
        const QJsonDocument scene = QJsonDocument::fromJson(
            QByteArray::fromRawData(text.constData() + span.begin, span.end - span.begin), &error);
        if (error.error != QJsonParseError::NoError || !scene.isObject())
            return false;
        (*out)[i] = scene.object();
        if (rows)
            (*rows)[i] = RCSceneItemRecords::ofScene((*out)[i]);
    }
    return true;
}

} // namespace

std::optional<QJsonDocument> RCProjectJsonParser::parseInParts(const QByteArray& text,
                                                              std::vector<RCSceneItemRecords::SceneRows>* sceneRows)
{
    if (QThread::idealThreadCount() < 2 || text.size() < 2 * kMinPartBytes)
        return std::nullopt;
    Span array;
    std::vector<Span> scenes;
    if (!findScenes(text, &array, &scenes) || scenes.size() < 2)
        return std::nullopt;

    // The rest of the file with the scenes left out.
    QByteArray rest = text.left(array.begin);
    rest += "[]";
    rest += QByteArrayView(text.constData() + array.end, text.size() - array.end);
    QJsonParseError error;
    const QJsonDocument skeleton = QJsonDocument::fromJson(rest, &error);
    if (error.error != QJsonParseError::NoError || !skeleton.isObject())
        return std::nullopt;

    // Contiguous runs of scenes of about equal bytes, one per thread; this thread takes the first.
    const qsizetype bytes = array.end - array.begin;
    const int threads = int(std::min<qsizetype>({qsizetype(QThread::idealThreadCount()),
                                                  qsizetype(scenes.size()), 1 + bytes / kMinPartBytes}));
    // A scene goes to the run in whose share of the bytes its middle lies.
    std::vector<size_t> bounds{0};
    for (size_t i = 1; i < scenes.size(); ++i) {
        const qsizetype middle = (scenes[i].begin + scenes[i].end) / 2 - array.begin;
        if (middle * threads / bytes >= qsizetype(bounds.size()))
            bounds.push_back(i);
    }
    bounds.push_back(scenes.size());
    std::vector<QJsonObject> parsed(scenes.size());
    std::vector<RCSceneItemRecords::SceneRows> rows(sceneRows ? scenes.size() : 0);
    std::vector<RCSceneItemRecords::SceneRows>* rowsOut = sceneRows ? &rows : nullptr;
    std::vector<std::future<bool>> others;
    // The runs that get no thread of their own (the system refused one) are parsed here.
    size_t here = 1;
    for (size_t run = 1; run + 1 < bounds.size(); ++run) {
        try {
            others.push_back(std::async(std::launch::async, parseScenes, std::cref(text), std::cref(scenes),
                                        bounds[run], bounds[run + 1], &parsed, rowsOut));
        } catch (const std::system_error&) {
            here = run;
            break;
        }
        here = run + 1;
    }
    bool ok = parseScenes(text, scenes, bounds[0], bounds[1], &parsed, rowsOut);
    for (size_t run = here; ok && run + 1 < bounds.size(); ++run)
        ok = parseScenes(text, scenes, bounds[run], bounds[run + 1], &parsed, rowsOut);
    for (std::future<bool>& other : others)
        ok = other.get() && ok;
    if (!ok)
        return std::nullopt;

    QJsonArray sceneArray;
    for (const QJsonObject& scene : parsed)
        sceneArray.append(scene);
    QJsonObject root = skeleton.object();
    QJsonObject outer = root.value(QLatin1StringView("sceneArray")).toObject();
    outer.insert(QLatin1StringView("sceneArray"), sceneArray);
    root.insert(QLatin1StringView("sceneArray"), outer);
    if (sceneRows)
        *sceneRows = std::move(rows);
    return QJsonDocument(root);
}

QJsonDocument RCProjectJsonParser::parse(const QByteArray& text, QJsonParseError* error,
                                         std::vector<RCSceneItemRecords::SceneRows>* sceneRows)
{
    if (sceneRows)
        sceneRows->clear();
    if (std::optional<QJsonDocument> document = parseInParts(text, sceneRows)) {
        if (error)
            *error = {0, QJsonParseError::NoError};
        return *document;
    }
    return QJsonDocument::fromJson(text, error);
}
