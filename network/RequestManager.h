#pragma once

#include "network/IRCRequestManager.h"
#include "network/IRCRequestOwner.h"

#include <QHash>
#include <QMap>

#include <deque>
#include <vector>

class FileTransferRequest;
class IRCRequest;
class MessageRequest;
class QTimer;
struct RequestHead;

// The request manager of one stream or UDP peer. Owns every request it holds.
// A request that has finished is retired: taken out of the maps and destroyed only
// once no request call is running any more (at the end of the outermost manager
// operation, or from the event loop after a timer-driven call), so a request is
// never destroyed while one of its own calls is on the stack, and never outlives
// the manager.
// Outgoing requests are paced by one timer of the manager, created in the
// manager's thread and running only while some request has chunks left: each
// 1 ms tick advances every sending request once, in the order they were started.
// A request started during a tick is first advanced on the next one.
class RequestManager : public IRCRequestManager, public IRCRequestOwner
{
    Q_OBJECT
public:
    explicit RequestManager(QObject* parent = nullptr);
    ~RequestManager() override;

    void appendData(const QByteArray& data) override;
    void sendCmd(const QString& sCmd, const QJsonObject& params, const QVariant& conditions) override;
    void sendRadioCmd(const QString& sCmd, const QJsonObject& params, const QHostAddress& address,
                      int port) override;
    void sendFile(const QString& sFilePath, const QJsonObject& params) override;
    void stopFile(quint64 uid) override;
    void stopAllFiles() override;

    // While held, pacing ticks hand over no chunk: every outgoing request waits where it is
    // (messages still hand over their first chunk when sent). Releasing resumes them in order.
    // For writers whose stream cannot take more for now.
    void setSendingHeld(bool held);
    bool isSendingHeld() const { return m_held; }

    // What the manager holds right now (for bounds and diagnostics).
    int incomingMessageCount() const { return int(m_inMessages.size()); }
    qsizetype pendingMessageBytes() const { return m_pendingBytes; }
    int incomingFileCount() const { return int(m_inFiles.size()); }
    int outgoingCount() const { return int(m_outMessages.size() + m_outFiles.size()); }
    qsizetype bufferedBytes() const { return m_buffer.size(); }
    // The size of the message text that cmdReceive is delivering; read it inside a slot of
    // cmdReceive (0 elsewhere).
    qsizetype deliveringSize() const { return m_deliveringSize; }

    // IRCRequestOwner
    void requestReceived(quint64 uid, int type) override;
    void requestError(quint64 uid, int type) override;
    void sendBuff(quint64 uid, int type, bool last, const QByteArray& chunk,
                  const QVariant& conditions) override;
    void sendRadioBuff(const QHostAddress& address, int port, quint64 uid, int type, bool last,
                       const QByteArray& chunk) override;
    void requestSent(quint64 uid, int type) override;
    void fileSendStopped(quint64 uid, int type) override;
    void fileinfoReceive(const QVariantMap& info) override;
    void fileContentReceive(const QByteArray& data, bool last, const QVariantMap& info) override;
    void fileReceiveError(const QVariantMap& info) override;
    void fileContentSend(quint64 uid, qlonglong sendPos, bool last, const QString& sFilePath) override;
    void fileSendError(quint64 uid, const QString& sFilePath) override;

private:
    void routeMessageChunk(const RequestHead& head, const QByteArray& payload);
    void routeFileChunk(const RequestHead& head, const QByteArray& payload);
    // Delivers every finished message at the head of the arrival order.
    void drainMessages();
    MessageRequest* takeIncomingMessage(quint64 uid);
    FileTransferRequest* takeIncomingFile(quint64 uid);
    // Drops the message that has waited longest (a stalled one) and delivers what it blocked.
    void dropOldestMessage();
    // Starts a request already entered in its outgoing map, then paces it.
    void startPaced(IRCRequest* request, int type);
    // Keeps advancing an outgoing request that is still sending after start().
    void pace(quint64 uid, int type);
    void onPacingTick();
    IRCRequest* outgoing(quint64 uid, int type) const;
    void retire(IRCRequest* request);
    // Destroys the retired requests unless a request call is running.
    void purgeRetired();
    // Marks a request call (manager to request, or request to manager) as running.
    class CallScope;

    struct Paced
    {
        quint64 uid;
        int type;
    };

    QHash<quint64, MessageRequest*> m_outMessages;
    QMap<quint64, MessageRequest*> m_inMessages;
    std::deque<quint64> m_arrival;
    QByteArray m_buffer;
    QMap<quint64, FileTransferRequest*> m_outFiles;
    QMap<quint64, FileTransferRequest*> m_inFiles;
    std::deque<quint64> m_fileArrival;
    qsizetype m_pendingBytes = 0;
    qsizetype m_deliveringSize = 0;
    bool m_parsing = false;
    // Sending requests in start order; an entry whose request has left the
    // outgoing maps is dropped at the next tick.
    std::vector<Paced> m_paced;
    QTimer* m_pacer = nullptr;
    std::vector<IRCRequest*> m_retired;
    int m_callDepth = 0;
    bool m_purgePosted = false;
    bool m_held = false;
};
