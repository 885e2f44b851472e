#pragma once

#include "network/DiscoveryFilter.h"
#include "network/IRCTerminal.h"
#include "network/ServerChoice.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QStringList>

class QTimer;
class TerminalConnect;
class TerminalDetect;

// The control link: finds a media server by UDP discovery, keeps one TCP link to
// it through its two workers (each in a thread of its own) and relays the workers'
// signals in the GUI thread. Discovery probes every kProbeIntervalMs while the
// link is down. Which of the servers that answered is tried follows ServerChoice: an
// endpoint whose attempt failed (its whole address when its host did not answer), and the
// host whose reply named it, rest for a while and the next server that answered is tried at
// once; the link address (when set) never rests. A link on which the server has not answered
// within TerminalConnect's answer time is given up and counts as a failed attempt.
// A server that vanishes without closing the link is noticed by the link's keep-alive
// (LinkKeepAlive) and ends it as any drop does. Signals a worker queued before
// stopServer() are discarded, so a stopped terminal never reports a connection or a
// command afterwards.
// A server that sends faster than the receivers of receiveCmd handle its commands is paced:
// once TerminalConnect::kMaxWaiting commands wait for the GUI thread, the link reads no more
// until half of them have been handled, and TCP holds the server back meanwhile. Every command
// arrives, in order.
// GUI thread only.
class Terminal : public IRCTerminal
{
    Q_OBJECT
public:
    static constexpr int kProbeIntervalMs = 2000;

    // A new terminal with no parent, accepting servers whose product name is one of
    // names (exact, case-sensitive) or empty.
    static Terminal* create(const QStringList& names);
    ~Terminal() override;

    void startServer(int nDetectPort) override;
    void stopServer() override;
    void setAutoConnect(bool b) override;
    QString getConnectIp() const override;
    void resetLink(QString sIp) override;
    QString getEnableIp() const override;
    void sendCmd(QString sCmd, QJsonObject value) override;
    void sendFile(QString sFilePath, QJsonObject params) override;

    // Where probes go: 255.255.255.255 on TerminalDetect::kProbePort unless set.
    // Takes effect from the next probe.
    void setDiscoveryTarget(const QHostAddress& address, int port);

private Q_SLOTS:
    void onServerDetected(QString sIp, int port, QString sProductName, QString sSender);
    void onSocketConnect(QString sIp);
    void onSocketDisconnect();
    void onReceiveCmd(QString sCmd, QJsonObject params);
    void onConnectFailed(QString sIp, int port, bool hostAnswered);

private:
    explicit Terminal(const QStringList& names);
    void probe();

    TerminalDetect* m_detect = nullptr;
    TerminalConnect* m_connect = nullptr;
    QTimer* m_autoConnectTimer = nullptr;
    bool m_autoConnect = false;
    // Also handed to the discovery worker, which drops what it refuses before counting
    // replies; checked here again for replies queued before a change.
    DiscoveryFilter m_filter;
    ServerChoice m_choice;
    QElapsedTimer m_clock;
    qint64 m_lastFailureLogMs = -1;
    QHostAddress m_probeAddress{QHostAddress::Broadcast};
    int m_probePort;
    // Bumped whenever the workers are replaced or dropped; worker signals that were
    // queued under an older value are ignored.
    quint64 m_generation = 0;
};
