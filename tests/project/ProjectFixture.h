#pragma once

#include "project/RCProject.h"
#include "project/TemporaryHome.h"
#include "root/RCProjectRoot.h"

#include <QDir>
#include <QJsonObject>
#include <QQmlEngine>

#include <memory>

// A project root over a temporary home, for tests that drive the real project. One home serves
// the whole run (the recent-projects record is process-wide); every case gets a new project whose
// document is reset to the start-up state (the scene model is process-wide too), and its packets,
// made below "packets" in the home, go after the case.
struct ProjectFixture
{
    std::unique_ptr<TemporaryHome> home;
    std::unique_ptr<QQmlEngine> engine;
    std::unique_ptr<RCProject> project;

    bool makeHome()
    {
        home = std::make_unique<TemporaryHome>();
        return home->isValid();
    }
    bool makeProject()
    {
        engine = std::make_unique<QQmlEngine>();
        project = std::make_unique<RCProjectRoot>(engine.get(), QStringList{QStringLiteral("Tavix")});
        if (!project->setProject(QJsonObject{{QStringLiteral("sceneArray"), QJsonObject{}}}))
            return false;
        project->initDefaultScene();
        return true;
    }
    void dropProject()
    {
        project.reset();
        engine.reset();
        QDir(home->filePath(QStringLiteral("packets"))).removeRecursively();
    }
};
