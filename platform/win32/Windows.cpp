// Windows, dialogs, message boxes, window messages, the mutex, the shell and tokens, passed to the real API.
#include "platform/win32/DialogHost.h"
#include "platform/win32/Win32Families.h"
// The Windows headers come after ours: their macros would rewrite our constant names.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

namespace win::win32 {

namespace {

::HWND Real(win::HWND window) { return reinterpret_cast<::HWND>(window); }

class RealWindows : public Windows {
public:
    BOOL SendNotifyMessageA(win::HWND window, UINT message, win::WPARAM wParam, win::LPARAM lParam) override {
        return ::SendNotifyMessageA(Real(window), message, static_cast<::WPARAM>(wParam),
                                    static_cast<::LPARAM>(lParam));
    }
    win::LRESULT SendMessageTimeoutA(win::HWND window, UINT message, win::WPARAM wParam, win::LPARAM lParam,
                                     UINT flags, UINT timeout, win::DWORD_PTR* result) override {
        ::DWORD_PTR answer = 0;
        ::LRESULT sent = ::SendMessageTimeoutA(Real(window), message, static_cast<::WPARAM>(wParam),
                                               static_cast<::LPARAM>(lParam), flags, timeout, &answer);
        if (result != nullptr) *result = static_cast<win::DWORD_PTR>(answer);
        return static_cast<win::LRESULT>(sent);
    }

    int MessageBoxA(win::HWND owner, LPCSTR text, LPCSTR caption, UINT type) override {
        return ::MessageBoxA(Real(owner), text, caption, type);
    }
    win::HWND FindWindowA(LPCSTR className, LPCSTR windowName) override {
        return reinterpret_cast<win::HWND>(::FindWindowA(className, windowName));
    }
    BOOL SetForegroundWindow(win::HWND window) override { return ::SetForegroundWindow(Real(window)); }
    BOOL BringWindowToTop(win::HWND window) override { return ::BringWindowToTop(Real(window)); }
    BOOL OpenIcon(win::HWND window) override { return ::OpenIcon(Real(window)); }

    win::INT_PTR DialogBoxParamA(UINT templateId, win::HWND owner, DialogPage& page) override {
        return RunModalDialog(templateId, owner, page);
    }
    win::HWND CreateDialogParamA(UINT templateId, win::HWND parent, DialogPage& page) override {
        return CreatePageDialog(templateId, parent, page);
    }
    DialogSurface* DialogSurfaceOf(win::HWND dialog) override { return HostedSurface(dialog); }
    BOOL ShowWindow(win::HWND window, int command) override { return ::ShowWindow(Real(window), command); }
    BOOL SetWindowPos(win::HWND window, win::HWND insertAfter, int x, int y, int width, int height,
                      UINT flags) override {
        return ::SetWindowPos(Real(window), Real(insertAfter), x, y, width, height, flags);
    }
    BOOL DestroyWindow(win::HWND window) override { return ::DestroyWindow(Real(window)); }

    int LoadStringA(UINT id, std::string* text) override {
        text->clear();
        // LoadStringA cuts to the buffer without saying so: grow it until the text leaves room.
        for (int size = 256; size <= 65536; size *= 4) {
            std::string buffer(static_cast<size_t>(size), '\0');
            int length = ::LoadStringA(::GetModuleHandleA(nullptr), id, &buffer[0], size);
            if (length <= 0) return 0;
            if (length < size - 2) {
                text->assign(buffer.data(), static_cast<size_t>(length));
                return length;
            }
        }
        return 0;
    }
    HANDLE LoadImageA(LPCSTR name, UINT type, int width, int height, UINT flags) override {
        return ::LoadImageA(nullptr, name, type, width, height, flags);
    }
    BOOL DeleteObject(HANDLE object) override { return ::DeleteObject(static_cast<::HGDIOBJ>(object)); }

