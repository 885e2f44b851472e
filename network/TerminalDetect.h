#pragma once

#include "network/NetworkWorker.h"

#include <QByteArray>
#include <QElapsedTimer>
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
// few datagrams, so it stays stoppable under a flood; at most
// NetworkLimits::kMaxDiscoveryReportsPerSecond replies are reported per second.
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

Q_SIGNALS:
    void serverDetected(QString sIp, int port, QString sProductName);

    // Private: each is connected to the slot of the same stem in the worker thread.
    void detectStart(int port);
    void detectStop();
    void connectRequest(int port, QHostAddress address);

private Q_SLOTS:
    void onReadyread();
    void onDetectStart(int port);
    void onDetectStop();
    void onConnectRequest(int port, QHostAddress address);

protected:
    void releaseResources() override;

private:
    void onDatagram(qsizetype size, const QHostAddress& sender);
    bool takeReportBudget();

    QUdpSocket* m_socket = nullptr;
    // Receive buffer, one byte longer than any reply so longer datagrams show.
    QByteArray m_datagram;
    QHostAddress m_sender;
    int m_replyPort = 0;
    QElapsedTimer m_reportWindow;
    int m_reportsInWindow = 0;
};
