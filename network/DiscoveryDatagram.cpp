#include "network/DiscoveryDatagram.h"

#include "network/MessageRequest.h"

QByteArray DiscoveryDatagram::encode(const QString& sCmd, const QJsonObject& params)
{
    QByteArray text;
    const quint64 uid = MessageRequest::buildTextWithNewUid(sCmd, params, text);
    if (text.size() > NetworkLimits::kChunkSize)
        return {};
    return RequestHead::frame(uid, ERequestType_Message, true, text);
}

bool DiscoveryDatagram::decode(const char* data, qsizetype size, QString& sCmd, QJsonObject& params)
{
    if (size < RequestHead::Size || size > kMaxSize || !RequestHead::hasMagic(data))
        return false;
    const RequestHead head = RequestHead::read(data);
    if (head.type != ERequestType_Message || !head.last || head.length != size - RequestHead::Size)
        return false;
    if (!MessageRequest::parseText(QByteArray::fromRawData(data + RequestHead::Size, head.length), sCmd,
                                   params))
        return false;
    params.insert(QStringLiteral("uid"), QString::number(head.uid));
    return true;
}
