// Directories and program path, passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

DWORD RealFiles::GetCurrentDirectoryA(DWORD size, LPSTR buffer) { return ::GetCurrentDirectoryA(size, buffer); }

DWORD RealFiles::GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    return ::GetModuleFileNameA(static_cast<::HMODULE>(module), buffer, size);
}

UINT RealFiles::GetWindowsDirectoryA(LPSTR buffer, UINT size) { return ::GetWindowsDirectoryA(buffer, size); }

}  // namespace win::win32
