#pragma once

#include <QMutex>
#include <QObject>
#include <QString>
#include <QWaitCondition>

class QThread;

// Interprets item scripts on a thread of its own, so that their waits never block the interface.
// A script is a list of statements separated by ";": "执行(scene name,item name)" announces
// sceneItemExcute, "等待(milliseconds)" waits; full-width "；（），" count as their plain forms and
// line feeds, tabs and spaces are ignored. Anything else is skipped silently. A wait whose
// argument is not a number waits 0 ms; a negative wait is skipped and one longer than kMaxWaitMs
// is cut to it, each with a warning.
//
// The worker makes its thread, moves itself into it and starts it when it is constructed; scripts
// handed over with sig_excute run there one after the other, each framed by busyingChanged(true)
// and busyingChanged(false). stop() interrupts a running wait, drops the scripts not yet run and
// ends the thread; the worker may then be deleted from the thread that made it.
class RCScriptProcessThread : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 kMaxWaitMs = 60LL * 60 * 1000;

    RCScriptProcessThread();
    // Stops first when stop() was not called.
    ~RCScriptProcessThread() override;

    // Returns once the worker's thread has ended. Never call it from that thread.
    void stop();

    // The milliseconds of a wait argument, kept within 0 and kMaxWaitMs; -1 for a negative one.
    static qint64 waitMilliseconds(const QString& argument);

Q_SIGNALS:
    void sig_excute(const QString& script);
    void busyingChanged(bool);
    void sceneItemExcute(const QString& sceneName, const QString& sceneItemName);

public Q_SLOTS:
    void on_sig_excute(const QString& script);

private:
    bool isStopping();
    // Sleeps ms milliseconds unless stop() comes first; false when stopped.
    bool sleepFor(qint64 ms);

    QThread* m_thread = nullptr;
    QMutex m_mutex;
    QWaitCondition m_wake;
    bool m_stopping = false;
};
