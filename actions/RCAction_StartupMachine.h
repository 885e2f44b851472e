#pragma once

#include "actions/RCAction.h"

#include <QByteArray>
#include <QHostAddress>

// Wakes the machine of the item's "MacAddress" by Wake-on-LAN: one UDP datagram of six 0xFF bytes
// followed by the six address bytes sixteen times (102 bytes), sent to the target (the IPv4
// broadcast address, port 55555, unless given). The address is six hexadecimal bytes separated by
// "-" or ":" or written without separator; anything else answers -1 and sends nothing. The datagram
// goes out once from a socket bound to each local IPv4 address (LocalAddresses), so that it leaves
// on a LAN without a gateway, or from an unbound socket when there is none; each datagram that
// cannot be sent is logged, and -1 answers that none was. Needs neither the project nor the
// control link; the sockets live only for the call.
class RCAction_StartupMachine : public RCAction
{
public:
    static constexpr quint16 kDefaultPort = 55555;

    explicit RCAction_StartupMachine(IRCActionManager* manager,
                                     const QHostAddress& target = QHostAddress(QHostAddress::Broadcast),
                                     quint16 port = kDefaultPort);

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;

    // The six bytes of a MAC address text; empty when the text is not one.
    static QByteArray parseMacAddress(const QString& text);

private:
    QHostAddress m_target;
    quint16 m_port;
};
