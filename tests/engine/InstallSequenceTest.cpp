// One installation end to end against the simulated Windows: updates, pauses, names and settings.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "tests/engine/InstallMedium.h"
#include "tests/support/Wow64.h"
#include "platform/sim/SimUsbDevices.h"
#include "setup/engine/CommandLineInstall.h"
#include "setup/engine/InstallSequence.h"

namespace {

using win::HKEY_LOCAL_MACHINE;

const char kMonitorKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\KX COM Monitor";
const char kUsbMonitorKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\KX USB Monitor";
const char kProcessorKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" PLATFORM_NATIVE_ENVIRONMENT "\\Print Processors\\KXPrint";
// Which call of an operation, counted from the start of an installation, is the one a test fails.
const int kCurrentDirectoryCallOfTheUpdate = 2;  // the first reads the language file
const int kPortListCallOfTheSequence = 1;
const char kNtPortsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
const char kProcessor98Key[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows 4.0\\Print Processors\\KXPrint";

// A medium with one receipt model whose driver files exist for every generation.
class InstallSequenceTest : public ::testing::Test {
protected:
    void SetUp() override { WriteInstallMedium(sim_); }

    // Runs the command-line installation with the options and returns its exit code.
    int Install(std::vector<std::string> args) {
        SetupContext context(sim_.platform());
        message_.Clear();
        std::string error;
        int result = InstallFromCommandLine(context, args, message_, error);
        error_ = error;
        return result;
    }

    // Installs once so that the monitor and the processor exist, then clears the clock's record.
    void InstallOnceOnXp() {
        ASSERT_EQ(kExitInstalled, Install({"--model", "ZMX-M530", "--port", "KXCOM1:", "--generation", "3"})) << message_.Text();
        sim_.windows().sleeps.clear();
        sim_.services().calls.clear();
    }

    // Replaces the first occurrence of a text in a file of the medium.
    void EditMedium(const std::string& path, const std::string& from, const std::string& to) {
        std::string file;
        ASSERT_TRUE(sim_.windows().ReadFile(path, &file));
        size_t at = file.find(from);
        ASSERT_NE(std::string::npos, at) << from;
        sim_.windows().WriteFile(path, file.replace(at, from.size(), to));
    }
    // Replaces every occurrence of a text in a file of the medium.
    void EditAll(const std::string& path, const std::string& from, const std::string& to) {
        std::string file;
        ASSERT_TRUE(sim_.windows().ReadFile(path, &file));
        for (size_t at = file.find(from); at != std::string::npos; at = file.find(from, at + to.size()))
            file.replace(at, from.size(), to);
        sim_.windows().WriteFile(path, file);
    }
    void EditModel(const std::string& from, const std::string& to) {
        EditAll("C:\\MEDIUM\\DRVCONFIG\\setup_receipt.ini", from, to);
    }
    void RemoveMedium(const std::string& path) { std::remove(sim_.windows().HostPath(path).c_str()); }
    std::vector<std::string> Xp(const char* port) {
        return {"--model", "ZMX-M530", "--port", port, "--generation", "3"};
    }

    win::DWORD Dword(const char* key, const char* name) {
        win::DWORD value = 0xdeadbeef;
        sim_.registry().GetDwordValue(HKEY_LOCAL_MACHINE, key, name, &value);
        return value;
    }

    // A REG_SZ value without its terminating zero; "<none>" when it does not exist.
    std::string String(const char* key, const char* name) {
        win::DWORD type = 0;
        std::string bytes;
        if (!sim_.registry().GetValue(HKEY_LOCAL_MACHINE, key, name, &type, &bytes)) return "<none>";
        return std::string(bytes.c_str());
    }

    const win::sim::SimSpooler::Printer* FindPrinter(const std::string& name) {
        for (const auto& p : sim_.spooler().printers)
            if (p.name == name) return &p;
        return nullptr;
    }

    win::sim::SimPlatform sim_;
    win::sim::SimUsbDevices usb_{sim_.library()};  // no printer connected unless a test connects one
    InstallMessage message_;
    std::string error_;
};

TEST_F(InstallSequenceTest, AFreshInstallAddsMonitorProcessorDriverAndPrinterWithoutTouchingTheService) {
    ASSERT_EQ(kExitInstalled,
              Install({"--model", "ZMX-M530", "--port", "KXCOM1:", "--generation", "3", "--default"})) << message_.Text();
    EXPECT_EQ("done", message_.Text());
    const auto* printer = FindPrinter("ZMX-M530(S)");
    ASSERT_NE(nullptr, printer);
    EXPECT_EQ("KXCOM1:", printer->portName);
    EXPECT_EQ("KX M530", printer->driverName);
    EXPECT_EQ("KXPrint", printer->printProcessor);
    EXPECT_EQ("ZMX-M530(S)", sim_.spooler().defaultPrinter);
    EXPECT_EQ(3u, Dword(kMonitorKey, "DriverVersion"));
    EXPECT_EQ(2u, Dword(kProcessorKey, "DriverVersion"));
    // Only the processor's settling pause; the service was never stopped.
    EXPECT_EQ(std::vector<win::DWORD>({200}), sim_.windows().sleeps);
    for (const std::string& call : sim_.services().calls) EXPECT_EQ(std::string::npos, call.find("ControlService"));
    // The port page's serial defaults with the model's baud rate, stored for COM1:.
    EXPECT_EQ("19200,n,8,1,p", String("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", "COM1:"));
}

TEST_F(InstallSequenceTest, AnOlderComMonitorOnXpIsUpdatedWithTheSpoolerStoppedOnTheExactSchedule) {
    InstallOnceOnXp();
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kMonitorKey, "DriverVersion", 1);
    sim_.windows().WriteFile("C:\\MEDIUM\\winnt\\KXCOM.DLL", "new monitor");
    ASSERT_EQ(kExitInstalled, Install({"--model", "ZMX-M530", "--port", "KXCOM2:", "--generation", "3"})) << message_.Text();
    // Stop (100), 500, copy and stamp, start, 2500, start, 1000, and the service is found running.
    EXPECT_EQ(std::vector<win::DWORD>({100, 500, 2500, 1000}), sim_.windows().sleeps);
    EXPECT_EQ(3u, Dword(kMonitorKey, "DriverVersion"));
    std::string copied;
    ASSERT_TRUE(sim_.windows().ReadFile("C:\\WINDOWS\\system32\\KXCOM.DLL", &copied));
    EXPECT_EQ("new monitor", copied);
    EXPECT_TRUE(sim_.services().IsRunning("Spooler"));
    EXPECT_NE(nullptr, FindPrinter("ZMX-M530(S)(1)"));
}

TEST_F(InstallSequenceTest, WhenMonitorAndProcessorAreBothOlderOnlyTheMonitorIsUpdated) {
    InstallOnceOnXp();
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kMonitorKey, "DriverVersion", 1);
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kProcessorKey, "DriverVersion", 1);
    ASSERT_EQ(kExitInstalled, Install({"--model", "ZMX-M530", "--port", "KXCOM1:", "--generation", "4"})) << message_.Text();
    EXPECT_EQ(3u, Dword(kMonitorKey, "DriverVersion"));
    EXPECT_EQ(1u, Dword(kProcessorKey, "DriverVersion"));
}

