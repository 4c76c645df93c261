// Version query and the calling thread's last error.
#pragma once

#include "platform/Win32Types.h"

namespace win {

class Kernel {
public:
    virtual ~Kernel() = default;
    virtual BOOL GetVersionExA(OSVERSIONINFOA* info) = 0;
    virtual DWORD GetLastError() = 0;
    virtual void SetLastError(DWORD error) = 0;
};

}  // namespace win
