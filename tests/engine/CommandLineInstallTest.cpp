// install-printer.exe as a whole against the simulated Windows: the shared options, the plan of --what-if,
// the exit codes, the medium and the log.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "platform/sim/SimUsbDevices.h"
#include "setup/engine/CommandLineInstall.h"
#include "shared/ProgramInstances.h"
#include "tests/engine/InstallMedium.h"
#include "tests/support/MachineSnapshot.h"

namespace {

using namespace std::string_literals;
using Args = std::vector<std::string>;

const char kDriverDirectory[] = "C:\\WINDOWS\\system32\\spool\\drivers\\" PLATFORM_NATIVE_SPOOL_DIRECTORY;
const char kProcessorKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" PLATFORM_NATIVE_ENVIRONMENT
    "\\Print Processors\\KXPrint";

// The engine tests' medium, its closing text in Chinese.
class CommandLineInstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteInstallMedium(sim_);
        // The closing text in code page 936: "驱动已安装" (the driver is installed).
        sim_.windows().WriteFile(
            "C:\\MEDIUM\\language\\setup.ini",
            "[Message]\r\nIDS_INF_NTRESTART=\xC7\xFD\xB6\xAF\xD2\xD1\xB0\xB2\xD7\xB0\r\n"
            "IDS_INF_USBRESTART=usb done\r\nIDS_NOTSUPPORTNT=no nt\r\nIDS_ERR_NOSUPPORTINTERFACE=no interface\r\n"
            "IDS_ERR_NOSUPPORTUSB=no usb\r\nIDS_ERR_ADDPRINTER=add printer\r\n");
    }

    int Run(Args args) {
        lines_.clear();
        warnings_.clear();
        error_.clear();
        return RunInstallPrinter(sim_.platform(), args, out_, error_);
    }
    Args Xp(const char* port, Args more = {}) {
        Args args = {"--model", "ZMX-M530", "--port", port, "--generation", "3"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    bool Said(const std::string& line) const {
        for (const std::string& l : lines_)
            if (l == line) return true;
        return false;
    }
    std::string Lines() const {
        std::string all;
        for (const std::string& line : lines_) all += line + "\n";
        return all;
    }
    std::string Read(const std::string& path) {
        std::string bytes;
        sim_.windows().ReadFile(path, &bytes);
        return bytes;
    }

    win::sim::SimPlatform sim_;
    win::sim::SimUsbDevices usb_{sim_.library()};
    std::vector<std::string> lines_, warnings_;
    ConsoleOutput out_{[this](const std::string& line) { lines_.push_back(line); },
                       [this](const std::string& line) { warnings_.push_back(line); }};
    std::string error_;
};

TEST_F(CommandLineInstallTest, TheSharedOptionsAreCheckedBeforeAnythingIsTouched) {
    sim_.windows().MakeDirectory("C:\\EMPTY");
    std::string before = MachineSnapshot(sim_);
    EXPECT_EQ(kExitBadOptions, Run(Xp("LPT1:", {"--medium", "C:\\EMPTY"})));
    EXPECT_EQ("--medium C:\\EMPTY is not an installation medium: it has no language\\setup.ini", error_);
    EXPECT_EQ(kExitBadOptions, Run(Xp("LPT1:", {"--medium", "C:\\NOWHERE"})));
    EXPECT_EQ(kExitBadOptions, Run(Xp("LPT1:", {"--log"})));
    EXPECT_EQ(kExitBadOptions, Run(Xp("LPT1:", {"--what-if", "yes"})));
    EXPECT_EQ("unknown argument yes", error_);
    EXPECT_EQ(before, MachineSnapshot(sim_));
    EXPECT_EQ("C:\\MEDIUM", sim_.windows().currentDirectory);

    EXPECT_EQ(kExitDone, Run({"--help"}));
    ASSERT_EQ(1u, lines_.size());
    EXPECT_NE(std::string::npos, lines_[0].find("--what-if"));
    EXPECT_NE(std::string::npos, lines_[0].find("3010"));
}

TEST_F(CommandLineInstallTest, WhatIfForASerialPortTellsEveryStepWithItsPathsAndChangesNothing) {
    std::string before = MachineSnapshot(sim_);
    ASSERT_EQ(kExitDone, Run(Xp("KXCOM1:", {"--what-if", "--default", "--parity", "E"}))) << Lines();
    EXPECT_EQ(before, MachineSnapshot(sim_));
    const std::string drivers = kDriverDirectory;
    for (const std::string& line :
         {std::string("install ZMX-M530 for Windows XP from the medium C:\\MEDIUM"),
          std::string("add port monitor KX COM Monitor: copy C:\\MEDIUM\\winnt\\KXCOM.DLL and "
                      "C:\\MEDIUM\\winnt\\KXCOMUI.DLL to C:\\WINDOWS\\system32"),
          "add print processor KXPrint: copy C:\\MEDIUM\\winnt\\KXPROC.DLL to "
          "C:\\WINDOWS\\system32\\spool\\prtprocs\\" +
              std::string(PLATFORM_NATIVE_SPOOL_DIRECTORY),
          "copy C:\\MEDIUM\\winnt\\KXDRV.DLL to " + drivers, "copy C:\\MEDIUM\\winnt\\KX.HLP to " + drivers,
          "add printer driver KX M530 (" + std::string(PLATFORM_NATIVE_ENVIRONMENT) +
              ", version 3): KXDRV.DLL, KXDATA.DAT, KXUI.DLL, KX.HLP",
          std::string(
              "add printer ZMX-M530(S) on port KXCOM1: with driver KX M530 and print processor KXPrint"),
          std::string("make ZMX-M530(S) the default printer"),
          std::string("write the serial settings of COM1: 19200,e,8,1,p "
                      "(HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports)"),
          std::string("nothing was changed (--what-if)")})
        EXPECT_TRUE(Said(line)) << line << "\nin:\n" << Lines();
    EXPECT_FALSE(sim_.ui().MutexExists(kSetupRunningMutex));
}

TEST_F(CommandLineInstallTest, WhatIfForAParallelPortFollowsWhatIsInstalledAndTheTakenName) {
    ASSERT_EQ(kExitInstalled, Run(Xp("LPT1:"))) << Lines();
    sim_.registry().SetDwordValue(win::HKEY_LOCAL_MACHINE, kProcessorKey, "DriverVersion", 1);
    std::string before = MachineSnapshot(sim_);
    ASSERT_EQ(kExitDone, Run(Xp("LPT1:", {"--what-if"}))) << Lines();
    EXPECT_EQ(before, MachineSnapshot(sim_));
    EXPECT_TRUE(Said("no port monitor to add for LPT1:")) << Lines();
    EXPECT_TRUE(
        Said("update print processor KXPrint (version 1 installed, 2 on the medium): stop the spooler, "
             "copy C:\\MEDIUM\\winnt\\KXPROC.DLL to C:\\WINDOWS\\system32\\spool\\prtprocs\\" +
             std::string(PLATFORM_NATIVE_SPOOL_DIRECTORY) + ", stamp it, start the spooler"))
        << Lines();
    // The spooler would refuse the taken name and the run take the next one.
    EXPECT_TRUE(
        Said("add printer ZMX-M530(P)(1) on port LPT1: with driver KX M530 and print processor KXPrint"))
        << Lines();
    EXPECT_EQ(std::string::npos, Lines().find("serial settings"));

    // As installed, the processor is kept.
    sim_.registry().SetDwordValue(win::HKEY_LOCAL_MACHINE, kProcessorKey, "DriverVersion", 2);
    ASSERT_EQ(kExitDone, Run(Xp("LPT2:", {"--what-if"})));
    EXPECT_TRUE(Said("keep print processor KXPrint, version 2")) << Lines();
    EXPECT_TRUE(
        Said("add printer ZMX-M530(P)(1) on port LPT2: with driver KX M530 and print processor KXPrint"));
}

TEST_F(CommandLineInstallTest, WhatIfForAUsbPortLeavesThePortRecordsThePrinterIdAndTheUsbDriverAlone) {
    usb_.Connect(0, 9);
    sim_.windows().WriteFile("C:\\MEDIUM\\USBDrv\\bulkusb.sys", "driver");
    sim_.version().SetFileVersion("C:\\MEDIUM\\USBDrv\\bulkusb.sys", "3.0.0.0");
    sim_.windows().WriteFile("C:\\WINDOWS\\system32\\drivers\\bulkusb.sys", "driver");
    sim_.version().SetFileVersion("C:\\WINDOWS\\system32\\drivers\\bulkusb.sys", "2.0.0.0");
    std::string before = MachineSnapshot(sim_);
    ASSERT_EQ(kExitDone, Run(Xp("USB_ZMX-M530_1", {"--what-if"}))) << Lines();
    EXPECT_EQ(before, MachineSnapshot(sim_));
    EXPECT_FALSE(sim_.registry().KeyExists(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\TARNOVA"));
    EXPECT_EQ(9, usb_.ids[0]);
    EXPECT_TRUE(usb_.writes.empty());
    for (const std::string& line :
         {std::string(
              "run the USB driver installer C:\\MEDIUM\\USBDrv\\Install.exe first: Windows' USB driver is "
              "missing or older than the medium's"),
          std::string(
              "read the connected USB printer's ID and match it to USB_ZMX-M530_1; where it differs the "
              "installation stops with the question (--change-id no)"),
          std::string(
              "add port monitor KX USB Monitor: copy C:\\MEDIUM\\winnt\\KXUSB.DLL to C:\\WINDOWS\\system32"),
          std::string("mark USB port USB_ZMX-M530_1 as used and refresh the USB port records under "
                      "HKLM\\SOFTWARE\\TARNOVA"),
          std::string(
              "add printer ZMX-M530(U) 1 on port USB_ZMX-M530_1 with driver KX M530 and print processor "
              "KXPrint")})
        EXPECT_TRUE(Said(line)) << line << "\nin:\n" << Lines();

    // A USB port takes no second printer of a name: the plan says the run would stop there.
    sim_.spooler().printers.push_back({});
    sim_.spooler().printers.back().name = "ZMX-M530(U) 1";
    EXPECT_EQ(kExitFailed, Run(Xp("USB_ZMX-M530_1", {"--what-if"})));
    EXPECT_TRUE(
        Said("a printer named ZMX-M530(U) 1 exists, and a USB port takes no second one: the installation "
             "would stop here"))
        << Lines();
}

TEST_F(CommandLineInstallTest, WhatIfSaysWhereTheRunWouldStopAndRefusesAsTheRunDoes) {
    std::remove(sim_.windows().HostPath("C:\\MEDIUM\\winnt\\KXDATA.DAT").c_str());
    EXPECT_EQ(kExitFailed, Run(Xp("LPT1:", {"--what-if"})));
    EXPECT_TRUE(Said("C:\\MEDIUM\\winnt\\KXDATA.DAT is not on the medium: the installation would stop here"))
        << Lines();
    EXPECT_EQ(kExitRefused, Run(Xp("IR1:", {"--what-if"})));
    EXPECT_EQ((std::vector<std::string>{"no interface", "refused: nothing would be installed (--what-if)"}),
              lines_);
}

TEST_F(CommandLineInstallTest, EachRefusalHasItsExitCodeAndChangesNothing) {
    std::string before = MachineSnapshot(sim_);
    EXPECT_EQ(kExitRefused, Run({"--model", "ZMX-M530", "--port", "LPT1:", "--generation", "1"}));
    EXPECT_TRUE(Said("no nt"));
    EXPECT_EQ(kExitRefused, Run(Xp("IR1:")));
    EXPECT_TRUE(Said("no interface"));
    EXPECT_TRUE(Said("not installed"));

    // Another setup, install-printer or uninstall: the fixed mutexes tell, whatever the programs are called.
    for (const char* other : {kSetupRunningMutex, kUninstallRunningMutex}) {
        sim_.ui().HoldMutexElsewhere(other);
        EXPECT_EQ(kExitAnotherRuns, Run(Xp("LPT1:"))) << other;
        EXPECT_EQ((std::vector<std::string>{"another setup or uninstall is running: nothing was changed"}),
                  lines_);
        // A plan changes nothing, so it may be made beside them.
        EXPECT_EQ(kExitDone, Run(Xp("LPT1:", {"--what-if"})));
        sim_.ui().ReleaseMutexElsewhere(other);
    }
    EXPECT_EQ(before, MachineSnapshot(sim_));
}

TEST_F(CommandLineInstallTest, ARestartIsRequiredOnlyOn98OrWhereWindowsHoldsAFile) {
    ASSERT_EQ(kExitInstalled, Run(Xp("LPT1:"))) << Lines();

    const std::string held = std::string(kDriverDirectory) + "\\KXDRV.DLL";
    sim_.windows().MarkInUse(held);
    ASSERT_EQ(kExitRestartRequired, Run(Xp("LPT2:"))) << Lines();
    EXPECT_TRUE(Said("left KXDRV.DLL in " + std::string(kDriverDirectory) +
                     ": Windows holds the old one until it restarts"))
        << Lines();
    EXPECT_TRUE(
        Said("Windows holds " + held + ": it was not replaced; run the installation again after a restart"));
    EXPECT_EQ("installed", lines_.back());
    sim_.windows().MarkInUse(held, false);

    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 90);
    ASSERT_EQ(kExitRestartRequired, Run({"--model", "ZMX-M530", "--port", "LPT3:", "--generation", "0"}))
        << Lines();
    EXPECT_TRUE(Said("restart Windows to finish the installation"));
}

TEST_F(CommandLineInstallTest, ATestPageFollowsTheInstallationAndOneTheSpoolerRefusesFailsTheRun) {
    ASSERT_EQ(kExitInstalled, Run(Xp("KXCOM1:", {"--test-page"}))) << Lines();
    ASSERT_EQ(1u, sim_.spooler().printedJobs.size());
    const win::sim::SimSpooler::Job& job = sim_.spooler().printedJobs[0];
    EXPECT_EQ("ZMX-M530(S)", job.printer);
    EXPECT_EQ("KXCOM1:", job.port);
    EXPECT_EQ("RAW", job.datatype);
    EXPECT_EQ(0u, job.data.rfind("\x1b@", 0)) << "the printer is reset first";
    for (const char* shown : {"Printer: ZMX-M530(S)\n", "Port:    KXCOM1:\n", "Driver:  KX M530\n",
                              "Date:    2008-03-14 09:26\n"})
        EXPECT_NE(std::string::npos, job.data.find(shown)) << shown << " in " << job.data;
    EXPECT_EQ(job.data.size() - 4, job.data.rfind("\x1dV\x42"s + '\0')) << "it ends with the cut";
    EXPECT_TRUE(Said("printed a test page on ZMX-M530(S): the spooler accepted job " + std::to_string(job.id) +
                     " of " + std::to_string(job.data.size()) + " bytes"))
        << Lines();
    EXPECT_EQ("installed", lines_.back());
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());

    // A document that cannot be written whole is dropped; the printer stays, the run fails.
    sim_.windows().InjectFault("WritePrinter", win::ERROR_NOT_ENOUGH_MEMORY);
    ASSERT_EQ(kExitFailed, Run(Xp("LPT1:", {"--test-page"}))) << Lines();
    EXPECT_EQ(1u, sim_.spooler().printedJobs.size());
    EXPECT_NE(nullptr, sim_.spooler().FindPrinter("ZMX-M530(P)"));
    EXPECT_TRUE(Said("the spooler did not accept the test page on ZMX-M530(P): WritePrinter failed (error 8)"))
        << Lines();
    EXPECT_EQ("installed", lines_.back());
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());
    sim_.windows().InjectFault("StartDocPrinterA", win::ERROR_INVALID_DATATYPE);
    EXPECT_EQ(kExitFailed, Run(Xp("LPT2:", {"--test-page"}))) << Lines();
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());

    // The plan says so; 98/Me print none before the restart that loads the new driver.
    ASSERT_EQ(kExitDone, Run(Xp("LPT3:", {"--test-page", "--what-if"}))) << Lines();
    EXPECT_TRUE(Said("print a test page on ZMX-M530(P)(2) (RAW)")) << Lines();
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 90);
    ASSERT_EQ(kExitRestartRequired, Run({"--model", "ZMX-M530", "--port", "LPT3:", "--generation", "0", "--test-page"}))
        << Lines();
    EXPECT_TRUE(Said("no test page before Windows restarts: print one from the printer's properties then"));
    EXPECT_EQ(1u, sim_.spooler().printedJobs.size());
}

