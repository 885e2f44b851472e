#include "project/CursorPosProvider.h"

#include <QCursor>

CursorPosProvider::CursorPosProvider(QObject* parent) : QObject(parent) {}

QPointF CursorPosProvider::cursorPos() const
{
    return QPointF(QCursor::pos());
}
