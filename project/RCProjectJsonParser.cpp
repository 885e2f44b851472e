#include "project/RCProjectJsonParser.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QThread>
#include <QtAlgorithms>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <future>
#include <system_error>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define RC_SCAN_SSE2 1
#endif

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
    explicit Scanner(QByteArrayView text) : m_text(text.constData()), m_size(text.size()) {}

    qsizetype pos = 0;

    void skipSpace()
    {
        while (pos < m_size && (m_text[pos] == ' ' || m_text[pos] == '\t' || m_text[pos] == '\n' ||
                                m_text[pos] == '\r'))
            ++pos;
    }
    bool at(char c) const { return pos < m_size && m_text[pos] == c; }
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
    // The first of the bytes that matter inside an object or array ('"', '{', '[', '}', ']') at
    // or after pos, or the end. The rest (mostly indentation, numbers and punctuation) is passed
    // 16 bytes at a time where the processor can, else by a table read per byte.
    qsizetype nextMark() const
    {
        qsizetype at = pos;
#ifdef RC_SCAN_SSE2
        // With the bit 0x20 set, '[' and '{' both read '{', ']' and '}' both read '}', and no other
        // byte reads either.
        const __m128i caseBit = _mm_set1_epi8(0x20);
        const __m128i quote = _mm_set1_epi8('"');
        const __m128i open = _mm_set1_epi8('{');
        const __m128i close = _mm_set1_epi8('}');
        for (; at + 16 <= m_size; at += 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_text + at));
            const __m128i folded = _mm_or_si128(chunk, caseBit);
            const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(chunk, quote),
                                              _mm_or_si128(_mm_cmpeq_epi8(folded, open), _mm_cmpeq_epi8(folded, close)));
            if (const int mask = _mm_movemask_epi8(hits))
                return at + qCountTrailingZeroBits(quint32(mask));
        }
