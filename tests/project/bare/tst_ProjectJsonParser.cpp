#include "project/RCProjectJsonParser.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>
#include <QThread>

// A project file parsed in pieces (scenes, and runs of a scene's items) gives what
// QJsonDocument::fromJson gives, document and error alike, and is split only where that is sure;
// its scenes' item records come with it.
class tst_ProjectJsonParser : public QObject
{
    Q_OBJECT

private:
    // An item that holds about 300 KB of text in which brackets, quotes and escaped backslashes
    // stand inside the strings.
    static QByteArray item()
    {
        const QByteArray tricky = QByteArray("x]\\\"{[\\\\").repeated(36000);
        return "{\"propertyArray\": [{\"name\": \"Text\", \"value\": \"" + tricky +
               "\", \"n\": [1.5e3, true, null, {}]}]}";
    }
    static QByteArray scene(int i, const QByteArray& items = item())
    {
        return "{\"propertyArray\": [{\"name\": \"Name\", \"value\": \"s" + QByteArray::number(i) +
               "\"}], \"itemArray\": [" + items + "]}";
    }
    static QByteArray project(const QByteArray& scenes, const QByteArray& key = "sceneArray")
    {
        return "{\"version\": \"3.0.0\", \"setting\": {\"A\": [1, \"]\"]}, \"" + key + "\": {\"" + key +
               "\": [" + scenes + "]}}\n";
    }

private Q_SLOTS:
    void sameAsWholeParse_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("inParts");
        const QByteArray three = scene(0) + ",\n " + scene(1) + " , " + scene(2);
        QTest::newRow("three scenes") << project(three) << true;
        QTest::newRow("one small scene") << project(scene(0)) << false;
        const QByteArray items = item() + "," + item() + ",{}\n";
        QTest::newRow("one scene, by its items") << project(scene(0, items)) << true;
        QByteArrayList small;
        for (int i = 0; i < 3000; ++i)
            small << "{\"propertyArray\": [{\"name\": \"Id\", \"value\": \"" + QByteArray::number(i) +
                         "\", \"pad\": \"" + QByteArray(200, 'p') + "\"}]}";
        QTest::newRow("many small items, in runs") << project(scene(0, small.join(",\n"))) << true;
        QTest::newRow("items, and the scene's key twice")
            << project(scene(0, items) + ",{\"itemArray\": [{}], " + scene(1, items).mid(1)) << true;
        QTest::newRow("items, and a scene's items no array")
            << project(scene(0, items) + ",{\"itemArray\": 5, " +
                       scene(1).mid(1).replace("\"itemArray\"", "\"x\""))
            << true;
        QTest::newRow("items, one of them no object")
            << project(scene(0, items + ",3") + "," + scene(1)) << true;
        QTest::newRow("items, one broken") << project(scene(0, items + ",{]") + "," + scene(1)) << false;
        QTest::newRow("key with escapes") << project(three, "scene\\u0041rray") << false;
        QTest::newRow("key again, with escapes")
            << QByteArray(project(three)).replace("\"version\"", "\"scene\\u0041rray\"") << false;
        QTest::newRow("key twice") << QByteArray(project(three)).replace("\"setting\"", "\"sceneArray\"") << false;
        QTest::newRow("no comma between scenes") << project(scene(0) + " " + scene(1)) << false;
        QTest::newRow("garbage after the end") << project(three) + "x" << false;
        QTest::newRow("scene that is no object") << project(three + ", 7") << false;
        QTest::newRow("broken inside a scene") << project(scene(0) + "," + scene(1).replace("true", "tru"))
                                               << false;
        QTest::newRow("unclosed string") << project(three).replace("\"Name\"", "\"Name") << false;
        // An item whose value is nested so deep that the file as a whole is deeper than the whole
        // parse takes (1,024 levels), though the item alone is not: refused as the whole parse
        // refuses it; at the limit the file is parsed whole.
        for (const int levels : {1024, 1025, 1026, 1027, 1028, 1029}) {
            const QByteArray deep = "{\"propertyArray\": " + QByteArray(levels - 6, '[') +
                                    QByteArray(levels - 6, ']') + "}";
            QTest::addRow("item nested, the file %d levels deep", levels)
                << project(scene(0, items + "," + deep) + "," + scene(1)) << false;
        }
    }
    void sameAsWholeParse()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, inParts);
        QJsonParseError wholeError;
        const QJsonDocument whole = QJsonDocument::fromJson(text, &wholeError);
        QJsonParseError error;
        std::vector<RCSceneItemRecords::SceneRows> rows{{}};
        const QJsonDocument document = RCProjectJsonParser::parse(text, &error, &rows);
        QCOMPARE(document, whole);
        QCOMPARE(error.error, wholeError.error);
        QCOMPARE(error.offset, wholeError.offset);
        if (inParts && QThread::idealThreadCount() < 2)
            QFAIL("this machine runs one thread at a time: the split cannot be checked");
        QCOMPARE(RCProjectJsonParser::parseInParts(text).has_value(), inParts);
        // The item records come along with the scenes parsed in parts, as read from the whole
        // parse's scenes.
        const QJsonArray scenes = whole.object()
                                      .value(QLatin1StringView("sceneArray"))
                                      .toObject()
                                      .value(QLatin1StringView("sceneArray"))
                                      .toArray();
        QCOMPARE(rows.size(), size_t(inParts ? scenes.size() : 0));
        for (size_t s = 0; s < rows.size(); ++s) {
            const RCSceneItemRecords::SceneRows expected =
                RCSceneItemRecords::ofScene(scenes.at(qsizetype(s)).toObject());
            QCOMPARE(rows[s].size(), expected.size());
            for (size_t i = 0; i < expected.size(); ++i) {
                QCOMPARE(rows[s][i].size(), expected[i].size());
                for (size_t r = 0; r < expected[i].size(); ++r)
                    QCOMPARE(rows[s][i][r].value, expected[i][r].value);
            }
        }
    }

    // Whether a project file's first bytes tell a project ("sceneArray" an object at the top), read
    // no further than its value's first byte: anything after that may be cut or broken, and a
    // text that is cut before it asks for more (none) until it is complete.
    void sceneArrayFromTheFirstBytes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<int>("answer"); // -1: none yet, else 0 or 1
        const QByteArray file = project(scene(0) + "," + scene(1));
        const qsizetype key = file.indexOf("\"sceneArray\"");
        QTest::newRow("a project file") << file << true << 1;
        QTest::newRow("cut after the key's value begins") << file.left(key + 15) << false << 1;
        QTest::newRow("broken after it") << file.left(key + 15) + "\xff]]" << true << 1;
        QTest::newRow("cut before the key") << file.left(key + 3) << false << -1;
        QTest::newRow("cut before the key, all of it") << file.left(key + 3) << true << 0;
        QTest::newRow("text") << QByteArray("my notes {\"sceneArray\": {") << false << 0;
        QTest::newRow("empty object") << QByteArray(" {} ") << true << 0;
        QTest::newRow("sceneArray an array") << QByteArray("{\"sceneArray\": []}") << false << 0;
        QTest::newRow("a key with escapes before it") << project(scene(0), "scene\\u0041rray") << true << 0;
    }
    void sceneArrayFromTheFirstBytes()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, complete);
        QFETCH(int, answer);
        const std::optional<bool> found = RCProjectJsonParser::holdsSceneArrayObject(text, complete);
        QCOMPARE(found.has_value() ? int(*found) : -1, answer);
    }
};

QTEST_GUILESS_MAIN(tst_ProjectJsonParser)
#include "tst_ProjectJsonParser.moc"
