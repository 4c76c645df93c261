// The 64-bit Windows check.
#include "shared/Wow64.h"

#include "platform/Library.h"

namespace {

typedef win::BOOL(WINAPI* IsWow64ProcessEntry)(win::HANDLE process, win::BOOL* wow64);
// GetCurrentProcess's pseudo-handle, the same on every Windows.
const win::HANDLE kCurrentProcess = reinterpret_cast<win::HANDLE>(static_cast<intptr_t>(-1));

}  // namespace

bool RunsOn64BitWindows(win::Platform& platform) {
    win::HMODULE kernel = platform.library.LoadLibraryA("kernel32.dll");
    if (kernel == nullptr) return false;
    auto isWow64 = win::EntryAs<IsWow64ProcessEntry>(platform.library.GetProcAddress(kernel, "IsWow64Process"));
    win::BOOL wow64 = win::FALSE;
    bool result = isWow64 != nullptr && isWow64(kCurrentProcess, &wow64) && wow64;
    platform.library.FreeLibrary(kernel);
    return result;
}
