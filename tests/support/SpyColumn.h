#pragma once

#include <QSignalSpy>
#include <QStringList>

namespace test_support {

// Argument `column` of every emission recorded by spy, as text.
inline QStringList column(const QSignalSpy& spy, int column = 0)
{
    QStringList values;
    for (const QList<QVariant>& emission : spy)
        values.append(emission.value(column).toString());
    return values;
}

} // namespace test_support
