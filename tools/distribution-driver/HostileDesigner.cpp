#include "HostileDesigner.h"

#include <QJsonObject>
#include <QTcpSocket>
#include <QUuid>

HostileDesigner::HostileDesigner(const Options& options, std::function<void(const QString&, const QString&)> report)
    : m_options(options), m_report(std::move(report))
{
    connect(&m_framer, &IRCRequestManager::buffRadioRequest, this,
            [this](const QByteArray& buff, const QHostAddress& address, int port) {
                if (m_udp.writeDatagram(buff, address, quint16(port)) != buff.size())
                    m_report(QStringLiteral("error"), m_udp.errorString());
            });
    connect(&m_server, &QTcpServer::newConnection, this, &HostileDesigner::onConnection);
    connect(&m_inviting, &QTimer::timeout, this, &HostileDesigner::invite);
}

bool HostileDesigner::start()
{
    if (m_options.listenPort && !m_server.listen(QHostAddress::AnyIPv4, quint16(m_options.listenPort))) {
        m_report(QStringLiteral("error"), m_server.errorString());
        return false;
    }
    if (!m_options.inviteIp.isEmpty()) {
        m_udp.bind(QHostAddress::AnyIPv4, 0);
        invite();
        m_inviting.start(m_options.everyMs);
    }
    return true;
}

void HostileDesigner::invite()
{
    m_framer.sendRadioCmd(QStringLiteral("serverConfig"),
                          QJsonObject{{QStringLiteral("ip"), m_options.inviteIp},
                                      {QStringLiteral("port"), m_options.invitePort}},
                          m_options.panel, m_options.invitationPort);
}

void HostileDesigner::onConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        m_report(QStringLiteral("linked"), socket->peerAddress().toString());
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::disconnected, this,
                [this] { m_report(QStringLiteral("unlinked"), m_options.mode); });
        if (m_options.mode == QLatin1String("silent"))
            continue;
        // The offer framed as a designer frames it.
        auto* framer = new RequestManager(socket);
        auto* pending = new QByteArray;
        connect(socket, &QObject::destroyed, this, [pending] { delete pending; });
        connect(framer, &IRCRequestManager::buffSendRequest, socket,
                [pending](const QByteArray& buff) { pending->append(buff); });
        framer->sendCmd(QStringLiteral("downloadKey"),
                        QJsonObject{{QStringLiteral("value"), QUuid::createUuid().toString(QUuid::WithBraces)}},
                        QVariant());
        if (m_options.mode == QLatin1String("withdraw")) {
            socket->write(*pending);
            QTimer::singleShot(m_options.intervalMs, socket, [this, socket] {
                m_report(QStringLiteral("withdraw"), socket->peerAddress().toString());
                socket->abort();
            });
            continue;
        }
        auto* trickle = new QTimer(socket);
        connect(trickle, &QTimer::timeout, socket, [socket, pending, trickle] {
            if (pending->isEmpty()) {
                trickle->stop();
                return;
            }
            socket->write(pending->left(1));
            pending->remove(0, 1);
        });
        trickle->start(m_options.intervalMs);
    }
}
