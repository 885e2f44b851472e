#include "network/RequestManager.h"

#include "network/FileTransferRequest.h"
#include "network/MessageRequest.h"
#include "network/NetworkLimits.h"
#include "network/RequestHead.h"

#include <QByteArrayView>
#include <QTimer>

#include <algorithm>

namespace {
const QByteArrayView kMagic("\x02\x02\x02\x02", 4);
}

class RequestManager::CallScope
{
public:
    // Exit::CallerPurges: the scope belongs to a manager operation that calls purgeRetired() itself
    // once the scope has closed, so the outermost one posts nothing.
    enum class Exit
    {
        PostPurge,
        CallerPurges
    };

    explicit CallScope(RequestManager* manager, Exit exit = Exit::PostPurge)
        : m_manager(manager), m_exit(exit)
    {
        ++m_manager->m_callDepth;
    }
    ~CallScope()
    {
        if (--m_manager->m_callDepth > 0 || m_exit == Exit::CallerPurges || m_manager->m_retired.empty() ||
            m_manager->m_purgePosted)
            return;
        // The outermost call has returned into a request's own slot;
        // its requests can go once that slot has returned to the event loop.
        m_manager->m_purgePosted = true;
        QMetaObject::invokeMethod(
            m_manager,
            [manager = m_manager] {
                manager->m_purgePosted = false;
                manager->purgeRetired();
            },
            Qt::QueuedConnection);
    }

private:
    RequestManager* m_manager;
    Exit m_exit;
};

RequestManager::RequestManager(QObject* parent) : IRCRequestManager(parent) {}

RequestManager::~RequestManager()
{
    qDeleteAll(m_outMessages);
    qDeleteAll(m_inMessages);
    qDeleteAll(m_outFiles);
    qDeleteAll(m_inFiles);
    qDeleteAll(m_retired);
}

void RequestManager::sendCmd(const QString& sCmd, const QJsonObject& params, const QVariant& conditions)
{
    QByteArray text;
    const quint64 uid = MessageRequest::buildTextWithNewUid(sCmd, params, text);
    // A command of one chunk is done as soon as that chunk is handed over: no request to keep.
    if (text.size() <= NetworkLimits::kChunkSize) {
        Q_EMIT buffSendRequest(RequestHead::frame(uid, ERequestType_Message, true, text), conditions);
        return;
    }
    auto* request = new MessageRequest(uid, text, sCmd, params, conditions, this);
    m_outMessages.insert(request->getUid(), request);
    startPaced(request, ERequestType_Message);
}

void RequestManager::sendRadioCmd(const QString& sCmd, const QJsonObject& params, const QHostAddress& address,
                                  int port)
{
    auto* request = new MessageRequest(sCmd, params, QVariant(), this, true, address, port);
    m_outMessages.insert(request->getUid(), request);
    startPaced(request, ERequestType_Message);
}

void RequestManager::sendFile(const QString& sFilePath, const QJsonObject& params)
{
    auto* request = new FileTransferRequest(sFilePath, params, this);
    m_outFiles.insert(request->getUid(), request);
    startPaced(request, ERequestType_File);
}

void RequestManager::startPaced(IRCRequest* request, int type)
{
    const quint64 uid = request->getUid();
    {
        CallScope scope(this, CallScope::Exit::CallerPurges);
        request->start();
    }
    pace(uid, type);
    purgeRetired();
}

void RequestManager::stopFile(quint64 uid)
{
    if (FileTransferRequest* request = m_outFiles.value(uid)) {
        CallScope scope(this, CallScope::Exit::CallerPurges);
        request->stop();
    }
    purgeRetired();
}

void RequestManager::stopAllFiles()
{
    // Each stop retires its request from the live map; retired requests stay
    // alive until the purge below, so the snapshot stays valid.
    const QList<FileTransferRequest*> snapshot = m_outFiles.values();
    for (FileTransferRequest* request : snapshot) {
        CallScope scope(this, CallScope::Exit::CallerPurges);
        request->stop();
    }
    purgeRetired();
}

void RequestManager::setSendingHeld(bool held)
{
    if (held == m_held)
        return;
    m_held = held;
    if (!m_pacer)
        return;
    if (held)
        m_pacer->stop();
    else if (!m_paced.empty())
        m_pacer->start();
}

