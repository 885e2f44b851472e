#pragma once

#include "network/IRCRequest.h"

class IRCRequestOwner;

// Base of the concrete requests: holds the owner (not owned) and the uid.
class Request : public IRCRequest
{
    Q_OBJECT
public:
    Request(quint64 uid, IRCRequestOwner* owner);

    quint64 getUid() const override { return m_uid; }

protected:
    IRCRequestOwner* m_owner;
    quint64 m_uid;
};
