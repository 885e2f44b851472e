#include "tools/mediaserver-standin/MediaServerStandin.h"

#include "network/DiscoveryDatagram.h"
#include "network/FileHead.h"
#include "network/MessageRequest.h"
#include "network/NetworkLimits.h"
#include "network/RequestHead.h"
#include "network/RequestManager.h"
#include "network/RequestUidCounter.h"
#include "tools/StandinSupport.h"
#include "tools/mediaserver-standin/StandinState.h"

#include <QFile>
#include <QJsonDocument>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

MediaServerStandin::MediaServerStandin(const StandinOptions& options, QObject* parent)
    : QObject(parent), m_options(options),
      m_state(options.state.isEmpty() ? StandinState::sample() : options.state)
{
}

MediaServerStandin::~MediaServerStandin()
{
    dropClients();
}

bool MediaServerStandin::start(QString* error)
{
    m_udp = new QUdpSocket(this);
    if (!m_udp->bind(m_options.bindAddress, quint16(m_options.discoveryPort))) {
        if (error)
            *error = QStringLiteral("discovery port: ") + m_udp->errorString();
        return false;
    }
    connect(m_udp, &QUdpSocket::readyRead, this, &MediaServerStandin::onDatagrams);

    m_server = new QTcpServer(this);
    if (!m_server->listen(m_options.bindAddress, quint16(m_options.tcpPort))) {
        if (error)
            *error = QStringLiteral("link port: ") + m_server->errorString();
        return false;
    }
    connect(m_server, &QTcpServer::newConnection, this, &MediaServerStandin::onNewConnection);
    writeLog(QJsonObject{{"event", "listening"}, {"discoveryPort", discoveryPort()}, {"tcpPort", tcpPort()}});
    return true;
}

int MediaServerStandin::discoveryPort() const
{
    return m_udp ? m_udp->localPort() : 0;
}

int MediaServerStandin::tcpPort() const
{
    return m_server ? m_server->serverPort() : 0;
}

void MediaServerStandin::onDatagrams()
{
    while (m_udp->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_udp->receiveDatagram();
        const QByteArray data = datagram.data();
        QString sCmd;
        QJsonObject params;
        if (!DiscoveryDatagram::decode(data.constData(), data.size(), sCmd, params))
            continue;
        const QString peer = datagram.senderAddress().toString();
        writeLog(QJsonObject{{"event", "probe"}, {"peer", peer}, {"cmd", sCmd}, {"params", params}});
        if (sCmd != QLatin1String("requestServerConfig"))
            continue;
        Q_EMIT probeReceived(peer, params);
        const int port = params.value("port").toInt(0);
        if (port < 1 || port > 65535)
            continue;
        QHostAddress to = datagram.senderAddress();
        const QHostAddress probeIp(params.value("ip").toString());
        if (m_options.replyToProbeIp && !probeIp.isNull())
            to = probeIp;
        if (m_options.staleAnnouncePort > 0) {
            answerProbe(to, port, m_options.staleAnnouncePort);
            QTimer::singleShot(250, this, [this, to, port] {
                answerProbe(to, port, tcpPort());
                Q_EMIT probeAnswered(to.toString());
            });
            continue;
        }
        answerProbe(to, port, tcpPort());
        Q_EMIT probeAnswered(to.toString());
    }
}

void MediaServerStandin::answerProbe(const QHostAddress& to, int replyPort, int announcedPort)
{
    m_udp->writeDatagram(
        DiscoveryDatagram::encode("serverConfig", QJsonObject{{"ip", m_options.announceIp},
                                                              {"port", announcedPort},
                                                              {"productName", m_options.productName}}),
        to, quint16(replyPort));
}

void MediaServerStandin::onNewConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        Session session;
        // Reads the link's frames; the stand-in writes its own (writeCommand).
        session.manager = new RequestManager(socket);
        connect(session.manager, &IRCRequestManager::cmdReceive, this,
                [this, socket](const QString& sCmd, const QJsonObject& params) {
                    onCommand(socket, sCmd, params);
                });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            auto it = m_sessions.find(socket);
            if (it != m_sessions.end())
                it->manager->appendData(socket->readAll());
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (m_sessions.remove(socket)) {
                writeLog(QJsonObject{{"event", "disconnected"}});
                Q_EMIT clientDisconnected();
            }
            socket->deleteLater();
        });
        m_sessions.insert(socket, session);
        const QString peer = socket->peerAddress().toString();
        writeLog(QJsonObject{{"event", "connected"}, {"peer", peer}});
        Q_EMIT clientConnected(peer);
        if (m_options.stallInFile)
            writeFileStart(socket);
        else if (m_options.firstMessageDelayMs > 0)
            QTimer::singleShot(m_options.firstMessageDelayMs, Qt::PreciseTimer, socket,
                               [this, socket] { greet(socket); });
        else
            greet(socket);
    }
}

