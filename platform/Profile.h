// Profile (INI) files.
#pragma once

#include "platform/Win32Types.h"

namespace win {

class Profile {
public:
    virtual ~Profile() = default;
    virtual DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                           DWORD size, LPCSTR fileName) = 0;
};

}  // namespace win
