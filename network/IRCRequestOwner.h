#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// The callbacks with which a request talks to the manager that holds it. Called
// by requests only, synchronously, on the manager's thread. A callback may retire
// the calling request, but never destroys it before the request's own call returns.
class IRCRequestOwner
{
public:
    virtual ~IRCRequestOwner() = default;

    virtual void requestReceived(quint64 uid, int type) = 0;
    virtual void requestError(quint64 uid, int type) = 0;
    virtual void sendBuff(quint64 uid, int type, bool last, const QByteArray& chunk,
                          const QVariant& conditions) = 0;
    virtual void sendRadioBuff(const QHostAddress& address, int port, quint64 uid, int type, bool last,
                               const QByteArray& chunk) = 0;
    virtual void requestSent(quint64 uid, int type) = 0;
    virtual void fileSendStopped(quint64 uid, int type) = 0;
    virtual void fileinfoReceive(const QVariantMap& info) = 0;
    virtual void fileContentReceive(const QByteArray& data, bool last, const QVariantMap& info) = 0;
    virtual void fileReceiveError(const QVariantMap& info) = 0;
    virtual void fileContentSend(quint64 uid, qlonglong sendPos, bool last, const QString& sFilePath) = 0;
    virtual void fileSendError(quint64 uid, const QString& sFilePath) = 0;
};
