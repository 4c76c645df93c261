// The command-line remover against the simulated Windows: options, the listing and a removal by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "shared/ProgramInstances.h"
#include "tests/support/MachineSnapshot.h"
#include "uninstall/CommandLineRemoval.h"

namespace {

class CommandLineRemovalTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim_.windows().WriteFile(
            "C:\\MEDIUM\\DRVCONFIG\\Uninstall.ini",
            "[KXPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=VORL ZMX-\r\n[KXMONITOR]\r\nMonitorNUM=1\r\n"
            "MONITORNAME1=VORL COM Monitor\r\n[KXPROC]\r\nPROCNUM=1\r\nPROCNAME1=VORLPrint\r\n"
            "[VORLCOMMonitor.2K]\r\nMonitorPDLLName=VLCOMMON.DLL\r\nMonitorPUIDLLName=VLCOMUI.DLL\r\n"
            "[VORLPrint.2K]\r\nProcessorDllName=VLPRTPRC.DLL\r\n");
        sim_.windows().WriteFile("C:\\MEDIUM\\language\\uninstall.ini",
                                 "[Message]\r\nIDS_SUCCESS=%s removed\r\nIDS_ERR_NOINI=no Uninstall.ini\r\n"
                                 "IDS_ERR_UNINSTALL=%s not removed\r\n");
        for (const char* file : {"VLCOMMON.DLL", "VLCOMUI.DLL"})
            sim_.windows().WriteFile(std::string("C:\\WINDOWS\\system32\\") + file, file);
        AddPrinter("Till", "VORL ZMX-T310", "KXCOM1:");
        AddPrinter("Office 2000", "HP 2000", "LPT1:");
        sim_.spooler().monitors.push_back({"VORL COM Monitor", "VLCOMMON.DLL", {"KXCOM1:"}});
        sim_.spooler().processors.push_back({"VORLPrint", win::kNativeEnvironment, "VLPRTPRC.DLL", {}});
    }
    void AddPrinter(const std::string& name, const std::string& driver, const std::string& port) {
        win::sim::SimSpooler::Driver record;
        record.name = driver;
        record.environment = win::kNativeEnvironment;
        sim_.spooler().drivers.push_back(record);
        win::sim::SimSpooler::Printer printer;
        printer.name = name;
        printer.driverName = driver;
        printer.portName = port;
        sim_.spooler().printers.push_back(printer);
    }
    int Run(const std::vector<std::string>& args) {
        lines_.clear();
        warnings_.clear();
        error_.clear();
        return RemoveFromCommandLine(sim_.platform(), args, out_, error_);
    }
    bool Has(const std::string& line) const {
        for (const std::string& l : lines_)
            if (l == line) return true;
        return false;
    }

    win::sim::SimPlatform sim_;
    std::vector<std::string> lines_, warnings_;
    ConsoleOutput out_{[this](const std::string& line) { lines_.push_back(line); },
                       [this](const std::string& line) { warnings_.push_back(line); }};
    std::string error_;
};

TEST_F(CommandLineRemovalTest, OptionsNeedExactlyOneActionAndKnownNames) {
    EXPECT_EQ(kExitBadOptions, Run({}));
    EXPECT_EQ(kExitBadOptions, Run({"--list", "--all"}));
    EXPECT_EQ(kExitBadOptions, Run({"--remove"}));
    EXPECT_EQ(kExitBadOptions, Run({"--bogus"}));
    EXPECT_EQ(kExitBadOptions, Run({"--remove", "Office 2000"}));
    EXPECT_NE(std::string::npos, error_.find("Office 2000 is not a removable component"));
    EXPECT_EQ(2u, sim_.spooler().printers.size());
}

TEST_F(CommandLineRemovalTest, ListsOnlyOurComponentsWithTheirKinds) {
    EXPECT_EQ(kExitDone, Run({"--list"}));
    EXPECT_EQ((std::vector<std::string>{"printer Till (driver VORL ZMX-T310, port KXCOM1:)",
                                        "monitor VORL COM Monitor", "processor VORLPrint"}),
              lines_);
}

TEST_F(CommandLineRemovalTest, RemovesTheNamedOnesOrAllOfOursAndNothingElse) {
    EXPECT_EQ(kExitDone, Run({"--remove", "Till"}));
    EXPECT_TRUE(Has("Till removed"));
    EXPECT_EQ(1u, sim_.spooler().printers.size());
    EXPECT_NE(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));

    EXPECT_EQ(kExitDone, Run({"--all"}));
    EXPECT_EQ(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));
    EXPECT_EQ(nullptr, sim_.spooler().FindProcessor("VORLPrint", win::kNativeEnvironment));
    ASSERT_EQ(1u, sim_.spooler().printers.size());
    EXPECT_EQ("Office 2000", sim_.spooler().printers[0].name);
    EXPECT_TRUE(sim_.windows().sleeps.size() > 0);
}

