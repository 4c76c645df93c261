// Simulated directories and program path.
#include <cstring>
#include <string>

#include "platform/sim/SimPlatform.h"

namespace win::sim {

namespace {

// The directory calls' convention: the length copied, or the size needed (with the zero) when the
// buffer is too small.
DWORD CopyPathResult(const std::string& path, LPSTR buffer, DWORD size) {
    if (path.size() + 1 > size) return static_cast<DWORD>(path.size() + 1);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

}  // namespace

DWORD SimFiles::GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
    DWORD error;
    if (w_.TakeFault("GetCurrentDirectoryA", &error)) {
        SetSimLastError(error);
        return 0;
    }
    return CopyPathResult(w_.currentDirectory, buffer, size);
}

DWORD SimFiles::GetModuleFileNameA(HMODULE, LPSTR buffer, DWORD size) {
    DWORD error;
    if (w_.TakeFault("GetModuleFileNameA", &error)) {
        SetSimLastError(error);
        return 0;
    }
    if (size == 0) return 0;
    // A buffer too small gets the path cut and zero-ended, and the size is returned.
    const std::string& path = w_.moduleFileName;
    if (path.size() + 1 > size) {
        std::memcpy(buffer, path.data(), size - 1);
        buffer[size - 1] = '\0';
        SetSimLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

UINT SimFiles::GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    DWORD error;
    if (w_.TakeFault("GetWindowsDirectoryA", &error)) {
        SetSimLastError(error);
        return 0;
    }
    return CopyPathResult(w_.windowsDirectory, buffer, size);
}

}  // namespace win::sim
