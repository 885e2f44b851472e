#pragma once

#include <QByteArray>
#include <QObject>

// One message or file travelling through a request manager. Lives in the
// manager's thread; created without a parent and owned by the manager.
class IRCRequest : public QObject
{
    Q_OBJECT
public:
    enum EState
    {
        EState_Pending = 0,
        EState_Complete = 1,
        EState_Failed = 2
    };

    using QObject::QObject;

    virtual quint64 getUid() const { return 0; }
    // Takes one received chunk; false when the request has failed or takes no more.
    virtual bool receive(const QByteArray& chunk, bool last)
    {
        Q_UNUSED(chunk);
        Q_UNUSED(last);
        return false;
    }
    // Sends what leaves at once (the first chunk); the rest is paced by the owner.
    virtual void start() {}
    // Called by the owner at most once per pacing tick while the request is sending:
    // hands the owner the next chunk. False once nothing more is to be sent
    // (finished, stopped or failed); the owner then stops advancing it.
    virtual bool advance() { return false; }
    virtual void stop() {}
    // EState of a receiving message; file requests always answer EState_Pending.
    virtual int getState() const { return EState_Pending; }
};
