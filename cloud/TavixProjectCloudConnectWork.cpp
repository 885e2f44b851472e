#include "cloud/TavixProjectCloudConnectWork.h"

#include "cloud/TavixCloudLog.h"
#include "network/LinkKeepAlive.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QMutexLocker>
#include <QNetworkInterface>
#include <QSysInfo>
#include <QTimer>
#include <QWebSocket>

#include <cmath>
#include <limits>
#include <optional>

namespace {

QString compactText(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// The JSON object of a text, or an empty object when it holds none.
QJsonObject objectOf(const QString& text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return QJsonObject();
    return document.object();
}

// The status of a login reply, as a whole number or as decimal text; nothing for anything else.
std::optional<int> statusOf(const QJsonValue& value)
{
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (std::trunc(number) != number || number < std::numeric_limits<int>::min() ||
            number > std::numeric_limits<int>::max())
            return std::nullopt;
        return int(number);
    }
    if (value.isString()) {
        bool ok = false;
        const int number = value.toString().toInt(&ok, 10);
        if (ok)
            return number;
    }
    return std::nullopt;
}

// The hardware address of the first interface that is up, running and not loopback.
QString hardwareAddress()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& iface : interfaces) {
        const auto flags = iface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack))
            return iface.hardwareAddress();
    }
    return QString();
}

} // namespace

TavixProjectCloudConnectWork::TavixProjectCloudConnectWork(const QUrl& relayUrl)
    : m_relayUrl(relayUrl), m_outbox(new QObject)
{
    m_outbox->moveToThread(workerThread());
    connect(this, &TavixProjectCloudConnectWork::sig_joinProject, this,
            &TavixProjectCloudConnectWork::on_sig_joinProject);
    connect(this, &TavixProjectCloudConnectWork::sig_exitProject, this,
            &TavixProjectCloudConnectWork::on_sig_exitProject);
    // Counted in the emitting thread before the call is queued, so that the count never lags it.
    connect(
        this, &TavixProjectCloudConnectWork::sig_sendCmd, this,
        [this] {
            ++m_commandsQueued;
            m_holdWake.wakeAll();
        },
        Qt::DirectConnection);
    connect(this, &TavixProjectCloudConnectWork::sig_sendCmd, m_outbox,
            [this](const QString& cmdType, const QJsonObject& params, const QString& receiver) {
                on_sig_sendCmd(cmdType, params, receiver);
            });
}

TavixProjectCloudConnectWork::~TavixProjectCloudConnectWork()
{
    // A held thread would never take the shutdown request.
    m_stopping = true;
    m_pacer.stop();
    {
        QMutexLocker locker(&m_holdMutex);
        m_holdWake.wakeAll();
    }
    shutdownThread();
}

bool TavixProjectCloudConnectWork::isJoinProject()
{
    QMutexLocker locker(&m_mutex);
    return m_joined;
}

void TavixProjectCloudConnectWork::setRelayUrl(const QUrl& url)
{
    QMutexLocker locker(&m_mutex);
    m_relayUrl = url;
}

QUrl TavixProjectCloudConnectWork::relayUrl() const
{
    QMutexLocker locker(&m_mutex);
    return m_relayUrl;
}

void TavixProjectCloudConnectWork::setHeartbeatInterval(int msec)
{
    QMutexLocker locker(&m_mutex);
    m_heartbeatInterval = msec;
}

void TavixProjectCloudConnectWork::deliveryTaken()
{
    m_pacer.take();
    m_holdWake.wakeAll();
}

int TavixProjectCloudConnectWork::heartbeatInterval() const
{
    QMutexLocker locker(&m_mutex);
    return m_heartbeatInterval;
}

QString TavixProjectCloudConnectWork::loginErrorText()
{
    return tr("登陆错误");
}

QString TavixProjectCloudConnectWork::userExpiredText()
{
    return tr("用户信息失效");
}

QString TavixProjectCloudConnectWork::unknownErrorText()
{
    return tr("未知错误");
}

QString TavixProjectCloudConnectWork::networkErrorText()
{
    return tr("网络连接错误");
}

bool TavixProjectCloudConnectWork::isLoginRefusal(const QString& error)
{
    return error == loginErrorText() || error == userExpiredText();
}

void TavixProjectCloudConnectWork::setJoined(bool joined)
{
    QMutexLocker locker(&m_mutex);
    m_joined = joined;
}

// --- requests from the client -------------------------------------------------------------------

