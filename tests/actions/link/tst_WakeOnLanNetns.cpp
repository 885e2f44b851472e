// Wake-on-LAN on a LAN without a gateway, over a real limited broadcast on port 55555. CTest runs
// this in a private network namespace (scripts/netns-run.sh); the test gives its interface a
// second address and takes the default route away, so that nothing reaches 255.255.255.255 from
// a socket bound to no address.
#include "actions/ActionTestSupport.h"
#include "actions/RCAction_StartupMachine.h"
#include "network/LocalAddresses.h"
#include "support/IsolatedNetwork.h"

#include <QTest>
#include <QUdpSocket>

using namespace ActionTest;

namespace {
const QString kFirst = QStringLiteral("198.18.0.1");
const QString kSecond = QStringLiteral("198.18.0.7");
} // namespace

class tst_WakeOnLanNetns : public QObject, private ActionFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY_INSIDE_PRIVATE_NETWORK();
        QVERIFY(shapeLanWithoutGateway(kSecond));
        QCOMPARE(LocalAddresses::localIPv4Addresses(), (QStringList{kFirst, kSecond}));
        QUdpSocket unbound;
        QCOMPARE(unbound.writeDatagram("x", QHostAddress::Broadcast, RCAction_StartupMachine::kDefaultPort),
                 -1);
    }
    void init() { start(); }
    void cleanup() { stop(); }

    // The datagram leaves once from each local address, to the broadcast address on port 55555.
    void wakeOnLanLeavesFromEveryAddress()
    {
        QUdpSocket receiver;
        QVERIFY(receiver.bind(QHostAddress::AnyIPv4, RCAction_StartupMachine::kDefaultPort));
        const QString item =
            addControl(m_project->getControlManager(), m_sceneId, IRCControl::EIRCControlType_Startup,
                       {{"MacAddress", "00-1A-2B-3C-4D-5E"}});
        QCOMPARE(m_manager->execAction(m_sceneId, item, IRCAction::EActionType_StartupMachine, QVariant()),
                 0);

        QStringList senders;
        const QByteArray expected =
            QByteArray(6, char(0xFF)) + QByteArray::fromHex("001A2B3C4D5E").repeated(16);
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                while (receiver.hasPendingDatagrams()) {
                    QHostAddress from;
                    QByteArray datagram(int(receiver.pendingDatagramSize()), 0);
                    receiver.readDatagram(datagram.data(), datagram.size(), &from);
                    if (datagram == expected)
                        senders << QHostAddress(from.toIPv4Address()).toString();
                }
                return senders.size() >= 2;
            }(),
            5000);
        senders.sort();
        QCOMPARE(senders, (QStringList{kFirst, kSecond}));
    }
};

QTEST_MAIN(tst_WakeOnLanNetns)
#include "tst_WakeOnLanNetns.moc"
