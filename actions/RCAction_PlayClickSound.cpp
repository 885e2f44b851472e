#include "actions/RCAction_PlayClickSound.h"

#include <QSoundEffect>
#include <QUrl>

RCAction_PlayClickSound::RCAction_PlayClickSound(IRCActionManager* manager) : RCAction(manager)
{
    m_thread.setObjectName(QStringLiteral("clickSound"));
    moveToThread(&m_thread);
    connect(this, &RCAction_PlayClickSound::sig_play, this, &RCAction_PlayClickSound::on_sig_play);
    m_thread.start(QThread::InheritPriority);
}

RCAction_PlayClickSound::~RCAction_PlayClickSound()
{
    if (m_thread.isRunning()) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                delete m_soundEffect;
                m_soundEffect = nullptr;
            },
            Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
}

int RCAction_PlayClickSound::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                     const QVariant& /*data*/)
{
    Q_EMIT sig_play();
    return 0;
}

void RCAction_PlayClickSound::on_sig_play()
{
    if (!m_soundEffect) {
        m_soundEffect = new QSoundEffect;
        m_soundEffect->setSource(QUrl(QStringLiteral("qrc:/click.wav")));
    }
    m_soundEffect->play();
}