TEST_F(InstallSequenceTest, AnOlderProcessorAloneIsCopiedOverTheInstalledOne) {
    InstallOnceOnXp();
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kProcessorKey, "DriverVersion", 1);
    sim_.windows().WriteFile("C:\\MEDIUM\\Vista\\KXPROC.DLL", "vista processor");
    ASSERT_EQ(kExitInstalled, Install({"--model", "ZMX-M530", "--port", "LPT1:", "--generation", "5"})) << message_.Text();
    EXPECT_EQ(2u, Dword(kProcessorKey, "DriverVersion"));
    std::string copied;
    ASSERT_TRUE(sim_.windows().ReadFile("C:\\WINDOWS\\system32\\spool\\prtprocs\\" PLATFORM_NATIVE_SPOOL_DIRECTORY "\\KXPROC.DLL", &copied));
    EXPECT_EQ("vista processor", copied);
    // Vista has no pause after the first start.
    EXPECT_EQ(std::vector<win::DWORD>({100, 500, 1000}), sim_.windows().sleeps);
    EXPECT_NE(nullptr, FindPrinter("ZMX-M530(P)"));
}

TEST_F(InstallSequenceTest, AFailedCopyWithTheSpoolerStoppedStartsItAgainBeforeFailing) {
    InstallOnceOnXp();
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kMonitorKey, "DriverVersion", 1);
    sim_.windows().InjectFault("CopyFileA", 112 /* ERROR_DISK_FULL */);
    EXPECT_EQ(kExitFailed, Install({"--model", "ZMX-M530", "--port", "KXCOM1:", "--generation", "3"}));
    EXPECT_NE(std::string::npos, message_.Text().find("copy failed")) << message_.Text();
    EXPECT_TRUE(sim_.services().IsRunning("Spooler"));
}

