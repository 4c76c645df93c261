// The simulated version query, last error and code-page conversion.
#pragma once

#include "platform/Kernel.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimKernel : public Kernel {
public:
    explicit SimKernel(SimWindows& w) : w_(w) {}
    BOOL GetVersionExA(OSVERSIONINFOA* info) override;
    DWORD GetLastError() override;
    void SetLastError(DWORD error) override;
    // Code page 936 (also as CP_ACP, the machine's ANSI code page) and UTF-8 only, through the host's
    // iconv; a byte sequence the code page does not know becomes U+FFFD, a character it cannot hold "?".
    int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, WCHAR* wide,
                            int wideLength) override;
    int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* wide, int wideLength, LPSTR text,
                            int length, LPCSTR defaultChar, BOOL* usedDefault) override;
    // The machine's programs: a started program is recorded, ends at once with the exit code its test
    // gave it (0 unless said), and is found only where the machine has its file.
    LPSTR GetCommandLineA() override;
    HANDLE GetStdHandle(DWORD which) override;
    BOOL SetHandleInformation(HANDLE handle, DWORD mask, DWORD flags) override;
    BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine, BOOL inheritHandles, DWORD creationFlags,
                        LPCSTR currentDirectory, STARTUPINFOA* startup, PROCESS_INFORMATION* process) override;
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override;
    BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) override;
    BOOL CloseHandle(HANDLE handle) override;

private:
    SimWindows& w_;
};

}  // namespace win::sim
