// Simulated profile reading and win.ini writing over the simulated file system.
#include <string>

#include "platform/sim/ProfileReader.h"
#include "platform/sim/SimProfile.h"
#include "platform/sim/SimWindowsUi.h"

namespace win::sim {

DWORD SimProfile::GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                           DWORD size, LPCSTR fileName) {
    DWORD error;
    if (w_.TakeFault("GetPrivateProfileStringA", &error)) {
        SetSimLastError(error);
        return CopyProfileDefault(section, key, defaultValue, buffer, size);
    }
    std::string name = fileName != nullptr ? fileName : "win.ini";
    // A bare file name is looked up in the Windows directory, not the current one.
    if (name.find_first_of("\\/:") == std::string::npos) name = w_.windowsDirectory + "\\" + name;
    std::string bytes;
    if (!w_.ReadFile(name, &bytes)) {
        SetSimLastError(ERROR_FILE_NOT_FOUND);
        return CopyProfileDefault(section, key, defaultValue, buffer, size);
    }
    std::lock_guard<std::mutex> lock(parsedLock_);
    if (parsed_ == nullptr || bytes != parsedBytes_) {
        parsed_ = std::make_unique<ProfileDocument>(bytes);
        parsedBytes_ = std::move(bytes);
    }
    return parsed_->GetString(section, key, defaultValue, buffer, size);
}

BOOL SimProfile::WriteProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value) {
    writes_.push_back(Write{section != nullptr, key != nullptr, value != nullptr, section ? section : "",
                            key ? key : "", value ? value : "", NextSimSequence()});
    DWORD error;
    if (w_.TakeFault("WriteProfileStringA", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    // The simulation writes through at once, so a flush has nothing to do; Windows answers it with FALSE.
    if (writes_.back().IsFlush()) return FALSE;
    if (section == nullptr) {
        SetSimLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    std::string path = w_.windowsDirectory + "\\win.ini";
    std::string bytes;
    w_.ReadFile(path, &bytes);
    w_.WriteFile(path, EditProfileText(bytes, section, key, value));
    return TRUE;
}

int SimProfile::FlushCount() const {
    int count = 0;
    for (const Write& write : writes_)
        if (write.IsFlush()) ++count;
    return count;
}

}  // namespace win::sim
