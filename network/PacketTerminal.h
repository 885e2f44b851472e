#pragma once

#include "network/IRCPacketTerminal.h"

class PacketTerminalConnect;
class PacketTerminalDetect;

// The panel side of project distribution: while started, a listener for invitations
// (kInvitationPort) and a connection worker, each in a thread of its own, whose signals it
// relays in the GUI thread. Signals a worker queued before stopServer() are discarded.
// GUI thread; created by the project root without a parent, never owned by QML.
class PacketTerminal : public IRCPacketTerminal
{
    Q_OBJECT
public:
    static constexpr int kInvitationPort = 36548;

    explicit PacketTerminal(QObject* parent = nullptr);
    ~PacketTerminal() override;

    // The UDP port the next start listens on for invitations.
    void setInvitationPort(int port);

    void startServer() override;
    void stopServer() override;
    QString getConnectIp() const override;
    void stopReceive() override;
    void setReceiveDir(QString sDirPath) override;
    void download() override;
    void declineInvitation() override;

private Q_SLOTS:
    void onServerDetected(QString sIp, int port, QString sSender);
    void onServerConnect(QString sIp);
    void onServerDisconnect();
    void on_receiveBegin();
    void on_receiveProcess(double rate);
    void on_receiveComplate();

private:
    PacketTerminalDetect* m_detect = nullptr;
    PacketTerminalConnect* m_connect = nullptr;
    QString m_receiveDir;
    int m_invitationPort = kInvitationPort;
    // Bumped whenever the workers go; their signals queued under an older value are ignored.
    quint64 m_generation = 0;
};
