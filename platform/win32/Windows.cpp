// Windows, dialogs, message boxes and window messages, passed to the real API.
#include "platform/win32/Win32Families.h"
// The Windows headers come after ours: their macros would rewrite our constant names.
#include <windows.h>

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
};

}  // namespace

Windows& Win32Windows() {
    static RealWindows instance;
    return instance;
}

}  // namespace win::win32
