// Run-time libraries, passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

namespace {

class RealLibrary : public Library {
public:
    HMODULE LoadLibraryA(LPCSTR fileName) override { return ::LoadLibraryA(fileName); }
    FARPROC GetProcAddress(HMODULE module, LPCSTR procName) override {
        return AsFarProc(::GetProcAddress(static_cast<::HMODULE>(module), procName));
    }
    BOOL FreeLibrary(HMODULE module) override { return ::FreeLibrary(static_cast<::HMODULE>(module)); }
};

}  // namespace

Library& Win32Library() {
    static RealLibrary instance;
    return instance;
}

}  // namespace win::win32
