// One installation without a user interface, from command-line options: for scripts, deployment tools
// and end-to-end tests.
#pragma once

#include <string>
#include <vector>

#include "setup/engine/InstallRecord.h"

constexpr int kExitInstalled = 0;
constexpr int kExitFailed = 1;
constexpr int kExitBadOptions = 2;

extern const char kCommandLineUsage[];

// Reads the options into the record; false with the reason in error when they are not usable.
bool ParseInstallOptions(SetupContext& context, const std::vector<std::string>& args, InstallRecord& record,
                         std::string& error);

// Runs the checks, fills the records, completes the names and runs the install sequence on a worker
// thread. The message to show is left in message; the result is one of the exit codes.
int InstallFromCommandLine(SetupContext& context, const std::vector<std::string>& args, InstallMessage& message,
                           std::string& error);
