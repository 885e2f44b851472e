#include "network/NetworkWorker.h"

#include <QThread>

NetworkWorker::NetworkWorker()
    : QObject(nullptr), m_thread(new QThread), m_creatorThread(QThread::currentThread())
{
    moveToThread(m_thread);
    m_thread->start(QThread::InheritPriority);
}

NetworkWorker::~NetworkWorker()
{
    shutdownThread();
    delete m_thread;
}

void NetworkWorker::shutdownThread()
{
    if (!m_thread->isRunning())
        return;
    QThread* home = m_creatorThread;
    QMetaObject::invokeMethod(
        this,
        [this, home] {
            releaseResources();
            moveToThread(home);
        },
        Qt::BlockingQueuedConnection);
    m_thread->quit();
    while (!m_thread->wait(5)) {
    }
}
