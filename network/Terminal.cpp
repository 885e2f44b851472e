#include "network/Terminal.h"

#include "network/TerminalConnect.h"
#include "network/TerminalDetect.h"

#include <QTimer>

Terminal* Terminal::create(const QStringList& names)
{
    return new Terminal(names);
}

Terminal::Terminal(const QStringList& names)
    : m_filter(names, QString()), m_probePort(TerminalDetect::kProbePort)
{
    m_clock.start();
}

Terminal::~Terminal()
{
    stopServer();
}

void Terminal::startServer(int nDetectPort)
{
    const quint64 generation = m_generation;
    if (!m_detect) {
        m_detect = new TerminalDetect;
        m_detect->setFilter(m_filter.productNames(), m_filter.linkIp());
        m_detect->startDetect(nDetectPort);
        connect(m_detect, &TerminalDetect::serverDetected, this,
                [this, generation](const QString& sIp, int port, const QString& name, const QString& sender) {
                    if (generation == m_generation)
                        onServerDetected(sIp, port, name, sender);
                });
    }
    if (!m_connect) {
        m_connect = new TerminalConnect;
        auto guard = [this, generation] { return generation == m_generation; };
        // Each delivery is handed back once handled (unless the worker has gone meanwhile), which
        // lets the worker read on.
        auto taken = [this, guard] {
            if (guard())
                m_connect->deliveryTaken();
        };
        connect(m_connect, &TerminalConnect::receiveCmd, this,
                [this, guard, taken](const QString& sCmd, const QJsonObject& params) {
                    if (!guard())
                        return;
                    onReceiveCmd(sCmd, params);
                    taken();
                });
        connect(m_connect, &TerminalConnect::socketConnected, this, [this, guard](const QString& sIp) {
            if (guard())
                onSocketConnect(sIp);
        });
        connect(m_connect, &TerminalConnect::socketDisconnect, this, [this, guard] {
            if (guard())
                onSocketDisconnect();
        });
        connect(m_connect, &TerminalConnect::connectFailed, this,
                [this, guard](const QString& sIp, int port, bool hostAnswered) {
                    if (guard())
                        onConnectFailed(sIp, port, hostAnswered);
                });
        connect(m_connect, &TerminalConnect::fileContentReceive, this,
                [this, guard, taken](const QByteArray& data, bool complate, const QVariantMap& params) {
                    if (!guard())
                        return;
                    Q_EMIT fileContentReceive(data, complate, params);
                    taken();
                });
        connect(m_connect, &TerminalConnect::fileReceiveError, this,
                [this, guard, taken](const QVariantMap& params) {
                    if (!guard())
                        return;
                    Q_EMIT fileReceiveError(params);
                    taken();
                });
        connect(m_connect, &TerminalConnect::fileContentSend, this,
                [this, guard](qlonglong pos, bool complate, const QString& path, qulonglong uid) {
                    if (guard())
                        Q_EMIT fileContentSend(pos, complate, path, uid);
                });
        connect(m_connect, &TerminalConnect::fileSendError, this,
                [this, guard](const QString& path, qulonglong uid) {
                    if (guard())
                        Q_EMIT fileSendError(path, uid);
                });
    }
    setAutoConnect(true);
}

void Terminal::stopServer()
{
    setAutoConnect(false);
    ++m_generation;
    m_choice.clear();
    if (m_detect) {
        m_detect->stopDetect();
        delete m_detect;
        m_detect = nullptr;
    }
    if (m_connect) {
        m_connect->disconnectFromServer();
        delete m_connect;
        m_connect = nullptr;
    }
    Q_EMIT socketDisconnected();
}

void Terminal::setAutoConnect(bool b)
{
    if (b == m_autoConnect)
        return;
    m_autoConnect = b;
    if (!b) {
        delete m_autoConnectTimer;
        m_autoConnectTimer = nullptr;
        return;
    }
    if (!m_autoConnectTimer) {
        m_autoConnectTimer = new QTimer(this);
        connect(m_autoConnectTimer, &QTimer::timeout, this, &Terminal::probe);
        m_autoConnectTimer->start(kProbeIntervalMs);
    }
}

void Terminal::probe()
{
    if (m_detect)
        m_detect->requestConnect(m_probePort, m_probeAddress);
}

void Terminal::setDiscoveryTarget(const QHostAddress& address, int port)
{
    m_probeAddress = address;
    m_probePort = port;
}

QString Terminal::getConnectIp() const
{
    return m_connect ? m_connect->serverAddress() : QString();
}

void Terminal::resetLink(QString sIp)
{
    m_choice.clear();
    if (sIp != m_filter.linkIp()) {
        m_filter = DiscoveryFilter(m_filter.productNames(), sIp);
        if (m_detect)
            m_detect->setFilter(m_filter.productNames(), sIp);
    }
    if (m_connect)
        m_connect->disconnectFromServer();
}

QString Terminal::getEnableIp() const
{
    return m_filter.linkIp();
}

void Terminal::sendCmd(QString sCmd, QJsonObject value)
{
    if (m_connect)
        m_connect->sendCmd(sCmd, value);
}

void Terminal::sendFile(QString sFilePath, QJsonObject params)
{
    if (m_connect)
        m_connect->sendFile(sFilePath, params);
}

void Terminal::onServerDetected(QString sIp, int port, QString sProductName, QString sSender)
{
    if (!m_connect || !m_filter.accepts(sIp, port, sProductName))
        return;
    if (m_choice.offer(sIp, port, sSender, m_filter.pins(sIp), m_clock.elapsed()))
        m_connect->connectToServer(sIp, port);
}

void Terminal::onConnectFailed(QString sIp, int port, bool hostAnswered)
{
    ServerChoice::Server next;
    const qint64 now = m_clock.elapsed();
    const bool another = m_choice.failed(sIp, port, hostAnswered, m_filter.pins(sIp), now, &next);
    // At most one line per probe period, however many hosts announce what nobody serves.
    if (m_lastFailureLogMs < 0 || now - m_lastFailureLogMs >= kProbeIntervalMs) {
        m_lastFailureLogMs = now;
        qInfo("Control link: no connection to %s port %d", qPrintable(sIp), port);
    }
    if (another && m_connect)
        m_connect->connectToServer(next.ip, next.port);
}

void Terminal::onSocketConnect(QString sIp)
{
    m_choice.linked(sIp);
    setAutoConnect(false);
    Q_EMIT socketConnected(sIp);
}

void Terminal::onSocketDisconnect()
{
    setAutoConnect(true);
    Q_EMIT socketDisconnected();
}

void Terminal::onReceiveCmd(QString sCmd, QJsonObject params)
{
    Q_EMIT receiveCmd(sCmd, params);
}
