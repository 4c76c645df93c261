// The pass-through of each family to the real Win32 API.
#pragma once

#include "platform/Platform.h"

namespace win::win32 {

// One instance of each family's pass-through, each defined in its own file.
Kernel& Win32Kernel();
Files& Win32Files();
Profile& Win32Profile();
Clock& Win32Clock();
Registry& Win32Registry();
Version& Win32Version();
Cabinet& Win32Cabinet();
Spooler& Win32Spooler();
Services& Win32Services();
Windows& Win32Windows();
Library& Win32Library();

}  // namespace win::win32
