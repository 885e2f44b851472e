#pragma once

#include <QLoggingCategory>

// Logging category of the cloud client, "rc.cloud" (info and above).
Q_DECLARE_LOGGING_CATEGORY(lcTavixCloud)
