// Simulated profile reading over the simulated file system.
#include <string>

#include "platform/sim/ProfileReader.h"
#include "platform/sim/SimPlatform.h"

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
    return ProfileDocument(bytes).GetString(section, key, defaultValue, buffer, size);
}

}  // namespace win::sim