void MediaServerStandin::greet(QTcpSocket* socket)
{
    if (m_options.askAgainMs > 0) {
        auto* again = new QTimer(socket);
        connect(again, &QTimer::timeout, this, [this, socket] { send(socket, "connectVerifyAsk", {}); });
        again->start(m_options.askAgainMs);
    }
    if (m_options.password.isEmpty())
        completeHandshake(socket);
    else
        send(socket, "connectVerifyAsk", {});
}

void MediaServerStandin::writeFileStart(QTcpSocket* socket)
{
    const QByteArray info =
        QJsonDocument(QJsonObject{{"relativeFilePath", "stage.png"}}).toJson(QJsonDocument::Compact);
    FileHead head;
    head.infoLength = qint32(info.size());
    const QByteArray payload = head.toBytes() + info + QByteArray(100, 'x');
    writeFrame(socket,
               RequestHead::frame(RequestUidCounter::files().take(), ERequestType_File, false, payload));
}

void MediaServerStandin::onCommand(QTcpSocket* socket, const QString& sCmd, const QJsonObject& params)
{
    writeLog(QJsonObject{{"event", "command"}, {"cmd", sCmd}, {"params", params}});
    Q_EMIT commandReceived(sCmd, params);
    auto it = m_sessions.find(socket);
    if (it == m_sessions.end())
        return;
    if (sCmd == QLatin1String("connectVerify")) {
        if (it->verified)
            return;
        if (params.value("password").toString() == m_options.password)
            completeHandshake(socket);
        else
            send(socket, "passwordError", {});
        return;
    }
    if (!it->verified)
        return;
    if (m_options.strayMessage) {
        if (!it->strayed) {
            it->strayed = true;
            writeLog(QJsonObject{{"event", "stray"}, {"cmd", "setGlobalProperty"}});
            writeCommand(socket, "setGlobalProperty", QJsonObject{{"volume", 0.25}});
        }
        return;
    }
    if (sCmd == QLatin1String("getProgramTable") || sCmd == QLatin1String("getTrackManager") ||
        sCmd == QLatin1String("getStageImage")) {
        const QString answer = QStringLiteral("set") + sCmd.mid(3);
        if (!m_state.contains(answer))
            return;
        const QJsonObject params = m_state.value(answer).toObject();
        if (sCmd == QLatin1String("getStageImage") && m_options.stageAnswerDelayMs > 0) {
            QTimer::singleShot(m_options.stageAnswerDelayMs, socket, [this, socket, answer, params] {
                writeLog(QJsonObject{{"event", "answer"}, {"cmd", answer}});
                send(socket, answer, params);
            });
        } else {
            send(socket, answer, params);
        }
    } else if (sCmd == QLatin1String("getGlobalProperty")) {
        const QString name = params.value("name").toString();
        const QJsonObject globals = m_state.value("globalProperties").toObject();
        if (globals.contains(name))
            send(socket, "setGlobalProperty", QJsonObject{{name, globals.value(name)}});
    } else if (m_options.reportChanges && sCmd == QLatin1String("setGlobalProperty")) {
        QJsonObject globals = m_state.value("globalProperties").toObject();
        for (auto g = params.constBegin(); g != params.constEnd(); ++g) {
            if (g.key() != QLatin1String("uid"))
                globals.insert(g.key(), g.value());
        }
        m_state.insert("globalProperties", globals);
        QJsonObject report = params;
        report.remove("uid");
        send(socket, sCmd, report);
    } else if (m_options.reportChanges && sCmd == QLatin1String("setTrack")) {
        send(socket, sCmd, QJsonObject{{"id", params.value("id")}, {"playState", params.value("playState")}});
    } else if (sCmd == QLatin1String("getProject")) {
        const QJsonValue id = params.value("id");
        const QString key = id.isString() ? id.toString() : QString::number(id.toInteger());
        const QJsonObject projects = m_state.value("projects").toObject();
        if (projects.contains(key)) {
            QJsonObject answer = projects.value(key).toObject();
            answer.insert("id", id);
            send(socket, "setProject", answer);
        }
    }
}

void MediaServerStandin::completeHandshake(QTcpSocket* socket)
{
    auto it = m_sessions.find(socket);
    if (it == m_sessions.end())
        return;
    it->verified = true;
    send(socket, "connected", {});
    Q_EMIT clientVerified();
    if (m_state.contains("setVexaProgramManager"))
        send(socket, "setVexaProgramManager", m_state.value("setVexaProgramManager").toObject());
    startReplay(socket);
}

