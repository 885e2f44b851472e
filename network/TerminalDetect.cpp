#include "network/TerminalDetect.h"

#include "network/DiscoveryDatagram.h"
#include "network/HostAddressText.h"
#include "network/LocalAddresses.h"
#include "network/NetworkLimits.h"

#include <QUdpSocket>

namespace {
// Datagrams read per readiness notification before the worker gives its event
// loop a turn; the socket reports readiness again while datagrams are waiting.
constexpr int kDatagramsPerTurn = 64;
} // namespace

TerminalDetect::TerminalDetect()
{
    connect(this, &TerminalDetect::detectStart, this, &TerminalDetect::onDetectStart);
    connect(this, &TerminalDetect::detectStop, this, &TerminalDetect::onDetectStop);
    connect(this, &TerminalDetect::connectRequest, this, &TerminalDetect::onConnectRequest);
    connect(this, &TerminalDetect::filterChange, this, &TerminalDetect::onFilterChange);
}

TerminalDetect::~TerminalDetect()
{
    shutdownThread();
}

void TerminalDetect::startDetect(int port)
{
    Q_EMIT detectStart(port);
}

void TerminalDetect::stopDetect()
{
    Q_EMIT detectStop();
}

void TerminalDetect::requestConnect(int port)
{
    Q_EMIT connectRequest(port, QHostAddress(QHostAddress::Broadcast));
}

void TerminalDetect::requestConnect(int port, const QHostAddress& address)
{
    Q_EMIT connectRequest(port, address);
}

void TerminalDetect::setFilter(const QStringList& productNames, const QString& linkIp)
{
    Q_EMIT filterChange(productNames, linkIp);
}

void TerminalDetect::onFilterChange(const QStringList& productNames, const QString& linkIp)
{
    m_filter = DiscoveryFilter(productNames, linkIp);
}

void TerminalDetect::onDetectStart(int port)
{
    if (m_socket)
        return;
    m_replyPort = port;
    m_datagram.resize(DiscoveryDatagram::kMaxSize + 1);
    m_socket = new QUdpSocket(this);
    connect(m_socket, &QUdpSocket::readyRead, this, &TerminalDetect::onReadyread);
    m_socket->bind(QHostAddress::Any, quint16(port));
}

void TerminalDetect::onDetectStop()
{
    if (!m_socket)
        return;
    m_socket->close();
    delete m_socket;
    m_socket = nullptr;
}

void TerminalDetect::releaseResources()
{
    onDetectStop();
}

void TerminalDetect::onConnectRequest(int port, QHostAddress address)
{
    if (!m_socket)
        return;
    const QStringList locals = LocalAddresses::localIPv4Addresses();
    for (const QString& local : locals) {
        const QByteArray datagram = DiscoveryDatagram::encode(
            QStringLiteral("requestServerConfig"),
            QJsonObject{{QStringLiteral("ip"), local}, {QStringLiteral("port"), m_replyPort}});
        // Sent from the address it names: a limited broadcast then leaves through
        // that address's interface even where no route covers it.
        QUdpSocket sender;
        sender.bind(QHostAddress(local), 0);
        sender.writeDatagram(datagram, address, quint16(port));
    }
}

void TerminalDetect::onReadyread()
{
    for (int i = 0; i < kDatagramsPerTurn && m_socket && m_socket->hasPendingDatagrams(); ++i) {
        const qint64 size = m_socket->readDatagram(m_datagram.data(), m_datagram.size(), &m_sender);
        if (size >= 0)
            onDatagram(size, m_sender);
    }
}

void TerminalDetect::onDatagram(qsizetype size, const QHostAddress& sender)
{
    QString sCmd;
    QJsonObject params;
    if (!DiscoveryDatagram::decode(m_datagram.constData(), size, sCmd, params) ||
        sCmd != QLatin1String("serverConfig"))
        return;
    QString ip = params.value(QStringLiteral("ip")).toString();
    if (ip.isEmpty()) {
        bool ok = false;
        const quint32 v4 = sender.toIPv4Address(&ok);
        if (!ok)
            return; // nowhere to connect to
        ip = QHostAddress(v4).toString();
    }
    const QString productName = params.value(QStringLiteral("productName")).toString();
    const int port = params.value(QStringLiteral("port")).toInt(0);
    // Everything the filter checks is checked before the sender counts against a budget, so
    // replies that could never be connected to cannot crowd out those that can.
    if (!m_filter.accepts(ip, port, productName))
        return;
    if (!m_filter.pins(ip) && !takeReportBudget(sender))
        return;
    Q_EMIT serverDetected(ip, port, productName, HostAddressText::of(sender));
}

bool TerminalDetect::takeReportBudget(const QHostAddress& sender)
{
    if (!m_reportWindow.isValid() || m_reportWindow.elapsed() >= 1000) {
        m_reportWindow.start();
        m_reportsInWindow.clear();
    }
    auto it = m_reportsInWindow.find(sender);
    if (it == m_reportsInWindow.end()) {
        if (m_reportsInWindow.size() >= NetworkLimits::kMaxDiscoverySendersPerSecond)
            return false;
        it = m_reportsInWindow.insert(sender, 0);
    }
    return (*it)++ < NetworkLimits::kMaxDiscoveryReportsPerSender;
}
