#include "DistributionPeers.h"

#include "network/PacketTerminal.h"
#include "support/FileTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

DistributionPeers::DistributionPeers(QObject* parent) : QObject(parent) {}

DistributionPeers::~DistributionPeers() = default;

bool DistributionPeers::designerInvite()
{
    // A designer turned down is left alone for a while: each test gets one of its own.
    m_designer =
        std::make_unique<ScriptedDesigner>(QHostAddress(QStringLiteral("127.0.0.%1").arg(m_nextDesigner)));
    m_nextDesigner = m_nextDesigner % 250 + 1;
    return m_designer->invite(PacketTerminal::kInvitationPort);
}

bool DistributionPeers::designerInviteAgain(int ms)
{
    return m_designer && m_designer->invite(PacketTerminal::kInvitationPort, -1, qMax(1, ms / 100));
}

void DistributionPeers::designerOffer()
{
    if (m_designer)
        m_designer->sendCmd(
            QStringLiteral("downloadKey"),
            {{QStringLiteral("value"), QStringLiteral("{0d1c2b3a-4e5f-4a6b-8c7d-9e0f1a2b3c4d}")}});
}

bool DistributionPeers::designerSendPacket(const QString& folder, int dropAfterBytes)
{
    if (!m_designer)
        return false;
    const QStringList files = filesBelow(folder);
    qint64 total = 0;
    for (const QString& file : files)
        total += QFileInfo(QDir(folder).filePath(file)).size();
    m_designer->dropAt = dropAfterBytes;
    m_designer->sendCmd(QStringLiteral("issueBegin"),
                        {{QStringLiteral("totalSize"), QString::number(total)}});
    for (const QString& file : files)
        if (!m_designer->sendFile(QDir(folder).filePath(file), file))
            return false;
    m_designer->sendCmd(QStringLiteral("issueComlate"));
    return true;
}

void DistributionPeers::designerAnnounce(const QString& totalSize)
{
    if (m_designer)
        m_designer->sendCmd(QStringLiteral("issueBegin"), {{QStringLiteral("totalSize"), totalSize}});
}

void DistributionPeers::designerDrop()
{
    if (m_designer)
        m_designer->drop();
}

bool DistributionPeers::panelListen()
{
    m_panel = std::make_unique<ScriptedPanel>(PacketServer::kInvitationPort);
    return m_panel->udp.state() == QAbstractSocket::BoundState;
}

int DistributionPeers::panelWaitForInvitation()
{
    if (!m_panel)
        return 0;
    static_cast<void>(QTest::qWaitFor([&] { return m_panel->invitationCount > 0; }, kWaitMs));
    return m_panel->invitationCount;
}

void DistributionPeers::panelSend(const QString& sCmd)
{
    if (m_panel && m_panel->manager)
        m_panel->send(sCmd);
}

void DistributionPeers::panelDrop()
{
    if (m_panel && m_panel->socket)
        m_panel->socket->abort();
}

bool DistributionPeers::udpPortBound(int port)
{
    // /proc/net/udp{,6}: "sl local_address rem_address st ...", local_address "HEXADDR:HEXPORT".
    const QString suffix = QStringLiteral(":%1").arg(port, 4, 16, QLatin1Char('0')).toUpper();
    for (const QString& table : {QStringLiteral("/proc/net/udp"), QStringLiteral("/proc/net/udp6")}) {
        QFile file(table);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QTextStream in(&file);
        in.readLine();
        while (!in.atEnd()) {
            const QStringList fields = in.readLine().simplified().split(QLatin1Char(' '));
            if (fields.size() > 1 && fields.at(1).endsWith(suffix))
                return true;
        }
    }
    return false;
}
