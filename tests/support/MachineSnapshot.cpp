#include "tests/support/MachineSnapshot.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

std::string MachineSnapshot(win::sim::SimPlatform& sim) {
    std::ostringstream text;
    std::set<std::string> files;  // sorted, whatever order the host lists them in
    for (const auto& entry : fs::recursive_directory_iterator(sim.windows().HostRoot())) {
        std::string line = entry.path().string();
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            line += " = " + bytes.str();
        }
        files.insert(line);
    }
    for (const std::string& file : files) text << file << "\n";
    text << sim.registry().Snapshot();
    win::sim::SimSpooler& spooler = sim.spooler();
    for (const auto& printer : spooler.printers)
        text << "printer " << printer.name << " | " << printer.portName << " | " << printer.driverName
             << " | " << printer.printProcessor << " | " << printer.attributes << "\n";
    for (const auto& driver : spooler.drivers)
        text << "driver " << driver.name << " | " << driver.environment << "\n";
    for (const auto& monitor : spooler.monitors)
        text << "monitor " << monitor.name << " | " << monitor.dllName << "\n";
    for (const auto& processor : spooler.processors)
        text << "processor " << processor.name << " | " << processor.environment << "\n";
    text << "default " << spooler.defaultPrinter << "\n";
    text << "profile writes " << static_cast<win::sim::SimProfile&>(sim.platform().profile).Writes().size()
         << "\n";
    text << "programs started " << sim.ui().ShellCalls().size() << "\n";
    // Stopping or starting the spooler changes the machine even where it ends as it was.
    text << "spooler running " << sim.services().IsRunning("Spooler") << "\n";
    for (const std::string& call : sim.services().calls)
        if (call.rfind("ControlService", 0) == 0 || call.rfind("StartServiceA", 0) == 0) text << call << "\n";
    for (const std::string& path : sim.windows().pendingDeletes) text << "delete at restart " << path << "\n";
    return text.str();
}
