#pragma once

#include "actions/RCAction.h"

#include <QThread>

class QSoundEffect;

// Plays the click sound "qrc:/click.wav" on a thread of its own, so that a tap never waits for the
// sound back end: execute only queues sig_play and answers 0. The action object lives in that
// thread from construction on; its sound effect is made there on the first click and reused. A
// missing sound file or audio device only costs a log line of the back end.
//
// Destruction (from the thread that made it, after that thread's last execute): the sound effect
// is deleted in the action's thread, then the thread is asked to quit and awaited.
class RCAction_PlayClickSound : public RCAction
{
    Q_OBJECT

public:
    explicit RCAction_PlayClickSound(IRCActionManager* manager);
    ~RCAction_PlayClickSound() override;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;

Q_SIGNALS:
    void sig_play();

private Q_SLOTS:
    void on_sig_play();

private:
    // Made, used and deleted in m_thread only.
    QSoundEffect* m_soundEffect = nullptr;
    QThread m_thread;
};
