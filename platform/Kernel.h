// Version query, the calling thread's last error, code-page conversion and starting another program.
#pragma once

#include "platform/Win32Types.h"

namespace win {

// A UTF-16 code unit, as Windows' WCHAR.
typedef char16_t WCHAR;

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
// The code page of the programs' texts: the language files and the fixed texts are written in it.
constexpr UINT kTextCodePage = 936;

constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

// Starting a program and waiting for it.
constexpr DWORD STD_INPUT_HANDLE = static_cast<DWORD>(-10);
constexpr DWORD STD_OUTPUT_HANDLE = static_cast<DWORD>(-11);
constexpr DWORD STD_ERROR_HANDLE = static_cast<DWORD>(-12);
constexpr DWORD STARTF_USESTDHANDLES = 0x100;
constexpr DWORD HANDLE_FLAG_INHERIT = 1;
constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD STILL_ACTIVE = 259;

// As Windows lays them out.
struct STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX, dwY, dwXSize, dwYSize, dwXCountChars, dwYCountChars, dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    BYTE* lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};

class Kernel {
public:
    virtual ~Kernel() = default;
    virtual BOOL GetVersionExA(OSVERSIONINFOA* info) = 0;
    virtual DWORD GetLastError() = 0;
    virtual void SetLastError(DWORD error) = 0;
    // As Windows: a size of 0 for the output asks for the length needed; the result is the number of
    // units written or needed, 0 on failure.
    virtual int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, WCHAR* wide,
                                    int wideLength) = 0;
    // defaultChar and usedDefault are always null in this system.
    virtual int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* wide, int wideLength, LPSTR text,
                                    int length, LPCSTR defaultChar, BOOL* usedDefault) = 0;

    // The process's command line as Windows keeps it, the program's own name first.
    virtual LPSTR GetCommandLineA() = 0;
    virtual HANDLE GetStdHandle(DWORD which) = 0;
    virtual BOOL SetHandleInformation(HANDLE handle, DWORD mask, DWORD flags) = 0;
    // Security attributes and environment are always the caller's own (null); a null directory is the
    // caller's current directory.
    virtual BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine, BOOL inheritHandles,
                                DWORD creationFlags, LPCSTR currentDirectory, STARTUPINFOA* startup,
                                PROCESS_INFORMATION* process) = 0;
    virtual DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) = 0;
    virtual BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) = 0;
    // Closes the process and thread handles of CreateProcessA.
    virtual BOOL CloseHandle(HANDLE handle) = 0;
};

}  // namespace win
