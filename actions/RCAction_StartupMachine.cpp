#include "actions/RCAction_StartupMachine.h"

#include "model/RCKeys.h"

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
    QUdpSocket socket;
    const qint64 sent = socket.writeDatagram(packet, m_target, m_port);
    socket.close();
    return sent == packet.size() ? 0 : -1;
}
