#include "network/PacketTerminalManagerServer.h"

#include "network/PacketServerTerminal.h"

#include <QTcpSocket>

PacketServerTerminal* PacketTerminalManagerServer::terminalOf(const QString& sIp) const
{
    for (auto it = m_terminals.crbegin(); it != m_terminals.crend(); ++it)
        if ((*it)->panelAddress() == sIp)
            return *it;
    return nullptr;
}

void PacketTerminalManagerServer::incomingConnection(qintptr handle)
{
    if (m_terminals.size() >= kMaxTerminals) {
        QTcpSocket refused;
        refused.setSocketDescriptor(handle);
        refused.abort();
        return;
    }
    auto* terminal = new PacketServerTerminal(handle, this);
    const QString ip = terminal->panelAddress();
    connect(terminal, &PacketServerTerminal::issueBegin, this, [this, ip] { Q_EMIT issueBegin(ip); });
    connect(terminal, &PacketServerTerminal::issueProcessing, this,
            [this, ip](double rate) { Q_EMIT issueProcessing(ip, rate); });
    connect(terminal, &PacketServerTerminal::issueComplate, this, [this, ip] { Q_EMIT issueComplate(ip); });
    connect(terminal, &PacketServerTerminal::issueError, this,
            [this, ip](const QString& path) { Q_EMIT issueError(ip, path); });
    connect(terminal, &PacketServerTerminal::issueStop, this, [this, ip] { Q_EMIT issueStop(ip); });
    connect(terminal, &PacketServerTerminal::connectBreak, this,
            &PacketTerminalManagerServer::onTerminalDisconnect);
    m_terminals.append(terminal);
    Q_EMIT terminalAdded(ip);
}

void PacketTerminalManagerServer::onTerminalDisconnect()
{
    auto* terminal = qobject_cast<PacketServerTerminal*>(sender());
    if (!terminal || !m_terminals.removeOne(terminal))
        return;
    // The terminal may be inside one of its own calls (a write that found the link gone).
    terminal->disconnect(this);
    terminal->deleteLater();
    Q_EMIT terminalRemoved(terminal->panelAddress());
}
