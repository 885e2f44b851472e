#include "project/RCProjectJsonParser.h"

#include <QTest>
#include <QThread>

// A project file parsed scene by scene gives what QJsonDocument::fromJson gives, document and
// error alike, and is split only where that is sure; its scenes' item records come with it.
class tst_ProjectJsonParser : public QObject
{
    Q_OBJECT

private:
    // A scene whose one item holds about 300 KB of text in which brackets, quotes and escaped
    // backslashes stand inside the strings.
    static QByteArray scene(int i)
    {
        const QByteArray tricky = QByteArray("x]\\\"{[\\\\").repeated(36000);
        return "{\"propertyArray\": [{\"name\": \"Name\", \"value\": \"s" + QByteArray::number(i) +
               "\"}], \"itemArray\": [{\"propertyArray\": [{\"name\": \"Text\", \"value\": \"" + tricky +
               "\", \"n\": [1.5e3, true, null, {}]}]}]}";
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
        QTest::newRow("one scene") << project(scene(0)) << false;
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
        // The item records come along with the scenes parsed in parts, one item each here.
        QCOMPARE(rows.size(), size_t(inParts ? 3 : 0));
        for (const RCSceneItemRecords::SceneRows& scene : rows)
            QCOMPARE(scene.size(), size_t(1));
    }
};

QTEST_GUILESS_MAIN(tst_ProjectJsonParser)
#include "tst_ProjectJsonParser.moc"
