// The simulated profile (INI) files.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Profile.h"
#include "platform/sim/ProfileReader.h"
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
    // The last file read, parsed: the programs read one file key by key, and parsing it anew each time
    // would cost the tests more than the reads. Only bytes equal to it reuse it. The install worker reads
    // beside the dialog's thread, hence the lock.
    std::mutex parsedLock_;
    std::string parsedBytes_;
    std::unique_ptr<ProfileDocument> parsed_;
};

}  // namespace win::sim
