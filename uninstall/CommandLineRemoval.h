// Removal without the dialog, from command-line options: the same catalogue and removal run as
// uninstall.exe, for scripts and deployment tools. It never asks to restart.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"

constexpr int kRemovalDone = 0;
constexpr int kRemovalFailed = 1;
constexpr int kRemovalBadOptions = 2;

extern const char kRemovalUsage[];

// Receives each line the removal prints: listings and progress lines, in the system's code page.
using RemovalOutput = std::function<void(const std::string& line)>;

// Runs "--list", "--remove NAME..." or "--all" against the medium in the current directory. Bad options
// leave their reason in error. The result is one of the exit codes above.
int RemoveFromCommandLine(win::Platform& platform, const std::vector<std::string>& args,
                          const RemovalOutput& out, std::string& error);
