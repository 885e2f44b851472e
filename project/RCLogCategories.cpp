#include "project/RCLogCategories.h"

Q_LOGGING_CATEGORY(lcRcProject, "rc.project", QtInfoMsg)
Q_LOGGING_CATEGORY(lcRcRecentProject, "rc.recentProject", QtDebugMsg)