TEST_F(InstallSequenceTest, ASpoolerThatNeverRunsAgainFailsAfterTenQueriesAndOneMoreStart) {
    InstallOnceOnXp();
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kMonitorKey, "DriverVersion", 1);
    sim_.services().service("Spooler").neverRuns = true;
    EXPECT_EQ(kExitFailed, Install({"--model", "ZMX-M530", "--port", "KXCOM1:", "--generation", "2"}));
    EXPECT_EQ("StartSpoolService error", message_.Text());
    std::vector<win::DWORD> expected = {100, 500, 1000, 1000};
    expected.insert(expected.end(), 10, 300);
    EXPECT_EQ(expected, sim_.windows().sleeps);
    size_t starts = 0;
    for (const std::string& call : sim_.services().calls) starts += call == "StartServiceA";
    EXPECT_EQ(3u, starts);
}

TEST_F(InstallSequenceTest, On98AUsbMonitorInUseTwiceNeedsARestartAndAddsNothing) {
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    ASSERT_EQ(kExitRestartRequired, Install({"--model", "ZMX-M530", "--port", "USB_ZMX-M530_1", "--generation", "0"})) << message_.Text();
    EXPECT_EQ(2u, Dword(kProcessor98Key, "DriverVersion")) << "the added processor is stamped";
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kUsbMonitorKey, "DriverVersion", 1);
    sim_.windows().MarkInUse("C:\\WINDOWS\\SYSTEM\\KXUSB.DLL");
    sim_.windows().MarkInUse("C:\\WINDOWS\\SYSTEM\\nKXUSB.DLL");
    sim_.windows().WriteFile("C:\\WINDOWS\\SYSTEM\\nKXUSB.DLL", "old");
    size_t printers = sim_.spooler().printers.size();
    usb_.Connect(0, 1);  // a printer answering as port 2, which the Advanced port _2 needs
    EXPECT_EQ(kExitFailed, Install({"--model", "ZMX-M530", "--port", "USB_ZMX-M530_2", "--generation", "0"}));
    EXPECT_EQ("restart", message_.Text());
    EXPECT_EQ(printers, sim_.spooler().printers.size());

    // In use once: the monitor runs from the "n" copy from now on. An older processor as well waits for a
    // later installation: one installation updates one component.
    sim_.windows().MarkInUse("C:\\WINDOWS\\SYSTEM\\nKXUSB.DLL", false);
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kProcessor98Key, "DriverVersion", 1);
    std::string processorDriver = String(kProcessor98Key, "Driver");
    EXPECT_EQ(kExitRestartRequired, Install({"--model", "ZMX-M530", "--port", "USB_ZMX-M530_2", "--generation", "0"})) << message_.Text();
    EXPECT_EQ("nKXUSB.DLL", String(kUsbMonitorKey, "Driver"));
    EXPECT_EQ(4u, Dword(kUsbMonitorKey, "DriverVersion"));
    EXPECT_NE(nullptr, FindPrinter("ZMX-M530(U) 2"));
    EXPECT_EQ("", message_.Text()) << "98/Me leave the message empty on success";
    EXPECT_EQ(1u, Dword(kProcessor98Key, "DriverVersion"));
    EXPECT_EQ(processorDriver, String(kProcessor98Key, "Driver"));
}

TEST_F(InstallSequenceTest, MissingDriverFilesStopBeforeTheDriverIsAdded) {
    std::string file;
    sim_.windows().ReadFile("C:\\MEDIUM\\DRVCONFIG\\setup_receipt.ini", &file);
    size_t at = file.find("STDHelpFile=KX.HLP");
    file.replace(at, std::string("STDHelpFile=KX.HLP").size(), "STDHelpFile=");
    sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup_receipt.ini", file);
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 90);
    EXPECT_EQ(kExitFailed, Install({"--model", "ZMX-M530", "--port", "LPT1:", "--generation", "0", "--kind", "0"}));
    EXPECT_EQ("lost", message_.Text());
    EXPECT_TRUE(sim_.spooler().printers.empty());
}

TEST_F(InstallSequenceTest, ASerialPortWritesItsSettingsUnderTheComName) {
    ASSERT_EQ(kExitInstalled, Install({"--model", "ZMX-M530", "--port", "KXCOM2:", "--generation", "3", "--baud",
                                       "9600", "--parity", "E", "--stop-bits", "1.5", "--flow", "x"})) << message_.Text();
    EXPECT_EQ("9600,e,8,1.5,x", String("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", "COM2:"));
}

