#include "actions/RCAction_StartupMachine.h"

#include "model/RCKeys.h"
#include "network/LocalAddresses.h"

#include <QRegularExpression>
#include <QUdpSocket>

namespace {
constexpr int kMacBytes = 6;
constexpr int kRepeats = 16;
} // namespace

RCAction_StartupMachine::RCAction_StartupMachine(IRCActionManager* manager, const QHostAddress& target,
                                                 quint16 port)
    : RCAction(manager), m_target(target), m_port(port)
{
}

QByteArray RCAction_StartupMachine::parseMacAddress(const QString& text)
{
    // Six pairs with one kind of separator throughout, or twelve digits in a row.
    static const QRegularExpression kPattern(
        QStringLiteral("^([0-9A-Fa-f]{2})([-:]?)([0-9A-Fa-f]{2})\\2([0-9A-Fa-f]{2})\\2([0-9A-Fa-f]{2})\\2([0-"
                       "9A-Fa-f]{2})\\2([0-9A-Fa-f]{2})$"));
    const QRegularExpressionMatch match = kPattern.match(text.trimmed());
    if (!match.hasMatch())
        return QByteArray();
    QByteArray mac;
    for (int group : {1, 3, 4, 5, 6, 7})
        mac.append(char(match.capturedView(group).toUInt(nullptr, 16)));
    Q_ASSERT(mac.size() == kMacBytes);
    return mac;
}

int RCAction_StartupMachine::execute(const QString& sceneId, const QString& sceneItemId,
                                     const QVariant& /*data*/)
{
    const QByteArray mac = parseMacAddress(itemValue(sceneId, sceneItemId, RCKeys::MacAddress()).toString());
    if (mac.isEmpty())
        return -1;
    QByteArray packet(kMacBytes, char(0xFF));
    for (int i = 0; i < kRepeats; ++i)
        packet.append(mac);
    // From each local address, as discovery probes go: a limited broadcast from an unbound socket
    // has no route on a LAN without a gateway.
    QStringList sources = LocalAddresses::localIPv4Addresses();
    if (sources.isEmpty())
        sources << QString();
    int sent = 0;
    for (const QString& source : std::as_const(sources)) {
        QUdpSocket socket;
        if (!source.isEmpty() && !socket.bind(QHostAddress(source), 0)) {
            qWarning("Wake-on-LAN: cannot send from %s: %s", qPrintable(source),
                     qPrintable(socket.errorString()));
            continue;
        }
        if (socket.writeDatagram(packet, m_target, m_port) == packet.size())
            ++sent;
        else
            qWarning("Wake-on-LAN datagram from %s to %s port %u not sent: %s",
                     qPrintable(source.isEmpty() ? QStringLiteral("any address") : source),
                     qPrintable(m_target.toString()), unsigned(m_port), qPrintable(socket.errorString()));
    }
    return sent > 0 ? 0 : -1;
}
