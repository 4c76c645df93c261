// uninstall-printer: lists or removes this maker's printers, port monitors and print processors without
// the dialog, from the medium in the current directory. Exit 0 done, 1 failed, 2 bad options.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/Console.h"
#include "uninstall/CommandLineRemoval.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    int result = RemoveFromCommandLine(
        win::Win32Platform(), args,
        [](const std::string& line) { std::printf("%s\n", win::win32::AnsiToConsole(line).c_str()); }, error);
    if (result == kRemovalBadOptions)
        std::fprintf(stderr, "uninstall-printer: %s\n%s\n", error.c_str(), kRemovalUsage);
    return result;
}
