#pragma once

#include <QObject>
#include <QString>

class IRCProject;

// Runs a scene item as if it had been tapped, without its view: it recognises the item's kind by
// the file name of its "QmlPath" (the view file names the catalogue gives the kinds) and repeats
// the click of that view, reading the mirror afresh. The eight kinds it knows: action buttons (their
// "ActionType" with data ""), the current-program, display, stage-link, stand-by, track play and
// track stop buttons (their toggle, as RCSceneItemPresenter::actionTrigger), and the exit button,
// which asks the project to close the application (IRCProject::requestClose). Any other item does
// nothing.
//
// Created by the project (not owned) and connected to RCSceneItemPresenter::itemExecute. Keeps no
// state between calls. GUI thread only.
class RCSceneItemExcuteControler : public QObject
{
    Q_OBJECT

public:
    explicit RCSceneItemExcuteControler(IRCProject* project, QObject* parent = nullptr);

    // The control kinds (IRCControl::EIRCControlType) whose items can be run, in the order their
    // view file names are matched.
    static const QList<int>& executableControlTypes();

public Q_SLOTS:
    void excute(const QString& sceneId, const QString& sceneItemId);

private:
    IRCProject* m_project = nullptr;
};
