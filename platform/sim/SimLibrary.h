// The simulated run-time libraries.
#pragma once

#include "platform/Library.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimLibrary : public Library {
public:
    explicit SimLibrary(SimWindows& w) : w_(w) {}

private:
    [[maybe_unused]] SimWindows& w_;
};

}  // namespace win::sim