TEST_F(CommandLineInstallTest, WhileItInstallsSetupAndUninstallSeeItRunning) {
    bool heldDuringTheSteps = false;
    out_.line = [&](const std::string& line) {
        lines_.push_back(line);
        if (line.rfind("added port monitor", 0) == 0)
            heldDuringTheSteps = sim_.ui().MutexExists(kSetupRunningMutex);
    };
    ASSERT_EQ(kExitInstalled, Run(Xp("KXCOM1:"))) << Lines();
    EXPECT_TRUE(heldDuringTheSteps);
    EXPECT_FALSE(sim_.ui().MutexExists(kSetupRunningMutex));
}

TEST_F(CommandLineInstallTest, TheMediumIsReadWhereverTheProgramAndTheCurrentDirectoryLie) {
    // The program lies in a tools folder without model files, the current directory elsewhere.
    sim_.windows().moduleFileName = "C:\\TOOLS\\install-printer.exe";
    sim_.windows().MakeDirectory("C:\\TOOLS");
    sim_.windows().MakeDirectory("C:\\WORK");
    sim_.windows().currentDirectory = "C:\\WORK";
    ASSERT_EQ(kExitInstalled, Run(Xp("KXCOM1:", {"--medium", "C:\\MEDIUM"}))) << error_ << Lines();
    ASSERT_EQ(1u, sim_.spooler().printers.size());
    EXPECT_EQ("KX M530", sim_.spooler().printers[0].driverName);
    EXPECT_EQ("KXDRV.DLL", Read(std::string(kDriverDirectory) + "\\KXDRV.DLL"));

    // Without --medium the program's own folder serves when the current directory is no medium.
    sim_.windows().moduleFileName = "C:\\MEDIUM\\install-printer.exe";
    sim_.windows().currentDirectory = "C:\\WORK";
    ASSERT_EQ(kExitInstalled, Run(Xp("LPT1:"))) << error_ << Lines();
    EXPECT_EQ(2u, sim_.spooler().printers.size());
}

