#include "cloud/TavixProjectCloudClient.h"

#include "cloud/TavixCloudRelayUrl.h"
#include "cloud/TavixProjectCloudClientCmdProcess.h"
#include "cloud/TavixProjectCloudConnectWork.h"

#include <QCoreApplication>
#include <QJSEngine>

namespace {
TavixProjectCloudClient* s_instance = nullptr;
}

TavixProjectCloudClient* TavixProjectCloudClient::instance()
{
    if (!s_instance) {
        s_instance = new TavixProjectCloudClient;
        qAddPostRoutine(&TavixProjectCloudClient::destroyInstance);
    }
    return s_instance;
}

void TavixProjectCloudClient::destroyInstance()
{
    delete s_instance;
    s_instance = nullptr;
}

TavixProjectCloudClient::TavixProjectCloudClient()
    : QObject(nullptr), m_worker(new TavixProjectCloudConnectWork(TavixCloudRelayUrl::resolve(QString())))
{
    QJSEngine::setObjectOwnership(this, QJSEngine::CppOwnership);
    new TavixProjectCloudClientCmdProcess(this, this);
    connect(m_worker, &TavixProjectCloudConnectWork::joinSuccess, this,
            &TavixProjectCloudClient::joinSuccess);
    connect(m_worker, &TavixProjectCloudConnectWork::joinError, this, &TavixProjectCloudClient::joinError);
    connect(m_worker, &TavixProjectCloudConnectWork::exitSuccess, this,
            &TavixProjectCloudClient::exitSuccess);
    // The worker reads on only as its commands are handled here.
    connect(m_worker, &TavixProjectCloudConnectWork::receiveCmd, this,
            [this](const QString& cmdType, const QJsonValue& cmdParams, const QString& sender) {
                Q_EMIT receiveCmd(cmdType, cmdParams, sender);
                m_worker->deliveryTaken();
            });
}

TavixProjectCloudClient::~TavixProjectCloudClient()
{
    delete m_worker;
}

void TavixProjectCloudClient::setRelayUrl(const QUrl& url)
{
    m_worker->setRelayUrl(url);
}

QUrl TavixProjectCloudClient::relayUrl() const
{
    return m_worker->relayUrl();
}

void TavixProjectCloudClient::setHeartbeatInterval(int msec)
{
    m_worker->setHeartbeatInterval(msec);
}

bool TavixProjectCloudClient::isLoginRefusal(const QString& error)
{
    return TavixProjectCloudConnectWork::isLoginRefusal(error);
}

void TavixProjectCloudClient::joinProject(const QString& projectUid, const QString& verificationCode)
{
    this->projectUid = projectUid;
    password = verificationCode;
    Q_EMIT tryJoin(projectUid, verificationCode);
    Q_EMIT m_worker->sig_joinProject(projectUid, verificationCode);
}

void TavixProjectCloudClient::exitProject()
{
    Q_EMIT m_worker->sig_exitProject();
}

void TavixProjectCloudClient::sendCmd(const QString& cmdType, const QJsonObject& params,
                                      const QString& receiver)
{
    Q_EMIT m_worker->sig_sendCmd(cmdType, params, receiver);
}

bool TavixProjectCloudClient::isJoinProject()
{
    return m_worker->isJoinProject();
}

QString TavixProjectCloudClient::getProjectUid() const
{
    return projectUid;
}

QString TavixProjectCloudClient::getProjectPassword() const
{
    return password;
}
