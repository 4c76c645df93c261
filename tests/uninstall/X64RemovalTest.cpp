// The x64 edition's removal on a simulated 64-bit Windows: this maker's printers, monitors and processor
// with their x64 drivers and the DLLs the .x64 sections of Uninstall.ini name, from the real system
// directory and the x64 processor directory; another maker's printer and the 32-bit names stay.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "uninstall/CommandLineRemoval.h"

namespace {

const char kSystem[] = "C:\\WINDOWS\\system32\\";
const char kProcessors[] = "C:\\WINDOWS\\system32\\spool\\prtprocs\\x64\\";

class X64RemovalTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& w = sim_.windows();
        w.SetVersion(win::VER_PLATFORM_WIN32_NT, 10, 0, 19045);
        w.WriteFile("C:\\MEDIUM\\Uninstall.ini",
                    "[KXPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=VORL ZMX-\r\n[KXMONITOR]\r\nMonitorNUM=1\r\n"
                    "MONITORNAME1=VORL COM Monitor\r\n[KXPROC]\r\nPROCNUM=1\r\nPROCNAME1=VORLPrint\r\n"
                    "[VORLCOMMonitor.Vista]\r\nMonitorPDLLName=VLCOMMON.DLL\r\nMonitorPUIDLLName=VLCOMUI.DLL\r\n"
                    "[VORLPrint.Vista]\r\nProcessorDllName=VLPRTPRC.DLL\r\n"
                    "[VORLCOMMonitor.x64]\r\nMonitorPDLLName=VLCOM64.DLL\r\nMonitorPUIDLLName=VLCOMU64.DLL\r\n"
                    "[VORLPrint.x64]\r\nProcessorDllName=VLPRTP64.DLL\r\n");
        w.WriteFile("C:\\MEDIUM\\language\\uninstall.ini", "[Message]\r\nIDS_SUCCESS=%s removed\r\n");
        for (const char* file : {"VLCOM64.DLL", "VLCOMU64.DLL", "VLCOMMON.DLL", "VLCOMUI.DLL"})
            w.WriteFile(std::string(kSystem) + file, file);
        w.WriteFile(std::string(kProcessors) + "VLPRTP64.DLL", "x64 processor");
        w.WriteFile("C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86\\VLPRTPRC.DLL", "x86 processor");
        for (const auto& [printer, driver, port] :
             {std::tuple{"ZMX-T310(S)", "VORL ZMX-T310", "KXCOM1:"}, std::tuple{"Office", "HP LaserJet", "LPT1:"}}) {
            win::sim::SimSpooler::Driver record;
            record.name = driver;
            record.environment = "Windows x64";
            sim_.spooler().drivers.push_back(record);
            win::sim::SimSpooler::Printer entry;
            entry.name = printer;
            entry.driverName = driver;
            entry.portName = port;
            sim_.spooler().printers.push_back(entry);
        }
        sim_.spooler().monitors.push_back({"VORL COM Monitor", "VLCOM64.DLL", {"KXCOM1:"}});
        sim_.spooler().processors.push_back({"VORLPrint", "Windows x64", "VLPRTP64.DLL", {}});
    }
    int Run(const std::vector<std::string>& args) {
        lines_.clear();
        std::string error;
        return RemoveFromCommandLine(sim_.platform(), args, out_, error);
    }
    std::string Lines() const {
        std::string all;
        for (const std::string& line : lines_) all += line + "\n";
        return all;
    }

    win::sim::SimPlatform sim_{win::kArchitectureX64};
    std::vector<std::string> lines_;
    ConsoleOutput out_{[this](const std::string& line) { lines_.push_back(line); }, [](const std::string&) {}};
};

TEST_F(X64RemovalTest, OursGoesWithItsX64DriverAndDllsAndNothingElseDoes) {
    ASSERT_EQ(kExitDone, Run({"--list"})) << Lines();
    ASSERT_EQ(3u, lines_.size()) << Lines();
    EXPECT_NE(std::string::npos, Lines().find("VORLPrint")) << "the x64 environment's processors are listed";

    ASSERT_EQ(kExitDone, Run({"--all"})) << Lines();
    EXPECT_EQ(nullptr, sim_.spooler().FindPrinter("ZMX-T310(S)"));
    EXPECT_EQ(nullptr, sim_.spooler().FindDriver("VORL ZMX-T310", "Windows x64"));
    EXPECT_EQ(nullptr, sim_.spooler().FindProcessor("VORLPrint", "Windows x64"));
    EXPECT_NE(nullptr, sim_.spooler().FindPrinter("Office"));
    EXPECT_NE(nullptr, sim_.spooler().FindDriver("HP LaserJet", "Windows x64"));
    for (const char* file : {"VLCOM64.DLL", "VLCOMU64.DLL"})
        EXPECT_FALSE(sim_.windows().FileExists(std::string(kSystem) + file)) << file;
    EXPECT_FALSE(sim_.windows().FileExists(std::string(kProcessors) + "VLPRTP64.DLL"));
    // The names of the 32-bit sections are not this edition's to delete.
    for (const char* file : {"VLCOMMON.DLL", "VLCOMUI.DLL"})
        EXPECT_TRUE(sim_.windows().FileExists(std::string(kSystem) + file)) << file;
    EXPECT_TRUE(sim_.windows().FileExists("C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86\\VLPRTPRC.DLL"));
}

}  // namespace
