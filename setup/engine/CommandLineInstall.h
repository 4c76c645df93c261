// One installation without a user interface, from command-line options: for scripts, deployment tools
// and end-to-end tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "setup/engine/InstallRecord.h"
#include "setup/engine/UsbPrinterId.h"
#include "shared/CommandLineSession.h"

constexpr int kExitInstalled = kExitDone;

// The options of install-printer itself; kSessionUsage follows them.
extern const char kCommandLineUsage[];

// What the command line decides beyond the record: the answer to the USB printer-ID question, and the
// install mode, which the wizard's install-mode page would give.
struct CommandLineChoices {
    bool changeId = false;
    InstallMode mode = kInstallModeTypical;
    bool testPage = false;  // a test page once the printer is installed
};

// Reads the options into the record; false with the reason in error when they are not usable.
bool ParseInstallOptions(SetupContext& context, const std::vector<std::string>& args, InstallRecord& record,
                         CommandLineChoices& choices, std::string& error);

// Runs the checks, fills the records, matches a USB printer's ID to the port, completes the names and runs
// the install sequence on a worker thread. The message to show is left in message; what the printer-ID
// step shows on the way is added to notes when given, and each step of the sequence told to steps. The
// result is one of the exit codes.
int InstallFromCommandLine(SetupContext& context, const std::vector<std::string>& args,
                           InstallMessage& message, std::string& error,
                           std::vector<std::string>* notes = nullptr, InstallSteps* steps = nullptr);

// All of install-printer.exe: the shared options, the medium, the log, the look at a running setup or
// uninstall, then the installation or its plan, each step a line on out. Bad options leave their reason
// in error. The result is one of the exit codes.
int RunInstallPrinter(win::Platform& platform, const std::vector<std::string>& args, const ConsoleOutput& out,
                      std::string& error);
