#include "network/MessageRequest.h"

#include "network/IRCRequestOwner.h"
#include "network/NetworkLimits.h"
#include "network/RequestHead.h"
#include "network/RequestUidCounter.h"

#include <QJsonDocument>
#include <QJsonParseError>

MessageRequest::MessageRequest(const QString& sCmd, const QJsonObject& params, const QVariant& conditions,
                               IRCRequestOwner* owner, bool datagram, const QHostAddress& address, int port)
    : Request(0, owner), m_type(sCmd), m_params(params), m_conditions(conditions), m_datagram(datagram),
      m_address(address), m_port(port)
{
    m_uid = buildTextWithNewUid(sCmd, params, m_data);
}

MessageRequest::MessageRequest(quint64 uid, const QByteArray& text, const QString& sCmd,
                               const QJsonObject& params, const QVariant& conditions, IRCRequestOwner* owner)
    : Request(uid, owner), m_type(sCmd), m_params(params), m_conditions(conditions), m_data(text)
{
}

MessageRequest::MessageRequest(quint64 uid, IRCRequestOwner* owner) : Request(uid, owner) {}

QByteArray MessageRequest::buildText(const QString& sCmd, const QJsonObject& params, quint64 uid)
{
    QJsonObject obj;
    obj.insert(QStringLiteral("type"), sCmd);
    obj.insert(QStringLiteral("uid"), qint64(uid));
    obj.insert(QStringLiteral("params"), params);
    return QJsonDocument(obj).toJson(QJsonDocument::Indented);
}

quint64 MessageRequest::buildTextWithNewUid(const QString& sCmd, const QJsonObject& params, QByteArray& text)
{
    RequestUidCounter& counter = RequestUidCounter::messages();
    QMutexLocker lock(&counter.mutex());
    const quint64 uid = counter.takeLocked();
    text = buildText(sCmd, params, uid);
    return uid;
}

bool MessageRequest::parseText(const QByteArray& text, QString& sCmd, QJsonObject& params)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject obj = doc.object();
    if (obj.isEmpty())
        return false;
    sCmd = obj.value(QStringLiteral("type")).toString();
    params = obj.value(QStringLiteral("params")).toObject();
    return true;
}

bool MessageRequest::receive(const QByteArray& chunk, bool last)
{
    if (m_state != EState_Pending)
        return false;
    m_data.append(chunk);
    m_received += chunk.size();
    if (!last)
        return true;

    if (!parseText(m_data, m_type, m_params)) {
        m_state = EState_Failed;
        m_owner->requestError(m_uid, ERequestType_Message);
        return false;
    }
    m_data.clear();
    m_state = EState_Complete;
    m_owner->requestReceived(m_uid, ERequestType_Message);
    return true;
}

void MessageRequest::start()
{
    sendNextChunk();
    if (m_sentPos >= m_data.size())
        m_owner->requestSent(m_uid, ERequestType_Message);
}

bool MessageRequest::advance()
{
    if (!sendNextChunk())
        return false;
    if (m_sentPos < m_data.size())
        return true;
    m_owner->requestSent(m_uid, ERequestType_Message);
    return false;
}

bool MessageRequest::sendNextChunk()
{
    const qint64 size = m_data.size();
    const qint64 len = qMin<qint64>(NetworkLimits::kChunkSize, size - m_sentPos);
    if (len <= 0)
        return false;
    const QByteArray chunk = m_data.mid(m_sentPos, len);
    m_sentPos += len;
    const bool last = m_sentPos >= size;
    if (m_datagram)
        m_owner->sendRadioBuff(m_address, m_port, m_uid, ERequestType_Message, last, chunk);
    else
        m_owner->sendBuff(m_uid, ERequestType_Message, last, chunk, m_conditions);
    return true;
}
