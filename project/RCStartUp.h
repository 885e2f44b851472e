#pragma once

#include <QStringList>

class QQmlEngine;
class RCProject;

// The project root's builder for main.
class RCStartUp
{
public:
    // The one project root, without a parent; main owns and deletes it.
    static RCProject* createProject(QQmlEngine* engine, const QStringList& productNames);

private:
    RCStartUp() = delete;
};