TEST_F(CommandLineRemovalTest, AFailedRemovalOrAMissingCatalogueFails) {
    sim_.windows().InjectFault("DeletePrintProcessorA", 5);
    EXPECT_EQ(kExitFailed, Run({"--remove", "VORLPrint"}));
    EXPECT_NE(nullptr, sim_.spooler().FindProcessor("VORLPrint", win::kNativeEnvironment));

    // Neither the current directory nor the program's folder is a medium.
    sim_.windows().currentDirectory = "C:\\ELSEWHERE";
    sim_.windows().moduleFileName = "C:\\TOOLS\\uninstall-printer.exe";
    sim_.windows().MakeDirectory("C:\\ELSEWHERE\\DRVCONFIG");
    EXPECT_EQ(kExitFailed, Run({"--all"}));
    // The language file lies under the current directory too: without it the key says what happened.
    EXPECT_EQ((std::vector<std::string>{"IDS_ERR_NOINI"}), lines_);
}

TEST_F(CommandLineRemovalTest, TheNewOptionsGoWhereTheyMakeSense) {
    EXPECT_EQ(kExitBadOptions, Run({"--list", "--usb-driver"}));
    EXPECT_EQ(kExitBadOptions, Run({"--list", "--what-if"}));
    EXPECT_EQ(kExitBadOptions, Run({"--all", "--log"}));
    sim_.windows().MakeDirectory("C:\\EMPTY");
    EXPECT_EQ(kExitBadOptions, Run({"--all", "--medium", "C:\\EMPTY"}));
    EXPECT_EQ("--medium C:\\EMPTY is not an installation medium: it has no language\\uninstall.ini", error_);
    EXPECT_EQ(2u, sim_.spooler().printers.size());
    EXPECT_EQ(kExitDone, Run({"--help"}));
    EXPECT_NE(std::string::npos, lines_.at(0).find("--usb-driver"));

    // From anywhere, with the medium named.
    sim_.windows().MakeDirectory("C:\\ELSEWHERE");
    sim_.windows().currentDirectory = "C:\\ELSEWHERE";
    sim_.windows().moduleFileName = "C:\\TOOLS\\uninstall-printer.exe";
    EXPECT_EQ(kExitDone, Run({"--list", "--medium", "C:\\MEDIUM"}));
    EXPECT_EQ(3u, lines_.size());
}

TEST_F(CommandLineRemovalTest, WhatIfTellsWhatWouldGoInTheRunsOrderAndChangesNothing) {
    sim_.windows().WriteFile("C:\\MEDIUM\\USBDrv\\Install.exe", "installer");
    std::string before = MachineSnapshot(sim_);
    ASSERT_EQ(kExitDone, Run({"--all", "--usb-driver", "--what-if"}));
    EXPECT_EQ(before, MachineSnapshot(sim_));
    EXPECT_EQ(
        (std::vector<std::string>{
            "remove printer Till (driver VORL ZMX-T310, port KXCOM1:) and restart the spooler; delete its "
            "driver with the files no other driver uses",
            "remove port monitor VORL COM Monitor, restart the spooler and delete "
            "C:\\WINDOWS\\system32\\VLCOMMON.DLL, C:\\WINDOWS\\system32\\VLCOMUI.DLL",
            "remove print processor VORLPrint, restart the spooler and delete "
            "C:\\WINDOWS\\system32\\spool\\prtprocs\\" PLATFORM_NATIVE_SPOOL_DIRECTORY "\\VLPRTPRC.DLL",
            "remove the USB device driver with C:\\MEDIUM\\USBDrv\\Install.exe 22",
            "nothing was changed (--what-if)"}),
        lines_);

    // Queued jobs stop the run before it starts; the plan says so.
    sim_.spooler().printers[1].jobs = 2;
    EXPECT_EQ(kExitFailed, Run({"--remove", "VORLPrint", "--what-if"}));
    EXPECT_EQ("the removal would not start: nothing was changed (--what-if)", lines_.back());
    EXPECT_EQ(before.size(), MachineSnapshot(sim_).size());
}

