// Every operation of a removal run over a printer, a monitor and a processor made to fail in turn: the
// run must end with the controls back, the spooler running, a line for what was not removed, and no
// component left without the files it needs.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "uninstall/RemovalEngine.h"

namespace {

using win::DWORD;

class SweepView : public RemovalView {
public:
    std::vector<std::pair<std::string, bool>> entries;
    std::vector<std::string> lines;
    std::vector<std::pair<int, bool>> enables;
    int ComponentCount() override { return static_cast<int>(entries.size()); }
    bool IsChecked(int index) override { return entries.at(index).second; }
    std::string EntryText(int index) override { return entries.at(index).first; }
    void RemoveEntry(int index) override { entries.erase(entries.begin() + index); }
    void ReportLine(const std::string& text) override { lines.push_back(text); }
    bool UsbDriverWanted() override { return false; }
    void EnableControl(int id, bool enable) override { enables.emplace_back(id, enable); }
    bool AskRestart() override { return false; }
    int DetectGeneration() override { return 3; }
};

const char kSystem[] = "C:\\WINDOWS\\system32\\";
const char kProcessors[] = "C:\\WINDOWS\\system32\\spool\\prtprocs\\" PLATFORM_NATIVE_SPOOL_DIRECTORY "\\";

// One machine with our printer, monitor and processor installed, and the run's outcome on it.
struct Scenario {
    win::sim::SimPlatform sim;
    std::unique_ptr<LanguageText> messages;
    std::unique_ptr<UninstallCatalogue> catalogue;
    SweepView view;
    bool started = false;

    Scenario() {
        sim.windows().WriteFile("C:\\MEDIUM\\Uninstall.ini",
                                "[KXPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=VORL ZMX-\r\n[KXMONITOR]\r\nMonitorNUM=1\r\n"
                                "MONITORNAME1=VORL COM Monitor\r\n[KXPROC]\r\nPROCNUM=1\r\nPROCNAME1=VORLPrint\r\n"
                                "[VORLCOMMonitor.2K]\r\nMonitorPDLLName=VLCOMMON.DLL\r\nMonitorPUIDLLName=VLCOMUI.DLL\r\n"
                                "[VORLPrint.2K]\r\nProcessorDllName=VLPRTPRC.DLL\r\n");
        sim.windows().WriteFile("C:\\MEDIUM\\language\\uninstall.ini",
                                "[Message]\r\nIDS_DELETING1=deleting %s\r\nIDS_DELETING2=deleting printer %s\r\n"
                                "IDS_SUCCESS=%s removed\r\nIDS_DRVDELETING=deleting driver of %s\r\n"
                                "IDS_DRV_SUCCESS=driver removed\r\nIDS_SELECTPRN1=choose\r\nIDS_USING=%s in use\r\n"
                                "IDS_ERR_UNINSTALL=cannot remove %s\r\nIDS_ERR_OPENPRN=cannot open %s\r\n"
                                "IDS_ERR_GETPRNINFO=no printer info\r\nIDS_ERR_DELPRINTER=cannot delete printer\r\n"
                                "IDS_ERR_DRVUSING=driver in use\r\nIDS_ERR_DRVDEL=cannot delete driver\r\n");
        win::sim::SimSpooler::Driver driver;
        driver.name = "VORL ZMX-T310";
        driver.environment = win::kNativeEnvironment;
        sim.spooler().drivers.push_back(driver);
        win::sim::SimSpooler::Printer printer;
        printer.name = "Till";
        printer.driverName = driver.name;
        printer.portName = "KXCOM1:";
        printer.printProcessor = "VORLPrint";
        sim.spooler().printers.push_back(printer);
        sim.spooler().monitors.push_back({"VORL COM Monitor", "VLCOMMON.DLL", {"KXCOM1:"}});
        sim.spooler().processors.push_back({"VORLPrint", win::kNativeEnvironment, "VLPRTPRC.DLL", {}});
        for (const char* file : {"VLCOMMON.DLL", "VLCOMUI.DLL"}) sim.windows().WriteFile(kSystem + std::string(file), "x");
        sim.windows().WriteFile(kProcessors + std::string("VLPRTPRC.DLL"), "x");
        messages = std::make_unique<LanguageText>(sim.platform(), "Message", kUninstallLanguageFile);
        catalogue = std::make_unique<UninstallCatalogue>(sim.platform(), 3, "C:\\MEDIUM\\Uninstall.ini");
        view.entries = {{"Till", true}, {"VORL COM Monitor", true}, {"VORLPrint", true}};
    }

