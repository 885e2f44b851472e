#include "actions/RCAction_PasteSceneItem.h"

#include "actions/RCSceneItemClipboard.h"
#include "editing/RCSceneItemPresenter.h"
#include "model/RCKeys.h"

#include <QJsonArray>
#include <QUuid>

#include <algorithm>
#include <limits>

namespace {

constexpr int kPasteOffset = 10;

// item with every "Id" record renewed and "X", "Y" shifted by the paste offset.
QJsonObject pastedCopy(QJsonObject item)
{
    const QString id = QUuid::createUuid().toString();
    QJsonArray records = item.value(QStringLiteral("propertyArray")).toArray();
    for (qsizetype i = 0; i < records.size(); ++i) {
        QJsonObject record = records.at(i).toObject();
        const QString name = record.value(QStringLiteral("name")).toString();
        if (name == RCKeys::Id()) {
            record.insert(QStringLiteral("value"), id);
        } else if (name == RCKeys::X() || name == RCKeys::Y()) {
            const double moved = record.value(QStringLiteral("value")).toDouble() + kPasteOffset;
            record.insert(QStringLiteral("value"),
                          int(std::clamp<double>(moved, std::numeric_limits<int>::min(),
                                                 std::numeric_limits<int>::max())));
        } else {
            continue;
        }
        records.replace(i, record);
    }
    item.insert(QStringLiteral("propertyArray"), records);
    return item;
}

} // namespace

int RCAction_PasteSceneItem::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                     const QVariant& /*data*/)
{
    if (sceneId.isEmpty())
        return -1;
    QList<QJsonObject> copies = RCSceneItemClipboard::parseItems(RCSceneItemClipboard::readBytes());
    if (copies.isEmpty())
        return -1;
    for (QJsonObject& copy : copies)
        copy = pastedCopy(copy);

    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    QStringList newIds = items->addItemList(sceneId, copies, true);
    newIds.removeAll(QString());
    if (newIds.isEmpty())
        return -1;
    const QStringList all = items->getItemIds(sceneId);
    for (const QString& id : all)
        items->setPropertyValue(sceneId, id, RCKeys::Select(), false, false);
    for (const QString& id : std::as_const(newIds))
        items->setPropertyValue(sceneId, id, RCKeys::Select(), true, false);
    return 0;
}
