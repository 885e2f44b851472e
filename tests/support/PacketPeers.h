#pragma once

#include "network/RequestManager.h"

#include <QHostAddress>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <memory>

// A free UDP port on loopback, for a listener that binds it in a moment.
inline int freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

// A designer played by a test on a loopback address (127.0.0.1 unless given): invites a panel with
// "serverConfig" datagrams sent from and naming that address, takes its connection (one at a time) and talks to
// it through the project's own framing, at once or trickled (trickleMs). What the panel sends is
// kept in `received`. Lives in the test's thread.
class ScriptedDesigner
{
public:
    explicit ScriptedDesigner(const QHostAddress& address = QHostAddress::LocalHost) : m_address(address)
    {
        server.listen(address, 0);
        QObject::connect(&server, &QTcpServer::newConnection, &context, [this] { accept(); });
        QObject::connect(&m_trickleTimer, &QTimer::timeout, &context, [this] { trickleOne(); });
    }

    int port() const { return server.serverPort(); }
    bool isConnected() const { return socket && socket->state() == QAbstractSocket::ConnectedState; }

    // Sends an invitation to 127.0.0.1:invitationPort every 100 ms until a panel has connected
    // (the panel binds its port in a thread of its own), at most `times` times.
    bool invite(int invitationPort, int announcedPort = -1, int times = 50)
    {
        const int connections = accepted;
        for (int i = 0; i < times && accepted == connections; ++i) {
            sendInvitation(invitationPort, announcedPort < 0 ? port() : announcedPort);
            (void)QTest::qWaitFor([&] { return accepted > connections; }, 100);
        }
        return accepted > connections && QTest::qWaitFor([&] { return isConnected(); }, 5000);
    }

    // From the designer's own address; naming it unless `announcedIp` names another.
    void sendInvitation(int invitationPort, int announcedPort, const QString& announcedIp = QString())
    {
        RequestManager framer;
        QUdpSocket udp;
        udp.bind(m_address, 0);
        QObject::connect(&framer, &IRCRequestManager::buffRadioRequest, &context,
                         [&udp](const QByteArray& buff, const QHostAddress& address, int to) {
                             udp.writeDatagram(buff, address, quint16(to));
                         });
        framer.sendRadioCmd(QStringLiteral("serverConfig"),
                            QJsonObject{{QStringLiteral("ip"), announcedIp.isEmpty() ? m_address.toString() : announcedIp},
                                        {QStringLiteral("port"), announcedPort}},
                            QHostAddress::LocalHost, invitationPort);
    }

    void sendCmd(const QString& sCmd, const QJsonObject& params = {})
    {
        if (manager)
            manager->sendCmd(sCmd, params, QVariant());
    }

    // Sends one file with the given "relativeFilePath" and waits until its last chunk is written
    // or the link is gone; true when it was sent whole.
    bool sendFile(const QString& path, const QString& relativePath)
    {
        if (!manager)
            return false;
        const int before = filesSent;
        manager->sendFile(path, QJsonObject{{QStringLiteral("relativeFilePath"), relativePath}});
        return QTest::qWaitFor([&] { return filesSent > before || !isConnected(); }, 30000) &&
               filesSent > before;
    }

    bool hasReceived(const QString& sCmd) const
    {
        for (const auto& entry : received)
            if (entry.first == sCmd)
                return true;
        return false;
    }

    void drop()
    {
        if (socket)
            socket->abort();
    }

    QTcpServer server;
    QObject context;
    QTcpSocket* socket = nullptr;
    std::unique_ptr<RequestManager> manager;
    QList<QPair<QString, QJsonObject>> received;
    int accepted = 0;
    int filesSent = 0;
    // When set, the link is cut once a file has sent this many bytes.
    qint64 dropAt = -1;
    // When set, what is sent goes out one byte every trickleMs.
    int trickleMs = 0;

private:
    QHostAddress m_address;
    QTimer m_trickleTimer;
    QByteArray m_trickled;

    void write(const QByteArray& buff)
    {
        if (trickleMs <= 0) {
            if (socket && socket->isValid())
                socket->write(buff);
            return;
        }
        m_trickled += buff;
        if (!m_trickleTimer.isActive())
            m_trickleTimer.start(trickleMs);
    }
    void trickleOne()
    {
        if (m_trickled.isEmpty() || !isConnected()) {
            m_trickleTimer.stop();
            m_trickled.clear();
            return;
        }
        socket->write(m_trickled.left(1));
        m_trickled.remove(0, 1);
    }

