// The simulated the print spooler: drivers, monitors, print processors, printers and their directories.
#pragma once

#include "platform/Spooler.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimSpooler : public Spooler {
public:
    explicit SimSpooler(SimWindows& w) : w_(w) {}

private:
    [[maybe_unused]] SimWindows& w_;
};

}  // namespace win::sim
