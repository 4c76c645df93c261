// install-pauses MEDIUM_DIR: the pauses the install sequence takes on the simulated Windows for a fresh
// installation and for the update of an older COM port monitor, for comparison with measured times; and
// for the wizard's installations, when its progress window closes at the earliest with those pauses.
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "setup/engine/CommandLineInstall.h"
#include "setup/wizard/ProgressWindow.h"

namespace {

// A simulated Windows XP with the medium read in place on its own drive; everything installed goes to
// the simulated C:.
void Prepare(win::sim::SimPlatform& sim, const char* medium) {
    sim.windows().MapDrive('M', medium);
    sim.windows().currentDirectory = "M:\\";
    sim.windows().moduleFileName = "M:\\install-printer.exe";
    std::vector<std::string> ports;
    for (int i = 1; i <= 8; ++i) ports.push_back("KXCOM" + std::to_string(i) + ":");
    sim.spooler().DefineMonitorPorts("VLCOMMON.DLL", ports);
    sim.registry().CreateKey(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports");
}

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

// When the progress window closes for a worker that ends after `worker` ms: its first tick, then the
// waits of its schedule, the worker's end being seen at the first tick after it.
win::DWORD ProgressWindowCloses(PlatformGeneration target, win::DWORD worker) {
    ProgressSchedule schedule(target);
    win::DWORD now = ProgressWindow::kFirstTick;
    for (;;) {
        ProgressSchedule::Step step =
            schedule.Tick(now >= worker ? kCompletionSucceeded : kCompletionRunning);
        if (step.close) return now;
        now += step.wait;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: install-pauses MEDIUM_DIR\n");
        return 2;
    }
    // install-printer.exe's runs of scripts/bench-install.sh.
    win::sim::SimPlatform sim;
    Prepare(sim, argv[1]);
    win::DWORD fresh = Pauses(sim, {"--model", "ZMX-M530", "--port", "KXCOM1:", "--generation", "3", "--kind", "1"});
    sim.registry().SetDwordValue(win::HKEY_LOCAL_MACHINE,
                                 "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\VORL COM Monitor",
                                 "DriverVersion", 1);
    win::DWORD update = Pauses(sim, {"--model", "ZMX-M530", "--port", "KXCOM5:", "--generation", "3", "--kind", "1"});
    std::printf("fresh %u ms\nupdate %u ms\n", static_cast<unsigned>(fresh), static_cast<unsigned>(update));

    // The wizard's runs of scripts/bench-wizard-install.sh: the receipt printer on serial ports of Windows
    // XP, which take the standard driver; first into a system without our components, then beside them.
    win::sim::SimPlatform wizard;
    Prepare(wizard, argv[1]);
    // The standard driver names the system's Unidrv files without bringing them: Windows wants them in the
    // driver directory already, as an earlier Unidrv printer leaves them (Wine does without).
    const std::string drivers =
        std::string("C:\\WINDOWS\\system32\\spool\\drivers\\") + win::kNativeSpoolDirectory;
    for (const char* file : {"TTFSUB.GPD", "STDNAMES.GPD", "UNIRES.DLL"})
        wizard.windows().WriteFile(drivers + "\\" + file, "system");
    for (const char* run : {"fresh", "again"}) {
        const char* port = std::string(run) == "fresh" ? "KXCOM1:" : "KXCOM2:";
        win::DWORD pauses =
            Pauses(wizard, {"--model", "ZMX-M530", "--port", port, "--generation", "3", "--kind", "0"});
        std::printf("wizard %s %u ms, closes after %u ms\n", run, static_cast<unsigned>(pauses),
                    static_cast<unsigned>(ProgressWindowCloses(kGenerationXP, pauses)));
    }
    return 0;
}
