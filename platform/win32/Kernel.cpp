// Version query and last error, passed to the real API.
#include "platform/win32/Win32Families.h"
// The Windows headers come after ours: their macros would rewrite our constant names.
#include <windows.h>

namespace win::win32 {

namespace {

class RealKernel : public Kernel {
public:
    BOOL GetVersionExA(win::OSVERSIONINFOA* info) override {
        static_assert(sizeof(win::OSVERSIONINFOA) == sizeof(::OSVERSIONINFOA), "layouts differ");
        return ::GetVersionExA(reinterpret_cast<::OSVERSIONINFOA*>(info));
    }
    DWORD GetLastError() override { return ::GetLastError(); }
    void SetLastError(DWORD error) override { ::SetLastError(error); }
};

}  // namespace

Kernel& Win32Kernel() {
    static RealKernel instance;
    return instance;
}

}  // namespace win::win32
