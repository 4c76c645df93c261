// Profile (INI) files, passed to the real API.
#include "platform/win32/Win32Families.h"
// The Windows headers come after ours: their macros would rewrite our constant names.
#include <windows.h>

namespace win::win32 {

namespace {

class RealProfile : public Profile {
public:
    DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                   LPCSTR fileName) override {
        return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
    }
    BOOL WriteProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value) override {
        return ::WriteProfileStringA(section, key, value);
    }
};

}  // namespace

Profile& Win32Profile() {
    static RealProfile instance;
    return instance;
}

}  // namespace win::win32
