#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

// A TCP listener on loopback whose accept queue is full: a connection to it never completes its
// handshake and hangs like one to an address that never answers. Lives in the test's thread.
struct SilentListener
{
    QTcpServer server;
    QTcpSocket filler;

    // Listens on a free port and fills the queue; false when either fails.
    bool listen()
    {
        server.setListenBacklogSize(0);
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        server.pauseAccepting();
        filler.connectToHost(QHostAddress::LocalHost, server.serverPort());
        return filler.waitForConnected(5000);
    }
    quint16 port() const { return server.serverPort(); }
};