void MediaServerStandin::startReplay(QTcpSocket* socket)
{
    if (m_options.replayFile.isEmpty())
        return;
    QFile file(m_options.replayFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        writeLog(QJsonObject{{"event", "replayError"}, {"file", m_options.replayFile}});
        return;
    }
    qint64 at = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QJsonObject entry = QJsonDocument::fromJson(line).object();
        if (!entry.contains("cmd"))
            continue;
        at += qMax<qint64>(0, entry.value("delayMs").toInteger());
        const QString cmd = entry.value("cmd").toString();
        const QJsonObject params = entry.value("params").toObject();
        QTimer::singleShot(int(at), socket, [this, socket, cmd, params] { send(socket, cmd, params); });
    }
}

void MediaServerStandin::send(QTcpSocket* socket, const QString& sCmd, const QJsonObject& params)
{
    const bool handshake = sCmd == QLatin1String("connectVerifyAsk") || sCmd == QLatin1String("passwordError") ||
                           sCmd == QLatin1String("connected");
    if ((m_options.onlyConnected || m_options.strayMessage) && !handshake)
        return;
    if (m_options.answerHoldMs > 0 && !handshake) {
        QTimer::singleShot(m_options.answerHoldMs, socket,
                           [this, socket, sCmd, params] { writeCommand(socket, sCmd, params); });
        return;
    }
    writeCommand(socket, sCmd, params);
}

void MediaServerStandin::writeCommand(QTcpSocket* socket, const QString& sCmd, const QJsonObject& params)
{
    if (!m_sessions.contains(socket))
        return;
    // Every chunk at once, as a server writes: the panel's own sender paces its chunks one per
    // tick, which would spread a stage image of some hundred KB over as many ticks.
    QByteArray text;
    const quint64 uid = MessageRequest::buildTextWithNewUid(sCmd, params, text);
    for (qsizetype pos = 0; pos < text.size(); pos += NetworkLimits::kChunkSize) {
        const QByteArray chunk = text.mid(pos, NetworkLimits::kChunkSize);
        writeFrame(socket, RequestHead::frame(uid, ERequestType_Message, pos + chunk.size() >= text.size(), chunk));
    }
}

void MediaServerStandin::writeFrame(QTcpSocket* socket, const QByteArray& frame)
{
    auto it = m_sessions.find(socket);
    if (it == m_sessions.end() || it->cut)
        return;
    QByteArray bytes = frame;
    if (m_options.garbageBytes > 0) {
        // Partial magics among the garbage; never a 0x02 right before the head,
        // which no receiver could tell from the head's own magic.
        QByteArray garbage;
        while (garbage.size() < m_options.garbageBytes)
            garbage += QByteArray("\x02\x02\x02garbage", 10);
        garbage.truncate(m_options.garbageBytes);
        if (garbage.endsWith('\x02'))
            garbage.back() = 'g';
        bytes.prepend(garbage);
    }
    if (m_options.dropAfterBytes > 0 && it->written + bytes.size() >= m_options.dropAfterBytes) {
        bytes.truncate(m_options.dropAfterBytes - it->written);
        it->cut = true;
    }
    if (m_options.stallAfterBytes >= 0) {
        bytes.truncate(qMax<qint64>(0, m_options.stallAfterBytes - it->written));
        if (bytes.isEmpty())
            return;
    }
    it->written += bytes.size();
    const qsizetype piece = m_options.splitBytes > 0 ? m_options.splitBytes : bytes.size();
    for (qsizetype pos = 0; pos < bytes.size(); pos += piece) {
        socket->write(bytes.mid(pos, piece));
        socket->flush();
    }
    if (it->cut) {
        writeLog(QJsonObject{{"event", "cut"}, {"bytes", it->written}});
        QMetaObject::invokeMethod(socket, &QTcpSocket::disconnectFromHost, Qt::QueuedConnection);
    }
}

void MediaServerStandin::sendToAll(const QString& sCmd, const QJsonObject& params)
{
    const QList<QTcpSocket*> sockets = m_sessions.keys();
    for (QTcpSocket* socket : sockets) {
        if (m_sessions.value(socket).verified)
            send(socket, sCmd, params);
    }
}

void MediaServerStandin::dropClients()
{
    const QList<QTcpSocket*> sockets = m_sessions.keys();
    m_sessions.clear();
    for (QTcpSocket* socket : sockets) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
}

void MediaServerStandin::writeLog(const QJsonObject& line)
{
    writeJsonLine(m_log, line);
}