TEST_F(CommandLineRemovalTest, AnotherProgramRunningOrAWindowsWithoutTheUsbRemovalChangesNothing) {
    std::string before = MachineSnapshot(sim_);
    for (const char* other : {kSetupRunningMutex, kUninstallRunningMutex}) {
        sim_.ui().HoldMutexElsewhere(other);
        EXPECT_EQ(kExitAnotherRuns, Run({"--all"})) << other;
        EXPECT_EQ((std::vector<std::string>{"another setup or uninstall is running: nothing was changed"}),
                  lines_);
        // Looking changes nothing and may go on beside them.
        EXPECT_EQ(kExitDone, Run({"--list"}));
        sim_.ui().ReleaseMutexElsewhere(other);
    }
    sim_.windows().WriteFile("C:\\MEDIUM\\USBDrv\\Install.exe", "installer");
    before = MachineSnapshot(sim_);
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_NT, 4, 0);
    EXPECT_EQ(kExitRefused, Run({"--all", "--usb-driver"}));
    EXPECT_EQ(before, MachineSnapshot(sim_));
}

TEST_F(CommandLineRemovalTest, TheUsbDriverGoesWithTheMediumsInstallerWithoutARestart) {
    EXPECT_EQ(kExitFailed, Run({"--usb-driver"}));
    EXPECT_EQ((std::vector<std::string>{"the medium has no USBDrv\\Install.exe: nothing was changed"}),
              lines_);
    sim_.windows().WriteFile("C:\\MEDIUM\\USBDrv\\Install.exe", "installer");
    EXPECT_EQ(kExitDone, Run({"--usb-driver"}));
    ASSERT_EQ(1u, sim_.ui().ShellCalls().size());
    EXPECT_EQ("C:\\MEDIUM\\USBDrv\\Install.exe", sim_.ui().ShellCalls()[0].file);
    EXPECT_EQ("22", sim_.ui().ShellCalls()[0].parameters);
    EXPECT_EQ(2u, sim_.spooler().printers.size());
    EXPECT_NE(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));
}

TEST_F(CommandLineRemovalTest, AFileWindowsHoldsIsDeletedAtTheRestartTheExitCodeAsksFor) {
    sim_.windows().MarkAccessDenied("C:\\WINDOWS\\system32\\VLCOMMON.DLL");
    // The printer first: a monitor with a printer on its port stays.
    EXPECT_EQ(kExitRestartRequired, Run({"--remove", "Till", "VORL COM Monitor"}));
    EXPECT_EQ(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));
    EXPECT_EQ((std::vector<std::string>{"C:\\WINDOWS\\system32\\VLCOMMON.DLL"}),
              sim_.windows().pendingDeletes);
    EXPECT_FALSE(sim_.windows().FileExists("C:\\WINDOWS\\system32\\VLCOMUI.DLL"));
    EXPECT_TRUE(
        Has("Windows holds C:\\WINDOWS\\system32\\VLCOMMON.DLL: it is deleted when Windows restarts"));
    EXPECT_TRUE(Has("restart Windows to finish the removal"));

    // Nothing held: done, though the dialog would have asked to restart.
    EXPECT_EQ(kExitDone, Run({"--remove", "VORLPrint"}));
    // 98/Me take a removal at a restart.
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\Uninstall.ini",
                             "[KXMONITOR]\r\nMonitorNUM=1\r\nMONITORNAME1=VORL USB Monitor\r\n");
    sim_.spooler().monitors.push_back({"VORL USB Monitor", "VLUSBMON.DLL", {"USB_ZMX-M530_1"}});
    EXPECT_EQ(kExitRestartRequired, Run({"--all"}));
    EXPECT_EQ(nullptr, sim_.spooler().FindMonitor("VORL USB Monitor"));
}

TEST_F(CommandLineRemovalTest, TheLogHoldsTheRunsLinesWithTheirErrorsAndOneThatCannotBeOpenedStopsNothing) {
    sim_.windows().MakeDirectory("C:\\LOGS");
    sim_.windows().InjectFault("DeletePrintProcessorA", 5);
    EXPECT_EQ(kExitFailed, Run({"--all", "--log", "C:\\LOGS\\removal.log"}));
    std::string log;
    ASSERT_TRUE(sim_.windows().ReadFile("C:\\LOGS\\removal.log", &log));
    for (const std::string& line :
         {std::string("2008-03-14 09:26:53  uninstall-printer --all --log C:\\LOGS\\removal.log\r\n"),
          std::string("  Till removed\r\n"), std::string("  VORLPrint not removed (error 5)\r\n"),
          std::string("  exit code 1\r\n")})
        EXPECT_NE(std::string::npos, log.find(line)) << line << "\nin:\n" << log;
    EXPECT_TRUE(Has("VORLPrint not removed")) << "the console shows the line without the code";

    EXPECT_EQ(kExitDone, Run({"--all", "--log", "C:\\NONE\\removal.log"}));
    EXPECT_EQ(1u, warnings_.size());
    EXPECT_EQ(nullptr, sim_.spooler().FindProcessor("VORLPrint", win::kNativeEnvironment));
}

}  // namespace
