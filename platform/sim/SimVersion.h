// The simulated version resources of files.
#pragma once

#include "platform/Version.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimVersion : public Version {
public:
    explicit SimVersion(SimWindows& w) : w_(w) {}

private:
    [[maybe_unused]] SimWindows& w_;
};

}  // namespace win::sim
