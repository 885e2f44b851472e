#include "actions/RCScriptProcess.h"

#include "actions/RCScriptProcessThread.h"

RCScriptProcess::RCScriptProcess(QObject* parent) : QObject(parent), m_worker(new RCScriptProcessThread)
{
    connect(m_worker, &RCScriptProcessThread::busyingChanged, this, [this](bool busying) {
        m_busying = busying;
        Q_EMIT busyingChanged(busying);
    });
    connect(m_worker, &RCScriptProcessThread::sceneItemExcute, this, &RCScriptProcess::sceneItemExcute);
}

RCScriptProcess::~RCScriptProcess()
{
    // The worker's thread has ended once stop() returns, so the worker can go at once: a deferred
    // deletion would be posted to a thread that no longer runs.
    m_worker->stop();
    delete m_worker;
}

void RCScriptProcess::excute(const QString& script)
{
    if (m_busying)
        return;
    Q_EMIT m_worker->sig_excute(script);
}
