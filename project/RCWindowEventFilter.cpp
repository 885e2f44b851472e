#include "project/RCWindowEventFilter.h"

RCWindowEventFilter::RCWindowEventFilter(QObject* parent) : QObject(parent) {}

void RCWindowEventFilter::setWindow(QObject* window)
{
    if (window == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (m_window)
        m_window->installEventFilter(this);
}

bool RCWindowEventFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched && watched == m_window)
        return watched->eventFilter(watched, event);
    return QObject::eventFilter(watched, event);
}