TEST_F(InstallSequenceTest, UsbPortsGetTheirPrinterNameSuffixRecordsAndClosingText) {
    usb_.Connect(0, 1);
    ASSERT_EQ(kExitInstalled, Install({"--model", "ZMX-M530", "--port", "USB_ZMX-M530_2", "--generation", "3"})) << message_.Text();
    EXPECT_EQ("usb done", message_.Text());
    const auto* printer = FindPrinter("ZMX-M530(U) 2");
    ASSERT_NE(nullptr, printer);
    EXPECT_EQ("USB_ZMX-M530_2", printer->portName);
    EXPECT_EQ("KX M530", printer->driverName);
    EXPECT_EQ(0u, Dword("SOFTWARE\\TARNOVA\\PRINTERPORT", "USB_ZMX-M530_2"));
    EXPECT_EQ(255u, Dword("SOFTWARE\\TARNOVA\\PRINTERPORT", "USB_ZMX-M530_1"));
    EXPECT_EQ(1u, Dword("SOFTWARE\\TARNOVA\\PORTNAME", "USB_ZMX-M530_2"));
}

TEST_F(InstallSequenceTest, TheCommandLineRefusesBadOptionsAndUnsupportedTargets) {
    EXPECT_EQ(kExitBadOptions, Install({"--model", "ZMX-M530"}));
    EXPECT_EQ(kExitBadOptions, Install({"--model", "ZMX-M530", "--port", "LPT1:", "--generation", "9"}));
    EXPECT_EQ(kExitBadOptions, Install({"--model", "ZMX-M530", "--port", "LPT1:", "--parity", "q"}));
    EXPECT_EQ(kExitBadOptions, Install({"--model", "NOT-LISTED", "--port", "LPT1:"}));
    EXPECT_NE(std::string::npos, error_.find("--class"));
    EXPECT_EQ(kExitRefused, Install({"--model", "ZMX-M530", "--port", "LPT1:", "--generation", "1"}));
    EXPECT_EQ("no nt", message_.Text());
    EXPECT_EQ(kExitRefused, Install({"--model", "ZMX-M530", "--port", "IR1:", "--generation", "3"}));
    EXPECT_EQ("no interface", message_.Text());
    EXPECT_TRUE(sim_.spooler().printers.empty());
}

// A 32-bit program on 64-bit Windows would register 32-bit drivers with the 64-bit spooler, which cannot
// load them: it refuses before it touches anything.
TEST_F(InstallSequenceTest, A64BitWindowsIsRefusedBeforeAnythingChanges) {
    sim_.windows().WriteFile("C:\\MEDIUM\\language\\setup.ini", "[Message]\r\nIDS_NOTSUPPORT64=32-bit only\r\n");
    MakeWindows64Bit(sim_.library());
    EXPECT_EQ(kExitRefused, Install({"--model", "ZMX-M530", "--port", "KXCOM1:", "--generation", "3"}));
    EXPECT_EQ("32-bit only", message_.Text());
    EXPECT_TRUE(sim_.spooler().printers.empty());
    EXPECT_EQ(nullptr, sim_.spooler().FindMonitor("KX COM Monitor"));
    EXPECT_TRUE(sim_.windows().sleeps.empty());
    EXPECT_EQ(0, sim_.library().LoadedCount());

    // Systems without IsWow64Process are 32-bit.
    sim_.library().RemoveLibrary("kernel32.dll");
    EXPECT_EQ(kExitInstalled, Install({"--model", "ZMX-M530", "--port", "KXCOM1:", "--generation", "3"}))
        << message_.Text();
}

// The printer-ID step of a USB installation, answered from the command line.
TEST_F(InstallSequenceTest, AUsbPrinterOnAnotherPortIsMovedOnlyWhenTheCommandLineSaysYes) {
    sim_.windows().WriteFile("C:\\MEDIUM\\language\\setup.ini",
                             "[Message]\r\nIDS_INF_USBRESTART=usb done\r\nIDS_INF_CHANGEID=change the ID?\r\n"
                             "IDS_ERR_NOUSBDEVICE=connect it\r\n");
    usb_.Connect(0, 1);  // the printer answers as port 2
    std::vector<std::string> port1 = {"--model", "ZMX-M530", "--port", "USB_ZMX-M530_1", "--generation", "3"};
    EXPECT_EQ(kExitFailed, Install(port1));
    EXPECT_EQ("change the ID?", message_.Text());
    EXPECT_TRUE(sim_.spooler().printers.empty());
    EXPECT_EQ(1, usb_.ids[0]);

    port1.insert(port1.end(), {"--change-id", "yes"});
    ASSERT_EQ(kExitInstalled, Install(port1)) << message_.Text();
    EXPECT_EQ(0, usb_.ids[0]);
    EXPECT_NE(nullptr, FindPrinter("ZMX-M530(U) 1"));

    // Port 2 is an Advanced port: without a printer connected the installation cannot choose it.
    usb_.Connect(0, -1);
    EXPECT_EQ(kExitFailed, Install({"--model", "ZMX-M530", "--port", "USB_ZMX-M530_2", "--generation", "3",
                                    "--change-id", "yes"}));
    EXPECT_EQ("connect it", message_.Text());
    EXPECT_EQ(kExitBadOptions, Install({"--model", "ZMX-M530", "--port", "LPT1:", "--change-id", "maybe"}));
}

