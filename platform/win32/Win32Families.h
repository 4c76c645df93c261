// The pass-through of each family to the real Win32 API.
#pragma once

#include "platform/Platform.h"

namespace win::win32 {

class RealKernel : public Kernel {
public:
    BOOL GetVersionExA(OSVERSIONINFOA* info) override;
    DWORD GetLastError() override;
    void SetLastError(DWORD error) override;
};

class RealFiles : public Files {
public:
    DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) override;
    DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) override;
    UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) override;
};

class RealProfile : public Profile {
public:
    DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                   LPCSTR fileName) override;
};

class RealClock : public Clock {
public:
    void Sleep(DWORD milliseconds) override;
};

}  // namespace win::win32

namespace win::win32 {

// The families whose classes live in their own files.
Registry& Win32Registry();
Version& Win32Version();
Cabinet& Win32Cabinet();
Spooler& Win32Spooler();
Services& Win32Services();
Windows& Win32Windows();

}  // namespace win::win32
