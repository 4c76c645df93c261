// The simulated files, directories and the program path.
#pragma once

#include "platform/Files.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimFiles : public Files {
public:
    explicit SimFiles(SimWindows& w) : w_(w) {}
    DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) override;
    DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) override;
    UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) override;

private:
    SimWindows& w_;
};

}  // namespace win::sim
