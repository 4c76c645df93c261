// Removal without the dialog, from command-line options: the same catalogue and removal run as
// uninstall.exe, for scripts and deployment tools. It never asks to restart.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "shared/CommandLineSession.h"

extern const char kRemovalUsage[];

// Runs "--list", "--remove NAME...", "--all" and "--usb-driver" with the shared options against the medium.
// Listings and progress lines go to out, in the system's code page; bad options leave their reason in
// error. The result is one of the exit codes of CommandLineSession.h.
int RemoveFromCommandLine(win::Platform& platform, const std::vector<std::string>& args,
                          const ConsoleOutput& out, std::string& error);
