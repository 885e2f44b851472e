#pragma once

#include <QObject>
#include <QString>

// The panel side of project distribution over the LAN, as the user interface sees it: listens for
// a designer's invitation, connects back, asks the user (receiveDownloadInvitation), and once the
// user accepted (download) receives the packet for the receive folder. A packet that arrived
// whole waits beside the folder (receiveComplate) until the receiver of that signal installs it
// in place of the folder's content, once it proved usable, or discards it; anything else ends
// the link (serverDisconnected). Either way the folder stays as it was until an install. A
// reception that this side broke off says why (receiveFailed) just before the link ends. GUI
// thread only; every signal is emitted there. Registered with QML as "Rc.IRCPacketTerminal" 1.0.
class IRCPacketTerminal : public QObject
{
    Q_OBJECT
public:
    // Why the panel broke a reception off.
    enum EReceiveFault
    {
        EReceiveFault_BadData = 1,     // the designer sent something out of turn or out of bounds
        EReceiveFault_NoSpace = 2,     // the packet does not fit on the receiving disk
        EReceiveFault_WriteFailed = 3, // a received file could not be written for another reason
    };
    Q_ENUM(EReceiveFault)

    using QObject::QObject;

    Q_INVOKABLE virtual void startServer() {}
    Q_INVOKABLE virtual void stopServer() {}
    Q_INVOKABLE virtual QString getConnectIp() const { return {}; }
    Q_INVOKABLE virtual void stopReceive() {}
    Q_INVOKABLE virtual void setReceiveDir(QString sDirPath) { Q_UNUSED(sDirPath); }
    Q_INVOKABLE virtual void download() {}
    // The user turned the latest invitation down: ends the link to that designer, and its
    // invitations are not brought to the user again for a while.
    Q_INVOKABLE virtual void declineInvitation() {}

Q_SIGNALS:
    void serverConnected(QString sIp);
    void serverDisconnected();
    void receiveDownloadInvitation(QString sIp);
    void receiveBegin();
    void receiveProcess(double rate);
    void receiveComplate();
    // fault: an EReceiveFault. serverDisconnected follows.
    void receiveFailed(int fault);
};
