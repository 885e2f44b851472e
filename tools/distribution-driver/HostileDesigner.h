#pragma once

#include "network/RequestManager.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTimer>
#include <QUdpSocket>

#include <functional>

// A designer that misbehaves towards a panel, for trying the panel's defences by hand on a private
// LAN: it invites the panel (every everyMs, naming inviteIp:invitePort, which may be another host)
// and plays its mode on every link a panel makes to its listening port:
//   "trickle"  sends its offer ("downloadKey") one byte every intervalMs;
//   "silent"   sends nothing;
//   "withdraw" sends its offer whole and ends the link intervalMs later.
// Every step goes to the report callback as an event name and a text. Invitations are bounded by
// the run time the caller gives its event loop. GUI thread.
class HostileDesigner : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QString mode;
        QHostAddress panel;
        int invitationPort = 36548;
        // 0: listens on none.
        int listenPort = 0;
        // Empty: sends no invitation.
        QString inviteIp;
        int invitePort = 0;
        int everyMs = 1000;
        int intervalMs = 5000;
    };

    HostileDesigner(const Options& options, std::function<void(const QString&, const QString&)> report);

    bool start();

private:
    void invite();
    void onConnection();

    Options m_options;
    std::function<void(const QString&, const QString&)> m_report;
    QTcpServer m_server;
    QUdpSocket m_udp;
    RequestManager m_framer;
    QTimer m_inviting;
};
