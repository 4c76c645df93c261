// install-pauses MEDIUM_DIR: the pauses the install sequence takes on the simulated Windows for a fresh
// installation and for the update of an older COM port monitor, for comparison with measured times.
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "setup/engine/CommandLineInstall.h"

namespace {

win::DWORD Pauses(win::sim::SimPlatform& sim, const std::vector<std::string>& args) {
    sim.windows().sleeps.clear();
    SetupContext context(sim.platform());
    InstallMessage message;
    std::string error;
    int result = InstallFromCommandLine(context, args, message, error);
    if (result != kExitInstalled) std::fprintf(stderr, "install-pauses: exit %d %s%s\n", result, error.c_str(),
                                               message.Text().c_str());
    const auto& sleeps = sim.windows().sleeps;
    return std::accumulate(sleeps.begin(), sleeps.end(), win::DWORD{0});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: install-pauses MEDIUM_DIR\n");
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
    sim.registry().CreateKey(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports");

    win::DWORD fresh = Pauses(sim, {"--model", "ZMX-M530", "--port", "KXCOM1:", "--generation", "3", "--kind", "1"});
    sim.registry().SetDwordValue(win::HKEY_LOCAL_MACHINE,
                                 "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\VORL COM Monitor",
                                 "DriverVersion", 1);
    win::DWORD update = Pauses(sim, {"--model", "ZMX-M530", "--port", "KXCOM5:", "--generation", "3", "--kind", "1"});
    std::printf("fresh %u ms\nupdate %u ms\n", static_cast<unsigned>(fresh), static_cast<unsigned>(update));
    return 0;
}
