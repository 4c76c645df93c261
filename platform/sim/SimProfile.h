// The simulated profile (INI) files.
#pragma once

#include "platform/Profile.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimProfile : public Profile {
public:
    explicit SimProfile(SimWindows& w) : w_(w) {}
    DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                   LPCSTR fileName) override;

private:
    SimWindows& w_;
};

}  // namespace win::sim
