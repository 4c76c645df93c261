// install-printer: installs one printer from the medium in the current directory without a user
// interface, for scripts and deployment tools. Exit 0 installed, 1 failed, 2 bad options, 3 refused.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/Console.h"
#include "setup/engine/CommandLineInstall.h"

int main(int argc, char** argv) {
    SetupContext context(win::Win32Platform());
    std::vector<std::string> args(argv + 1, argv + argc);
    InstallMessage message;
    std::string error;
    std::vector<std::string> notes;
    int result = InstallFromCommandLine(context, args, message, error, &notes);
    for (const std::string& note : notes) std::printf("%s\n", win::win32::AnsiToConsole(note).c_str());
    if (result == kExitBadOptions) {
        std::fprintf(stderr, "install-printer: %s\n%s\n", error.c_str(), kCommandLineUsage);
        return result;
    }
    if (!message.Empty()) std::printf("%s\n", win::win32::AnsiToConsole(message.Text()).c_str());
    std::printf(result == kExitInstalled ? "installed\n" : "not installed\n");
    return result;
}
