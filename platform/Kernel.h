// Version query, the calling thread's last error and code-page conversion.
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
};

}  // namespace win
