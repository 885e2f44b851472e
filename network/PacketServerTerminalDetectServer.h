#pragma once

#include "network/NetworkWorker.h"

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>

class QUdpSocket;

// The designer's UDP worker of project distribution, in a thread of its own. Sends invitations
// ("serverConfig" to a panel) and answers "requestServerConfig" datagrams heard on its port with
// the same "serverConfig": {"ip": the first local IPv4 address, "port": the announced TCP port}.
// Every datagram is one DiscoveryDatagram, read on its own; the worker returns to its event loop
// after every few, so it stays stoppable under a flood. Public operations only emit queued
// signals and may be called from any thread.
class PacketServerTerminalDetectServer : public NetworkWorker
{
    Q_OBJECT
public:
    // tcpPort: the port panels are to connect to, as announced in every "serverConfig".
    explicit PacketServerTerminalDetectServer(int tcpPort);
    ~PacketServerTerminalDetectServer() override;

    void startServer(int port) { Q_EMIT internalSig_startServer(port); }
    void stopServer() { Q_EMIT internalSig_stopServer(); }
    // Sends one invitation to sIp:port while listening.
    void inviteConnect(const QString& sIp, int port) { Q_EMIT internalSig_inviteConnect(sIp, port); }

Q_SIGNALS:
    // Private: each is connected to its on_ slot in the worker thread.
    void internalSig_startServer(int port);
    void internalSig_stopServer();
    void internalSig_inviteConnect(QString sIp, int port);

private Q_SLOTS:
    void on_internalSig_startServer(int port);
    void on_internalSig_stopServer();
    void on_internalSig_inviteConnect(QString sIp, int port);
    void onReadyRead();

protected:
    void releaseResources() override;

private:
    void onRequestServerConfigCmd(const QHostAddress& sender, const QString& sCmd, const QJsonObject& params);
    // Sends "serverConfig" to ip:port; an address that does not parse or a port outside
    // 1..65535 sends nothing.
    void replyServerConfig(const QString& sIp, int port);

    int m_port = 0;
    int m_tcpPort;
    QUdpSocket* m_socket = nullptr;
    QUdpSocket* m_sendSocket = nullptr;
    // Receive buffer, one byte longer than any discovery datagram so longer ones show.
    QByteArray m_datagram;
};
