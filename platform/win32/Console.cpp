// Code-page conversion for console output.
#include "platform/win32/Console.h"
#include <windows.h>

#include <vector>

namespace win::win32 {

namespace {

std::string Convert(const std::string& text, UINT codePage) {
    if (text.empty()) return text;
    int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<wchar_t> utf16(static_cast<size_t>(wide));
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), utf16.data(), wide);
    int narrow = WideCharToMultiByte(codePage, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(narrow), '\0');
    WideCharToMultiByte(codePage, 0, utf16.data(), wide, &converted[0], narrow, nullptr, nullptr);
    return converted;
}

}  // namespace

std::string AnsiToUtf8(const std::string& text) { return Convert(text, CP_UTF8); }

std::string AnsiToConsole(const std::string& text) { return Convert(text, GetConsoleOutputCP()); }

}  // namespace win::win32
