#pragma once

#include "network/NetworkWorker.h"

#include <QHash>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>

class QUdpSocket;
class RequestManager;

// Discovery worker of the control link, in a thread of its own. Listens for
// "serverConfig" replies on the reply port and sends "requestServerConfig" probes,
// one datagram per local IPv4 address, to the probe destination (the limited
// broadcast address unless another is given). Public operations only emit queued
// signals and may be called from any thread.
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
    void onBuffRadioRequest(QByteArray buff, QHostAddress address, int port);
    void onDetectStart(int port);
    void onDetectStop();
    void onConnectRequest(int port, QHostAddress address);

protected:
    void releaseResources() override;

private:
    void onReply(const QHostAddress& sender, const QString& sCmd, const QJsonObject& params);
    void releaseSender(const QHostAddress& sender);

    QUdpSocket* m_socket = nullptr;
    RequestManager* m_sendManager = nullptr;
    // Per-sender reassembly state; bounded, oldest sender dropped first.
    QHash<QHostAddress, RequestManager*> m_receiveManagers;
    QList<QHostAddress> m_senderOrder;
    int m_replyPort = 0;
};
