// The simulated the service control manager.
#pragma once

#include "platform/Services.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimServices : public Services {
public:
    explicit SimServices(SimWindows& w) : w_(w) {}

private:
    [[maybe_unused]] SimWindows& w_;
};

}  // namespace win::sim
