#pragma once

#include "network/IRCPacketServer.h"

#include <QMap>

class PacketServerTerminalDetectServer;
class PacketTerminalManagerServer;
class QTimer;

// The designer side of project distribution. While started it owns a UDP worker (invitations and
// discovery answers, kDetectPort) and a TCP server (kTcpPort) with one terminal per panel.
//
// issue(ip, folder) goes at once to a connected panel with that address; otherwise the issue waits
// under the address, the panel is invited on kInvitationPort and connectTimeout follows when no
// panel of that address connected within kInvitationTimeoutMs (the issue still waits). Addresses
// are compared as HostAddressText writes them; an address that does not parse, or a folder
// without a file to send, is refused at once with issueError.
//
// GUI thread; created by the project root without a parent, never owned by QML.
class PacketServer : public IRCPacketServer
{
    Q_OBJECT
public:
    static constexpr int kDetectPort = 36546;
    static constexpr int kTcpPort = 36547;
    static constexpr int kInvitationPort = 36548;
    static constexpr int kInvitationTimeoutMs = 5000;

    explicit PacketServer(QObject* parent = nullptr);
    ~PacketServer() override;

    // The ports of the next start: the UDP port heard, the TCP port (0 picks a free one) and the
    // panels' invitation port.
    void setPorts(int nDetectPort, int nTcpPort, int nInvitationPort);
    // The TCP port listened on; 0 while stopped.
    int serverPort() const;

    void startServer() override;
    void stopServer() override;
    void issue(QString sIp, QString sFolderPath) override;
    bool enableIssue(QString sIp) override;
    void stopIssue(QString sIp) override;
    QString getOldIssuIp() const override;

Q_SIGNALS:
    // Private: each is connected directly to its on_ slot.
    void sig_startServer();
    void sig_stopServer();
    void sig_issue(QString sIp, QString sFolderPath);
    void sig_stopIssue(QString sIp);

private Q_SLOTS:
    void on_sig_startServer();
    void on_sig_stopServer();
    void on_sig_issue(QString sIp, QString sFolderPath);
    void on_sig_stopIssue(QString sIp);
    void onTerminalAdded(QString sIp);

private:
    struct Invitation
    {
        QTimer* timer = nullptr;
        // The address as given to the latest issue that started the timer.
        QString givenIp;
    };

    void invite(const QString& sIp, const QString& sGivenIp);

    PacketServerTerminalDetectServer* m_detect = nullptr;
    PacketTerminalManagerServer* m_server = nullptr;
    // Packet folders waiting for a panel to connect, by panel address.
    QMap<QString, QString> m_pendingIssues;
    QMap<QString, Invitation> m_invitations;
    QString m_lastIssueIp;
    int m_detectPort = kDetectPort;
    int m_tcpPort = kTcpPort;
    int m_invitationPort = kInvitationPort;
};
