#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>
#include <QObject>
#include <QVariant>
#include <QVariantMap>

// The framing engine of one byte stream or one UDP peer: frames outgoing
// commands and files, and cuts incoming bytes into frames, delivering complete
// commands in the order of their first chunk. Never touches a socket; the owning
// worker writes what it emits and feeds it what the socket reads. Lives in, and is
// called only from, its owner's thread.
class IRCRequestManager : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void appendData(const QByteArray& data) { Q_UNUSED(data); }
    virtual void sendCmd(const QString& sCmd, const QJsonObject& params, const QVariant& conditions)
    {
        Q_UNUSED(sCmd);
        Q_UNUSED(params);
        Q_UNUSED(conditions);
    }
    virtual void sendRadioCmd(const QString& sCmd, const QJsonObject& params, const QHostAddress& address,
                              int port)
    {
        Q_UNUSED(sCmd);
        Q_UNUSED(params);
        Q_UNUSED(address);
        Q_UNUSED(port);
    }
    virtual void sendFile(const QString& sFilePath, const QJsonObject& params)
    {
        Q_UNUSED(sFilePath);
        Q_UNUSED(params);
    }
    virtual void stopFile(quint64 uid) { Q_UNUSED(uid); }
    virtual void stopAllFiles() {}

Q_SIGNALS:
    void cmdReceive(QString sCmd, QJsonObject params);
    void receiveComplate();
    void buffSendRequest(QByteArray buff, QVariant conditions);
    void buffRadioRequest(QByteArray buff, QHostAddress address, int port);
    void fileinfoReceive(QVariantMap params);
    void fileContentReceive(QByteArray data, bool complate, QVariantMap params);
    void fileReceiveError(QVariantMap params);
    void fileContentSend(qlonglong sendPos, bool complate, QString sFilePath, qulonglong sendUid);
    void fileSendError(QString sFilePath, qulonglong sendUid);
    void fileSendStop(QString sFilePath, qulonglong sendUid);
};
