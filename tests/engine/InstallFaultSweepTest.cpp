// Every operation of an installation made to fail in turn, for a fresh install and for the update of an
// older monitor with the spooler stopped: the run must end with its outcome and a message, the spooler
// running, and nothing of ours registered that points at something missing.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "setup/engine/CommandLineInstall.h"
#include "tests/engine/InstallMedium.h"

namespace {

using win::DWORD;

const char kMonitorKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\KX COM Monitor";
const char kSystem[] = "C:\\WINDOWS\\system32\\";
const std::vector<std::string> kFresh = {"--model", "ZMX-M530", "--port", "KXCOM1:", "--generation", "3",
                                         "--default"};
const std::vector<std::string> kUpdate = {"--model", "ZMX-M530", "--port", "KXCOM2:", "--generation", "3"};

struct Outcome {
    int exitCode = -1;
    std::string message;  // what the console shows, the options' complaint included
};

Outcome Install(win::sim::SimPlatform& sim, const std::vector<std::string>& args) {
    SetupContext context(sim.platform());
    InstallMessage message;
    std::string error;
    Outcome outcome;
    outcome.exitCode = InstallFromCommandLine(context, args, message, error);
    // A device list that cannot be read leaves the model unknown: the options are refused with why.
    outcome.message = outcome.exitCode == kExitBadOptions ? error : message.Text();
    return outcome;
}

// A machine where the sweep's installation starts: fresh, or with our older monitor already in place.
void Prepare(win::sim::SimPlatform& sim, bool update) {
    WriteInstallMedium(sim);
    if (!update) return;
    ASSERT_EQ(kExitInstalled, Install(sim, kFresh).exitCode);
    sim.registry().SetDwordValue(win::HKEY_LOCAL_MACHINE, kMonitorKey, "DriverVersion", 1);
    sim.windows().WriteFile("C:\\MEDIUM\\winnt\\KXCOM.DLL", "new monitor");
}

// Errors each operation can really give; access denied for the rest.
DWORD ErrorFor(const std::string& operation) {
    static const std::map<std::string, DWORD> errors = {
        {"CopyFileA", 32},           {"AddPrinterDriverA", 87}, {"AddPrinterA", 1801},
        {"AddMonitorA", 3008},       {"StartServiceA", 1056},  {"GetPrinterDriverDirectoryA", 122},
        {"GetPrintProcessorDirectoryA", 122}, {"OpenPrinterA", 1801},
    };
    auto found = errors.find(operation);
    return found != errors.end() ? found->second : 5;
}

void Sweep(bool update) {
    win::sim::SimPlatform clean;
    Prepare(clean, update);
    clean.windows().logOperations = true;
    Outcome ok = Install(clean, update ? kUpdate : kFresh);
    ASSERT_EQ(kExitInstalled, ok.exitCode) << ok.message;
    const std::vector<std::string> operations = clean.windows().operationLog;
    ASSERT_GT(operations.size(), 20u);

    std::map<std::string, int> seen;
    int failures = 0;
    for (const std::string& operation : operations) {
        int nth = ++seen[operation];
        win::sim::SimPlatform sim;
        Prepare(sim, update);
        sim.windows().InjectFault(operation, ErrorFor(operation), nth);
        Outcome outcome = Install(sim, update ? kUpdate : kFresh);
        std::string where = operation + " #" + std::to_string(nth) + " failing with " +
                            std::to_string(ErrorFor(operation));
        std::printf("  %-40s -> exit %d, %s\n", where.c_str(), outcome.exitCode,
                    outcome.message.empty() ? "(no message)" : outcome.message.c_str());
        if (outcome.exitCode != kExitInstalled && outcome.exitCode != kExitRestartRequired) ++failures;

        // A file in use is installed under its second name and needs a restart (3010).
        EXPECT_TRUE(outcome.exitCode == kExitInstalled || outcome.exitCode == kExitFailed ||
                    outcome.exitCode == kExitBadOptions || outcome.exitCode == kExitRestartRequired)
            << where;
        EXPECT_FALSE(outcome.message.empty()) << where << ": the outcome says nothing";
        EXPECT_TRUE(sim.services().IsRunning("Spooler")) << where << ": the spooler is left stopped";
        // Nothing of ours points at what is missing: a printer has its driver, a monitor its DLL, and a
        // version stamp belongs to a monitor that exists.
        for (const auto& printer : sim.spooler().printers)
            EXPECT_NE(nullptr, sim.spooler().FindDriver(printer.driverName, win::kNativeEnvironment)) << where;
        if (const auto* monitor = sim.spooler().FindMonitor("KX COM Monitor")) {
            // Under its own name, or the "n" name a copy in use falls back to.
            EXPECT_TRUE(sim.windows().FileExists(kSystem + monitor->dllName)) << where;
        } else {
            DWORD stamp = 0;
            EXPECT_FALSE(sim.registry().GetDwordValue(win::HKEY_LOCAL_MACHINE, kMonitorKey, "DriverVersion", &stamp))
                << where << ": a version stamp without its monitor";
        }
        if ((outcome.exitCode == kExitInstalled || outcome.exitCode == kExitRestartRequired) && !update) {
            EXPECT_NE(nullptr, sim.spooler().FindDriver("KX M530", win::kNativeEnvironment)) << where;
        }
    }
    std::printf("  %zu faults injected, %d ended the installation\n", operations.size(), failures);
}

TEST(InstallFaultSweep, EveryFailingOperationOfAFreshInstallEndsCleanly) { Sweep(false); }

TEST(InstallFaultSweep, EveryFailingOperationOfAnUpdateWithTheSpoolerStoppedEndsCleanly) { Sweep(true); }

}  // namespace