TEST_F(InstallSequenceTest, UsbStepsRunOnlyWhereTheyMayAndAfterTheRefusals) {
    usb_.Connect(0, 9);
    // NT 4 takes no USB printers: refused before the driver installer or the printer's ID is touched.
    std::vector<std::string> nt4 = {"--model", "ZMX-M530", "--port", "USB_ZMX-M530_1", "--generation", "1",
                                    "--change-id", "yes"};
    EditModel("SystemNTSupported=0", "SystemNTSupported=1");
    EXPECT_EQ(kExitRefused, Install(nt4));
    EXPECT_EQ("IDS_ERR_NOSUPPORTUSB", message_.Text());
    EXPECT_EQ(9, usb_.ids[0]);
    EXPECT_TRUE(sim_.ui().ShellCalls().empty());

    // A running system whose USB driver is older than the medium's gets it first, waited for by the
    // installer's caption.
    sim_.windows().WriteFile("C:\\MEDIUM\\USBDrv\\bulkusb.sys", "driver");
    sim_.version().SetFileVersion("C:\\MEDIUM\\USBDrv\\bulkusb.sys", "3.0.0.0");
    sim_.windows().WriteFile("C:\\WINDOWS\\system32\\drivers\\bulkusb.sys", "driver");
    sim_.version().SetFileVersion("C:\\WINDOWS\\system32\\drivers\\bulkusb.sys", "2.0.0.0");
    ASSERT_EQ(kExitInstalled, Install({"--model", "ZMX-M530", "--port", "USB_ZMX-M530_1", "--generation", "3",
                                       "--change-id", "yes"}))
        << message_.Text();
    ASSERT_EQ(1u, sim_.ui().ShellCalls().size());
    EXPECT_EQ("C:\\MEDIUM\\USBDrv\\Install.exe", sim_.ui().ShellCalls()[0].file);
    EXPECT_EQ("2", sim_.ui().ShellCalls()[0].parameters);
    EXPECT_EQ(0, usb_.ids[0]);
}

// Steps 2 and 3: a monitor or processor that cannot be added stops before anything else is added.
TEST_F(InstallSequenceTest, AMonitorOrProcessorThatCannotBeAddedStopsTheInstallation) {
    sim_.windows().InjectFault("AddMonitorA", 5);
    EXPECT_EQ(kExitFailed, Install(Xp("KXCOM1:")));
    EXPECT_NE(std::string::npos, message_.Text().find("add monitor")) << message_.Text();
    EXPECT_EQ(0xdeadbeefu, Dword(kProcessorKey, "DriverVersion")) << "the processor step must not run";

    sim_.windows().InjectFault("AddPrintProcessorA", 1805);
    EXPECT_EQ(kExitFailed, Install(Xp("KXCOM1:")));
    EXPECT_EQ("add processor", message_.Text());
    EXPECT_TRUE(sim_.spooler().printers.empty());
    EXPECT_EQ(nullptr, sim_.spooler().FindDriver("KX M530", PLATFORM_NATIVE_ENVIRONMENT));
}

TEST_F(InstallSequenceTest, AnOlderProcessorWithoutItsDirectoryFailsBeforeTheSpoolerIsStopped) {
    InstallOnceOnXp();
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kProcessorKey, "DriverVersion", 1);
    sim_.windows().InjectFault("GetPrintProcessorDirectoryA", 5);
    EXPECT_EQ(kExitFailed, Install(Xp("KXCOM1:")));
    EXPECT_EQ("no processor dir", message_.Text());
    for (const std::string& call : sim_.services().calls)
        EXPECT_EQ(std::string::npos, call.find("ControlService"));
}

