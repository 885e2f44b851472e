#pragma once

#include "network/PacketServer.h"
#include "support/PacketPeers.h"

#include <QObject>
#include <QStringList>

#include <memory>

// The far side of project distribution for the Quick tests of the install views, exposed as
// "distributionPeers": a designer that invites this instance's packet terminal, and a panel that
// this instance's packet server invites. Both run on loopback at the product's fixed ports,
// which is why the Quick tests run in a private network namespace. Waits are bounded (at most
// a few seconds each) and keep the event loop running.
class DistributionPeers : public QObject
{
    Q_OBJECT

public:
    explicit DistributionPeers(QObject* parent = nullptr);
    ~DistributionPeers() override;

    // A new designer, on a loopback address of its own, invites this instance until its terminal
    // has connected to it.
    Q_INVOKABLE bool designerInvite();
    // The same designer invites again for about ms; whether the terminal connected to it.
    Q_INVOKABLE bool designerInviteAgain(int ms);
    // Sends "downloadKey", which makes the terminal ask its user.
    Q_INVOKABLE void designerOffer();
    // Waits until the panel sent sCmd.
    Q_INVOKABLE bool designerWaitFor(const QString& sCmd)
    {
        return m_designer && QTest::qWaitFor([&] { return m_designer->hasReceived(sCmd); }, kWaitMs);
    }
    Q_INVOKABLE bool designerReceived(const QString& sCmd) const
    {
        return m_designer && m_designer->hasReceived(sCmd);
    }
    // Sends "issueBegin", the files below folder (relative paths) and "issueComlate"; with
    // dropAfterBytes >= 0 the link is cut once a file has sent that many bytes instead. True when
    // everything was sent.
    Q_INVOKABLE bool designerSendPacket(const QString& folder, int dropAfterBytes = -1);
    // Announces a packet of totalSize bytes ("issueBegin") and sends nothing of it.
    Q_INVOKABLE void designerAnnounce(const QString& totalSize);
    Q_INVOKABLE bool designerConnected() const { return m_designer && m_designer->isConnected(); }
    Q_INVOKABLE void designerDrop();

    // A new panel hears invitations on 127.0.0.1 at the product's invitation port.
    Q_INVOKABLE bool panelListen();
    // Waits for an invitation; the number heard so far.
    Q_INVOKABLE int panelWaitForInvitation();
    // Connects to this instance's packet server from the loopback address from.
    Q_INVOKABLE bool panelConnect(const QString& from = QStringLiteral("127.0.0.1"))
    {
        return m_panel && m_panel->connectTo(PacketServer::kTcpPort, from);
    }
    Q_INVOKABLE void panelSend(const QString& sCmd);
    Q_INVOKABLE bool panelWaitFor(const QString& sCmd)
    {
        return m_panel && QTest::qWaitFor([&] { return m_panel->count(sCmd) > 0; }, kWaitMs);
    }
    // Waits until the first file of a packet began to arrive.
    Q_INVOKABLE bool panelWaitForFile()
    {
        return m_panel && QTest::qWaitFor([&] { return !m_panel->files.isEmpty(); }, kWaitMs);
    }
    Q_INVOKABLE void panelDrop();
    Q_INVOKABLE void reset()
    {
        m_designer.reset();
        m_panel.reset();
    }

    // Whether a UDP socket of this network namespace is bound to port.
    Q_INVOKABLE static bool udpPortBound(int port);

private:
    static constexpr int kWaitMs = 5000;

    std::unique_ptr<ScriptedDesigner> m_designer;
    // The last byte of the next designer's address, 127.0.0.x.
    int m_nextDesigner = 1;
    std::unique_ptr<ScriptedPanel> m_panel;
};
