// Every operation of an installation made to fail in turn, for a fresh install and for the update of an
// older monitor with the spooler stopped: the run must end as the operation's rule says, with a message,
// the spooler running, and nothing of ours registered that points at something missing.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
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
    // A monitor DLL in use is copied under its "n" name: the same monitor, with the same ports.
    sim.spooler().DefineMonitorPorts("nKXCOM.DLL", {"KXCOM1:", "KXCOM2:"});
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

// What a fault of an operation must do to the installation.
enum class Expected {
    kInstalled,   // ignored: the installation ends installed
    kRestart,     // a file in use: installed, needing a restart
    kStops,       // the installation stops with a message and adds no printer
    kBadOptions,  // the medium cannot be read: the options are refused
    kAny,         // only the sweep's invariants hold
};

struct Rule {
    Rule(Expected always, std::map<int, Expected> byCall = {})
        : otherwise(always), calls(std::move(byCall)) {}
    Expected otherwise;
    std::map<int, Expected> calls;  // by the call's number in the run, where calls differ
};
using Rules = std::map<std::string, Rule>;

// A failed profile read is a key missing from the medium: what that does depends on the key, which the
// model-file tests pin down. The first two read the device list.
const Rule kProfileRead = {Expected::kAny, {{1, Expected::kBadOptions}, {2, Expected::kBadOptions}}};

const Rules kFreshRules = {
    {"GetModuleFileNameA", {Expected::kInstalled}},
    {"GetVersionExA", {Expected::kInstalled}},  // the generation is given; then the default printer's
    {"GetPrivateProfileStringA", kProfileRead},
    {"LoadLibraryA", {Expected::kInstalled}},  // the USB library; winspool for the default printer
    // The monitor's and the processor's keys: taken as not installed they are added; their stamps and
    // the serial settings are lost silently.
    {"RegOpenKeyExA", {Expected::kInstalled}},
    {"RegCreateKeyExA", {Expected::kInstalled}},
    {"RegSetValueExA", {Expected::kInstalled}},
    {"RegCloseKey", {Expected::kInstalled}},
    // #1 finds the medium at the start, without which only the texts are missing; the others build the
    // source of a copy: the monitor's DLL and UI DLL, the processor's, the four driver files.
    {"GetCurrentDirectoryA", {Expected::kStops, {{1, Expected::kInstalled}}}},
    {"GetSystemDirectoryA", {Expected::kStops}},
    {"SetFileAttributesA", {Expected::kInstalled}},
    // #1 the monitor's DLL goes under its "n" name; #2 the UI DLL's copy is not checked; #3 the
    // processor's missing file keeps it from being added; #4 to #7 the driver files.
    {"CopyFileA", {Expected::kStops, {{1, Expected::kInstalled}, {2, Expected::kInstalled}}}},
    {"AddMonitorA", {Expected::kStops}},
    {"GetPrintProcessorDirectoryA", {Expected::kStops}},
    {"AddPrintProcessorA", {Expected::kStops}},
    {"GetPrinterDriverDirectoryA", {Expected::kStops}},
    {"AddPrinterDriverA", {Expected::kStops}},
    {"EnumPrintProcessorDatatypesA", {Expected::kInstalled}},
    {"AddPrinterA", {Expected::kStops}},
    {"ClosePrinter", {Expected::kInstalled}},
    // The default printer's step.
    {"GetProcAddress", {Expected::kInstalled}},
    {"SetDefaultPrinterA", {Expected::kInstalled}},
    {"SendMessageTimeoutA", {Expected::kInstalled}},
};