void RequestManager::appendData(const QByteArray& data)
{
    m_buffer.append(data);
    // A listener that feeds more bytes from inside a delivery only appends them;
    // the running loop below picks them up.
    if (m_parsing)
        return;
    m_parsing = true;

    qsizetype offset = 0;
    while (m_buffer.size() - offset >= RequestHead::Size) {
        const char* p = m_buffer.constData() + offset;
        if (!RequestHead::hasMagic(p)) {
            // Skip to the next candidate magic, but never past the point where
            // fewer than a head's worth of bytes would remain.
            const qsizetype found = QByteArrayView(m_buffer).indexOf(kMagic, offset + 1);
            const qsizetype limit = m_buffer.size() - RequestHead::Size + 1;
            offset = (found < 0 || found > limit) ? limit : found;
            continue;
        }
        const RequestHead head = RequestHead::read(p);
        if (head.length < 0 || head.length > NetworkLimits::kMaxFrameLength) {
            ++offset; // an impossible length is treated like a bad magic
            continue;
        }
        if (m_buffer.size() - offset - RequestHead::Size < head.length)
            break;
        const QByteArray payload = m_buffer.mid(offset + RequestHead::Size, head.length);
        offset += RequestHead::Size + head.length;
        if (head.type == ERequestType_Message)
            routeMessageChunk(head, payload);
        else if (head.type == ERequestType_File)
            routeFileChunk(head, payload);
    }
    if (offset > 0)
        m_buffer.remove(0, offset);
    m_parsing = false;
    purgeRetired();
    if (m_buffer.isEmpty())
        Q_EMIT receiveComplate();
}

void RequestManager::routeMessageChunk(const RequestHead& head, const QByteArray& payload)
{
    MessageRequest* request = m_inMessages.value(head.uid);
    if (!request) {
        while (m_inMessages.size() >= NetworkLimits::kMaxPendingMessages && !m_arrival.empty())
            dropOldestMessage();
        request = new MessageRequest(head.uid, this);
        m_inMessages.insert(head.uid, request);
        m_arrival.push_back(head.uid);
    }
    if (request->getState() != IRCRequest::EState_Pending)
        return; // finished, waiting for its turn; takes nothing more
    if (request->receivedSize() + payload.size() > NetworkLimits::kMaxMessageSize) {
        retire(takeIncomingMessage(head.uid));
        drainMessages();
        return;
    }
    while (m_pendingBytes + payload.size() > NetworkLimits::kMaxPendingMessageBytes && !m_arrival.empty()) {
        dropOldestMessage();
        if (!m_inMessages.contains(head.uid))
            return;
    }
    m_pendingBytes += payload.size();
    CallScope scope(this, CallScope::Exit::CallerPurges);
    request->receive(payload, head.last);
}

void RequestManager::routeFileChunk(const RequestHead& head, const QByteArray& payload)
{
    FileTransferRequest* request = m_inFiles.value(head.uid);
    if (!request) {
        while (m_inFiles.size() >= NetworkLimits::kMaxPendingFiles && !m_fileArrival.empty()) {
            FileTransferRequest* oldest = takeIncomingFile(m_fileArrival.front());
            if (oldest) {
                const QVariantMap info = oldest->information();
                retire(oldest);
                Q_EMIT fileReceiveError(info);
            }
        }
        request = new FileTransferRequest(head.uid, this);
        m_inFiles.insert(head.uid, request);
        m_fileArrival.push_back(head.uid);
    }
    CallScope scope(this, CallScope::Exit::CallerPurges);
    request->receive(payload, head.last);
}

MessageRequest* RequestManager::takeIncomingMessage(quint64 uid)
{
    MessageRequest* request = m_inMessages.take(uid);
    if (request)
        m_pendingBytes -= request->receivedSize();
    return request;
}

FileTransferRequest* RequestManager::takeIncomingFile(quint64 uid)
{
    auto it = std::find(m_fileArrival.begin(), m_fileArrival.end(), uid);
    if (it != m_fileArrival.end())
        m_fileArrival.erase(it);
    return m_inFiles.take(uid);
}

void RequestManager::dropOldestMessage()
{
    const quint64 uid = m_arrival.front();
    m_arrival.pop_front();
    if (MessageRequest* request = takeIncomingMessage(uid))
        retire(request);
    drainMessages();
}

void RequestManager::drainMessages()
{
    while (!m_arrival.empty()) {
        const quint64 uid = m_arrival.front();
        MessageRequest* request = m_inMessages.value(uid);
        if (!request) {
            m_arrival.pop_front();
            continue;
        }
        const int state = request->getState();
        if (state == IRCRequest::EState_Pending)
            break;
        m_arrival.pop_front();
        takeIncomingMessage(uid);
        retire(request);
        if (state == IRCRequest::EState_Complete) {
            const QString type = request->type();
            QJsonObject params = request->params();
            params.insert(QStringLiteral("uid"), QString::number(uid));
            m_deliveringSize = request->receivedSize();
            Q_EMIT cmdReceive(type, params);
            m_deliveringSize = 0;
        }
    }
}

