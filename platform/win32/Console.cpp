// Code-page conversion for console output.
#include "platform/win32/Console.h"
#include <windows.h>

#include <vector>

namespace win::win32 {

std::string AnsiToUtf8(const std::string& text) {
    if (text.empty()) return text;
    int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<wchar_t> utf16(static_cast<size_t>(wide));
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), utf16.data(), wide);
    int narrow = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(narrow), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, &utf8[0], narrow, nullptr, nullptr);
    return utf8;
}

}  // namespace win::win32
