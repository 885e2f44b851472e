// The built-in template list and the template packets in the resources: what a template load
// copies must parse, load into the scene model unchanged and carry the catalogue's rows.
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"
#include "project/RCTemplateProjects.h"

#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSize>
#include <QTest>
#include <QUrl>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

// The resource file behind a "qrc:" URL, read the way a template load reads it.
QString resourcePath(const QString& url)
{
    return QLatin1Char(':') + QUrl(url).path(QUrl::FullyDecoded);
}

QJsonObject readTemplateFile(const QVariantMap& entry, QString* error)
{
    QFile file(resourcePath(entry.value(RCKeys::ProjectFilePath()).toString()));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"cannot open "_s + file.fileName();
        return {};
    }
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError || !document.isObject()) {
        *error = file.fileName() + u": "_s + parse.errorString();
        return {};
    }
    return document.object();
}

// name -> record of a "propertyArray".
QMap<QString, QJsonObject> recordsByName(const QJsonObject& holder)
{
    QMap<QString, QJsonObject> records;
    for (const QJsonValue& v : holder.value(u"propertyArray"_s).toArray())
        records.insert(v.toObject().value(u"name"_s).toString(), v.toObject());
    return records;
}

QJsonValue rowValue(const QMap<QString, QJsonObject>& records, const QString& name)
{
    return records.value(name).value(u"value"_s);
}

QJsonObject onlyScene(const QJsonObject& file)
{
    return file.value(u"sceneArray"_s).toObject().value(u"sceneArray"_s).toArray().at(0).toObject();
}

QJsonObject onlyItem(const QJsonObject& file)
{
    return onlyScene(file).value(u"itemArray"_s).toArray().at(0).toObject();
}

bool isBracedUuid(const QString& text)
{
    return text.startsWith(QLatin1Char('{')) && !QUuid::fromString(text).isNull();
}

} // namespace

class tst_RCTemplateProjects : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void templateFile_data();
    void templateFile();
};

void tst_RCTemplateProjects::templateFile_data()
{
    QTest::addColumn<QVariantMap>("entry");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    const QVariantList list = RCTemplateProjects::buildTemplateProjectList();
    QTest::newRow("empty") << list.at(0).toMap() << "2.1.7" << 859 << 1;
    QTest::newRow("phone") << list.at(1).toMap() << "2.1.11" << 0 << 0;
    QTest::newRow("pad") << list.at(2).toMap() << "2.1.11" << 0 << 0;
    QTest::newRow("pc") << list.at(3).toMap() << "2.1.11" << 0 << 0;
}

void tst_RCTemplateProjects::templateFile()
{
    QFETCH(QVariantMap, entry);
    QFETCH(QString, version);
    QFETCH(int, x);
    QFETCH(int, y);

    // A template load copies the project file and the thumbnail out of the resources; a path
    // that names no resource would give an empty copy.
    QImageReader thumbnail(resourcePath(entry.value(RCKeys::ThumbnailPath()).toString()));
    QCOMPARE(thumbnail.format(), QByteArray("png"));
    QVERIFY2(!thumbnail.read().isNull(), qPrintable(thumbnail.fileName()));
    QString error;
    const QJsonObject file = readTemplateFile(entry, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(file.keys(), QStringList({"sceneArray", "setting", "version"}));

    // All four share one scene id and one item id, those of the empty template.
    const QJsonObject empty =
        readTemplateFile(RCTemplateProjects::buildTemplateProjectList().at(0).toMap(), &error);
    const QString sceneId = rowValue(recordsByName(onlyScene(file)), RCKeys::Id()).toString();
    const QString itemId = rowValue(recordsByName(onlyItem(file)), RCKeys::Id()).toString();
    QVERIFY(isBracedUuid(sceneId) && isBracedUuid(itemId) && sceneId != itemId);
    QCOMPARE(sceneId, rowValue(recordsByName(onlyScene(empty)), RCKeys::Id()).toString());
    QCOMPARE(itemId, rowValue(recordsByName(onlyItem(empty)), RCKeys::Id()).toString());
    QCOMPARE(file.value("version").toString(), version);
    QCOMPARE(file.value("setting").toObject(), QJsonObject({{"SceneListVisible", true}}));

    // The scene model reads the scene list and writes it back unchanged: no row is dropped,
    // retyped or renewed on load.
    const QJsonObject sceneArray = file.value("sceneArray").toObject();
    RCSceneManager scenes;
    QVERIFY(scenes.fromJson(sceneArray));
    QCOMPARE(scenes.toJson(), sceneArray);

    // The list's scene size is the template's.
    RCScene* scene = scenes.sceneAt(0);
    const QSize size = entry.value(RCKeys::DefaultSize()).toSize();
    QCOMPARE(scene->getPropertyValue(RCKeys::Width()).toInt(), size.width());
    QCOMPARE(scene->getPropertyValue(RCKeys::Height()).toInt(), size.height());
    QCOMPARE(qobject_cast<RCSceneItem*>(scene->getItem(0))->getPos(), QPoint(x, y));

    // The copy gets no "image" content, so every picture must come from the resources.
    const QList<QMap<QString, QJsonObject>> holders = {recordsByName(onlyScene(file)),
                                                       recordsByName(onlyItem(file))};
    for (const auto& records : holders) {
        for (const QJsonObject& record : records) {
            if (record.value("display").toObject().value("type").toInt() !=
                IRCPropertyDisplay::EIRCPropertyDisplayType_Icon)
                continue;
            const QString value = record.value("value").toString();
            QVERIFY2(value.isEmpty() || value.startsWith("qrc:/"), qPrintable(value));
        }
    }

    // Beyond its id and place, the template's button is the button a drop of the catalogue's
    // network-link control makes: every row, with its description, flags, display and value.
    const QMap<QString, QJsonObject> stored = recordsByName(onlyItem(file));

    RCControlManager controls;
    RCControlCatalogue::build(&controls);
    IRCControl* netLink = controls.getControlByType(IRCControl::EIRCControlType_NetLink);
    QVERIFY(netLink);
    const RCSceneItem dropped(netLink->getInstantiationParam()->toJson(), nullptr);
    const QMap<QString, QJsonObject> expected = recordsByName(dropped.toJson());

    QCOMPARE(stored.keys(), expected.keys());
    const QStringList own = {RCKeys::Id(), RCKeys::X(), RCKeys::Y()};
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (own.contains(it.key()))
            continue;
        QVERIFY2(stored.value(it.key()) == it.value(), qPrintable(it.key()));
    }
    QVERIFY(stored.contains(RCKeys::NetLinkIconPath())); // a kind-specific row
}

QTEST_GUILESS_MAIN(tst_RCTemplateProjects)
#include "tst_RCTemplateProjects.moc"
