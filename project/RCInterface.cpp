#include "project/RCInterface.h"

#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"

RCInterface* RCInterface::instance()
{
    static RCInterface* object = new RCInterface;
    return object;
}

RCInterface::RCInterface(QObject* parent) : IRCInterface(parent) {}

bool RCInterface::sceneListItemContainScene(const QString& sceneIdSelf, const QString& sceneItemId,
                                            const QString& sceneIdDest)
{
    if (sceneItemId.isEmpty())
        return false;
    QString list = RCSceneItemPresenter::instance()
                       ->getPropertyValue(sceneIdSelf, sceneItemId, RCKeys::TypeNameList())
                       .toString();
    list.replace(QChar(0xFF1B), QLatin1Char(';'));
    const QStringList pieces = list.split(QLatin1Char(';'), Qt::KeepEmptyParts);
    // An unknown scene, or one without a type name, is in no list (an empty piece is no type).
    const QString typeName =
        RCScenePresenter::instance()->getPropertyValue(sceneIdDest, RCKeys::TypeName()).toString();
    return !typeName.isEmpty() && pieces.contains(typeName);
}

QString RCInterface::msecToString(int msec)
{
    qint64 total = msec;
    const bool negative = total < 0;
    if (negative)
        total = -total;
    const qint64 seconds = total / 1000;
    const QString text = QStringLiteral("%1:%2:%3")
                             .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                             .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
                             .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return negative && seconds > 0 ? QLatin1Char('-') + text : text;
}
