// The simulated registry keys and values.
#pragma once

#include "platform/Registry.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimRegistry : public Registry {
public:
    explicit SimRegistry(SimWindows& w) : w_(w) {}

private:
    [[maybe_unused]] SimWindows& w_;
};

}  // namespace win::sim