    HANDLE CreateMutexA(BOOL initialOwner, LPCSTR name) override {
        return ::CreateMutexA(nullptr, initialOwner, name);
    }
    HANDLE OpenMutexA(DWORD access, BOOL inherit, LPCSTR name) override {
        return ::OpenMutexA(access, inherit, name);
    }
    BOOL CloseHandle(HANDLE handle) override { return ::CloseHandle(handle); }

    win::INT_PTR ShellExecuteA(win::HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                               int show) override {
        return reinterpret_cast<win::INT_PTR>(
            ::ShellExecuteA(Real(owner), verb, file, parameters, directory, show));
    }

    BOOL OpenThreadToken(DWORD access, BOOL openAsSelf, HANDLE* token) override {
        return ::OpenThreadToken(::GetCurrentThread(), access, openAsSelf, token);
    }
    BOOL LookupPrivilegeValueA(LPCSTR systemName, LPCSTR name, win::LUID* luid) override {
        return ::LookupPrivilegeValueA(systemName, name, reinterpret_cast<::LUID*>(luid));
    }
    BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, win::TOKEN_PRIVILEGES* newState, DWORD size,
                               win::TOKEN_PRIVILEGES* previousState, DWORD* returnSize) override {
        return ::AdjustTokenPrivileges(token, disableAll, reinterpret_cast<::TOKEN_PRIVILEGES*>(newState), size,
                                       reinterpret_cast<::TOKEN_PRIVILEGES*>(previousState), returnSize);
    }
    BOOL ExitWindowsEx(UINT flags, DWORD reason) override { return ::ExitWindowsEx(flags, reason); }
    static_assert(sizeof(win::TOKEN_PRIVILEGES) == sizeof(::TOKEN_PRIVILEGES), "layouts differ");
    BOOL OpenProcessToken(DWORD access, HANDLE* token) override {
        return ::OpenProcessToken(::GetCurrentProcess(), access, token);
    }
    BOOL GetTokenInformation(HANDLE token, win::TOKEN_INFORMATION_CLASS kind, void* buffer, DWORD size,
                             DWORD* needed) override {
        static_assert(sizeof(win::SID_AND_ATTRIBUTES) == sizeof(::SID_AND_ATTRIBUTES), "layouts differ");
        static_assert(sizeof(win::TOKEN_GROUPS) == sizeof(::TOKEN_GROUPS), "layouts differ");
        return ::GetTokenInformation(token, static_cast<::TOKEN_INFORMATION_CLASS>(kind), buffer, size,
                                     needed);
    }
    BOOL CheckTokenMembership(HANDLE token, win::PSID sid, BOOL* isMember) override {
        // Windows 2000 and later only: looked up at run time so the program still starts on older systems.
        typedef ::BOOL(WINAPI * CheckMembership)(::HANDLE, ::PSID, ::PBOOL);
        ::HMODULE advapi = ::GetModuleHandleA("advapi32.dll");
        auto check = advapi != nullptr ? reinterpret_cast<CheckMembership>(reinterpret_cast<void (*)()>(
                                             ::GetProcAddress(advapi, "CheckTokenMembership")))
                                       : nullptr;
        if (check == nullptr) {
            ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
            return FALSE;
        }
        return check(token, sid, isMember);
    }
    BOOL AllocateAndInitializeSid(const win::SID_IDENTIFIER_AUTHORITY* authority, BYTE count, DWORD sub0,
                                  DWORD sub1, DWORD sub2, DWORD sub3, DWORD sub4, DWORD sub5, DWORD sub6,
                                  DWORD sub7, win::PSID* sid) override {
        ::SID_IDENTIFIER_AUTHORITY real;
        for (int i = 0; i < 6; ++i) real.Value[i] = authority->Value[i];
        return ::AllocateAndInitializeSid(&real, count, sub0, sub1, sub2, sub3, sub4, sub5, sub6, sub7, sid);
    }
    BOOL EqualSid(win::PSID first, win::PSID second) override { return ::EqualSid(first, second); }
    void FreeSid(win::PSID sid) override { ::FreeSid(sid); }
};

}  // namespace

Windows& Win32Windows() {
    static RealWindows instance;
    return instance;
}

}  // namespace win::win32
