#pragma once

#include <QObject>
#include <QPointer>

// Event filter that the main window attaches to itself through setWindow(). It watches at
// most one window and never swallows an event on its own: for the watched window it
// answers what the window's own eventFilter() answers. Published to QML as the root-context
// property "windowEventFilter"; GUI thread only. It does not own the window.
class RCWindowEventFilter : public QObject
{
    Q_OBJECT

public:
    explicit RCWindowEventFilter(QObject* parent = nullptr);

    // Moves the filter to `window`; a null window only detaches it from the current one.
    Q_INVOKABLE void setWindow(QObject* window);

    QObject* window() const { return m_window; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QObject> m_window;
};
