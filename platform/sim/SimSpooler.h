// The simulated the print spooler: drivers, monitors, print processors, printers and their directories.
#pragma once

#include "platform/Registry.h"
#include "platform/Spooler.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimSpooler : public Spooler {
public:
    // The spooler keeps its monitors' and processors' registry keys, as Windows does.
    SimSpooler(SimWindows& w, Registry& registry) : w_(w), registry_(registry) {}

private:
    [[maybe_unused]] SimWindows& w_;
    [[maybe_unused]] Registry& registry_;
};

}  // namespace win::sim
