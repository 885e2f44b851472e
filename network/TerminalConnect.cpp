#include "network/TerminalConnect.h"

#include "network/LinkKeepAlive.h"
#include "network/RequestManager.h"

#include <QTcpSocket>
#include <QTimer>

TerminalConnect::TerminalConnect()
{
    connect(this, &TerminalConnect::sig_disconnectFromServer, this,
            &TerminalConnect::on_sig_disconnectFromServer);
    connect(this, &TerminalConnect::sig_connectToServer, this, &TerminalConnect::on_sig_connectToServer);
    connect(this, &TerminalConnect::sig_sendCmd, this, &TerminalConnect::on_sig_sendCmd);
    connect(this, &TerminalConnect::sig_sendFile, this, &TerminalConnect::on_sig_sendFile);
    connect(this, &TerminalConnect::sig_resumeReading, this, &TerminalConnect::on_sig_resumeReading);
}

TerminalConnect::~TerminalConnect()
{
    shutdownThread();
}

void TerminalConnect::connectToServer(const QString& sIp, int nPort)
{
    Q_EMIT sig_connectToServer(sIp, nPort);
}

void TerminalConnect::disconnectFromServer()
{
    Q_EMIT sig_disconnectFromServer();
}

void TerminalConnect::sendCmd(const QString& sCmd, const QJsonObject& params)
{
    Q_EMIT sig_sendCmd(sCmd, params);
}

void TerminalConnect::sendFile(const QString& sFilePath, const QJsonObject& params)
{
    Q_EMIT sig_sendFile(sFilePath, params);
}

void TerminalConnect::on_sig_connectToServer(QString sIp, int nPort)
{
    if (connectLink(sIp, nPort, kConnectTimeoutMs)) {
        m_targetIp = sIp;
        m_targetPort = nPort;
    }
}

void TerminalConnect::attemptFailed(const QString& ip, int port)
{
    // The socket's error is set before it reports the end of the attempt; an attempt abandoned
    // here has none of its own.
    const bool refused = !m_attemptAbandoned && socket()->error() == QAbstractSocket::ConnectionRefusedError;
    Q_EMIT connectFailed(ip, port, refused);
}

void TerminalConnect::deliveryTaken()
{
    if (m_pacer.take())
        Q_EMIT sig_resumeReading();
}

void TerminalConnect::on_sig_resumeReading()
{
    readIncoming();
}

bool TerminalConnect::mayRead() const
{
    return m_pacer.mayRead();
}

void TerminalConnect::attachManager(RequestManager* manager)
{
    // Each delivery is counted before it is queued for the receiver; an error report weighs as
    // little as a short command.
    connect(manager, &IRCRequestManager::cmdReceive, this,
            [this, manager](const QString& sCmd, const QJsonObject& params) {
                received(sCmd);
                m_pacer.add(manager->deliveringSize());
                Q_EMIT receiveCmd(sCmd, params);
            });
    connect(manager, &IRCRequestManager::fileContentReceive, this,
            [this](const QByteArray& data, bool complate, const QVariantMap& params) {
                if (complate)
                    received(QString());
                m_pacer.add(data.size());
                Q_EMIT fileContentReceive(data, complate, params);
            });
    connect(manager, &IRCRequestManager::fileReceiveError, this, [this](const QVariantMap& params) {
        m_pacer.add(1);
        Q_EMIT fileReceiveError(params);
    });
    connect(manager, &IRCRequestManager::fileContentSend, this, &TerminalConnect::fileContentSend);
    connect(manager, &IRCRequestManager::fileSendError, this, &TerminalConnect::fileSendError);
}

void TerminalConnect::linkUp(const QString& address)
{
    QString error;
    if (!LinkKeepAlive().applyTo(socket()->socketDescriptor(), &error))
        qWarning("Control link to %s: keep-alive not set (%s); a vanished server may go unnoticed",
                 qPrintable(address), qPrintable(error));
    socket()->setReadBufferSize(kReadBufferBytes);
    m_requested = false;
    m_answered = false;
    // A coarse timer may run out up to 5% early: 9.5 s for 10.
    linkTimer()->setTimerType(Qt::PreciseTimer);
    linkTimer()->start(answerTimeoutMs());
    Q_EMIT socketConnected(address);
}

void TerminalConnect::received(const QString& cmd)
{
    if (!m_answered &&
        (m_requested || cmd == QLatin1String("connectVerifyAsk") || cmd == QLatin1String("passwordError")))
        answered();
}

void TerminalConnect::answered()
{
    m_answered = true;
    linkTimer()->stop();
    const QString endpoint = targetEndpoint();
    m_slowEndpoints.removeIf([&](const QPair<QString, int>& slow) { return slow.first == endpoint; });
}

QString TerminalConnect::targetEndpoint() const
{
    return m_targetIp + QLatin1Char('#') + QString::number(m_targetPort);
}

int TerminalConnect::answerTimeoutMs() const
{
    const QString endpoint = targetEndpoint();
    int timeoutMs = kFirstAnswerTimeoutMs;
    for (const QPair<QString, int>& slow : m_slowEndpoints) {
        for (int i = 0; slow.first == endpoint && i < slow.second && timeoutMs < kMaxAnswerTimeoutMs; ++i)
            timeoutMs *= 2;
    }
    return qMin(timeoutMs, kMaxAnswerTimeoutMs);
}

void TerminalConnect::linkTimeout()
{
    if (socket()->state() != QAbstractSocket::ConnectedState) {
        m_attemptAbandoned = true;
        FramedClientWorker::linkTimeout();
        m_attemptAbandoned = false;
        return;
    }
    if (m_answered) {
        FramedClientWorker::linkTimeout();
        return;
    }
    qWarning("Control link to %s: no answer from the server in %d s; given up", qPrintable(serverAddress()),
             answerTimeoutMs() / 1000);
    const QString endpoint = targetEndpoint();
    int givenUp = 1;
    for (qsizetype i = 0; i < m_slowEndpoints.size(); ++i) {
        if (m_slowEndpoints.at(i).first == endpoint) {
            givenUp += m_slowEndpoints.takeAt(i).second;
            break;
        }
    }
    if (m_slowEndpoints.size() >= kMaxSlowEndpoints)
        m_slowEndpoints.removeFirst();
    m_slowEndpoints.append({endpoint, givenUp});
    // Nothing it sent is wanted now; the end is reported first, then the failure.
    dropManager();
    socket()->abort();
    Q_EMIT connectFailed(m_targetIp, m_targetPort, true);
}

void TerminalConnect::linkDown()
{
    Q_EMIT socketDisconnect();
}

void TerminalConnect::on_sig_disconnectFromServer()
{
    closeLink();
}

void TerminalConnect::on_sig_sendCmd(QString sCmd, QJsonObject params)
{
    if (!manager())
        return;
    m_requested = true;
    manager()->sendCmd(sCmd, params, QVariant());
}

void TerminalConnect::on_sig_sendFile(QString sFilePath, QJsonObject params)
{
    if (!manager())
        return;
    m_requested = true;
    manager()->sendFile(sFilePath, params);
}
