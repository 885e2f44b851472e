#pragma once

#include "network/FramedClientWorker.h"
#include "network/InvitationGate.h"
#include "network/PacketReception.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QVariantMap>


// The panel's connection worker of project distribution, in a thread of its own: connects to the
// designer that invited it, reports its offer ("downloadKey") and, once the user accepted (the
// local download()), receives the packet through a PacketReception beside the receive folder.
// receiveComplate hands the received folder (PacketReception::receivedPathOf) over to its
// receiver, who installs or discards it.
//
// One designer at a time: invitations while connected are dropped. While an attempt is under way
// the latest invitation of each other sending host waits (at most kMaxWaitingInvitations, the
// oldest dropped first), and if the attempt fails the latest one still admitted is followed. An
// attempt that does not connect within kConnectTimeoutMs is abandoned, and that address and port,
// and the host whose invitation named them, rest for the failure quiet time; a designer whose offer
// the user turned down (declineInvitation) is not followed for the decline quiet time
// (InvitationGate). Anything the designer sends out of turn or out of bounds (a file or
// "issueBegin" before the user accepted, a refused path, a size that does not add up, a file that
// cannot be written) ends the link, the packet received so far is dropped, and receiveFailed names
// the fault first. A designer whose offer has not arrived whole within the offer timeout of the
// link's start (however it trickles), or that sends nothing for the silence timeout, is dropped,
// except while the user is being asked, and then rests as a declined one does; the host that
// invited the panel to it rests with it only when it is that designer. A designer that ends the
// link while its offer waits for the user's answer rests as after a failed attempt.
//
// Public operations only emit queued signals and may be called from any thread.
class PacketTerminalConnect : public FramedClientWorker
{
    Q_OBJECT
public:
    static constexpr int kConnectTimeoutMs = 2000;
    static constexpr int kSilenceTimeoutMs = 60000;
    static constexpr int kOfferTimeoutMs = 5000;
    static constexpr int kDeclineQuietMs = 60000;
    static constexpr int kFailureQuietMs = 10000;
    static constexpr int kMaxWaitingInvitations = 16;

    explicit PacketTerminalConnect(int silenceTimeoutMs = kSilenceTimeoutMs,
                                   int declineQuietMs = kDeclineQuietMs,
                                   int failureQuietMs = kFailureQuietMs, int offerTimeoutMs = kOfferTimeoutMs);
    ~PacketTerminalConnect() override;

    // An invitation naming sIp:nPort, sent by host sSender (empty: by sIp itself).
    void connectToServer(const QString& sIp, int nPort, const QString& sSender = QString())
    {
        Q_EMIT sig_connectToServer(sIp, nPort, sSender);
    }
    void disconnectFromServer() { Q_EMIT sig_disconnectFromServer(); }
    void setReceiveDir(const QString& sDirPath) { Q_EMIT sig_setReceiveDir(sDirPath); }
    void download() { Q_EMIT sig_download(); }
    // The user turned down the latest offer: the link ends and that designer is not followed for
    // the decline quiet time.
    void declineInvitation() { Q_EMIT sig_declineInvitation(); }

Q_SIGNALS:
    // Private: each is connected to its on_ slot in the worker thread.
    void sig_disconnectFromServer();
    void sig_connectToServer(QString sIp, int nPort, QString sSender);
    void sig_setReceiveDir(QString sDirPath);
    void sig_download();
    void sig_declineInvitation();

    void serverConnect(QString sIp);
    void serverDisconnect();
    void receiveDownloadInvitation(QString sIp);
    void receiveBegin();
    void receiveProcess(double rate);
    void receiveComplate();
    // fault: an IRCPacketTerminal::EReceiveFault; serverDisconnect follows.
    void receiveFailed(int fault);

private Q_SLOTS:
    void onCmdReceive(QString sCmd, QJsonObject params);
    void on_fileinfoReceive(QVariantMap params);
    void on_fileContentReceive(QByteArray data, bool complate, QVariantMap params);
    void on_fileReceiveError(QVariantMap params);
    void on_sig_disconnectFromServer();
    void on_sig_connectToServer(QString sIp, int nPort, QString sSender);
    void on_sig_setReceiveDir(QString sDirPath);
    void on_sig_download();
    void on_sig_declineInvitation();

protected:
    void attachManager(RequestManager* manager) override;
    void linkUp(const QString& address) override;
    void linkDown() override;
    void dataDelivered() override;
    // Ends an attempt that does not connect, and a link that stays silent.
    void linkTimeout() override;
    // The address and port rest, and a waiting invitation is followed.
    void attemptFailed(const QString& ip, int port) override;
    void releaseResources() override;

private:
    void onDownloadKey(const QJsonObject& params);
    void onIssueBegin(const QJsonObject& params);
    void onIssueComplate();
    // Ends the link over a fault (reported unless None); the reception is dropped.
    void refuse(const char* reason, PacketReception::Fault fault);
    // Runs the silence watchdog unless the user is being asked; until the offer came, no later
    // than the offer timeout after the link's start.
    void watchSilence();
    void followWaitingInvitation();
    // The designer of the link rests as turned down, and the host that invited the panel to it
    // when that is the designer itself.
    void declineCurrent();

    struct Invitation
    {
        QString host;
        int port = 0;
        // The host whose datagram it was.
        QString sender;
    };

    bool startAttempt(const Invitation& invitation);
    void keepWaiting(const Invitation& invitation);

    int m_silenceTimeoutMs;
    int m_offerTimeoutMs;
    // When the latest link came up, on m_clock.
    qint64 m_linkStartMs = 0;
    // The latest link's designer has sent its offer ("downloadKey") whole.
    bool m_offerCame = false;
    // The key of the latest link's offer while the user is asked about it; empty otherwise.
    QString m_downloadKey;
    QString m_receiveDir;
    // "download" was sent for the current offer; "issueBegin" may come.
    bool m_accepted = false;
    PacketReception m_reception;
    InvitationGate m_gate;
    QElapsedTimer m_clock;
    // Oldest first; one per sender.
    QList<Invitation> m_waiting;
    // The invitation of the latest attempt started.
    Invitation m_current;
    // The invitation of the latest link.
    Invitation m_linkInvitation;
};