TEST_F(CommandLineInstallTest, TheLogHoldsEveryStepAndItsErrorAndOneThatCannotBeOpenedStopsNothing) {
    sim_.windows().MakeDirectory("C:\\WORK");
    sim_.windows().currentDirectory = "C:\\WORK";
    sim_.windows().moduleFileName = "C:\\MEDIUM\\install-printer.exe";
    // A relative log lies where the caller stood, not in the medium.
    ASSERT_EQ(kExitInstalled, Run(Xp("KXCOM1:", {"--log", "install.log"}))) << Lines();
    std::string log = Read("C:\\WORK\\install.log");
    for (const std::string& line :
         {std::string(
              "2008-03-14 09:26:53  install-printer --model ZMX-M530 --port KXCOM1: --generation 3 --log "
              "install.log\r\n"),
          std::string("  medium C:\\MEDIUM\r\n"), std::string("  added port monitor KX COM Monitor\r\n"),
          std::string("  copied KXDRV.DLL to ") + kDriverDirectory + "\r\n",
          std::string("  added printer driver KX M530\r\n"),
          std::string("  added printer ZMX-M530(S) on port KXCOM1:\r\n"),
          std::string("  wrote the serial settings of COM1: 19200,n,8,1,p\r\n"),
          std::string(
              "  \xE9\xA9\xB1\xE5\x8A\xA8\xE5\xB7\xB2\xE5\xAE\x89\xE8\xA3\x85\r\n"),  // the closing text
          std::string("  installed\r\n"), std::string("  exit code 0\r\n")})
        EXPECT_NE(std::string::npos, log.find(line)) << line << "\nin:\n" << log;

    // The next run appends, with the Windows error of the step that failed.
    sim_.windows().currentDirectory = "C:\\WORK";
    sim_.windows().InjectFault("AddPrinterA", 5);
    EXPECT_EQ(kExitFailed, Run(Xp("KXCOM2:", {"--log", "install.log"})));
    log = Read("C:\\WORK\\install.log");
    EXPECT_NE(std::string::npos,
              log.find("  add printer ZMX-M530(S) on port KXCOM2: failed: add printerer = 5 (error 5)\r\n"))
        << log;
    EXPECT_NE(std::string::npos, log.find("  exit code 0\r\n"));
    EXPECT_NE(std::string::npos, log.find("  exit code 1\r\n"));

    EXPECT_EQ(kExitInstalled, Run(Xp("LPT1:", {"--log", "C:\\NO SUCH FOLDER\\install.log"}))) << Lines();
    EXPECT_EQ((std::vector<std::string>{
                  "the log C:\\NO SUCH FOLDER\\install.log cannot be opened (error 3); going on without it"}),
              warnings_);
    EXPECT_EQ("installed", lines_.back());
}

}  // namespace
