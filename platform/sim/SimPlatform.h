// A simulated Windows machine and the Platform that runs against it; each test makes its own.
#pragma once

#include "platform/Platform.h"
#include "platform/sim/SimCabinet.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimKernel.h"
#include "platform/sim/SimLibrary.h"
#include "platform/sim/SimProfile.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimServices.h"
#include "platform/sim/SimSpooler.h"
#include "platform/sim/SimVersion.h"
#include "platform/sim/SimWindows.h"
#include "platform/sim/SimWindowsUi.h"

namespace win::sim {

class SimPlatform {
public:
    // A machine of 32-bit programs unless a test asks for the x64 edition's.
    explicit SimPlatform(const Architecture& architecture = kArchitectureX86) : windows_(architecture) {}
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;

    SimWindows& windows() { return windows_; }
    Platform& platform() { return platform_; }
    // The families, with what tests set up and inspect on each.
    SimRegistry& registry() { return registry_; }
    SimVersion& version() { return version_; }
    SimCabinet& cabinet() { return cabinet_; }
    SimSpooler& spooler() { return spooler_; }
    SimServices& services() { return services_; }
    SimWindowsUi& ui() { return ui_; }
    SimLibrary& library() { return library_; }

private:
    SimWindows windows_;
    SimKernel kernel_{windows_};
    SimFiles files_{windows_, &registry_};
    SimProfile profile_{windows_};
    SimClock clock_{windows_};
    SimRegistry registry_{windows_};
    SimVersion version_{windows_};
    SimCabinet cabinet_{windows_};
    SimServices services_{windows_};
    SimSpooler spooler_{windows_, registry_, &services_};
    SimWindowsUi ui_{windows_};
    SimLibrary library_{windows_, &spooler_};
    Platform platform_{kernel_,  files_,   profile_,  clock_, registry_, version_,
                       cabinet_, spooler_, services_, ui_,    library_, windows_.architecture};
};

}  // namespace win::sim
