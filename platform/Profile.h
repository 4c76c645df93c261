// Profile (INI) files.
#pragma once

#include "platform/Win32Types.h"

namespace win {

class Profile {
public:
    virtual ~Profile() = default;
    virtual DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                           DWORD size, LPCSTR fileName) = 0;
    // Writes win.ini: a null key removes the section, a null value removes the key; all three null
    // flushes the profile cache and, as on Windows, returns FALSE.
    virtual BOOL WriteProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value) = 0;
};

}  // namespace win
