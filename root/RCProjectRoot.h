#pragma once

#include "project/RCProject.h"

class QQmlEngine;

// The project as the program runs it: an RCProject whose constructor builds the services of the
// layers above the project (control manager and catalogue, control link, project distribution,
// mirror, command dispatch, actions, item executor) in dependency order, wires them to one
// another, to the presenters, the settings and the cloud client, and hands them to the project,
// which owns and destroys them (RCProject::adoptServices, ~RCProject). It also makes the window
// event filter and publishes the root-context services on the engine. The QML types are
// registered once per process by the program (RCQmlRegistration::registerTypes), not here.
//
// Created once by RCStartUp::createProject (or directly by a program that hosts no window),
// without a parent, on the GUI thread; deleted before the QML engine. Keeps nothing of its own:
// every handler it connects captures the services or the project's own objects, never the root.
class RCProjectRoot : public RCProject
{
    Q_OBJECT

public:
    // `engine` receives the mirror's image provider and the root-context services; null builds
    // everything but publishes nothing. `productNames` are the media-server products the control
    // link accepts.
    RCProjectRoot(QQmlEngine* engine, const QStringList& productNames);
};
