#include "QuickTestSetup.h"

#include <QtQuickTest/quicktest.h>

QUICK_TEST_MAIN_WITH_SETUP(tavix_qml, QuickTestSetup)