TEST_F(InstallSequenceTest, AnOlderUsbMonitorIsRegisteredUnderTheUpperCaseNameTheCopyLeft) {
    EditAll("C:\\MEDIUM\\DRVCONFIG\\setup.ini", "KXUSB.DLL", "KxUsb.dll");
    sim_.spooler().DefineMonitorPorts("KxUsb.dll", {"USB_ZMX-M530_1", "USB_ZMX-M530_2"});
    ASSERT_EQ(kExitInstalled, Install(Xp("USB_ZMX-M530_1"))) << message_.Text();
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kUsbMonitorKey, "DriverVersion", 1);
    sim_.windows().WriteFile("C:\\MEDIUM\\winnt\\KXUSB.DLL", "new usb monitor");
    sim_.windows().sleeps.clear();
    usb_.Connect(0, 1);  // port _2 needs its printer connected
    ASSERT_EQ(kExitInstalled, Install(Xp("USB_ZMX-M530_2"))) << message_.Text();
    usb_.Connect(0, -1);
    EXPECT_EQ("KXUSB.DLL", String(kUsbMonitorKey, "Driver"));
    EXPECT_EQ(4u, Dword(kUsbMonitorKey, "DriverVersion"));
    std::string copied;
    ASSERT_TRUE(sim_.windows().ReadFile("C:\\WINDOWS\\system32\\KXUSB.DLL", &copied));
    EXPECT_EQ("new usb monitor", copied);
    EXPECT_EQ(std::vector<win::DWORD>({100, 500, 2500, 1000}), sim_.windows().sleeps);

    // A failed copy leaves the stamp alone, starts the spooler again and stops on the copy's message.
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kUsbMonitorKey, "DriverVersion", 1);
    RemoveMedium("C:\\MEDIUM\\winnt\\KXUSB.DLL");
    size_t printers = sim_.spooler().printers.size();
    EXPECT_EQ(kExitFailed, Install(Xp("USB_ZMX-M530_1")));
    EXPECT_EQ("copy failed  er = 2C:\\MEDIUM\\winnt\\KXUSB.DLL", message_.Text());
    EXPECT_EQ(1u, Dword(kUsbMonitorKey, "DriverVersion"));
    EXPECT_TRUE(sim_.services().IsRunning("Spooler"));
    EXPECT_EQ(printers, sim_.spooler().printers.size());
}

TEST_F(InstallSequenceTest, AnOlderProcessorThatCannotBeCopiedOverFailsWithTheSourcePath) {
    InstallOnceOnXp();
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kProcessorKey, "DriverVersion", 1);
    RemoveMedium("C:\\MEDIUM\\winnt\\KXPROC.DLL");
    EXPECT_EQ(kExitFailed, Install(Xp("KXCOM1:")));
    EXPECT_EQ("copy failedC:\\MEDIUM\\winnt\\KXPROC.DLL", message_.Text());
    EXPECT_EQ(1u, Dword(kProcessorKey, "DriverVersion"));
    EXPECT_TRUE(sim_.services().IsRunning("Spooler"));

    sim_.windows().WriteFile("C:\\MEDIUM\\winnt\\KXPROC.DLL", "processor");
    sim_.windows().InjectFault("GetCurrentDirectoryA", 5, kCurrentDirectoryCallOfTheUpdate);
    EXPECT_EQ(kExitFailed, Install(Xp("KXCOM1:")));
    EXPECT_EQ("no current dir", message_.Text());
    EXPECT_EQ(1u, Dword(kProcessorKey, "DriverVersion"));
    EXPECT_TRUE(sim_.services().IsRunning("Spooler"));
}

TEST_F(InstallSequenceTest, On98AnOlderProcessorIsCopiedUnderTheNNameWhenInUse) {
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    ASSERT_EQ(kExitRestartRequired, Install({"--model", "ZMX-M530", "--port", "LPT1:", "--generation", "0"}))
        << message_.Text();
    std::string processorDir = "C:\\WINDOWS\\system32\\spool\\prtprocs\\WIN40";
    char directory[260] = {};
    win::DWORD needed = 0;
    ASSERT_TRUE(sim_.platform().spooler.GetPrintProcessorDirectoryA(
        nullptr, nullptr, 1, reinterpret_cast<win::BYTE*>(directory), sizeof directory, &needed));
    processorDir = directory;
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kProcessor98Key, "DriverVersion", 1);
    sim_.windows().MarkInUse(processorDir + "\\KXPROC.DLL");
    ASSERT_EQ(kExitRestartRequired, Install({"--model", "ZMX-M530", "--port", "LPT2:", "--generation", "0"}))
        << message_.Text();
    EXPECT_EQ("nKXPROC.DLL", String(kProcessor98Key, "Driver"));
    EXPECT_EQ(2u, Dword(kProcessor98Key, "DriverVersion"));

    // A name the model file leaves empty fails on its copy's own message, not as a file in use.
    sim_.windows().MarkInUse(processorDir + "\\KXPROC.DLL", false);
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kProcessor98Key, "DriverVersion", 1);
    EditModel("ProcessorDLLName=KXPROC.DLL", "ProcessorDLLName=");
    sim_.windows().InjectFault("CopyFileA", 112);  // disk full: not a file in use
    size_t printers = sim_.spooler().printers.size();
    EXPECT_EQ(kExitFailed, Install({"--model", "ZMX-M530", "--port", "LPT3:", "--generation", "0"}));
    EXPECT_NE("restart", message_.Text());
    EXPECT_NE(std::string::npos, message_.Text().find("copy failed")) << message_.Text();
    EXPECT_EQ(printers, sim_.spooler().printers.size());
}

