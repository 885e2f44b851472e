#pragma once

#include <QObject>
#include <QString>

// The designer side of project distribution over the LAN, as the user interface sees it: invites a
// panel by its address, and once the panel has connected and its user accepted, sends it every
// file of a project packet. Every signal carries the panel's address as HostAddressText writes it,
// except connectTimeout and the issueError of an address that does not parse, which carry the
// text given to issue(). GUI thread only.
// Registered with QML as "Rc.IRCPacketServer" 1.0.
class IRCPacketServer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    Q_INVOKABLE virtual void startServer() {}
    Q_INVOKABLE virtual void stopServer() {}
    Q_INVOKABLE virtual void issue(QString sIp, QString sFolderPath)
    {
        Q_UNUSED(sIp);
        Q_UNUSED(sFolderPath);
    }
    Q_INVOKABLE virtual bool enableIssue(QString sIp)
    {
        Q_UNUSED(sIp);
        return false;
    }
    Q_INVOKABLE virtual void stopIssue(QString sIp) { Q_UNUSED(sIp); }
    Q_INVOKABLE virtual QString getOldIssuIp() const { return {}; }

Q_SIGNALS:
    void connectSuccess(QString sIp);
    void connectTimeout(QString sIp);
    void connectBreak(QString sIp);
    void issueBegin(QString sIp);
    void issueProcessing(QString sIp, double rate);
    void issueComplate(QString sIp);
    void issueError(QString sIp, QString sErrorFilePath);
    void issueStop(QString sIp);
};
