#pragma once

#include <QList>
#include <QTcpServer>

class PacketServerTerminal;

// The designer's TCP server of project distribution: one PacketServerTerminal (its child) per
// connected panel, at most kMaxTerminals at once; further connections are closed at once. Relays
// the terminals' signals with the panel's address put first. GUI thread; owned by PacketServer.
class PacketTerminalManagerServer : public QTcpServer
{
    Q_OBJECT
public:
    static constexpr int kMaxTerminals = 16;

    using QTcpServer::QTcpServer;

    // In order of acceptance.
    const QList<PacketServerTerminal*>& terminals() const { return m_terminals; }
    // The latest accepted terminal whose panel address is sIp (as HostAddressText writes it), or
    // null: a panel that connects again is served on its new connection.
    PacketServerTerminal* terminalOf(const QString& sIp) const;

Q_SIGNALS:
    void terminalAdded(QString sIp);
    void terminalRemoved(QString sIp);
    void issueBegin(QString sIp);
    void issueProcessing(QString sIp, double rate);
    void issueComplate(QString sIp);
    void issueError(QString sIp, QString sErrorFilePath);
    void issueStop(QString sIp);

protected:
    void incomingConnection(qintptr handle) override;

private Q_SLOTS:
    void onTerminalDisconnect();

private:
    QList<PacketServerTerminal*> m_terminals;
};
