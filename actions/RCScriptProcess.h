#pragma once

#include <QObject>
#include <QString>

class RCScriptProcessThread;

// The script runner of one script button: hands the item's script to its worker
// (RCScriptProcessThread), which runs it on a thread of its own, and relays the worker's notices
// to the GUI thread. A script handed over while the runner is busy is dropped. Destroying the
// runner (a scene switch, the program closing) interrupts a running wait, ends the worker's thread
// and deletes the worker; it returns as soon as the thread has ended.
//
// Created by QML ("Rc.RCScriptProcess" 1.0) without a parent; owns its worker. GUI thread only.
class RCScriptProcess : public QObject
{
    Q_OBJECT

public:
    explicit RCScriptProcess(QObject* parent = nullptr);
    ~RCScriptProcess() override;

    Q_INVOKABLE void excute(const QString& script);

Q_SIGNALS:
    void busyingChanged(bool busying);
    void sceneItemExcute(const QString& sceneName, const QString& sceneItemName);

private:
    RCScriptProcessThread* m_worker = nullptr;
    // Written only from the worker's notices.
    bool m_busying = false;
};
