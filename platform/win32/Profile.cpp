// Profile reading, passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

DWORD RealProfile::GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                            DWORD size, LPCSTR fileName) {
    return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
}

}  // namespace win::win32
