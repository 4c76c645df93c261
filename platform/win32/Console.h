// Console output for the Windows build's command-line companions.
#pragma once

#include <string>

namespace win::win32 {

// Text in the system's code page, converted to UTF-8 for a host terminal or a pipe.
std::string AnsiToUtf8(const std::string& text);

}  // namespace win::win32

namespace win::win32 {

// Text in the system's code page, converted to the console's output code page.
std::string AnsiToConsole(const std::string& text);

}  // namespace win::win32