    void accept()
    {
        QTcpSocket* next = server.nextPendingConnection();
        if (!next)
            return;
        if (socket)
            socket->deleteLater();
        socket = next;
        ++accepted;
        manager = std::make_unique<RequestManager>();
        QObject::connect(socket, &QTcpSocket::readyRead, &context, [this, next] {
            if (next == socket && manager)
                manager->appendData(socket->readAll());
        });
        m_trickled.clear();
        QObject::connect(manager.get(), &IRCRequestManager::buffSendRequest, &context,
                         [this](const QByteArray& buff) { write(buff); });
        QObject::connect(manager.get(), &IRCRequestManager::cmdReceive, &context,
                         [this](const QString& sCmd, const QJsonObject& params) {
                             received.append({sCmd, params});
                         });
        QObject::connect(manager.get(), &IRCRequestManager::fileContentSend, &context,
                         [this](qlonglong sendPos, bool complate) {
                             if (complate)
                                 ++filesSent;
                             else if (dropAt >= 0 && sendPos >= dropAt)
                                 drop();
                         });
    }
};

// A panel played by a test: hears invitations on a loopback UDP port (a free one unless given),
// connects from a chosen loopback address and records what the designer sends, files included.
class ScriptedPanel
{
public:
    explicit ScriptedPanel(int invitationPort = 0)
    {
        udp.bind(QHostAddress::LocalHost, quint16(invitationPort));
        QObject::connect(&udp, &QUdpSocket::readyRead, &context, [this] {
            while (udp.hasPendingDatagrams())
                invitations.appendData(udp.receiveDatagram().data());
        });
        QObject::connect(&invitations, &IRCRequestManager::cmdReceive, &context, [this](const QString& sCmd) {
            if (sCmd == QLatin1String("serverConfig"))
                ++invitationCount;
        });
    }
    int invitationPort() const { return udp.localPort(); }

    bool connectTo(int port, const QString& from = QStringLiteral("127.0.0.1"))
    {
        socket = std::make_unique<QTcpSocket>();
        manager = std::make_unique<RequestManager>();
        socket->bind(QHostAddress(from), 0);
        QObject::connect(socket.get(), &QTcpSocket::readyRead, &context,
                         [this] { manager->appendData(socket->readAll()); });
        QObject::connect(manager.get(), &IRCRequestManager::buffSendRequest, &context,
                         [this](const QByteArray& buff) { socket->write(buff); });
        QObject::connect(manager.get(), &IRCRequestManager::cmdReceive, &context,
                         [this](const QString& sCmd, const QJsonObject& params) {
                             commands << sCmd;
                             if (sCmd == QLatin1String("downloadKey"))
                                 key = params.value("value").toString();
                             if (sCmd == QLatin1String("issueBegin"))
                                 totalSize = params.value("totalSize").toString();
                         });
        QObject::connect(manager.get(), &IRCRequestManager::fileinfoReceive, &context,
                         [this](const QVariantMap& info) {
                             files << info.value("relativeFilePath").toString();
                             absolutePaths << info.value("absoluteFilePath").toString();
                             contents << QByteArray();
                         });
        QObject::connect(manager.get(), &IRCRequestManager::fileContentReceive, &context,
                         [this](const QByteArray& data) {
                             if (!contents.isEmpty()) // not the rest of a file from before clear()
                                 contents.last() += data;
                         });
        socket->connectToHost(QHostAddress::LocalHost, quint16(port));
        return socket->waitForConnected(5000);
    }
    void send(const QString& sCmd) { manager->sendCmd(sCmd, {}, {}); }
    int count(const QString& sCmd) const { return int(commands.count(sCmd)); }
    void clear()
    {
        commands.clear();
        files.clear();
        absolutePaths.clear();
        contents.clear();
        key.clear();
    }

    QObject context;
    QUdpSocket udp;
    RequestManager invitations;
    std::unique_ptr<QTcpSocket> socket;
    std::unique_ptr<RequestManager> manager;
    QStringList commands;
    QStringList files;
    QStringList absolutePaths;
    QList<QByteArray> contents;
    QString key;
    QString totalSize;
    int invitationCount = 0;
};
