#pragma once

#include "network/DiscoveryFilter.h"
#include "network/NetworkWorker.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>

class QUdpSocket;

// Discovery worker of the control link, in a thread of its own. Listens for
// "serverConfig" replies on the reply port and sends "requestServerConfig" probes,
// one datagram per local IPv4 address, each from a socket bound to that address
// (so probes leave on a LAN without a gateway), to the probe destination (the
// limited broadcast address unless another is given).
// Any rate of datagrams at the reply port is handled in bounded memory: every
// datagram is read on its own, keeps nothing behind, and what cannot be a reply
// is dropped before it is parsed; the worker returns to its event loop after every
// few datagrams, so it stays stoppable under a flood. Replies the filter refuses
// (another product, another address than the link address, a port outside 1 to
// 65535, which includes a reply naming none) are dropped before they count against
// any budget; of the rest, each sender has its own budget of
// NetworkLimits::kMaxDiscoveryReportsPerSender reports per second, so one noisy host
// cannot silence the others, and a reply naming the link address is always reported.
// Each report names, besides the server, the host whose datagram it came from (its address as
// HostAddressText writes it), so that a host naming servers nobody holds can be told apart.
// Public operations only emit queued signals and may be called from any thread.
class TerminalDetect : public NetworkWorker
{
    Q_OBJECT
public:
    static constexpr int kProbePort = 36543;

    TerminalDetect();
    ~TerminalDetect() override;

    void startDetect(int port);
    void stopDetect();
    // One probe cycle to 255.255.255.255:port.
    void requestConnect(int port);
    // One probe cycle to address:port.
    void requestConnect(int port, const QHostAddress& address);
    // Replies are filtered so from the next datagram on; until the first call every
    // product and address is accepted (the port is checked all the same).
    void setFilter(const QStringList& productNames, const QString& linkIp);

Q_SIGNALS:
    void serverDetected(QString sIp, int port, QString sProductName, QString sSender);

    // Private: each is connected to the slot of the same stem in the worker thread.
    void detectStart(int port);
    void detectStop();
    void connectRequest(int port, QHostAddress address);
    void filterChange(QStringList productNames, QString linkIp);

private Q_SLOTS:
    void onReadyread();
    void onDetectStart(int port);
    void onDetectStop();
    void onConnectRequest(int port, QHostAddress address);
    void onFilterChange(const QStringList& productNames, const QString& linkIp);

protected:
    void releaseResources() override;

private:
    void onDatagram(qsizetype size, const QHostAddress& sender);
    bool takeReportBudget(const QHostAddress& sender);

    QUdpSocket* m_socket = nullptr;
    // Receive buffer, one byte longer than any reply so longer datagrams show.
    QByteArray m_datagram;
    QHostAddress m_sender;
    int m_replyPort = 0;
    DiscoveryFilter m_filter;
    // Reports per sender in the current one-second window.
    QElapsedTimer m_reportWindow;
    QHash<QHostAddress, int> m_reportsInWindow;
};
