#pragma once

#include "network/Request.h"

#include <QJsonObject>
#include <QVariantMap>

#include <memory>

class QFile;

// One file: a 16-byte FileHead chunk and the information text in one chunk from
// start(), then the content in 1024-byte chunks, one per advance() (the owner's
// pacing tick). The sender reads the file chunk
// by chunk and sends exactly the size it found at the start; a file that shrinks or
// cannot be read is reported with fileSendError, never as sent. A receiving file
// relays its information and content to the owner as they arrive.
class FileTransferRequest : public Request
{
    Q_OBJECT
public:
    enum EReceiveState
    {
        EReceiveState_New = 0,
        EReceiveState_Header = 1,
        EReceiveState_Content = 2,
        EReceiveState_Done = 3,
        EReceiveState_Failed = 4
    };

    // Sending: takes a file uid. params are extra information members.
    FileTransferRequest(const QString& sFilePath, const QJsonObject& params, IRCRequestOwner* owner);
    // Receiving: the uid of the frames that created it.
    FileTransferRequest(quint64 uid, IRCRequestOwner* owner);
    ~FileTransferRequest() override;

    bool receive(const QByteArray& chunk, bool last) override;
    void start() override;
    bool advance() override;
    void stop() override;

    const QString& path() const { return m_path; }
    const QVariantMap& information() const { return m_information; }
    int receiveState() const { return m_revState; }

    // MD5 of the file as lower-case hex, read in 4096-byte blocks; empty when the
    // file cannot be opened.
    static QString fileMd5(const QString& sFilePath);

Q_SIGNALS:
    void revStateChanged();

private Q_SLOTS:
    void onRevStateChanged();

private:
    int receiveStep();
    void runStep();
    void failSending();

    QByteArray m_revBuffer;
    int m_revState = EReceiveState_New;
    bool m_revLast = false;
    QVariantMap m_information;
    std::unique_ptr<QFile> m_file;
    QString m_path;
    QJsonObject m_params;
    qint64 m_sendPos = 0;
    qint64 m_sendSize = 0;
    bool m_sendLast = false;
    bool m_sending = false;
};
