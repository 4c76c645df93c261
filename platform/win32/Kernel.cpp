// Version query and last error, passed to the real API.
#include "platform/win32/Win32Families.h"
// The Windows headers come after ours: their macros would rewrite our constant names.
#include <windows.h>

namespace win::win32 {

BOOL RealKernel::GetVersionExA(win::OSVERSIONINFOA* info) {
    static_assert(sizeof(win::OSVERSIONINFOA) == sizeof(::OSVERSIONINFOA), "layouts differ");
    return ::GetVersionExA(reinterpret_cast<::OSVERSIONINFOA*>(info));
}

DWORD RealKernel::GetLastError() { return ::GetLastError(); }

void RealKernel::SetLastError(DWORD error) { ::SetLastError(error); }

}  // namespace win::win32
