// Feeds arbitrary bytes to the document loaders. The first byte picks what the rest is read as:
//   0: a project file or a scene list ({"sceneArray": {"sceneArray": [...]}} or {"sceneArray": [...]}),
//   1: one scene record, added to the scene manager,
//   2: one item record, added to a scene of the scene manager.
// Whatever was loaded is written (the first written form), saved as text, read into a fresh manager
// and written again (the second form); the two must be equal, as objects and as text. Between inputs the
// process-wide manager is emptied and the object registry must hold none of the loaded ids, so
// memory stays bounded. Must never crash, hang, leak or trip a sanitizer.

#include "model/RCObjectManager.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"
#include "model/RCTypedValue.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

const QString kSceneArray = QStringLiteral("sceneArray");
const QString kItemArray = QStringLiteral("itemArray");
const QString kPropertyArray = QStringLiteral("propertyArray");

// The ids of every scene and item of a written scene list.
QStringList idsOf(const QJsonObject& sceneList)
{
    QStringList ids;
    const auto idOfRecord = [&ids](const QJsonObject& record) {
        for (const QJsonValue row : record.value(kPropertyArray).toArray()) {
            const QJsonObject r = row.toObject();
            if (r.value(QStringLiteral("name")).toString() == QLatin1String("Id"))
                ids.append(r.value(QStringLiteral("value")).toVariant().toString());
        }
    };
    for (const QJsonValue scene : sceneList.value(kSceneArray).toArray()) {
        idOfRecord(scene.toObject());
        for (const QJsonValue item : scene.toObject().value(kItemArray).toArray())
            idOfRecord(item.toObject());
    }
    return ids;
}

[[noreturn]] void fail(const char* what, const QJsonObject& first, const QJsonObject& second)
{
    std::fprintf(stderr, "%s\n--- first\n%s\n--- second\n%s\n", what,
                 QJsonDocument(first).toJson().constData(), QJsonDocument(second).toJson().constData());
    std::abort();
}

void load(RCSceneManager* manager, int mode, const QJsonObject& input)
{
    switch (mode) {
    case 0: {
        // A project file holds the scene list under its own "sceneArray".
        const QJsonValue inner = input.value(kSceneArray);
        manager->fromJson(inner.isObject() ? inner.toObject() : input);
        break;
    }
    case 1:
        manager->addScene(new RCScene(input, nullptr), -1);
        break;
    default: {
        auto* scene = new RCScene;
        manager->addScene(scene, -1);
        scene->addItem(new RCSceneItem(input, nullptr));
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool init = [] {
        qInstallMessageHandler(quiet);
        initVariantTypeTables();
        return true;
    }();
    (void)init;
    if (size < 1)
        return 0;

    const int mode = data[0] % 3;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return 0;

    RCSceneManager* global = RCSceneManager::instance();
    load(global, mode, doc.object());
    const QJsonObject first = global->toJson();
    const QStringList firstIds = idsOf(first);
    global->fromJson(QJsonObject());

    QJsonObject second;
    {
        // Through the text, as a saved file is read back.
        RCSceneManager fresh;
        fresh.fromJson(QJsonDocument::fromJson(QJsonDocument(first).toJson()).object());
        second = fresh.toJson();
    }

    if (first != second)
        fail("round trip changed the document", first, second);
    if (QJsonDocument(first).toJson() != QJsonDocument(second).toJson())
        fail("round trip changed the document text", first, second);
    for (const QString& id : firstIds) {
        if (RCObjectManager::instance()->getObject(id))
            fail("the registry still holds an object of an emptied manager", first, second);
    }
    return 0;
}
