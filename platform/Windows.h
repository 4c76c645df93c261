// Windows, dialogs, message boxes and window messages.
#pragma once

#include <cstdint>

#include "platform/Win32Types.h"

namespace win {

struct HWND__;
typedef HWND__* HWND;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef uintptr_t DWORD_PTR;

inline HWND const HWND_BROADCAST = reinterpret_cast<HWND>(static_cast<uintptr_t>(0xffff));

constexpr UINT WM_WININICHANGE = 0x001A;

constexpr UINT SMTO_NORMAL = 0x0000;
constexpr UINT SMTO_BLOCK = 0x0001;
constexpr UINT SMTO_ABORTIFHUNG = 0x0002;

constexpr DWORD ERROR_MESSAGE_SYNC_ONLY = 1159;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;

class Windows {
public:
    virtual ~Windows() = default;
    virtual BOOL SendNotifyMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                        UINT timeout, DWORD_PTR* result) = 0;
};

}  // namespace win
