// The PE32 programs on 64-bit Windows: their x64 twins beside them do the work. A 32-bit program there would
// see SysWOW64 for System32 and register 32-bit files with a 64-bit spooler that cannot load them.
#pragma once

#include <string>

#include "platform/Platform.h"

// Whether this program is the PE32 build running on 64-bit Windows, so its x64 twin must run instead.
bool MustHandOverToX64(win::Platform& platform);

// The twin's path: the program's own folder and its base name with the x64 suffix ("setup64.exe").
std::string X64TwinPath(win::Platform& platform, const char* baseName);

// The rest of a command line after the program's name, as Windows splits it off: a quoted name ends at
// its closing quote, a plain one at the first blank. The blanks before the first argument are kept.
std::string ArgumentsOf(const char* commandLine);

struct HandoverResult {
    bool started = false;
    win::DWORD error = 0;     // CreateProcessA's error when not started (2: the twin is missing)
    win::DWORD exitCode = 0;  // the twin's, when waited for
};

// Starts the twin with this program's arguments in the same current directory and does not wait: for the
// dialogs, whose twin takes over the screen.
HandoverResult StartX64Twin(win::Platform& platform, const char* baseName);

// Runs the twin with this program's arguments, standard handles and current directory, waits for it and
// gives its exit code: for the console companions, whose callers read it.
HandoverResult RunX64Twin(win::Platform& platform, const char* baseName);
