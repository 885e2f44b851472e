#pragma once

#include "network/DiscoveryFilter.h"
#include "network/IRCTerminal.h"
#include "network/ServerChoice.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QStringList>

class QTimer;
class TerminalDetect;
class TerminalLink;

// The control link: finds media servers by UDP discovery and links to them over TCP, each link with
// a worker in a thread of its own (TerminalLink), and relays what the followed link carries in the
// GUI thread. The panel prefers whoever answers. Until a link has answered the panel's first
// requests (TerminalLink says what counts), discovery goes on as while unlinked, and every endpoint
// that answers a probe gets a link of its own beside the others, at most kMaxLinks at once, and one
// attempt at a time for the endpoints one host names. The rest of the system follows one link: the
// first to come up, replaced by another that greets ("connected") while it has not. The requests
// the panel makes while the followed link's greeting is delivered are its opening; every other link
// is asked the same once it greets, and what it sends meanwhile waits in it. The first link to
// answer is followed (what it holds delivered in order, after socketDisconnected of the one
// followed before and its own socketConnected) and the others close; discovery stops until it ends.
// No link is cut for taking its time: when every place is held by a link that has not answered and
// another endpoint answers a probe, the link that has waited longest gives way (its endpoint set
// aside for a while); while an attempt holds a place, nobody gives way (the attempt ends by
// itself). Which endpoint is tried, and which rest, follows ServerChoice: an endpoint whose attempt
// failed (its whole address when its host did not answer), and the host whose reply named it (as
// the link records it), rest for a while; the link address (when set) never rests. A link that ends
// rests nothing. refuseLink() ends the followed link for good: its endpoint is not tried again
// until resetLink(). A server that vanishes without closing a link is noticed by the link's keep-
// alive (LinkKeepAlive) and ends it as any drop does. Signals queued before stopServer() are
// discarded, so a stopped terminal never reports a connection or a command afterwards.
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
    static constexpr int kMaxLinks = 4;
    // The most requests of an opening that other links are asked again.
    static constexpr int kMaxOpening = 64;

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
    void refuseLink() override;

    // Where probes go: 255.255.255.255 on TerminalDetect::kProbePort unless set.
    // Takes effect from the next probe.
    void setDiscoveryTarget(const QHostAddress& address, int port);

private Q_SLOTS:
    void onServerDetected(QString sIp, int port, QString sProductName, QString sSender);

private:
    explicit Terminal(const QStringList& names);
    void probe();

    // A new link to ip:port, named by host sender, its attempt started.
    void open(const QString& ip, int port, const QString& sender);
    void onLinkUp(TerminalLink* link);
    void onAttemptFailed(TerminalLink* link, bool hostAnswered);
    void onLinkEnded(TerminalLink* link);
    void onGreeted(TerminalLink* link);
    void onAnswered(TerminalLink* link);
    void onDelivery(TerminalLink* link, const QString& sCmd, const QJsonObject& params);
    // Makes link the followed one (announcing the change), or none.
    void follow(TerminalLink* link);
    // Takes link out of play and ends it; the one followed is announced as gone.
    void drop(TerminalLink* link);
    // The link another should follow once the followed one is gone: one that greeted first, the
    // one up longest first; null when no link is up.
    TerminalLink* successor() const;
    TerminalLink* linkTo(const QString& ip, int port) const;
    // Whether an attempt at an endpoint that sender named is under way.
    bool attemptUnderWay(const QString& sender) const;
    bool settled() const;
    // Tries the server ServerChoice picked after a failure, when there is room.
    void tryNext(bool another, const ServerChoice::Server& next);
    void logFailure(const QString& ip, int port);

    TerminalDetect* m_detect = nullptr;
    bool m_started = false;
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
    // Bumped whenever the discovery worker is replaced or dropped; its signals that were queued
    // under an older value are ignored.
    quint64 m_generation = 0;
    // Attempts and links in play, children of the terminal, oldest first.
    QList<TerminalLink*> m_links;
    TerminalLink* m_followed = nullptr;
    // The address of the link followed last, kept after it ended until stopServer().
    QString m_lastAddress;
    // The followed link's opening, once its greeting has been delivered.
    QList<QPair<QString, QJsonObject>> m_opening;
    bool m_openingKnown = false;
    bool m_recordingOpening = false;
};
