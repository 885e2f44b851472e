#include "network/Request.h"

Request::Request(quint64 uid, IRCRequestOwner* owner) : IRCRequest(nullptr), m_owner(owner), m_uid(uid) {}
