// Windows, dialogs, message boxes, window messages, the named mutex, starting programs and the token
// queries of the administrator test.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Dialogs.h"
#include "platform/Win32Types.h"

namespace win {

typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef uintptr_t DWORD_PTR;

inline HWND const HWND_BROADCAST = reinterpret_cast<HWND>(static_cast<uintptr_t>(0xffff));
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;

constexpr UINT WM_WININICHANGE = 0x001A;

constexpr UINT SMTO_NORMAL = 0x0000;
constexpr UINT SMTO_BLOCK = 0x0001;
constexpr UINT SMTO_ABORTIFHUNG = 0x0002;

constexpr DWORD ERROR_NO_TOKEN = 1008;
constexpr DWORD ERROR_NO_SUCH_PRIVILEGE = 1313;
constexpr DWORD ERROR_MESSAGE_SYNC_ONLY = 1159;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;

// Message box types.
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;

// LoadImageA.
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT LR_LOADFROMFILE = 0x10;

// Tokens and security identifiers.
struct SID_IDENTIFIER_AUTHORITY {
    BYTE Value[6];
};
typedef void* PSID;
struct SID_AND_ATTRIBUTES {
    PSID Sid;
    DWORD Attributes;
};
struct TOKEN_GROUPS {
    DWORD GroupCount;
    SID_AND_ATTRIBUTES Groups[1];
};
enum TOKEN_INFORMATION_CLASS { TokenUser = 1, TokenGroups = 2 };
constexpr SID_IDENTIFIER_AUTHORITY SECURITY_NT_AUTHORITY = {{0, 0, 0, 0, 0, 5}};
constexpr DWORD SECURITY_BUILTIN_DOMAIN_RID = 32;
constexpr DWORD DOMAIN_ALIAS_RID_ADMINS = 544;
constexpr DWORD DOMAIN_ALIAS_RID_USERS = 545;
constexpr DWORD TOKEN_QUERY = 0x0008;
constexpr DWORD SYNCHRONIZE = 0x00100000;
constexpr DWORD TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr DWORD SE_PRIVILEGE_ENABLED = 0x2;
constexpr UINT EWX_REBOOT = 0x2;
struct LUID {
    DWORD LowPart;
    LONG HighPart;
};
struct LUID_AND_ATTRIBUTES {
    LUID Luid;
    DWORD Attributes;
};
struct TOKEN_PRIVILEGES {
    DWORD PrivilegeCount;
    LUID_AND_ATTRIBUTES Privileges[1];
};
constexpr DWORD SE_GROUP_MANDATORY = 0x1;
constexpr DWORD SE_GROUP_ENABLED_BY_DEFAULT = 0x2;
constexpr DWORD SE_GROUP_ENABLED = 0x4;
constexpr DWORD SE_GROUP_USE_FOR_DENY_ONLY = 0x10;

class Windows {
public:
    virtual ~Windows() = default;
    virtual BOOL SendNotifyMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                        UINT timeout, DWORD_PTR* result) = 0;

    // Top-level windows and message boxes.
    virtual int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) = 0;
    virtual HWND FindWindowA(LPCSTR className, LPCSTR windowName) = 0;
    virtual BOOL SetForegroundWindow(HWND window) = 0;
    virtual BOOL BringWindowToTop(HWND window) = 0;
    virtual BOOL OpenIcon(HWND window) = 0;

    // Dialogs from the program's templates, hosting a page object. The modal one returns the result of
    // EndDialog, or -1 when the dialog cannot be made.
    virtual INT_PTR DialogBoxParamA(UINT templateId, HWND owner, DialogPage& page) = 0;
    virtual HWND CreateDialogParamA(UINT templateId, HWND parent, DialogPage& page) = 0;
    // The surface of a dialog made by either call; null for any other window.
    virtual DialogSurface* DialogSurfaceOf(HWND dialog) = 0;
    virtual BOOL ShowWindow(HWND window, int command) = 0;
    // Only the Z-order form is used: HWND_TOPMOST with SWP_NOMOVE | SWP_NOSIZE.
    virtual BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) = 0;
    virtual BOOL DestroyWindow(HWND window) = 0;

    // A string resource of the program: its length, 0 when there is none.
    virtual int LoadStringA(UINT id, std::string* text) = 0;

    // A bitmap from a file (IMAGE_BITMAP with LR_LOADFROMFILE), and freeing it.
    virtual HANDLE LoadImageA(LPCSTR name, UINT type, int width, int height, UINT flags) = 0;
    virtual BOOL DeleteObject(HANDLE object) = 0;

    // The named mutex that keeps a program to one instance; GetLastError tells ERROR_ALREADY_EXISTS.
    virtual HANDLE CreateMutexA(BOOL initialOwner, LPCSTR name) = 0;
    // Another program's named mutex, without making one; null when none exists.
    virtual HANDLE OpenMutexA(DWORD access, BOOL inherit, LPCSTR name) = 0;
    // Closes the mutex and token handles of this family.
    virtual BOOL CloseHandle(HANDLE handle) = 0;

    // Opens a document or starts a program; a result above 32 is success.
    virtual INT_PTR ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                  int show) = 0;

    // The access token of the calling thread (when it impersonates) or of the process.
    virtual BOOL OpenThreadToken(DWORD access, BOOL openAsSelf, HANDLE* token) = 0;
    virtual BOOL OpenProcessToken(DWORD access, HANDLE* token) = 0;
    virtual BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* buffer, DWORD size,
                                     DWORD* needed) = 0;
    // Whether the token (null: the caller's) has the group enabled; a deny-only group is no membership.
    virtual BOOL CheckTokenMembership(HANDLE token, PSID sid, BOOL* isMember) = 0;
    virtual BOOL AllocateAndInitializeSid(const SID_IDENTIFIER_AUTHORITY* authority, BYTE count, DWORD sub0,
                                          DWORD sub1, DWORD sub2, DWORD sub3, DWORD sub4, DWORD sub5,
                                          DWORD sub6, DWORD sub7, PSID* sid) = 0;
    virtual BOOL EqualSid(PSID first, PSID second) = 0;
    virtual void FreeSid(PSID sid) = 0;

    // Restarting Windows: NT needs the shutdown privilege enabled in the process token first.
    virtual BOOL LookupPrivilegeValueA(LPCSTR systemName, LPCSTR name, LUID* luid) = 0;
    virtual BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* newState, DWORD size,
                                       TOKEN_PRIVILEGES* previousState, DWORD* returnSize) = 0;
    virtual BOOL ExitWindowsEx(UINT flags, DWORD reason) = 0;
};

}  // namespace win
