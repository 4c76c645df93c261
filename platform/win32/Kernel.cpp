// Version query, last error and code-page conversion, passed to the real API.
#include "platform/win32/Win32Families.h"
// The Windows headers come after ours: their macros would rewrite our constant names.
#include <windows.h>

namespace win::win32 {

namespace {

class RealKernel : public Kernel {
public:
    BOOL GetVersionExA(win::OSVERSIONINFOA* info) override {
        static_assert(sizeof(win::OSVERSIONINFOA) == sizeof(::OSVERSIONINFOA), "layouts differ");
        return ::GetVersionExA(reinterpret_cast<::OSVERSIONINFOA*>(info));
    }
    DWORD GetLastError() override { return ::GetLastError(); }
    void SetLastError(DWORD error) override { ::SetLastError(error); }
    int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, win::WCHAR* wide,
                            int wideLength) override {
        static_assert(sizeof(win::WCHAR) == sizeof(wchar_t), "WCHAR is UTF-16 on Windows");
        return ::MultiByteToWideChar(codePage, flags, text, length, reinterpret_cast<wchar_t*>(wide),
                                     wideLength);
    }
    int WideCharToMultiByte(UINT codePage, DWORD flags, const win::WCHAR* wide, int wideLength, LPSTR text,
                            int length, LPCSTR defaultChar, BOOL* usedDefault) override {
        return ::WideCharToMultiByte(codePage, flags, reinterpret_cast<const wchar_t*>(wide), wideLength,
                                     text, length, defaultChar, usedDefault);
    }
};

}  // namespace

Kernel& Win32Kernel() {
    static RealKernel instance;
    return instance;
}

}  // namespace win::win32