void TavixProjectCloudConnectWork::on_sig_joinProject(const QString& projectUid,
                                                      const QString& verificationCode)
{
    m_projectUid = projectUid;
    m_verificationCode = verificationCode;
    if (!m_socket) {
        m_socket = new QWebSocket(QString(), QWebSocketProtocol::Version13, this);
        m_socket->setMaxAllowedIncomingFrameSize(MaxIncomingMessageSize);
        m_socket->setMaxAllowedIncomingMessageSize(MaxIncomingMessageSize);
        m_socket->setReadBufferSize(ReadBufferBytes);
        connect(m_socket, &QWebSocket::connected, this, &TavixProjectCloudConnectWork::onConnected);
        connect(m_socket, &QWebSocket::disconnected, this, &TavixProjectCloudConnectWork::onDisconnected);
        connect(m_socket, QOverload<QAbstractSocket::SocketError>::of(&QWebSocket::error), this,
                &TavixProjectCloudConnectWork::onError);
        connect(m_socket, &QWebSocket::textMessageReceived, this,
                &TavixProjectCloudConnectWork::onTextMessageReceived);
    }
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        const QUrl url = relayUrl();
        qCInfo(lcTavixCloud) << "opening relay" << url.toString() << "for project" << projectUid;
        m_socket->open(url);
    } else {
        sendLogin();
    }
    startLoginDeadline();
}

void TavixProjectCloudConnectWork::startLoginDeadline()
{
    if (!m_loginDeadline) {
        m_loginDeadline = new QTimer(this);
        m_loginDeadline->setSingleShot(true);
        m_loginDeadline->setTimerType(Qt::PreciseTimer);
        connect(m_loginDeadline, &QTimer::timeout, this, &TavixProjectCloudConnectWork::onLoginTimeout);
    }
    m_loginDeadline->start(LoginTimeoutMs);
}

void TavixProjectCloudConnectWork::stopLoginDeadline()
{
    if (m_loginDeadline)
        m_loginDeadline->stop();
}

void TavixProjectCloudConnectWork::onLoginTimeout()
{
    qCWarning(lcTavixCloud).nospace()
        << "relay gave no answer to the login of project " << m_projectUid << " within " << LoginTimeoutMs
        << " ms (link " << (m_socket->state() == QAbstractSocket::ConnectedState ? "open" : "not established")
        << "), giving up";
    Q_EMIT joinError(networkErrorText());
    m_socket->abort();
}

void TavixProjectCloudConnectWork::on_sig_exitProject()
{
    stopLoginDeadline();
    if (!m_socket)
        return;
    // A link still being opened has no closing handshake yet: cancel it, so the join does not
    // complete after the user left and no error is reported for the cancellation.
    if (m_socket->state() == QAbstractSocket::ConnectedState)
        m_socket->close(QWebSocketProtocol::CloseCodeNormal, QString());
    else
        m_socket->abort();
}

void TavixProjectCloudConnectWork::on_sig_sendCmd(const QString& cmdType, const QJsonObject& params,
                                                  const QString& receiver)
{
    --m_commandsQueued;
    if (!isJoinProject())
        return;
    const QJsonObject message{{QStringLiteral("cmdType"), cmdType}, {QStringLiteral("cmdParams"), params}};
    sendFrame(QJsonObject{{QStringLiteral("type"), QStringLiteral("send_message")},
                          {QStringLiteral("message"), compactText(message)},
                          {QStringLiteral("receiver"), receiver},
                          {QStringLiteral("sender"), m_ownId}});
}

// --- socket events ------------------------------------------------------------------------------

void TavixProjectCloudConnectWork::onConnected()
{
    if (!m_heartbeat) {
        m_heartbeat = new QTimer(this);
        connect(m_heartbeat, &QTimer::timeout, this, &TavixProjectCloudConnectWork::sendPing);
    }
    if (!m_heartbeat->isActive())
        m_heartbeat->start(heartbeatInterval());
    applyKeepAlive();
    sendLogin();
}

void TavixProjectCloudConnectWork::applyKeepAlive()
{
    // The WebSocket keeps its TCP socket as a child and offers no other way to it. After a re-join
    // the previous one may still wait for its deletion: the connected one is this link's.
    const QAbstractSocket* tcp = nullptr;
    const auto children = m_socket->findChildren<QAbstractSocket*>(QString(), Qt::FindDirectChildrenOnly);
    for (const QAbstractSocket* child : children) {
        if (child->state() == QAbstractSocket::ConnectedState)
            tcp = child;
    }
    QString error = QStringLiteral("no connected TCP socket");
    if (!tcp || !LinkKeepAlive().applyTo(tcp->socketDescriptor(), &error))
        qCWarning(lcTavixCloud) << "relay link without keep-alive, a relay that goes away unnoticed is "
                                   "shown as joined:"
                                << error;
}

