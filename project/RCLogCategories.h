#pragma once

#include <QLoggingCategory>

// Logging categories of the project layer. "rc.project" passes info and above,
// "rc.recentProject" passes debug too.
Q_DECLARE_LOGGING_CATEGORY(lcRcProject)
Q_DECLARE_LOGGING_CATEGORY(lcRcRecentProject)
