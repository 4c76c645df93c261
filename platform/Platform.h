// The bundle of one object of each operating-system family; the logic receives the Platform it runs on.
#pragma once

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Kernel.h"
#include "platform/Profile.h"

namespace win {

struct Platform {
    Kernel& kernel;
    Files& files;
    Profile& profile;
    Clock& clock;
};

// The real Windows of the running process; exists only in the Windows build.
Platform& Win32Platform();

}  // namespace win
