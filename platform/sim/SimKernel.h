// The simulated version query and last error.
#pragma once

#include "platform/Kernel.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimKernel : public Kernel {
public:
    explicit SimKernel(SimWindows& w) : w_(w) {}
    BOOL GetVersionExA(OSVERSIONINFOA* info) override;
    DWORD GetLastError() override;
    void SetLastError(DWORD error) override;

private:
    SimWindows& w_;
};

}  // namespace win::sim
