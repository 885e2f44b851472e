#pragma once

#include <QObject>
#include <QString>

// The panel side of project distribution over the LAN, as the user interface sees it: listens for
// a designer's invitation, connects back, asks the user (receiveDownloadInvitation), and once the
// user accepted (download) receives the packet into the receive folder. A packet replaces the
// folder's content only when it arrived whole (receiveComplate); anything else ends the link
// (serverDisconnected) and leaves the folder as it was. GUI thread only; every signal is emitted
// there. Registered with QML as "Rc.IRCPacketTerminal" 1.0.
class IRCPacketTerminal : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    Q_INVOKABLE virtual void startServer() {}
    Q_INVOKABLE virtual void stopServer() {}
    Q_INVOKABLE virtual QString getConnectIp() const { return {}; }
    Q_INVOKABLE virtual void stopReceive() {}
    Q_INVOKABLE virtual void setReceiveDir(QString sDirPath) { Q_UNUSED(sDirPath); }
    Q_INVOKABLE virtual void download() {}

Q_SIGNALS:
    void serverConnected(QString sIp);
    void serverDisconnected();
    void receiveDownloadInvitation(QString sIp);
    void receiveBegin();
    void receiveProcess(double rate);
    void receiveComplate();
};
