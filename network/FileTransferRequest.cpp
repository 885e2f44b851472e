#include "network/FileTransferRequest.h"

#include "network/FileHead.h"
#include "network/IRCRequestOwner.h"
#include "network/NetworkLimits.h"
#include "network/RequestHead.h"
#include "network/RequestUidCounter.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>

FileTransferRequest::FileTransferRequest(const QString& sFilePath, const QJsonObject& params,
                                         IRCRequestOwner* owner)
    : Request(RequestUidCounter::files().take(), owner), m_path(sFilePath), m_params(params)
{
}

FileTransferRequest::FileTransferRequest(quint64 uid, IRCRequestOwner* owner) : Request(uid, owner)
{
    connect(this, &FileTransferRequest::revStateChanged, this, &FileTransferRequest::onRevStateChanged,
            Qt::DirectConnection);
}

FileTransferRequest::~FileTransferRequest() = default;

QString FileTransferRequest::fileMd5(const QString& sFilePath)
{
    QFile file(sFilePath);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "file open error.";
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Md5);
    char block[4096];
    qint64 n = 0;
    while ((n = file.read(block, sizeof block)) > 0)
        hash.addData(QByteArrayView(block, n));
    return QString::fromLatin1(hash.result().toHex());
}

void FileTransferRequest::start()
{
    if (m_sending)
        return;
    m_file = std::make_unique<QFile>(m_path);
    if (!m_file->open(QIODevice::ReadOnly)) {
        m_file.reset();
        m_owner->fileSendError(m_uid, m_path);
        return;
    }
    m_sendSize = m_file->size();

    QJsonObject info;
    info.insert(QStringLiteral("md5"), fileMd5(m_path));
    info.insert(QStringLiteral("size"), QString::number(m_sendSize));
    info.insert(QStringLiteral("name"), QFileInfo(m_path).fileName());
    for (auto it = m_params.constBegin(); it != m_params.constEnd(); ++it)
        info.insert(it.key(), it.value());
    const QByteArray text = QJsonDocument(info).toJson(QJsonDocument::Indented);

    FileHead head;
    head.infoLength = qint32(text.size());
    const QVariant conditions = QVariant(QString());
    m_owner->sendBuff(m_uid, ERequestType_File, false, head.toBytes(), conditions);
    m_owner->sendBuff(m_uid, ERequestType_File, false, text, conditions);

    m_sendPos = 0;
    m_sending = true;
}

bool FileTransferRequest::advance()
{
    if (!m_sending || !m_file)
        return false;
    if (m_file->pos() != m_sendPos && !m_file->seek(m_sendPos)) {
        failSending();
        return false;
    }
    // The file is sent with the size announced in its information; a file that
    // shrank below it can no longer be sent whole.
    if (m_file->size() < m_sendSize) {
        failSending();
        return false;
    }
    const qint64 len = qMin<qint64>(NetworkLimits::kChunkSize, m_sendSize - m_sendPos);
    m_sendLast = m_sendPos + len >= m_sendSize;
    const QByteArray chunk = m_file->read(len);
    if (chunk.size() != len) {
        failSending();
        return false;
    }
    m_sendPos += len;
    if (m_sendLast)
        m_sending = false;
    m_owner->sendBuff(m_uid, ERequestType_File, m_sendLast, chunk, QVariant(QString()));
    m_owner->fileContentSend(m_uid, m_sendPos, m_sendLast, m_path);
    if (!m_sendLast)
        return m_sending; // a listener of the content signal may have stopped it
    m_owner->requestSent(m_uid, ERequestType_File);
    return false;
}

void FileTransferRequest::failSending()
{
    m_sending = false;
    m_file.reset();
    m_owner->fileSendError(m_uid, m_path);
}

void FileTransferRequest::stop()
{
    if (!m_sending)
        return;
    m_sending = false;
    m_owner->fileSendStopped(m_uid, ERequestType_File);
}

bool FileTransferRequest::receive(const QByteArray& chunk, bool last)
{
    if (m_revState == EReceiveState_Done || m_revState == EReceiveState_Failed)
        return false;
    m_revBuffer.append(chunk);
    m_revLast = last;
    runStep();
    return true;
}

void FileTransferRequest::onRevStateChanged()
{
    runStep();
}

void FileTransferRequest::runStep()
{
    const int next = receiveStep();
    if (next != m_revState) {
        m_revState = next;
        Q_EMIT revStateChanged();
    }
}

int FileTransferRequest::receiveStep()
{
    switch (m_revState) {
    case EReceiveState_New:
        return EReceiveState_Header;
    case EReceiveState_Header: {
        if (m_revBuffer.size() < FileHead::Size)
            return EReceiveState_Header;
        const FileHead head = FileHead::read(m_revBuffer.constData());
        if (head.magic != FileHead::Magic || head.infoLength < 0 ||
            head.infoLength > NetworkLimits::kMaxFileInfoSize)
            return EReceiveState_Failed;
        if (m_revBuffer.size() - FileHead::Size < head.infoLength)
            return EReceiveState_Header;
        const QByteArray text = m_revBuffer.mid(FileHead::Size, head.infoLength);
        m_revBuffer.remove(0, FileHead::Size + head.infoLength);
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject() || doc.object().isEmpty())
            return EReceiveState_Failed;
        const QJsonObject obj = doc.object();
        QVariantMap info;
        for (auto it = obj.constBegin(); it != obj.constEnd(); ++it)
            info.insert(it.key(), it.value().isString() ? it.value().toString() : QString());
        m_information = info;
        m_owner->fileinfoReceive(m_information);
        return EReceiveState_Content;
    }
    case EReceiveState_Content: {
        const QByteArray data = m_revBuffer;
        m_revBuffer.clear();
        m_owner->fileContentReceive(data, m_revLast, m_information);
        return m_revLast ? EReceiveState_Done : EReceiveState_Content;
    }
    case EReceiveState_Done:
        m_owner->requestReceived(m_uid, ERequestType_File);
        return EReceiveState_Done;
    case EReceiveState_Failed:
    default:
        m_owner->fileReceiveError(m_information);
        m_owner->requestError(m_uid, ERequestType_File);
        return EReceiveState_Failed;
    }
}
