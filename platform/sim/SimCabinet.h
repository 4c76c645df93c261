// The simulated cabinet files (the Setup API's cabinet iteration).
#pragma once

#include "platform/Cabinet.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimCabinet : public Cabinet {
public:
    explicit SimCabinet(SimWindows& w) : w_(w) {}

private:
    [[maybe_unused]] SimWindows& w_;
};

}  // namespace win::sim
