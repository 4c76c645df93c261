// install-printer: installs one printer from the medium without a user interface, for scripts and
// deployment tools. The exit codes are those of shared/CommandLineSession.h.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/Console.h"
#include "setup/engine/CommandLineInstall.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    ConsoleOutput out{
        [](const std::string& line) { std::printf("%s\n", win::win32::AnsiToConsole(line).c_str()); },
        [](const std::string& line) {
            std::fprintf(stderr, "install-printer: %s\n", win::win32::AnsiToConsole(line).c_str());
        }};
    std::string error;
    int result = RunInstallPrinter(win::Win32Platform(), args, out, error);
    if (result == kExitBadOptions)
        std::fprintf(stderr, "install-printer: %s\n%s%s\n", error.c_str(), kCommandLineUsage, kSessionUsage);
    std::fflush(stdout);
    return result;
}
