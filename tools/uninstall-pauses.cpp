// uninstall-pauses MEDIUM_DIR MODEL:PORT...: installs the printers on the simulated Windows XP, then
// removes everything of ours with the removal run, and prints the number of entries it went through, the
// pauses it took and its progress lines: the floor of a measured run over the same entries. It also
// gives the pause inside each spooler restart, for telling a restart's own cost apart.
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "setup/engine/CommandLineInstall.h"
#include "shared/SpoolerService.h"
#include "uninstall/CommandLineRemoval.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: uninstall-pauses MEDIUM_DIR MODEL:PORT...\n");
        return 2;
    }
    win::sim::SimPlatform sim;
    // The medium is read in place on its own drive; everything installed goes to the simulated C:.
    sim.windows().MapDrive('M', argv[1]);
    sim.windows().currentDirectory = "M:\\";
    sim.windows().moduleFileName = "M:\\install-printer.exe";
    std::vector<std::string> ports;
    for (int i = 1; i <= 8; ++i) ports.push_back("KXCOM" + std::to_string(i) + ":");
    sim.spooler().DefineMonitorPorts("VLCOMMON.DLL", ports);
    sim.registry().CreateKey(win::HKEY_LOCAL_MACHINE,
                             "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports");
    // Windows XP comes with the unidriver's own files that the serial ports' driver names beside its own.
    for (const char* file : {"TTFSUB.GPD", "STDNAMES.GPD", "UNIRES.DLL"})
        sim.windows().WriteFile(
            std::string("C:\\WINDOWS\\system32\\spool\\drivers\\") + win::kNativeSpoolDirectory + "\\" + file,
            "system");

    for (int i = 2; i < argc; ++i) {
        std::string printer = argv[i];
        size_t colon = printer.find(':');
        if (colon == std::string::npos) {
            std::fprintf(stderr, "uninstall-pauses: '%s' is no MODEL:PORT\n", argv[i]);
            return 2;
        }
        SetupContext context(sim.platform());
        InstallMessage message;
        std::string error;
        int result = InstallFromCommandLine(
            context, {"--model", printer.substr(0, colon), "--port", printer.substr(colon + 1)}, message,
            error);
        if (result != kExitInstalled) {
            std::fprintf(stderr, "uninstall-pauses: %s: exit %d %s%s\n", argv[i], result, error.c_str(),
                         message.Text().c_str());
            return 1;
        }
    }

    std::vector<std::string> lines;
    std::string error;
    auto ignore = [](const std::string&) {};
    ConsoleOutput out{[&](const std::string& line) { lines.push_back(line); }, ignore};
    int entries = 0;
    ConsoleOutput count{[&](const std::string&) { ++entries; }, ignore};
    RemoveFromCommandLine(sim.platform(), {"--list"}, count, error);
    sim.windows().sleeps.clear();
    int result = RemoveFromCommandLine(sim.platform(), {"--all"}, out, error);
    const auto& sleeps = sim.windows().sleeps;
    std::printf("entries %d\nrestart pause %u ms\npauses %u ms\n", entries,
                static_cast<unsigned>(kRestartSpoolerPause),
                static_cast<unsigned>(std::accumulate(sleeps.begin(), sleeps.end(), win::DWORD{0})));
    for (const std::string& line : lines) std::printf("line %s\n", line.c_str());
    if (result != kExitDone)
        std::fprintf(stderr, "uninstall-pauses: the removal ended with %d %s\n", result, error.c_str());
    return result == kExitDone ? 0 : 1;
}
