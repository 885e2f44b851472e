#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QVariantMap>

// The control link as the rest of the system sees it: the one path of outgoing
// media-server commands and of incoming ones. Lives in the GUI thread; every
// signal is emitted there. Registered with QML as "Rc.IRCTerminal" 1.0.
class IRCTerminal : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    Q_INVOKABLE virtual void startServer(int nDetectPort) { Q_UNUSED(nDetectPort); }
    Q_INVOKABLE virtual void stopServer() {}
    Q_INVOKABLE virtual void setAutoConnect(bool b) { Q_UNUSED(b); }
    Q_INVOKABLE virtual QString getConnectIp() const { return {}; }
    Q_INVOKABLE virtual void resetLink(QString sIp) { Q_UNUSED(sIp); }
    Q_INVOKABLE virtual QString getEnableIp() const { return {}; }
    Q_INVOKABLE virtual void sendCmd(QString sCmd, QJsonObject value)
    {
        Q_UNUSED(sCmd);
        Q_UNUSED(value);
    }
    Q_INVOKABLE virtual void sendFile(QString sFilePath, QJsonObject params)
    {
        Q_UNUSED(sFilePath);
        Q_UNUSED(params);
    }
    // The user turned the server on the link down (at its password question): the link ends and
    // that server is not linked again until resetLink(); discovery goes on.
    Q_INVOKABLE virtual void refuseLink() {}

Q_SIGNALS:
    void socketConnected(QString sIp);
    void socketDisconnected();
    void receiveCmd(QString sCmd, QJsonObject params);
    void fileContentReceive(QByteArray data, bool complate, QVariantMap params);
    void fileReceiveError(QVariantMap params);
    void fileContentSend(qlonglong sendPos, bool complate, QString sFilePath, qulonglong sendUid);
    void fileSendError(QString sFilePath, qulonglong sendUid);
};
