#pragma once

#include "actions/IRCAction.h"

#include <QJsonObject>
#include <QMap>
#include <QStringList>
#include <QVariantMap>

class IRCProject;
class IRCStelvaneSyncer;
class IRCTerminal;

// Base of every action: keeps the manager and the project, reaches the control link and the mirror
// through the project, and translates document property names into the parameter keys of outgoing
// media-server commands. Nothing here is owned; the manager, the project and the services it holds
// outlive every action.
class RCAction : public IRCAction
{
    Q_OBJECT

public:
    explicit RCAction(IRCActionManager* manager);
    ~RCAction() override;

    IRCActionManager* getActionManager() const override;

    // The command key of a document property name ("State" -> "playState"); "" when the name has
    // none.
    QString commandKey(const QString& propertyName) const;
    // The entries of data whose keys have a command key, under that key, each value in its JSON
    // form. Entries without a command key are left out.
    QJsonObject toCommandParams(const QVariantMap& data) const;

protected:
    IRCProject* project() const { return m_project; }
    // The project's control link; null without a project or link.
    IRCTerminal* terminal() const;
    // The project's mirror; null without a project.
    IRCStelvaneSyncer* mirror() const;

    // Hands one command to the control link: 0, or -1 without a link.
    int sendCommand(const QString& sCmd, const QJsonObject& params = QJsonObject()) const;

    // A property of the triggering item; invalid when the scene, item or property is missing.
    static QVariant itemValue(const QString& sceneId, const QString& sceneItemId, const QString& key);
    // The item's "TrackNameList" split at ";" (full-width "；" counts as one), empty parts kept; an
    // empty list when the text is empty.
    static QStringList itemTrackNames(const QString& sceneId, const QString& sceneItemId);
    // The first scene, in scene order, whose "Name" is name (exact); "" when there is none.
    static QString sceneIdByName(const QString& name);
    // {"programListType": the item's "ProgramListType" as an integer}.
    static QJsonObject programListTypeParams(const QString& sceneId, const QString& sceneItemId);
    // {"programListId", "id", "playState"} of a Vexa program named by data {"programListId",
    // "programId"}.
    static QJsonObject vexaProgramParams(const QVariantMap& data, int playState);

private:
    IRCActionManager* m_manager = nullptr;
    IRCProject* m_project = nullptr;
    // Document property name -> command parameter key; one table shared by every action.
    QMap<QString, QString> commandKeyMap;
};
