// Whether this 32-bit program runs on a 64-bit Windows, whose 64-bit spooler cannot load the medium's
// 32-bit drivers, port monitors and print processor.
#pragma once

#include "platform/Platform.h"

// IsWow64Process is looked up at run time: Windows 98, NT 4 and 2000 lack it, and they are 32-bit.
bool RunsOn64BitWindows(win::Platform& platform);
