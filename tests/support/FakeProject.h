#pragma once

#include "mirror/RCStelvaneSyncer.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "network/IRCTerminal.h"
#include "project/IRCProject.h"

#include <memory>

// A control link that only tells the address of its peer; it sends nothing anywhere.
class FakeTerminal : public IRCTerminal
{
public:
    QString getConnectIp() const override { return connectIp; }
    QString connectIp = QStringLiteral("127.0.0.1");
};

// The project root reduced to what the command processors reach: a real mirror (without a QML
// engine), the control catalogue (or an empty one), a FakeTerminal and the connected mark. Like the
// real project it reacts to connectToHost by connecting the mirror and then setting the mark.
class FakeProject : public IRCProject
{
public:
    // engine: where the mirror registers its image provider; may be null.
    explicit FakeProject(bool withCatalogue = true, QQmlEngine* engine = nullptr)
        : m_mirror(engine, QQuickImageProvider::Image, QQuickImageProvider::ForceAsynchronousImageLoading),
          m_controls(RCControlManager::create())
    {
        if (withCatalogue)
            RCControlCatalogue::build(m_controls.get());
        connect(this, &IRCProject::connectToHost, this, [this](const QString& sIp) {
            m_mirror.connectToServer(sIp);
            m_connected = true;
        });
    }

    IRCStelvaneSyncer* getStelvaneSyncer() override { return &m_mirror; }
    IRCTerminal* getTerminal() override { return &m_terminal; }
    IRCControlManager* getControlManager() const override { return m_controls.get(); }
    bool isConnectFromHost() const override { return m_connected; }

    RCStelvaneSyncer* mirror() { return &m_mirror; }
    FakeTerminal* terminal() { return &m_terminal; }
    // As the project does when the link drops.
    void dropLink()
    {
        m_mirror.disconnectServer();
        m_connected = false;
    }

private:
    RCStelvaneSyncer m_mirror;
    FakeTerminal m_terminal;
    std::unique_ptr<IRCControlManager> m_controls;
    bool m_connected = false;
};
