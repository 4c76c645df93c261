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
    LPSTR GetCommandLineA() override { return ::GetCommandLineA(); }
    HANDLE GetStdHandle(DWORD which) override { return ::GetStdHandle(which); }
    BOOL SetHandleInformation(HANDLE handle, DWORD mask, DWORD flags) override {
        return ::SetHandleInformation(handle, mask, flags);
    }
    BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine, BOOL inheritHandles, DWORD creationFlags,
                        LPCSTR currentDirectory, win::STARTUPINFOA* startup,
                        win::PROCESS_INFORMATION* process) override {
        static_assert(sizeof(win::STARTUPINFOA) == sizeof(::STARTUPINFOA), "layouts differ");
        static_assert(sizeof(win::PROCESS_INFORMATION) == sizeof(::PROCESS_INFORMATION), "layouts differ");
        return ::CreateProcessA(applicationName, commandLine, nullptr, nullptr, inheritHandles, creationFlags,
                                nullptr, currentDirectory, reinterpret_cast<::STARTUPINFOA*>(startup),
                                reinterpret_cast<::PROCESS_INFORMATION*>(process));
    }
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override {
        return ::WaitForSingleObject(handle, milliseconds);
    }
    BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) override {
        return ::GetExitCodeProcess(process, exitCode);
    }
    BOOL CloseHandle(HANDLE handle) override { return ::CloseHandle(handle); }
};

}  // namespace

Kernel& Win32Kernel() {
    static RealKernel instance;
    return instance;
}

}  // namespace win::win32
