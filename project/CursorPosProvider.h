#pragma once

#include <QObject>
#include <QPointF>

// The global mouse cursor position for QML (root-context property "mousePosition"), read
// by the title bar while the frameless main window is dragged. GUI thread only.
class CursorPosProvider : public QObject
{
    Q_OBJECT

public:
    explicit CursorPosProvider(QObject* parent = nullptr);

    Q_INVOKABLE QPointF cursorPos() const;
};