    void Run() {
        RemovalEngine engine(sim.platform(), *messages, *catalogue, nullptr);
        started = engine.MayStartRemoval(view);
        if (started) engine.RemovalThread(view);
    }
};

// Errors each operation can really give.
DWORD ErrorFor(const std::string& operation) {
    static const std::map<std::string, DWORD> errors = {
        {"OpenPrinterA", 1801},         {"DeletePrinterDriverA", 3001}, {"DeleteMonitorA", 3008},
        {"DeletePrintProcessorA", 1003}, {"DeleteFileA", 32},
        {"GetPrinterA", 122},
    };
    auto found = errors.find(operation);
    return found != errors.end() ? found->second : 5;
}

bool IsProgress(const std::string& line) {
    for (const char* start : {"deleting", "choose", "driver removed"})
        if (line.rfind(start, 0) == 0) return true;
    return line.size() > 8 && line.compare(line.size() - 8, 8, " removed") == 0;
}

TEST(RemovalFaultSweep, EveryFailingOperationEndsTheRunCleanly) {
    Scenario clean;
    clean.sim.windows().logOperations = true;
    clean.Run();
    ASSERT_TRUE(clean.view.entries.empty()) << "the run without faults removes everything";
    const std::vector<std::string> operations = clean.sim.windows().operationLog;
    ASSERT_GT(operations.size(), 10u);

    std::map<std::string, int> seen;
    for (const std::string& operation : operations) {
        int nth = ++seen[operation];
        Scenario s;
        s.sim.windows().InjectFault(operation, ErrorFor(operation), nth);
        s.Run();
        std::string where = operation + " #" + std::to_string(nth) + " failing with " +
                            std::to_string(ErrorFor(operation));
        std::printf("  %-40s -> %s, %zu of 3 entries left\n", where.c_str(), s.started ? "ran" : "did not start",
                    s.view.entries.size());

        EXPECT_TRUE(s.sim.services().IsRunning("Spooler")) << where << ": the spooler is left stopped";
        if (!s.started) {
            EXPECT_FALSE(s.view.lines.empty()) << where << ": the run did not start and said nothing";
            EXPECT_EQ(3u, s.view.entries.size()) << where;
            continue;
        }
        // The run first takes the five controls away; then they come back: all of them while entries are
        // left, else Exit alone.
        ASSERT_GE(s.view.enables.size(), 5u) << where << ": the run did not disable its controls first";
        for (size_t i = 0; i < 5; ++i) EXPECT_FALSE(s.view.enables[i].second) << where << ": control " << i;
        std::vector<std::pair<int, bool>> after(s.view.enables.begin() + 5, s.view.enables.end());
        if (s.view.entries.empty()) {
            EXPECT_EQ((std::vector<std::pair<int, bool>>{{IDC_EXIT, true}}), after) << where;
        } else {
            EXPECT_EQ(5u, after.size()) << where;
            // What was not removed is said in a line of its own.
            bool failureLine = false;
            for (const std::string& line : s.view.lines) failureLine = failureLine || !IsProgress(line);
            EXPECT_TRUE(failureLine) << where << ": entries are left without a line that says why";
        }
        // Nothing left behind that cannot work: a printer keeps its driver, a monitor and a processor their DLLs.
        for (const auto& printer : s.sim.spooler().printers)
            EXPECT_NE(nullptr, s.sim.spooler().FindDriver(printer.driverName, win::kNativeEnvironment)) << where;
        if (s.sim.spooler().FindMonitor("VORL COM Monitor") != nullptr) {
            EXPECT_TRUE(s.sim.windows().FileExists(kSystem + std::string("VLCOMMON.DLL"))) << where;
        }
        if (s.sim.spooler().FindProcessor("VORLPrint", win::kNativeEnvironment) != nullptr) {
            EXPECT_TRUE(s.sim.windows().FileExists(kProcessors + std::string("VLPRTPRC.DLL"))) << where;
        }
    }
}

}  // namespace
