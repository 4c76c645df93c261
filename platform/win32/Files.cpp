// Files, directories and the program path, passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

namespace {

class RealFiles : public Files {
public:
    DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) override { return ::GetCurrentDirectoryA(size, buffer); }
    DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) override {
        return ::GetModuleFileNameA(static_cast<::HMODULE>(module), buffer, size);
    }
    UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) override { return ::GetWindowsDirectoryA(buffer, size); }
};

}  // namespace

Files& Win32Files() {
    static RealFiles instance;
    return instance;
}

}  // namespace win::win32
