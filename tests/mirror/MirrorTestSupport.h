#pragma once

#include "model/RCKeys.h"
#include "support/SpyColumn.h"

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

using test_support::column;

} // namespace MirrorTest
