#include "network/DatagramAssemblers.h"

#include "network/HostAddressText.h"
#include "network/NetworkLimits.h"
#include "network/RequestManager.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

DatagramAssemblers::DatagramAssemblers(QObject* parent) : QObject(parent) {}

void DatagramAssemblers::readPending(QUdpSocket* socket)
{
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        assemblerOf(HostAddressText::of(datagram.senderAddress()))->appendData(datagram.data());
    }
}

RequestManager* DatagramAssemblers::assemblerOf(const QString& sender)
{
    if (RequestManager* known = m_assemblers.value(sender))
        return known;
    while (m_assemblers.size() >= NetworkLimits::kMaxDiscoverySenders && !m_order.isEmpty())
        delete m_assemblers.take(m_order.takeFirst());
    auto* assembler = new RequestManager(this);
    connect(assembler, &IRCRequestManager::cmdReceive, this,
            [this, sender](const QString& sCmd, const QJsonObject& params) {
                Q_EMIT cmdReceive(sender, sCmd, params);
            });
    // The last thing appendData does once every byte is consumed.
    connect(assembler, &IRCRequestManager::receiveComplate, this, [this, sender] { release(sender); });
    m_assemblers.insert(sender, assembler);
    m_order.append(sender);
    return assembler;
}

void DatagramAssemblers::release(const QString& sender)
{
    m_order.removeOne(sender);
    if (RequestManager* assembler = m_assemblers.take(sender))
        assembler->deleteLater();
}
