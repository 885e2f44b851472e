#pragma once

#include "network/Request.h"

#include <QHostAddress>
#include <QJsonObject>
#include <QVariant>

// One command: {"params", "type", "uid"} written as indented JSON and cut into
// chunks of at most 1024 bytes: the first from start(), each further one from one
// advance() (the owner's pacing tick). A receiving
// message collects chunks until the last one and then parses the text.
class MessageRequest : public Request
{
    Q_OBJECT
public:
    // Sending: takes a message uid and builds the text. With datagram set the
    // chunks go out through sendRadioBuff to address:port.
    MessageRequest(const QString& sCmd, const QJsonObject& params, const QVariant& conditions,
                   IRCRequestOwner* owner, bool datagram = false, const QHostAddress& address = {},
                   int port = 0);
    // Sending over a stream: text is what buildTextWithNewUid built for sCmd and params under uid.
    MessageRequest(quint64 uid, const QByteArray& text, const QString& sCmd, const QJsonObject& params,
                   const QVariant& conditions, IRCRequestOwner* owner);
    // Receiving: the uid of the frames that created it.
    MessageRequest(quint64 uid, IRCRequestOwner* owner);

    bool receive(const QByteArray& chunk, bool last) override;
    void start() override;
    bool advance() override;
    int getState() const override { return m_state; }

    const QString& type() const { return m_type; }
    const QJsonObject& params() const { return m_params; }
    // The message text (sending) or the bytes received so far (receiving).
    const QByteArray& data() const { return m_data; }
    // Bytes taken by receive() so far; kept after the text has been parsed.
    qsizetype receivedSize() const { return m_received; }

    // The text a sender writes for one command.
    static QByteArray buildText(const QString& sCmd, const QJsonObject& params, quint64 uid);
    // Takes a new message uid and builds the text for it under the counter's lock;
    // answers the uid.
    static quint64 buildTextWithNewUid(const QString& sCmd, const QJsonObject& params, QByteArray& text);
    // Reads a received text: false unless it is a JSON object with at least one
    // member; "type" is read as text and "params" as an object, leniently.
    static bool parseText(const QByteArray& text, QString& sCmd, QJsonObject& params);

private:
    // Hands the next chunk to the owner; false when nothing was left.
    bool sendNextChunk();

    QString m_type;
    QJsonObject m_params;
    QVariant m_conditions;
    QByteArray m_data;
    qint64 m_sentPos = 0;
    qsizetype m_received = 0;
    int m_state = EState_Pending;
    bool m_datagram = false;
    QHostAddress m_address;
    int m_port = 0;
};
