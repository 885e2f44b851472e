#pragma once

// Helpers shared by the model tests.

#include "model/IRCProperty.h"
#include "model/RCProperties.h"

#include <QStringList>

namespace model_test {

// The names of the rows of props, in row order.
inline QStringList propertyNames(const RCProperties* props)
{
    QStringList names;
    for (int i = 0; i < props->count(); ++i)
        names << props->getPropertyAt(i)->getName();
    return names;
}

} // namespace model_test
