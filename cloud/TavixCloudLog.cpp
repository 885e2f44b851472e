#include "cloud/TavixCloudLog.h"

Q_LOGGING_CATEGORY(lcTavixCloud, "rc.cloud", QtInfoMsg)