TEST_F(InstallSequenceTest, AUsbPortListThatCannotBeReadStopsTheInstallation) {
    sim_.windows().InjectFault("EnumPortsA", 5, kPortListCallOfTheSequence);
    EXPECT_EQ(kExitFailed, Install(Xp("USB_ZMX-M530_1")));
    EXPECT_EQ("no memory", message_.Text());
    EXPECT_TRUE(sim_.spooler().printers.empty());
}

// Steps 9, 10 and 12: a missing file of each kind stops before the driver is added.
TEST_F(InstallSequenceTest, EachDriverFileCopyStopsOnItsFailure) {
    RemoveMedium("C:\\MEDIUM\\winnt\\KXDATA.DAT");
    EXPECT_EQ(kExitFailed, Install(Xp("LPT1:")));
    EXPECT_EQ("copy failed  er = 2C:\\MEDIUM\\winnt\\KXDATA.DAT", message_.Text());
    sim_.windows().WriteFile("C:\\MEDIUM\\winnt\\KXDATA.DAT", "x");

    EditModel("DataOemuiDLL=0", "DataOemuiDLL=KXOEMUI.DLL");
    EXPECT_EQ(kExitFailed, Install(Xp("LPT1:")));
    EXPECT_EQ("copy failed  er = 2C:\\MEDIUM\\winnt\\KXOEMUI.DLL", message_.Text());
    EXPECT_EQ(nullptr, sim_.spooler().FindDriver("KX M530", PLATFORM_NATIVE_ENVIRONMENT));

    EditModel("DataOemuiDLL=KXOEMUI.DLL", "DataOemuiDLL=0");
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    RemoveMedium("C:\\MEDIUM\\win98\\DMCOLOR.DLL");
    EXPECT_EQ(kExitFailed, Install({"--model", "ZMX-M530", "--port", "LPT1:", "--generation", "0"}));
    EXPECT_EQ("copy failed  er = 2C:\\MEDIUM\\win98\\DMCOLOR.DLL", message_.Text());
    EXPECT_TRUE(sim_.spooler().printers.empty());
}

TEST_F(InstallSequenceTest, AModelNeedingTheDdkFilesWithoutItsDataFileDllIsMissingAFile) {
    EditModel("DataFileDLLName=0", "DataFileDLLName=\r\nSTD2KDDKDEV=1\r\nGDI2KDDKDEV=1");
    EXPECT_EQ(kExitFailed, Install(Xp("LPT1:")));
    EXPECT_EQ("lost", message_.Text());
    EXPECT_EQ(nullptr, sim_.spooler().FindDriver("KX M530", PLATFORM_NATIVE_ENVIRONMENT));
}

TEST_F(InstallSequenceTest, ADriverOrPrinterTheSpoolerRefusesFailsWithItsMessage) {
    sim_.windows().InjectFault("AddPrinterDriverA", 5);
    EXPECT_EQ(kExitFailed, Install(Xp("LPT1:")));
    EXPECT_NE(std::string::npos, message_.Text().find("add driver")) << message_.Text();
    EXPECT_TRUE(sim_.spooler().printers.empty());

    sim_.windows().InjectFault("AddPrinterA", 5);
    EXPECT_EQ(kExitFailed, Install(Xp("LPT1:")));
    EXPECT_EQ("add printerer = 5", message_.Text());
    EXPECT_TRUE(sim_.spooler().printers.empty());
}

TEST_F(InstallSequenceTest, DefaultPrinterAndSerialSettingFailuresDoNotStopTheInstallation) {
    sim_.windows().InjectFault("SetDefaultPrinterA", 5);
    // Without the NT serial ports key the settings cannot be written.
    ASSERT_EQ(0, sim_.platform().registry.RegDeleteKeyA(HKEY_LOCAL_MACHINE, kNtPortsKey));
    EXPECT_EQ(kExitInstalled,
              Install({"--model", "ZMX-M530", "--port", "KXCOM1:", "--generation", "3", "--default"}))
        << message_.Text();
    EXPECT_EQ("done", message_.Text());
    EXPECT_NE(nullptr, FindPrinter("ZMX-M530(S)"));
    EXPECT_EQ("", sim_.spooler().defaultPrinter);
    EXPECT_EQ("<none>", String(kNtPortsKey, "COM1:"));
}