const Rules kUpdateRules = {
    {"GetModuleFileNameA", {Expected::kInstalled}},
    {"GetVersionExA", {Expected::kInstalled}},
    {"GetPrivateProfileStringA", kProfileRead},
    {"LoadLibraryA", {Expected::kInstalled}},
    // #1 the monitor taken as not installed is added again, which the spooler says it has, and is not
    // updated; #2 the processor taken as not installed cannot be added again; #3 the monitor's new stamp,
    // #4 the serial settings, are lost.
    {"RegOpenKeyExA", {Expected::kInstalled, {{2, Expected::kStops}}}},
    {"RegQueryValueExA", {Expected::kInstalled}},  // a stamp that cannot be read is older
    {"RegSetValueExA", {Expected::kInstalled}},
    {"RegCloseKey", {Expected::kInstalled}},
    {"GetPrintProcessorDirectoryA", {Expected::kInstalled}},  // only the processor's update needs it
    {"GetFileAttributesA", {Expected::kInstalled}},
    // #1 stops the spooler, whose failure is never reported; #2 and #3 start it, whose failure stops at the
    // next check of the message; #4 waits for it to run.
    {"OpenSCManagerA", {Expected::kStops, {{1, Expected::kInstalled}}}},
    {"OpenServiceA", {Expected::kStops, {{1, Expected::kInstalled}}}},
    {"ControlService", {Expected::kInstalled}},
    {"StartServiceA", {Expected::kInstalled}},       // already running is no failure
    {"QueryServiceStatus", {Expected::kInstalled}},  // it is asked again
    // #1 finds the medium at the start; the others build the source of the monitor's and the driver's copies.
    {"GetCurrentDirectoryA", {Expected::kStops, {{1, Expected::kInstalled}}}},
    {"GetSystemDirectoryA", {Expected::kStops}},
    {"SetFileAttributesA", {Expected::kInstalled}},
    {"CopyFileA", {Expected::kRestart}},  // Windows holds the old files until it restarts
    {"GetPrinterDriverDirectoryA", {Expected::kStops}},
    {"AddPrinterDriverA", {Expected::kStops}},
    {"EnumPrintProcessorDatatypesA", {Expected::kInstalled}},
    {"AddPrinterA", {Expected::kStops}},  // #2 is the one under the next free name
    {"ClosePrinter", {Expected::kInstalled}},
};

int ExitCodeOf(Expected expected) {
    switch (expected) {
    case Expected::kRestart:
        return kExitRestartRequired;
    case Expected::kStops:
        return kExitFailed;
    case Expected::kBadOptions:
        return kExitBadOptions;
    case Expected::kInstalled:
    case Expected::kAny:
        break;
    }
    return kExitInstalled;
}

const char* NameOf(Expected expected) {
    switch (expected) {
    case Expected::kRestart:
        return "installed, restart needed";
    case Expected::kStops:
        return "stopped";
    case Expected::kBadOptions:
        return "options refused";
    case Expected::kInstalled:
    case Expected::kAny:
        break;
    }
    return "installed";
}

void Sweep(bool update) {
    const Rules& rules = update ? kUpdateRules : kFreshRules;
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
        const size_t printersBefore = sim.spooler().printers.size();
        sim.windows().InjectFault(operation, ErrorFor(operation), nth);
        Outcome outcome = Install(sim, update ? kUpdate : kFresh);
        std::string where = operation + " #" + std::to_string(nth) + " failing with " +
                            std::to_string(ErrorFor(operation));
        std::printf("  %-40s -> exit %d, %s\n", where.c_str(), outcome.exitCode,
                    outcome.message.empty() ? "(no message)" : outcome.message.c_str());
        if (outcome.exitCode != kExitInstalled && outcome.exitCode != kExitRestartRequired) ++failures;

        auto rule = rules.find(operation);
        if (rule == rules.end()) {
            ADD_FAILURE() << where << ": no expected outcome for this operation; add it to the table";
        } else {
            auto call = rule->second.calls.find(nth);
            Expected expected = call != rule->second.calls.end() ? call->second : rule->second.otherwise;
            if (expected != Expected::kAny) {
                EXPECT_EQ(ExitCodeOf(expected), outcome.exitCode)
                    << where << ": should be " << NameOf(expected);
            }
            if (expected == Expected::kStops) {
                EXPECT_EQ(printersBefore, sim.spooler().printers.size())
                    << where << ": a stopped run added a printer";
            }
        }

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
    // A rule for an operation or a call the run no longer makes is stale.
    for (const auto& [operation, rule] : rules) {
        int calls = seen.count(operation) != 0 ? seen.at(operation) : 0;
        EXPECT_NE(0, calls) << operation << " is never called: its rule is stale";
        for (const auto& [nth, expected] : rule.calls)
            EXPECT_LE(nth, calls) << operation << " #" << nth << " is never called: its rule is stale";
    }
}

TEST(InstallFaultSweep, EveryFailingOperationOfAFreshInstallEndsCleanly) { Sweep(false); }

TEST(InstallFaultSweep, EveryFailingOperationOfAnUpdateWithTheSpoolerStoppedEndsCleanly) { Sweep(true); }

}  // namespace
