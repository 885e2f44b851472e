#pragma once

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>

class QUdpSocket;
class RequestManager;

// Turns the framed datagrams that reach one UDP socket into commands. Each sender (named by
// HostAddressText) has a request manager of its own, kept only while it holds part of a frame;
// at most NetworkLimits::kMaxDiscoverySenders are kept, the oldest dropped first. Lives in, and
// is called only from, its owner's thread.
class DatagramAssemblers : public QObject
{
    Q_OBJECT
public:
    explicit DatagramAssemblers(QObject* parent = nullptr);

    // Reads every datagram waiting on socket.
    void readPending(QUdpSocket* socket);

Q_SIGNALS:
    void cmdReceive(QString sSender, QString sCmd, QJsonObject params);

private:
    RequestManager* assemblerOf(const QString& sender);
    void release(const QString& sender);

    QHash<QString, RequestManager*> m_assemblers;
    QList<QString> m_order;
};
