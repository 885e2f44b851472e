#include "ServerPeers.h"

#include "actions/ItemClickTable.h"
#include "network/Terminal.h"
#include "project/RCProject.h"
#include "support/LoopbackStandin.h"
#include "tools/cloud-relay-standin/CloudRelayStandin.h"
#include "tools/mediaserver-standin/StandinState.h"

#include <QImage>
#include <QJsonDocument>
#include <QTest>

namespace {
constexpr int kWaitMs = 10000;
const QString kMarker = QStringLiteral("testMarker");
const QString kStageRequest = QStringLiteral("getStageImage");
} // namespace

ServerPeers::ServerPeers(QObject* parent) : QObject(parent) {}

ServerPeers::~ServerPeers() = default;

void ServerPeers::setProject(RCProject* project)
{
    m_standin.reset();
    m_relay.reset();
    m_wire.clear();
    m_project = project;
}

QVariantList ServerPeers::clickRows()
{
    QVariantList rows;
    const QList<ItemClickTable::Row> table = ItemClickTable::rows();
    for (const ItemClickTable::Row& row : table) {
        rows.append(QVariantMap{{QStringLiteral("name"), QString::fromUtf8(row.name)},
                                {QStringLiteral("kind"), row.kind},
                                {QStringLiteral("properties"), row.properties},
                                {QStringLiteral("busy"), row.mirror == ItemClickTable::Mirror::Busy},
                                {QStringLiteral("sent"), row.sent},
                                {QStringLiteral("closes"), row.closes}});
    }
    return rows;
}

void ServerPeers::prepareMirror(bool busy)
{
    IRCStelvaneSyncer* mirror = m_project ? m_project->getStelvaneSyncer() : nullptr;
    if (!mirror)
        return;
    mirror->clearTrack();
    mirror->clearProgram();
    mirror->setVexaDisplayOutputState(false);
    mirror->setStageLink(false);
    mirror->setGlobalProperty(RCKeys::Standby(), false);
    ItemClickTable::prepare(*mirror, busy ? ItemClickTable::Mirror::Busy : ItemClickTable::Mirror::Idle);
}

bool ServerPeers::connectServer()
{
    if (!startServer(QString()) ||
        !QTest::qWaitFor([this] { return m_project && m_project->isConnectFromHost(); }, kWaitMs))
        return false;
    // The mirror's requests for the server's data are not what a test looks at.
    const bool flushed = flushWire();
    m_wire.clear();
    return flushed;
}

bool ServerPeers::startServer(const QString& password)
{
    auto* terminal = m_project ? qobject_cast<Terminal*>(m_project->getTerminal()) : nullptr;
    if (!terminal)
        return false;
    StandinOptions options;
    // Stage images are answered (one colour), so that stage views keep asking while they show.
    QImage stage(32, 18, QImage::Format_RGB32);
    stage.fill(QColor(0, 200, 80));
    options.state =
        QJsonObject{{QStringLiteral("globalProperties"), QJsonObject()},
                    {QStringLiteral("setStageImage"),
                     QJsonObject{{QStringLiteral("stageImage"), StandinState::jpegBase64(stage)}}}};
    options.reportChanges = true;
    options.password = password;
    m_standin = startStandin(options);
    if (!m_standin)
        return false;
    m_wire.clear();
    m_links = 0;
    connect(m_standin.get(), &MediaServerStandin::clientConnected, this, [this] { ++m_links; });
    connect(m_standin.get(), &MediaServerStandin::commandReceived, this,
            [this](const QString& sCmd, QJsonObject params) {
                if (sCmd == kMarker) {
                    ++m_markers;
                    return;
                }
                if (sCmd == kStageRequest) {
                    ++m_stageRequests;
                    return;
                }
                params.remove(QStringLiteral("uid"));
                m_wire.append(sCmd + QLatin1Char(' ') +
                              QString::fromUtf8(QJsonDocument(params).toJson(QJsonDocument::Compact)));
            });
    terminal->setDiscoveryTarget(QHostAddress::LocalHost, m_standin->discoveryPort());
    return true;
}

void ServerPeers::stopServer()
{
    m_standin.reset();
}

bool ServerPeers::flushWire()
{
    if (!m_project || !m_standin)
        return false;
    const int expected = m_markers + 1;
    m_project->getTerminal()->sendCmd(kMarker, QJsonObject());
    return QTest::qWaitFor([&] { return m_markers >= expected; }, kWaitMs);
}

void ServerPeers::receive(const QString& sCmd, const QJsonObject& params)
{
    if (m_project)
        Q_EMIT m_project->getTerminal()->receiveCmd(sCmd, params);
}

QString ServerPeers::startCloudRelay()
{
    RelayStandinOptions options;
    options.bindAddress = QHostAddress::LocalHost;
    options.port = 0;
    m_relay = std::make_unique<CloudRelayStandin>(options);
    if (!m_relay->start()) {
        m_relay.reset();
        return QString();
    }
    return m_relay->url().toString();
}