void TavixProjectCloudConnectWork::onDisconnected()
{
    if (m_heartbeat && m_heartbeat->isActive())
        m_heartbeat->stop();
    m_unsentSizes.clear();
    m_unsentTotal = 0;
    // A message above the size limit makes the socket close the link with 1009 by itself, reporting
    // no error: the user learns of it here.
    if (m_socket->closeCode() == QWebSocketProtocol::CloseCodeTooMuchData) {
        qCWarning(lcTavixCloud).nospace() << "relay link closed: a message above the size limit ("
                                          << MaxIncomingMessageSize << " bytes): " << m_socket->closeReason();
        stopLoginDeadline();
        Q_EMIT joinError(networkErrorText());
    } else {
        qCInfo(lcTavixCloud) << "relay link closed" << m_socket->closeCode() << m_socket->closeReason();
    }
    if (isJoinProject()) {
        setJoined(false);
        Q_EMIT exitSuccess();
    }
}

void TavixProjectCloudConnectWork::onError(QAbstractSocket::SocketError error)
{
    if (error == QAbstractSocket::RemoteHostClosedError)
        return;
    // Reported here: the join's deadline has nothing left to report.
    stopLoginDeadline();
    qCWarning(lcTavixCloud) << "relay link error" << error << m_socket->errorString();
    Q_EMIT joinError(networkErrorText());
}

void TavixProjectCloudConnectWork::sendPing()
{
    sendFrame(QJsonObject{{QStringLiteral("type"), QStringLiteral("ping")}});
}

void TavixProjectCloudConnectWork::sendLogin()
{
    sendFrame(QJsonObject{{QStringLiteral("type"), QStringLiteral("device_login")},
                          {QStringLiteral("project_num"), m_projectUid},
                          {QStringLiteral("bind_code"), m_verificationCode},
                          {QStringLiteral("device_name"), QSysInfo::machineHostName()},
                          {QStringLiteral("mac_id"), hardwareAddress()},
                          {QStringLiteral("product_type"), QStringLiteral("Tavix")},
                          {QStringLiteral("os"), QStringLiteral("windows")}});
}

void TavixProjectCloudConnectWork::sendFrame(const QJsonObject& frame)
{
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    // Frames written meanwhile are forgotten here too: on a link that relays nothing to us (only
    // "pong"s come back) nothing else would.
    settleUnsent();
    const qint64 before = m_socket->bytesToWrite();
    m_socket->sendTextMessage(compactText(frame));
    const qint64 added = m_socket->bytesToWrite() - before;
    if (added > 0) {
        m_unsentSizes.push_back(added);
        m_unsentTotal += added;
    }
}

void TavixProjectCloudConnectWork::settleUnsent()
{
    const qint64 held = m_socket && m_socket->state() == QAbstractSocket::ConnectedState
                            ? m_socket->bytesToWrite()
                            : 0;
    while (!m_unsentSizes.empty() && m_unsentTotal - m_unsentSizes.front() >= held) {
        m_unsentTotal -= m_unsentSizes.front();
        m_unsentSizes.pop_front();
    }
}

bool TavixProjectCloudConnectWork::unsentBeyond(int frames, qint64 bytes)
{
    settleUnsent();
    return m_commandsQueued + qint64(m_unsentSizes.size()) > frames || m_unsentTotal > bytes;
}

// --- frames from the relay ----------------------------------------------------------------------

void TavixProjectCloudConnectWork::onTextMessageReceived(const QString& message)
{
    // The socket already refuses larger messages; this holds for texts handed in directly too.
    if (quint64(message.size()) > MaxIncomingMessageSize)
        return;
    const QJsonObject frame = objectOf(message);
    if (frame.isEmpty() || !frame.contains(QLatin1String("status")))
        return;
    const QString type = frame.value(QLatin1String("type")).toString();
    if (type == QLatin1String("device_login"))
        onLoginReply(frame);
    else if (type == QLatin1String("send_message"))
        onMessage(frame);
}

