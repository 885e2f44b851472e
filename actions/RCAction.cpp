#include "actions/RCAction.h"

#include "actions/IRCActionManager.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "mirror/IRCStelvaneSyncer.h"
#include "model/RCKeys.h"
#include "model/RCTypedValue.h"
#include "project/IRCProject.h"

namespace {

const QMap<QString, QString>& commandKeys()
{
    static const QMap<QString, QString> keys{
        {RCKeys::Id(), QStringLiteral("id")},
        {RCKeys::Length(), QStringLiteral("length")},
        {RCKeys::Name(), QStringLiteral("name")},
        {RCKeys::ProName(), QStringLiteral("proName")},
        {RCKeys::State(), QStringLiteral("playState")},
        {RCKeys::Brightness(), QStringLiteral("brightness")},
        {RCKeys::Volume(), QStringLiteral("volume")},
        {RCKeys::StageLink(), QStringLiteral("stageLink")},
        {RCKeys::Standby(), QStringLiteral("standby")},
        {RCKeys::Progress(), QStringLiteral("progress")},
        {RCKeys::CustomCmdTcpipType(), QStringLiteral("tcpOrUdp")},
        {RCKeys::CustomCmdToIp(), QStringLiteral("ip")},
        {RCKeys::CustomCmdToPort(), QStringLiteral("port")},
        {RCKeys::CustomCmd(), QStringLiteral("cmd")},
        {RCKeys::Sec(), QStringLiteral("sec")},
        {RCKeys::ProgramListType(), QStringLiteral("programListType")},
        {RCKeys::DisplayOpen(), QStringLiteral("displayOutputState")},
    };
    return keys;
}

} // namespace

RCAction::RCAction(IRCActionManager* manager) : m_manager(manager)
{
    if (!m_manager)
        return;
    m_project = m_manager->getProject();
    if (!m_project)
        return;
    commandKeyMap = commandKeys();
}

RCAction::~RCAction() = default;

IRCActionManager* RCAction::getActionManager() const
{
    return m_manager;
}

QString RCAction::commandKey(const QString& propertyName) const
{
    return commandKeyMap.value(propertyName);
}

QJsonObject RCAction::toCommandParams(const QVariantMap& data) const
{
    QJsonObject params;
    for (auto it = data.cbegin(); it != data.cend(); ++it) {
        const QString key = commandKey(it.key());
        if (!key.isEmpty())
            params.insert(key, variantToJsonValue(it.value()));
    }
    return params;
}

IRCTerminal* RCAction::terminal() const
{
    return m_project ? m_project->getTerminal() : nullptr;
}

IRCStelvaneSyncer* RCAction::mirror() const
{
    return m_project ? m_project->getStelvaneSyncer() : nullptr;
}

int RCAction::sendCommand(const QString& sCmd, const QJsonObject& params) const
{
    IRCTerminal* link = terminal();
    if (!link)
        return -1;
    link->sendCmd(sCmd, params);
    return 0;
}

QVariant RCAction::itemValue(const QString& sceneId, const QString& sceneItemId, const QString& key)
{
    return RCSceneItemPresenter::instance()->getPropertyValue(sceneId, sceneItemId, key);
}

QStringList RCAction::itemTrackNames(const QString& sceneId, const QString& sceneItemId)
{
    QString text = itemValue(sceneId, sceneItemId, RCKeys::TrackNameList()).toString();
    if (text.isEmpty())
        return QStringList();
    text.replace(QStringLiteral("；"), QStringLiteral(";"));
    return text.split(QLatin1Char(';'));
}

QJsonObject RCAction::programListTypeParams(const QString& sceneId, const QString& sceneItemId)
{
    return QJsonObject{{QStringLiteral("programListType"),
                        itemValue(sceneId, sceneItemId, RCKeys::ProgramListType()).toInt()}};
}

QJsonObject RCAction::vexaProgramParams(const QVariantMap& data, int playState)
{
    return QJsonObject{
        {QStringLiteral("programListId"), data.value(QStringLiteral("programListId")).toString()},
        {QStringLiteral("id"), data.value(QStringLiteral("programId")).toString()},
        {QStringLiteral("playState"), playState}};
}

QString RCAction::sceneIdByName(const QString& name)
{
    RCScenePresenter* scenes = RCScenePresenter::instance();
    const QStringList ids = scenes->getSceneIds();
    for (const QString& id : ids) {
        if (scenes->getPropertyValue(id, RCKeys::Name()).toString() == name)
            return id;
    }
    return QString();
}
