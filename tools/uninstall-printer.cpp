// uninstall-printer: lists or removes this maker's printers, port monitors and print processors, and the USB
// device driver, without the dialog. The exit codes are those of shared/CommandLineSession.h.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/Console.h"
#include "uninstall/CommandLineRemoval.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    ConsoleOutput out{
        [](const std::string& line) { std::printf("%s\n", win::win32::AnsiToConsole(line).c_str()); },
        [](const std::string& line) {
            std::fprintf(stderr, "uninstall-printer: %s\n", win::win32::AnsiToConsole(line).c_str());
        }};
    std::string error;
    int result = RemoveFromCommandLine(win::Win32Platform(), args, out, error);
    if (result == kExitBadOptions)
        std::fprintf(stderr, "uninstall-printer: %s\n%s%s\n", error.c_str(), kRemovalUsage, kSessionUsage);
    std::fflush(stdout);
    return result;
}