void TavixProjectCloudConnectWork::onLoginReply(const QJsonObject& frame)
{
    stopLoginDeadline();
    const std::optional<int> status = statusOf(frame.value(QLatin1String("status")));
    if (status == 0) {
        m_ownId = frame.value(QLatin1String("data")).toVariant().toString();
        setJoined(true);
        qCInfo(lcTavixCloud) << "joined project" << m_projectUid << "as" << m_ownId;
        Q_EMIT joinSuccess(m_projectUid);
        return;
    }
    QString error = unknownErrorText();
    if (status == -1)
        error = loginErrorText();
    else if (status == 401)
        error = userExpiredText();
    qCWarning(lcTavixCloud) << "login refused" << m_projectUid << frame.value(QLatin1String("status"));
    Q_EMIT joinError(error);
    // A refused login for another project (or a new code) leaves no session to show as joined.
    if (isJoinProject()) {
        setJoined(false);
        Q_EMIT exitSuccess();
    }
}

void TavixProjectCloudConnectWork::onMessage(const QJsonObject& frame)
{
    const QJsonValue data = frame.value(QLatin1String("data"));
    if (!data.isString())
        return;
    const QString text = data.toString();
    const QJsonObject message = objectOf(text);
    if (message.isEmpty() || !message.contains(QLatin1String("cmdType")) ||
        !message.contains(QLatin1String("cmdParams")))
        return;
    // Counted before it is queued, so that the receiver cannot take it first.
    const bool receiverKeepsUp = m_pacer.add(qint64(text.size()) * qint64(sizeof(QChar)));
    Q_EMIT receiveCmd(message.value(QLatin1String("cmdType")).toString(),
                      message.value(QLatin1String("cmdParams")),
                      frame.value(QLatin1String("sender")).toString());
    if (!receiverKeepsUp || unsentBeyond(MaxUnsentFrames, MaxUnsentBytes))
        holdWhileBehind();
}

// Whether a hold may end: the receiver has caught up, and so has the writing while there is a link.
bool TavixProjectCloudConnectWork::mayReadOn()
{
    const bool linked = m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
    return m_pacer.mayRead() && !(linked && unsentBeyond(MaxUnsentFrames / 2, MaxUnsentBytes / 2));
}

// The socket reads only while this thread runs its event loop, and hands over every message it
// holds at once: holding the thread is what stops it reading.
void TavixProjectCloudConnectWork::holdWhileBehind()
{
    // A relay that keeps the link held would fill the log: one line per reason and HoldLogMs.
    const int reason = m_pacer.mayRead() ? 1 : 0;
    HoldLog& log = m_holdLog[reason];
    ++log.holds;
    if (!log.since.isValid() || log.since.hasExpired(HoldLogMs)) {
        qCInfo(lcTavixCloud).nospace() << "relay link held: "
                                       << (reason ? "its frames wait to be written"
                                                  : "the receiver of its commands is behind")
                                       << " (" << log.holds << " since the last such line)";
        log.holds = 0;
        log.since.start();
    }
    // Pings go at the heartbeat's pace, never faster than its default when none is set.
    int interval = heartbeatInterval();
    if (interval <= 0)
        interval = DefaultHeartbeatInterval;
    QDeadlineTimer nextPing(interval);
    for (;;) {
        const bool linked = m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
        if (linked) {
            // The client's commands, the answers to what it was given among them; flush() writes what
            // the system takes now and may end the link.
            QCoreApplication::sendPostedEvents(m_outbox, QEvent::MetaCall);
            m_socket->flush();
        }
        if (m_stopping || mayReadOn())
            return;
        if (nextPing.hasExpired()) {
            sendPing();
            nextPing.setRemainingTime(interval);
            continue;
        }
        if (!linked || !unsentBeyond(0, 0)) {
            m_pacer.waitForRead(int(nextPing.remainingTime()));
        } else {
            // Only the system can take our bytes: try again shortly, at once on new work.
            QMutexLocker locker(&m_holdMutex);
            if (!m_stopping)
                m_holdWake.wait(&m_holdMutex, QDeadlineTimer(qMin<qint64>(nextPing.remainingTime(), HoldPollMs)));
        }
    }
}

// --- shutdown -----------------------------------------------------------------------------------

void TavixProjectCloudConnectWork::releaseResources()
{
    delete m_outbox;
    m_outbox = nullptr;
    if (m_heartbeat) {
        m_heartbeat->stop();
        delete m_heartbeat;
        m_heartbeat = nullptr;
    }
    delete m_loginDeadline;
    m_loginDeadline = nullptr;
    if (m_socket) {
        disconnect(m_socket, nullptr, this, nullptr);
        if (m_socket->state() == QAbstractSocket::ConnectedState) {
            m_socket->close(QWebSocketProtocol::CloseCodeNormal, QString());
            m_socket->flush();
        }
        delete m_socket;
        m_socket = nullptr;
    }
    setJoined(false);
}
