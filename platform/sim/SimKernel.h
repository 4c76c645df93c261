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

private:
    SimWindows& w_;
};

}  // namespace win::sim
