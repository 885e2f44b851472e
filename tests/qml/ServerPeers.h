#pragma once

#include <QJsonObject>
#include <QObject>
#include <QStringList>
#include <QVariantList>

#include <memory>

class CloudRelayStandin;
class MediaServerStandin;
class RCProject;

// The media server side of the Quick tests of the scene views, exposed as "serverPeers": a
// stand-in media server on loopback to which the project's control link connects, what reached
// it, and the table of item clicks that the item executor is checked against
// (tests/actions/ItemClickTable.h), so the button views are checked against the same rows. Waits
// are bounded (a few seconds each) and keep the event loop running.
class ServerPeers : public QObject
{
    Q_OBJECT

public:
    explicit ServerPeers(QObject* parent = nullptr);
    ~ServerPeers() override;

    // The project of the test file's engine; null when it ends (the stand-in stops with it).
    void setProject(RCProject* project);

    // The click table: one map per row, {"name", "kind", "properties", "busy", "sent", "closes"}.
    Q_INVOKABLE static QVariantList clickRows();
    // Empties the project's mirror and gives it the click table's idle or busy state.
    Q_INVOKABLE void prepareMirror(bool busy);

    // Starts the stand-in (answering no requests for data, reporting the global properties and
    // track states it is told to set) and connects the project's control link to it. True once
    // the server accepted the panel.
    Q_INVOKABLE bool connectServer();
    // Starts the stand-in, asking each link for password when it is not empty, and points the
    // control link at it without waiting; false when it cannot listen.
    Q_INVOKABLE bool startServer(const QString& password);
    // Stops the stand-in: the project's link drops.
    Q_INVOKABLE void stopServer();
    // The links the stand-in has accepted since it started.
    Q_INVOKABLE int serverLinks() const { return m_links; }
    // The commands the server received since the last clearWire, as "name {compact JSON}"
    // without the link's "uid"; the mirror's own stage image requests are only counted.
    Q_INVOKABLE QStringList wire() const { return m_wire; }
    Q_INVOKABLE void clearWire() { m_wire.clear(); }
    // The number of "getStageImage" requests the server received.
    Q_INVOKABLE int stageRequests() const { return m_stageRequests; }
    // Sends a marker through the link and waits until it arrives (it is not kept in wire()):
    // every command sent before it has arrived then.
    Q_INVOKABLE bool flushWire();

    // Applies a command as if the server had sent it, through the project's own handling of the
    // control link's commands (at once; state commands only while connected).
    Q_INVOKABLE void receive(const QString& sCmd, const QJsonObject& params);

    // Starts a stand-in cloud relay on loopback that accepts every login; its URL, "" on failure.
    Q_INVOKABLE QString startCloudRelay();

private:
    RCProject* m_project = nullptr;
    std::unique_ptr<MediaServerStandin> m_standin;
    std::unique_ptr<CloudRelayStandin> m_relay;
    QStringList m_wire;
    int m_markers = 0;
    int m_links = 0;
    int m_stageRequests = 0;
};
