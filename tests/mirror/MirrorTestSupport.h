#pragma once

#include "model/RCKeys.h"

#include <QSignalSpy>
#include <QStringList>
#include <QVariantMap>

// Small builders and readers shared by the mirror's tests.
namespace MirrorTest {

inline QVariantMap record(const QString& id, const QVariantMap& extra = {})
{
    QVariantMap params = extra;
    params.insert(RCKeys::Id(), id);
    return params;
}

inline QVariantMap node(const QString& id, const QString& layerId, const QStringList& programIds,
                        const QVariantMap& extra = {})
{
    QVariantMap params = record(id, extra);
    params.insert(RCKeys::ProgramLayerId(), layerId);
    params.insert(RCKeys::ProgramIdList(), programIds);
    return params;
}

// Argument `column` of every emission recorded by spy, as text.
inline QStringList column(const QSignalSpy& spy, int column = 0)
{
    QStringList values;
    for (const QList<QVariant>& emission : spy)
        values.append(emission.value(column).toString());
    return values;
}

} // namespace MirrorTest
