// Files, directories and the program's own path.
#pragma once

#include "platform/Win32Types.h"

namespace win {

class Files {
public:
    virtual ~Files() = default;
    virtual DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) = 0;
    // module is always the program itself (null) in this system.
    virtual DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) = 0;
    virtual UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) = 0;
};

}  // namespace win
