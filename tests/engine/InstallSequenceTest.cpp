// One installation end to end against the simulated Windows: updates, pauses, names and settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "platform/sim/SimUsbDevices.h"
#include "setup/engine/CommandLineInstall.h"
#include "setup/engine/InstallSequence.h"

namespace {

using win::HKEY_LOCAL_MACHINE;

const char kMonitorKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\KX COM Monitor";
const char kUsbMonitorKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\KX USB Monitor";
const char kProcessorKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print Processors\\KXPrint";
const char kProcessor98Key[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows 4.0\\Print Processors\\KXPrint";

// A medium with one receipt model whose driver files exist for every generation.
class InstallSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& w = sim_.windows();
        std::string monitors;
        for (const char* suffix : {".98", ".NT", ".2K", ".XP", ".2003", ".Vista"})
            monitors += std::string("[COMMON-MONITOR") + suffix +
                        "]\r\nCOMMONitorPName=KX COM Monitor\r\nCOMMONitorPDLLName=KXCOM.DLL\r\n"
                        "COMMONitorPUIDLLName=KXCOMUI.DLL\r\nCOMMONitorVersion=3\r\n"
                        "USBMONitorPName=KX USB Monitor\r\nUSBMONitorPDLLName=KXUSB.DLL\r\n"
                        "USBMONitorPUIDLLName=0\r\nUSBMONitorVersion=4\r\n";
        w.WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup.ini",
                    "[DEVICENAME]\r\nDEVICENUMBER=1\r\nDEVICENAME1=ZMX-M530-ReceiptPrinter\r\n" + monitors +
                        "[ProcessorVersion]\r\nDriverVersion=2\r\n"
                        "[SUPPORTED-USB-DEVICE]\r\nPRNCOUNT=2\r\n0=USB_ZMX-M530_1\r\n1=USB_ZMX-M530_2\r\n");
        std::string model;
        for (const char* suffix : {".98", ".NT", ".2K", ".XP", ".2003", ".Vista"}) {
            model += std::string("[ZMX-M530") + suffix + "]\r\nATTRIBUTES=64\r\n";
            for (const char* kind : {"STD", "GDI"})
                model += std::string(kind) + "DriverName=KX M530\r\n" + kind +
                         "DriverPath=KXDRV.DLL\r\n" + kind + "DataFile=KXDATA.DAT\r\n" + kind +
                         "ConfigFile=KXUI.DLL\r\n" + kind + "HelpFile=KX.HLP\r\n" + kind + "DataFileDLLName=0\r\n" +
                         kind + "DataOemuiDLL=0\r\n" + kind + "DataOemuniDLL=0\r\n" + kind +
                         "DataOemuniini=0\r\n" + kind + "ProcessorDLLName=KXPROC.DLL\r\n" + kind +
                         "PrintProcessor=KXPrint\r\n";
        }
        w.WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup_receipt.ini",
                    model + "[ZMX-M530.PORT]\r\nBaudRate=19200\r\nUSBSUPPORTED=1\r\nSystemNTSupported=0\r\n"
                        "System2003Supported=1\r\nSystemVistaSupported=1\r\n");
        for (const char* dir : {"win98", "winnt", "win2003", "Vista"})
            for (const char* file : {"KXDRV.DLL", "KXDATA.DAT", "KXUI.DLL", "KX.HLP", "KXPROC.DLL", "KXCOM.DLL",
                                     "KXCOMUI.DLL", "KXUSB.DLL", "DMCOLOR.DLL", "ICONLIB.DLL", "UNIDRV.DLL"})
                w.WriteFile(std::string("C:\\MEDIUM\\") + dir + "\\" + file, file);
        w.WriteFile("C:\\MEDIUM\\language\\setup.ini",
                    "[Message]\r\nIDS_INF_NTRESTART=done\r\nIDS_INF_USBRESTART=usb done\r\n"
                    "IDS_ERR_LOSTDRIVERFILE=lost\r\nIDS_ERR_NEEDRESTART=restart\r\nIDS_ERR_COPYFIEL=copy failed\r\n"
                    "IDS_NOTSUPPORTNT=no nt\r\nIDS_ERR_NOSUPPORTINTERFACE=no interface\r\n");
        sim_.spooler().DefineMonitorPorts("KXCOM.DLL", {"KXCOM1:", "KXCOM2:"});
        sim_.spooler().DefineMonitorPorts("KXUSB.DLL", {"USB_ZMX-M530_1", "USB_ZMX-M530_2"});
        sim_.registry().CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports");
    }

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
    ASSERT_TRUE(sim_.windows().ReadFile("C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86\\KXPROC.DLL", &copied));
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
    ASSERT_EQ(kExitInstalled, Install({"--model", "ZMX-M530", "--port", "USB_ZMX-M530_1", "--generation", "0"})) << message_.Text();
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kUsbMonitorKey, "DriverVersion", 1);
    sim_.windows().MarkInUse("C:\\WINDOWS\\SYSTEM\\KXUSB.DLL");
    sim_.windows().MarkInUse("C:\\WINDOWS\\SYSTEM\\nKXUSB.DLL");
    sim_.windows().WriteFile("C:\\WINDOWS\\SYSTEM\\nKXUSB.DLL", "old");
    size_t printers = sim_.spooler().printers.size();
    usb_.Connect(0, 1);  // a printer answering as port 2, which the Advanced port _2 needs
    EXPECT_EQ(kExitFailed, Install({"--model", "ZMX-M530", "--port", "USB_ZMX-M530_2", "--generation", "0"}));
    EXPECT_EQ("restart", message_.Text());
    EXPECT_EQ(printers, sim_.spooler().printers.size());

    // In use once: the monitor runs from the "n" copy from now on.
    sim_.windows().MarkInUse("C:\\WINDOWS\\SYSTEM\\nKXUSB.DLL", false);
    EXPECT_EQ(kExitInstalled, Install({"--model", "ZMX-M530", "--port", "USB_ZMX-M530_2", "--generation", "0"})) << message_.Text();
    EXPECT_EQ("nKXUSB.DLL", String(kUsbMonitorKey, "Driver"));
    EXPECT_EQ(4u, Dword(kUsbMonitorKey, "DriverVersion"));
    EXPECT_NE(nullptr, FindPrinter("ZMX-M530(U) 2"));
    EXPECT_EQ("", message_.Text()) << "98/Me leave the message empty on success";
    EXPECT_EQ(0xdeadbeefu, Dword(kProcessor98Key, "Missing"));
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
    struct Wow64 {
        static win::BOOL WINAPI Yes(win::HANDLE, win::BOOL* wow64) {
            *wow64 = win::TRUE;
            return win::TRUE;
        }
    };
    sim_.windows().WriteFile("C:\\MEDIUM\\language\\setup.ini", "[Message]\r\nIDS_NOTSUPPORT64=32-bit only\r\n");
    sim_.library().RegisterEntry("kernel32.dll", "IsWow64Process", &Wow64::Yes);
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

}  // namespace