#endif
        static constexpr auto kMarks = [] {
            std::array<bool, 256> marks{};
            for (unsigned char c : {'"', '{', '[', '}', ']'})
                marks[c] = true;
            return marks;
        }();
        while (at < m_size && !kMarks[static_cast<unsigned char>(m_text[at])])
            ++at;
        return at;
    }
    // An object or array at pos, by its brackets and strings alone.
    bool skipComposite(int depth)
    {
        int level = 0;
        while (pos < m_size) {
            pos = nextMark();
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

// A scene of the text. When its "itemArray" is given once, by a key without escapes, and holds
// objects only, its items are found too, and the scene is parsed in pieces of items; any other
// scene is parsed whole.
struct ScenePlan
{
    Span scene;
    Span itemArray; // begin -1 for a scene parsed whole
    std::vector<Span> items;

    bool split() const { return itemArray.begin >= 0; }
};

// The array of objects at pos and its span; each element is handed to visit(depth) at its '{',
// which must leave pos after it. depth counts the levels above the array. False when it is no
// array of objects or visit fails.
template <typename Visit> bool objectList(Scanner& scan, int depth, Span* array, Visit visit)
{
    scan.skipSpace();
    *array = {scan.pos, -1};
    if (!scan.take('['))
        return false;
    if (!scan.take(']')) {
        do {
            scan.skipSpace();
            if (!scan.at('{') || !visit(depth + 1))
                return false;
        } while (scan.take(','));
        if (!scan.take(']'))
            return false;
    }
    array->end = scan.pos;
    return true;
}

// The scene at pos (its '{'), items and all where they are found cleanly; false when even its
// extent is not.
bool planScene(Scanner& scan, int depth, ScenePlan* plan)
{
    static constexpr QByteArrayView kKey("itemArray");
    const qsizetype begin = scan.pos;
    int seen = 0;
    const auto member = [&](QByteArrayView name, int memberDepth) {
        if (name != kKey)
            return scan.value(nullptr, memberDepth);
        const auto item = [&](int itemDepth) {
            Span span;
            if (!scan.value(&span, itemDepth))
                return false;
            plan->items.push_back(span);
            return true;
        };
        return ++seen == 1 && objectList(scan, memberDepth, &plan->itemArray, item);
    };
    if (scan.members(depth, member) && seen == 1) {
        plan->scene = {begin, scan.pos};
        return true;
    }
    scan.pos = begin;
    *plan = ScenePlan{};
    return scan.value(&plan->scene, depth);
}

// The plans of the scenes, and the span of the array that holds them; false when not found
// cleanly.
bool findScenes(const QByteArray& text, Span* array, std::vector<ScenePlan>* scenes)
{
    static constexpr QByteArrayView kKey("sceneArray");
    Scanner scan(text);
    int outerSeen = 0;
    int innerSeen = 0;
    const auto scene = [&](int depth) {
        ScenePlan plan;
        if (!planScene(scan, depth, &plan))
            return false;
        scenes->push_back(std::move(plan));
        return true;
    };
    const auto inner = [&](QByteArrayView name, int depth) {
        if (name != kKey)
            return scan.value(nullptr, depth);
        return ++innerSeen == 1 && objectList(scan, depth, array, scene);
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

// The parse of the scenes of a split text, in pieces of about kPieceBytes that the threads take
// one at a time as they finish the last: they all end at about the same time, whatever the sizes
// of the scenes and whatever else keeps the cores busy. work() on any number of threads at once;
// the rest on one thread, after every work() has returned.
class ScenePieces
{
public:
    ScenePieces(const QByteArray& text, const std::vector<ScenePlan>& plans, bool withRows)
        : m_text(text), m_plans(plans), m_withRows(withRows), m_scenes(plans.size())
    {
        for (size_t s = 0; s < plans.size(); ++s) {
            const ScenePlan& plan = plans[s];
            m_pieces.push_back({s, 0, 0});
            if (!plan.split())
                continue;
            m_scenes[s].items.resize(plan.items.size());
            if (withRows)
                m_scenes[s].rows.resize(plan.items.size());
            for (size_t first = 0; first < plan.items.size();) {
                size_t last = first + 1;
                while (last < plan.items.size() &&
                       plan.items[last].end - plan.items[first].begin < kPieceBytes)
                    ++last;
                m_pieces.push_back({s, first, last});
                first = last;
            }
        }
    }

    // Parses pieces until none is left or one fails; then every thread stops at its next piece.
    // False when a piece failed.
    bool work()
    {
        for (;;) {
            if (m_failed.load(std::memory_order_relaxed))
                return false;
            const size_t next = m_next.fetch_add(1, std::memory_order_relaxed);
            if (next >= m_pieces.size())
                return true;
            bool parsed = false;
            try {
                parsed = parse(m_pieces[next]);
            } catch (...) {
                // the others stop too; the exception leaves through this thread's future
                cancel();
                throw;
            }
            if (!parsed) {
                cancel();
                return false;
            }
        }
    }
    void cancel() { m_failed.store(true, std::memory_order_relaxed); }
    size_t count() const { return m_pieces.size(); }

    // The scenes, each put together from its pieces.
    QJsonArray scenes()
    {
        QJsonArray array;
        for (size_t s = 0; s < m_scenes.size(); ++s) {
            Scene& scene = m_scenes[s];
            if (m_plans[s].split()) {
                QJsonArray items;
                for (const QJsonObject& item : scene.items)
                    items.append(item);
                scene.object.insert(QLatin1StringView("itemArray"), items);
            }
            array.append(scene.object);
        }
        return array;
    }
    std::vector<RCSceneItemRecords::SceneRows> rows()
    {
        std::vector<RCSceneItemRecords::SceneRows> rows;
        rows.reserve(m_scenes.size());
        for (Scene& scene : m_scenes)
            rows.push_back(std::move(scene.rows));
        return rows;
    }

private:
    static constexpr qsizetype kPieceBytes = 64 * 1024;

    // Items [first, last) of a split scene; with first == last, the scene without its items, or
    // a scene parsed whole.
    struct Piece
    {
        size_t scene;
        size_t first;
        size_t last;
    };
    // Each slot is written by the one thread that took its piece.
    struct Scene
    {
        QJsonObject object;
        std::vector<QJsonObject> items;
        RCSceneItemRecords::SceneRows rows;
    };

    static bool object(const QByteArray& text, QJsonObject* out)
    {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(text, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            return false;
        *out = document.object();
        return true;
    }
    QByteArray bytes(const Span& span) const
    {
        return QByteArray::fromRawData(m_text.constData() + span.begin, span.end - span.begin);
    }

    bool parse(const Piece& piece)
    {
        const ScenePlan& plan = m_plans[piece.scene];
        Scene& scene = m_scenes[piece.scene];
        if (!plan.split()) {
            if (!object(bytes(plan.scene), &scene.object))
                return false;
            if (m_withRows)
                scene.rows = RCSceneItemRecords::ofScene(scene.object);
            return true;
        }
        if (piece.first == piece.last) {
            QByteArray shell = bytes({plan.scene.begin, plan.itemArray.begin});
            shell += "[]";
            shell += bytes({plan.itemArray.end, plan.scene.end});
            return object(shell, &scene.object);
        }
        for (size_t i = piece.first; i < piece.last; ++i) {
            if (!object(bytes(plan.items[i]), &scene.items[i]))
                return false;
            if (m_withRows)
                scene.rows[i] = RCSceneItemRecords::ofItem(scene.items[i]);
        }
        return true;
    }

    const QByteArray& m_text;
    const std::vector<ScenePlan>& m_plans;
    const bool m_withRows;
    std::vector<Piece> m_pieces;
    std::vector<Scene> m_scenes;
    std::atomic<size_t> m_next{0};
    std::atomic<bool> m_failed{false};
};

} // namespace

std::optional<bool> RCProjectJsonParser::holdsSceneArrayObject(QByteArrayView text, bool complete)
{
    static constexpr QByteArrayView kKey("sceneArray");
    Scanner scan(text);
    // Anything but an object is no project, however much follows.
    scan.skipSpace();
    if (scan.pos < text.size() && !scan.at('{'))
        return false;
    std::optional<bool> answer;
    const auto member = [&](QByteArrayView name, int depth) {
        if (name != kKey)
            return scan.value(nullptr, depth);
        // Decided at the value's first byte: stop there.
        scan.skipSpace();
        if (scan.pos < text.size())
            answer = scan.at('{');
        return false;
    };
    if (scan.members(0, member))
        return false;
    if (answer)
        return answer;
    // The scan ran out of text, or the text is no JSON the scanner follows.
    return complete ? std::optional<bool>(false) : std::nullopt;
}

std::optional<QJsonDocument> RCProjectJsonParser::parseInParts(const QByteArray& text,
                                                              std::vector<RCSceneItemRecords::SceneRows>* sceneRows)
{
    if (QThread::idealThreadCount() < 2 || text.size() < 2 * kMinPartBytes)
        return std::nullopt;
    Span array;
    std::vector<ScenePlan> plans;
    if (!findScenes(text, &array, &plans) || plans.empty())
        return std::nullopt;

    const qsizetype bytes = array.end - array.begin;
    ScenePieces pieces(text, plans, sceneRows != nullptr);
    // One scene that cannot be split is parsed faster whole.
    if (pieces.count() < 2)
        return std::nullopt;
    const int threads = int(std::min<qsizetype>(
        {qsizetype(QThread::idealThreadCount()), 1 + bytes / kMinPartBytes, qsizetype(pieces.count())}));
    // The other threads start on the scenes while this one parses the rest of the file; should the
    // system refuse a thread, the others take its share.
    std::vector<std::future<bool>> others;
    others.reserve(size_t(threads));
    for (int i = 1; i < threads; ++i) {
        try {
            others.push_back(std::async(std::launch::async, &ScenePieces::work, &pieces));
        } catch (const std::system_error&) {
            break;
        }
    }

    // The rest of the file with the scenes left out.
    QByteArray rest = text.left(array.begin);
    rest += "[]";
    rest += QByteArrayView(text.constData() + array.end, text.size() - array.end);
    QJsonParseError error;
    const QJsonDocument skeleton = QJsonDocument::fromJson(rest, &error);
    bool ok = error.error == QJsonParseError::NoError && skeleton.isObject();
    if (!ok)
        pieces.cancel();
    ok = pieces.work() && ok;
    for (std::future<bool>& other : others)
        ok = other.get() && ok;
    if (!ok)
        return std::nullopt;

    QJsonObject root = skeleton.object();
    QJsonObject outer = root.value(QLatin1StringView("sceneArray")).toObject();
    outer.insert(QLatin1StringView("sceneArray"), pieces.scenes());
    root.insert(QLatin1StringView("sceneArray"), outer);
    if (sceneRows)
        *sceneRows = pieces.rows();
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
