#pragma once

#include <QObject>

class QThread;

// Base of the network workers: an object that lives in a thread of its own and
// is driven only through queued signals. The constructor moves the worker into
// its new thread and starts it with the creator's priority. A derived class calls
// shutdownThread() first thing in its destructor: its resources are released
// inside the worker thread (releaseResources), the worker is handed back to the
// creator's thread, the thread is asked to quit and is awaited (polled every 5 ms).
// Destroy a worker from the thread that created it.
class NetworkWorker : public QObject
{
    Q_OBJECT
public:
    ~NetworkWorker() override;

    QThread* workerThread() const { return m_thread; }

protected:
    NetworkWorker();

    void shutdownThread();
    // Runs in the worker thread during shutdownThread(): destroy sockets, timers and
    // everything else created in the thread.
    virtual void releaseResources() {}

private:
    QThread* m_thread;
    QThread* m_creatorThread;
};
