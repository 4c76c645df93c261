// The bundle of one object of each operating-system family; the logic receives the Platform it runs on.
#pragma once

#include "platform/Architecture.h"
#include "platform/Cabinet.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Kernel.h"
#include "platform/Library.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/Spooler.h"
#include "platform/Version.h"
#include "platform/Windows.h"

namespace win {

struct Platform {
    Kernel& kernel;
    Files& files;
    Profile& profile;
    Clock& clock;
    Registry& registry;
    Version& version;
    Cabinet& cabinet;
    Spooler& spooler;
    Services& services;
    Windows& windows;
    Library& library;
    // The architecture the program is built for; a simulated machine can be of either.
    const Architecture& architecture;
};

// The real Windows of the running process; exists only in the Windows build.
Platform& Win32Platform();

}  // namespace win