TEST_F(InstallSequenceTest, On98TheSerialSettingsAreWrittenThroughTheSequence) {
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    ASSERT_EQ(kExitRestartRequired, Install({"--model", "ZMX-M530", "--port", "COM2:", "--generation", "0",
                                       "--baud", "9600", "--parity", "O"}))
        << message_.Text();
    EXPECT_EQ("", message_.Text());
    ASSERT_NE(nullptr, FindPrinter("ZMX-M530(S)"));
    std::string written;
    for (const auto& write : static_cast<win::sim::SimProfile&>(sim_.platform().profile).Writes())
        if (write.section == "Ports" && write.key == "COM2:") written = write.value;
    EXPECT_EQ("9600,o,8,1", written.substr(0, 10));
}

TEST_F(InstallSequenceTest, RawIsNamedOnlyForAProcessorThatOffersIt) {
    sim_.spooler().DefineProcessorDatatypes("KXPROC.DLL", {"NT EMF 1.008"});
    ASSERT_EQ(kExitInstalled, Install(Xp("LPT1:"))) << message_.Text();
    EXPECT_NE(nullptr, FindPrinter("ZMX-M530(P)"));

    EditModel("PrintProcessor=KXPrint", "PrintProcessor=WinPrint");
    ASSERT_EQ(kExitInstalled, Install(Xp("LPT2:"))) << message_.Text();
    const auto* printer = FindPrinter("ZMX-M530(P)(1)");
    ASSERT_NE(nullptr, printer);
    EXPECT_EQ("RAW", printer->datatype);

    // A spooler that cannot list the data types (Wine) gets RAW, without which Wine cannot open the
    // printer: here the EMF-only processor then refuses it, which shows that RAW was named.
    EditModel("PrintProcessor=WinPrint", "PrintProcessor=KXPrint");
    sim_.windows().InjectFault("EnumPrintProcessorDatatypesA", 50);
    EXPECT_EQ(kExitFailed, Install(Xp("LPT3:")));
    EXPECT_NE(std::string::npos, message_.Text().find("er = 1804")) << message_.Text();
}

// The system-file fix-ups leave their message but the printer is still added.
TEST_F(InstallSequenceTest, FailedSystemFileFixUpsDoNotStopTheInstallation) {
    EditModel("DataFileDLLName=0", "DataFileDLLName=KXDATA.DAT\r\nSTD2KDDKDEV=1\r\nGDI2KDDKDEV=1");
    // The files are in place from before, but no medium or cabinet offers them now.
    for (const char* file : {"TTFSUB.GPD", "STDNAMES.GPD", "UNIRES.DLL"})
        sim_.windows().WriteFile(std::string("C:\\WINDOWS\\system32\\spool\\drivers\\" PLATFORM_NATIVE_SPOOL_DIRECTORY "\\") + file,
                                 "old");
    ASSERT_EQ(kExitInstalled, Install(Xp("LPT1:"))) << message_.Text();
    EXPECT_NE(nullptr, FindPrinter("ZMX-M530(P)"));
    EXPECT_EQ("done", message_.Text());
    std::string kept;
    sim_.windows().ReadFile("C:\\WINDOWS\\system32\\spool\\drivers\\" PLATFORM_NATIVE_SPOOL_DIRECTORY "\\TTFSUB.GPD", &kept);
    EXPECT_EQ("old", kept) << "the fix-up's copy must have failed for this test to mean anything";

    // On 98/Me the fix-up's message is what remains; a model without the colour DLL is not stopped by it.
    EditAll("C:\\MEDIUM\\DRVCONFIG\\setup.ini", "ZMX-M530-ReceiptPrinter", "ZMX-T100-ReceiptPrinter");
    EditModel("[ZMX-M530", "[ZMX-T100");
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    RemoveMedium("C:\\MEDIUM\\win98\\ICONLIB.DLL");
    ASSERT_EQ(kExitRestartRequired, Install({"--model", "ZMX-T100", "--port", "LPT2:", "--generation", "0"}))
        << message_.Text();
    EXPECT_EQ("copy failed  er = 2C:\\MEDIUM\\win98\\ICONLIB.DLL", message_.Text());
    EXPECT_NE(nullptr, FindPrinter("ZMX-T100(P)"));
}

}  // namespace
