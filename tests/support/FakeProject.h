#pragma once

#include "mirror/RCStelvaneSyncer.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "network/IRCTerminal.h"
#include "project/IRCProject.h"
#include "project/IRCSetting.h"

#include <QJsonDocument>

#include <memory>

// A control link that only tells the address of its peer and records the commands handed to it as
// "name {compact JSON}" (so that a comparison also checks JSON types); it sends nothing anywhere.
class FakeTerminal : public IRCTerminal
{
public:
    QString getConnectIp() const override { return connectIp; }
    void sendCmd(QString sCmd, QJsonObject value) override
    {
        sent.append(sCmd + QLatin1Char(' ') +
                    QString::fromUtf8(QJsonDocument(value).toJson(QJsonDocument::Compact)));
    }
    QString connectIp = QStringLiteral("127.0.0.1");
    QStringList sent;
};

// Settings held in memory.
class MemorySetting : public IRCSetting
{
public:
    void setValue(const QString& sSettingName, const QVariant& settingValue) override
    {
        values.insert(sSettingName, settingValue);
    }
    QVariant getValue(const QString& sSettingName) const override { return values.value(sSettingName); }
    QVariantMap values;
};

// The project root reduced to what the command processors, the actions and the item executor
// reach: a real mirror (without a QML engine unless given one), the control catalogue (or an empty
// one), a FakeTerminal (none once `linked` is false), settings in memory and the connected mark;
// the close and project-switch requests that the project takes over are recorded. Like the real
// project it reacts to connectToHost by connecting the mirror and then setting the mark.
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
    IRCTerminal* getTerminal() override { return linked ? &m_terminal : nullptr; }
    IRCSetting* getSetting() override { return &setting; }
    IRCControlManager* getControlManager() const override { return m_controls.get(); }
    QString getProjectPacketPath() const override { return packetPath; }
    bool isConnectFromHost() const override { return m_connected; }
    void requestClose() override { ++closeRequests; }
    void requestSwitchProject(QString sProjectPacketPath) override
    {
        switchRequests.append(sProjectPacketPath);
    }

    RCStelvaneSyncer* mirror() { return &m_mirror; }
    FakeTerminal* terminal() { return &m_terminal; }
    // As the project does when the link drops.
    void dropLink()
    {
        m_mirror.disconnectServer();
        m_connected = false;
    }

    bool linked = true;
    MemorySetting setting;
    QString packetPath;
    int closeRequests = 0;
    QStringList switchRequests;

private:
    RCStelvaneSyncer m_mirror;
    FakeTerminal m_terminal;
    std::unique_ptr<IRCControlManager> m_controls;
    bool m_connected = false;
};