IRCRequest* RequestManager::outgoing(quint64 uid, int type) const
{
    if (type == ERequestType_Message)
        return m_outMessages.value(uid);
    return m_outFiles.value(uid);
}

void RequestManager::pace(quint64 uid, int type)
{
    // A request that finished or failed within start() has already left the maps.
    if (!outgoing(uid, type))
        return;
    m_paced.push_back(Paced{uid, type});
    if (!m_pacer) {
        m_pacer = new QTimer(this);
        m_pacer->setInterval(1);
        connect(m_pacer, &QTimer::timeout, this, &RequestManager::onPacingTick);
    }
    // Never restarted while running: that would push every request's next tick back.
    if (!m_pacer->isActive() && !m_held)
        m_pacer->start();
}

void RequestManager::onPacingTick()
{
    {
        CallScope scope(this, CallScope::Exit::CallerPurges);
        // Requests started from inside this tick are appended behind `count` and
        // wait for the next one; stopped or finished ones are compacted away.
        const size_t count = m_paced.size();
        size_t kept = 0;
        for (size_t i = 0; i < count; ++i) {
            const Paced entry = m_paced[i];
            IRCRequest* request = outgoing(entry.uid, entry.type);
            if (request && request->advance())
                m_paced[kept++] = entry;
        }
        m_paced.erase(m_paced.begin() + std::ptrdiff_t(kept), m_paced.begin() + std::ptrdiff_t(count));
        if (m_paced.empty())
            m_pacer->stop();
    }
    purgeRetired();
}

void RequestManager::retire(IRCRequest* request)
{
    if (request)
        m_retired.push_back(request);
}

void RequestManager::purgeRetired()
{
    if (m_callDepth > 0 || m_retired.empty())
        return;
    std::vector<IRCRequest*> doomed;
    doomed.swap(m_retired);
    qDeleteAll(doomed);
}

void RequestManager::requestReceived(quint64 uid, int type)
{
    CallScope scope(this);
    if (type == ERequestType_Message)
        drainMessages();
    else if (type == ERequestType_File)
        retire(takeIncomingFile(uid));
}

void RequestManager::requestError(quint64 uid, int type)
{
    CallScope scope(this);
    // A failed file has already reported itself through fileReceiveError.
    if (type == ERequestType_Message)
        drainMessages();
    else if (type == ERequestType_File)
        retire(takeIncomingFile(uid));
}

void RequestManager::sendBuff(quint64 uid, int type, bool last, const QByteArray& chunk,
                              const QVariant& conditions)
{
    CallScope scope(this);
    Q_EMIT buffSendRequest(RequestHead::frame(uid, quint32(type), last, chunk), conditions);
}

void RequestManager::sendRadioBuff(const QHostAddress& address, int port, quint64 uid, int type, bool last,
                                   const QByteArray& chunk)
{
    CallScope scope(this);
    Q_EMIT buffRadioRequest(RequestHead::frame(uid, quint32(type), last, chunk), address, port);
}

void RequestManager::requestSent(quint64 uid, int type)
{
    CallScope scope(this);
    if (type == ERequestType_Message)
        retire(m_outMessages.take(uid));
    else if (type == ERequestType_File)
        retire(m_outFiles.take(uid));
}

void RequestManager::fileSendStopped(quint64 uid, int type)
{
    CallScope scope(this);
    if (type != ERequestType_File)
        return;
    FileTransferRequest* request = m_outFiles.take(uid);
    if (!request)
        return;
    const QString path = request->path();
    retire(request);
    Q_EMIT fileSendStop(path, uid);
}

void RequestManager::fileinfoReceive(const QVariantMap& info)
{
    CallScope scope(this);
    Q_EMIT IRCRequestManager::fileinfoReceive(info);
}

void RequestManager::fileContentReceive(const QByteArray& data, bool last, const QVariantMap& info)
{
    CallScope scope(this);
    Q_EMIT IRCRequestManager::fileContentReceive(data, last, info);
}

void RequestManager::fileReceiveError(const QVariantMap& info)
{
    CallScope scope(this);
    Q_EMIT IRCRequestManager::fileReceiveError(info);
}

void RequestManager::fileContentSend(quint64 uid, qlonglong sendPos, bool last, const QString& sFilePath)
{
    CallScope scope(this);
    Q_EMIT IRCRequestManager::fileContentSend(sendPos, last, sFilePath, uid);
}

void RequestManager::fileSendError(quint64 uid, const QString& sFilePath)
{
    CallScope scope(this);
    // A file that could not be opened or read is finished: nothing more will be sent.
    retire(m_outFiles.take(uid));
    Q_EMIT IRCRequestManager::fileSendError(sFilePath, uid);
}
