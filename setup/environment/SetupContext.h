// The process-wide state of setup, owned by its start-up code.
#pragma once

#include "platform/Platform.h"
#include "setup/engine/DriverStagingState.h"
#include "shared/LanguageText.h"

struct SetupContext {
    // Made first thing at start-up, so the message texts come from the start-up current directory.
    explicit SetupContext(win::Platform& p) : platform(p), messageText(p, "Message") {}

    win::Platform& platform;
    LanguageText messageText;
    DriverStagingState driverStaging;
};
