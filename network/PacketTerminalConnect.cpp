#include "network/PacketTerminalConnect.h"

#include "network/HostAddressText.h"
#include "network/IRCPacketTerminal.h"
#include "network/RequestManager.h"

#include <QDebug>
#include <QFileInfo>
#include <QTcpSocket>
#include <QTimer>

PacketTerminalConnect::PacketTerminalConnect(int silenceTimeoutMs, int declineQuietMs, int failureQuietMs,
                                             int offerTimeoutMs)
    : m_silenceTimeoutMs(silenceTimeoutMs), m_offerTimeoutMs(offerTimeoutMs), m_gate(declineQuietMs, failureQuietMs)
{
    m_clock.start();
    connect(this, &PacketTerminalConnect::sig_disconnectFromServer, this,
            &PacketTerminalConnect::on_sig_disconnectFromServer);
    connect(this, &PacketTerminalConnect::sig_connectToServer, this,
            &PacketTerminalConnect::on_sig_connectToServer);
    connect(this, &PacketTerminalConnect::sig_setReceiveDir, this,
            &PacketTerminalConnect::on_sig_setReceiveDir);
    connect(this, &PacketTerminalConnect::sig_download, this, &PacketTerminalConnect::on_sig_download);
    connect(this, &PacketTerminalConnect::sig_declineInvitation, this,
            &PacketTerminalConnect::on_sig_declineInvitation);
}

PacketTerminalConnect::~PacketTerminalConnect()
{
    shutdownThread();
}

void PacketTerminalConnect::on_sig_connectToServer(QString sIp, int nPort, QString sSender)
{
    const QString normalised = HostAddressText::normalised(sIp);
    Invitation invitation{normalised.isEmpty() ? sIp : normalised, nPort, HostAddressText::normalised(sSender)};
    if (invitation.sender.isEmpty())
        invitation.sender = invitation.host;
    if (!m_gate.admits(invitation.host, nPort, invitation.sender, m_clock.elapsed()) || startAttempt(invitation))
        return;
    // One designer at a time: the panel stays with the one it has, and keeps other invitations
    // only while an attempt may still fail.
    if (attempt() && !(attempt()->ip == invitation.host && attempt()->port == invitation.port))
        keepWaiting(invitation);
}

bool PacketTerminalConnect::startAttempt(const Invitation& invitation)
{
    if (!connectLink(invitation.host, invitation.port, kConnectTimeoutMs))
        return false;
    m_current = invitation;
    return true;
}

void PacketTerminalConnect::keepWaiting(const Invitation& invitation)
{
    m_waiting.removeIf([&](const Invitation& waiting) { return waiting.sender == invitation.sender; });
    if (m_waiting.size() >= kMaxWaitingInvitations)
        m_waiting.removeFirst();
    m_waiting.append(invitation);
}

void PacketTerminalConnect::attemptFailed(const QString& ip, int port)
{
    m_gate.failed(ip, port, m_current.sender, m_clock.elapsed());
    // The socket may still be winding the attempt up; the next one starts from the event loop.
    if (!m_waiting.isEmpty())
        QMetaObject::invokeMethod(this, &PacketTerminalConnect::followWaitingInvitation,
                                  Qt::QueuedConnection);
}

void PacketTerminalConnect::followWaitingInvitation()
{
    while (!m_waiting.isEmpty() && !attempt()) {
        const Invitation next = m_waiting.takeLast();
        if (!m_gate.admits(next.host, next.port, next.sender, m_clock.elapsed()))
            continue;
        if (!startAttempt(next))
            m_waiting.append(next); // the link is busy after all; the next failure follows it
        return;
    }
}

void PacketTerminalConnect::attachManager(RequestManager* manager)
{
    connect(manager, &IRCRequestManager::cmdReceive, this, &PacketTerminalConnect::onCmdReceive);
    connect(manager, &IRCRequestManager::fileinfoReceive, this, &PacketTerminalConnect::on_fileinfoReceive);
    connect(manager, &IRCRequestManager::fileContentReceive, this,
            &PacketTerminalConnect::on_fileContentReceive);
    connect(manager, &IRCRequestManager::fileReceiveError, this, &PacketTerminalConnect::on_fileReceiveError);
}

void PacketTerminalConnect::linkUp(const QString& address)
{
    // An offer belongs to its connection.
    m_waiting.clear();
    m_linkInvitation = m_current;
    m_linkStartMs = m_clock.elapsed();
    m_offerCame = false;
    m_downloadKey.clear();
    m_accepted = false;
    m_reception.abort();
    watchSilence();
    Q_EMIT serverConnect(address);
}

void PacketTerminalConnect::linkDown()
{
    // The designer took back an offer the user had not answered: like a failed attempt, it is
    // not brought to the user again at once.
    if (!m_downloadKey.isEmpty()) {
        qInfo() << "Project download:" << serverAddress() << "withdrew its offer";
        m_gate.withdrew(serverAddress(), m_linkInvitation.sender, m_clock.elapsed());
        m_downloadKey.clear();
    }
    m_accepted = false;
    m_reception.abort();
    Q_EMIT serverDisconnect();
}

void PacketTerminalConnect::dataDelivered()
{
    watchSilence();
}

void PacketTerminalConnect::onCmdReceive(QString sCmd, QJsonObject params)
{
    if (sCmd == QLatin1String("downloadKey"))
        onDownloadKey(params);
    else if (sCmd == QLatin1String("issueBegin"))
        onIssueBegin(params);
    else if (sCmd == QLatin1String("issueComlate"))
        onIssueComplate();
}

