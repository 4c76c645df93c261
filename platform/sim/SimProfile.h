// The simulated profile (INI) files.
#pragma once

#include <string>
#include <vector>

#include "platform/Profile.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimProfile : public Profile {
public:
    explicit SimProfile(SimWindows& w) : w_(w) {}
    DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                   LPCSTR fileName) override;
    BOOL WriteProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value) override;

    // Each WriteProfileStringA call in order, flushes included, so tests see what was written when.
    struct Write {
        bool hasSection, hasKey, hasValue;
        std::string section, key, value;
        unsigned long sequence;  // orders this call against the recorded broadcasts
        bool IsFlush() const { return !hasSection && !hasKey && !hasValue; }
    };
    const std::vector<Write>& Writes() const { return writes_; }
    int FlushCount() const;

private:
    SimWindows& w_;
    std::vector<Write> writes_;
};

}  // namespace win::sim
