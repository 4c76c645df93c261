// The simulated windows, dialogs, message boxes and window messages.
#pragma once

#include "platform/Windows.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimWindowsUi : public Windows {
public:
    explicit SimWindowsUi(SimWindows& w) : w_(w) {}

private:
    [[maybe_unused]] SimWindows& w_;
};

}  // namespace win::sim