void PacketTerminalConnect::onDownloadKey(const QJsonObject& params)
{
    m_offerCame = true;
    const QString key = params.value(QStringLiteral("value")).toString();
    if (m_reception.isActive() || key.isEmpty() || !QFileInfo(m_receiveDir).isDir())
        return;
    m_downloadKey = key;
    m_accepted = false;
    Q_EMIT receiveDownloadInvitation(serverAddress());
}

void PacketTerminalConnect::onIssueBegin(const QJsonObject& params)
{
    if (!m_accepted || m_reception.isActive()) {
        refuse("a packet the user did not accept", PacketReception::Fault::BadData);
        return;
    }
    bool isNumber = false;
    const qint64 total = params.value(QStringLiteral("totalSize")).toString().toLongLong(&isNumber);
    if (!isNumber) {
        refuse("a packet of no size", PacketReception::Fault::BadData);
        return;
    }
    if (!m_reception.begin(m_receiveDir, total)) {
        refuse("a packet that cannot be received", m_reception.fault());
        return;
    }
    m_accepted = false;
    qInfo() << "Project download: receiving" << total << "bytes from" << serverAddress();
    Q_EMIT receiveBegin();
}

void PacketTerminalConnect::onIssueComplate()
{
    if (!m_reception.isActive())
        return;
    if (!m_reception.commit()) {
        refuse("an incomplete packet", m_reception.fault());
        return;
    }
    qInfo() << "Project download: the packet from" << serverAddress() << "arrived whole";
    Q_EMIT receiveComplate();
}

void PacketTerminalConnect::on_fileinfoReceive(QVariantMap params)
{
    if (!m_reception.isActive())
        refuse("a file the user did not accept", PacketReception::Fault::BadData);
    else if (!m_reception.openFile(params))
        refuse("a file that cannot be received", m_reception.fault());
}

void PacketTerminalConnect::on_fileContentReceive(QByteArray data, bool complate, QVariantMap params)
{
    if (!m_reception.write(params, data, complate)) {
        refuse("file content that cannot be received", m_reception.fault());
        return;
    }
    Q_EMIT receiveProcess(m_reception.rate());
}

void PacketTerminalConnect::on_fileReceiveError(QVariantMap params)
{
    Q_UNUSED(params);
    if (m_reception.isActive())
        refuse("a broken file", PacketReception::Fault::BadData);
}

void PacketTerminalConnect::refuse(const char* reason, PacketReception::Fault fault)
{
    qWarning() << "Project download: link to" << serverAddress() << "closed on" << reason;
    switch (fault) {
    case PacketReception::Fault::None:
        break;
    case PacketReception::Fault::BadData:
        Q_EMIT receiveFailed(IRCPacketTerminal::EReceiveFault_BadData);
        break;
    case PacketReception::Fault::NoSpace:
        Q_EMIT receiveFailed(IRCPacketTerminal::EReceiveFault_NoSpace);
        break;
    case PacketReception::Fault::WriteFailed:
        Q_EMIT receiveFailed(IRCPacketTerminal::EReceiveFault_WriteFailed);
        break;
    }
    m_reception.abort();
    m_accepted = false;
    // The offer goes with the link, over this side's fault finding, not the designer's withdrawal.
    m_downloadKey.clear();
    // Nothing more of what the designer sent may reach this worker.
    dropManager();
    if (socket())
        socket()->abort();
}

void PacketTerminalConnect::on_sig_download()
{
    if (m_reception.isActive() || m_downloadKey.isEmpty() || !manager())
        return;
    manager()->sendCmd(QStringLiteral("download"), QJsonObject(), QVariant());
    // A key answers one offer: the designer takes one "download" per key.
    m_downloadKey.clear();
    m_accepted = true;
    watchSilence();
}

void PacketTerminalConnect::on_sig_declineInvitation()
{
    // Only an offer still unanswered names a designer: it came on the latest link.
    if (!m_downloadKey.isEmpty())
        declineCurrent();
    m_downloadKey.clear();
    on_sig_disconnectFromServer();
}

void PacketTerminalConnect::declineCurrent()
{
    m_gate.declined(serverAddress(), m_clock.elapsed());
    // Another host may have named this designer in a forged invitation: it does not rest for it.
    if (m_linkInvitation.sender == m_linkInvitation.host)
        m_gate.declined(m_linkInvitation.sender, m_clock.elapsed());
}

void PacketTerminalConnect::on_sig_setReceiveDir(QString sDirPath)
{
    m_receiveDir = sDirPath;
}

void PacketTerminalConnect::on_sig_disconnectFromServer()
{
    // Ended here: an offer still unanswered was not withdrawn.
    m_downloadKey.clear();
    m_waiting.clear();
    closeLink();
}

void PacketTerminalConnect::watchSilence()
{
    // An offer not yet answered: the user is being asked.
    if (!m_downloadKey.isEmpty()) {
        linkTimer()->stop();
        return;
    }
    int timeoutMs = m_silenceTimeoutMs;
    // Bytes trickling in do not extend the time the offer may take.
    if (!m_offerCame)
        timeoutMs = int(qBound(qint64(0), m_linkStartMs + m_offerTimeoutMs - m_clock.elapsed(), qint64(timeoutMs)));
    linkTimer()->start(timeoutMs);
}

void PacketTerminalConnect::linkTimeout()
{
    if (socket()->state() == QAbstractSocket::ConnectedState) {
        // A designer that holds the one link and says nothing is treated as turned down, so that
        // inviting again as its link ends does not take the link straight back.
        declineCurrent();
        refuse(m_offerCame ? "silence" : "an offer that did not come in time", PacketReception::Fault::None);
    } else {
        FramedClientWorker::linkTimeout();
    }
}

void PacketTerminalConnect::releaseResources()
{
    m_reception.abort();
    FramedClientWorker::releaseResources();
}
