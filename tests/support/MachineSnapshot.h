// The state of a simulated machine as one text, for tests that show a run changed nothing.
#pragma once

#include <string>

#include "platform/sim/SimPlatform.h"

// The files with their contents, the registry, the print system, the profile writes, the programs started,
// the service calls and the deletions waiting for a restart.
std::string MachineSnapshot(win::sim::SimPlatform& sim);
