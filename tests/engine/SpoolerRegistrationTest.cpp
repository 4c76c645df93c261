// Spooler registration against the simulated Windows: printers and their names, monitors, processors,
// version stamps, the default printer and the port list.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "setup/engine/SpoolerRegistration.h"

namespace {

using win::HKEY_LOCAL_MACHINE;

const char kDriverName[] = "KP Driver";
const char kComMonitorKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\KX COM Port";
const char kUsbMonitorKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\KX USB Port";
const char kProcessorKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" PLATFORM_NATIVE_ENVIRONMENT "\\Print Processors\\KXProc";
const char kSystem32[] = "C:\\WINDOWS\\system32\\";

class SpoolerRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim_.windows().WriteFile(
            "C:\\MEDIUM\\language\\setup.ini",
            "[Message]\r\nIDS_ERR_ADDPRINTER=Add printer failed\r\nIDS_ERR_TOOMANY=Too many\r\n"
            "IDS_ERR_ADDPRNDRV3=Add driver failed\r\nIDS_ERR_ADDMONITOR=Add monitor failed\r\n"
            "IDS_ERR_ADDPROCESSOR=Add processor failed\r\nIDS_ERR_ALLOCMEMORY=Out of memory\r\n"
            "IDS_ERR_COPYFIEL=Copy failed\r\n");
        WriteDeviceList("1207");
        context_ = std::make_unique<SetupContext>(sim_.platform());
        config_ = std::make_unique<ModelConfig>(sim_.platform());

        win::sim::SimSpooler::Driver driver;
        driver.name = kDriverName;
        driver.environment = PLATFORM_NATIVE_ENVIRONMENT;
        sim_.spooler().drivers.push_back(driver);
        sim_.spooler().DefineMonitorPorts("kxcom.dll", {"KXCOM1:"});
        sim_.spooler().DefineMonitorPorts("kxusb.dll", {"USB_KP_1"});
    }

    void WriteDeviceList(const std::string& processorVersion) {
        sim_.windows().WriteFile(
            "C:\\MEDIUM\\DRVCONFIG\\setup.ini",
            "[ProcessorVersion]\r\nDriverVersion=" + processorVersion +
                "\r\n[COMMON-MONITOR.XP]\r\nCOMMONitorPName=KX COM Port\r\nCOMMONitorPDLLName=kxcom.dll\r\n"
                "COMMONitorPUIDLLName=kxcomui.dll\r\nCOMMONitorVersion=301\r\nUSBMONitorPName=KX USB Port\r\n"
                "USBMONitorPDLLName=kxusb.dll\r\nUSBMONitorPUIDLLName=\r\nUSBMONitorVersion=12\r\n");
    }
    void Medium(const std::string& name) { sim_.windows().WriteFile("C:\\MEDIUM\\winnt\\" + name, name); }
    void AddPrinter(const std::string& name, const std::string& port = "LPT1:") {
        win::sim::SimSpooler::Printer printer;
        printer.name = name;
        printer.portName = port;
        printer.driverName = kDriverName;
        sim_.spooler().printers.push_back(printer);
    }
    int Create(const std::string& requested, bool usb = false, const char* port = "LPT1:") {
        std::string name = requested;
        record_ = win::PRINTER_INFO_2A{};
        record_.pPrinterName = &name[0];
        record_.pPortName = const_cast<char*>(port);
        record_.pDriverName = const_cast<char*>(kDriverName);
        record_.pPrintProcessor = const_cast<char*>("WinPrint");
        return CreatePrinter(*context_, record_, 2, usb, used_, message_);
    }
    int EnsureMonitor(const char* port, PlatformGeneration generation = kGenerationXP) {
        return EnsurePortMonitor(*context_, *config_, kPrinterClassReceipt, generation, port, message_);
    }
    int EnsureProcessor(const char* name = "KXProc", const char* file = "kxproc.dll") {
        return EnsurePrintProcessor(*context_, kGenerationXP, name, file, message_);
    }
    bool Stamp(const char* key, win::DWORD* value) {
        return sim_.registry().GetDwordValue(HKEY_LOCAL_MACHINE, key, "DriverVersion", value);
    }
    void SetStamp(const char* key, win::DWORD value) {
        sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, key, "DriverVersion", value);
    }

    win::sim::SimPlatform sim_;
    std::unique_ptr<SetupContext> context_;
    std::unique_ptr<ModelConfig> config_;
    InstallMessage message_;
    win::PRINTER_INFO_2A record_{};
    std::string used_;
};

// ---- CreatePrinter

TEST_F(SpoolerRegistrationTest, CreatePrinterAddsSuffixWhenNameExists) {
    AddPrinter("KP(P)");
    EXPECT_EQ(1, Create("KP(P)"));
    EXPECT_EQ("KP(P)(1)", used_);
    EXPECT_STREQ("KP(P)(1)", record_.pPrinterName);
    EXPECT_NE(nullptr, sim_.spooler().FindPrinter("KP(P)(1)"));

    EXPECT_EQ(1, Create("KP(P)"));
    EXPECT_EQ("KP(P)(2)", used_);

    for (int n = 3; n <= 97; ++n) AddPrinter("KP(P)(" + std::to_string(n) + ")");
    EXPECT_EQ(1, Create("KP(P)"));
    EXPECT_EQ("KP(P)(98)", used_);
    EXPECT_TRUE(message_.Empty());
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());
}

TEST_F(SpoolerRegistrationTest, CreatePrinterGivesUpAfterNinetyEightSuffixes) {
    AddPrinter("KP(S)", "KXCOM1:");
    for (int n = 1; n <= 98; ++n) AddPrinter("KP(S)(" + std::to_string(n) + ")");
    const size_t before = sim_.spooler().printers.size();
    // "(99)" is free, but a 99th attempt is not made.
    EXPECT_EQ(0, Create("KP(S)"));
    EXPECT_EQ("Too many", message_.Text());
    EXPECT_EQ("", used_);
    EXPECT_STREQ("", record_.pPrinterName);
    EXPECT_EQ(before, sim_.spooler().printers.size());
}

TEST_F(SpoolerRegistrationTest, CreatePrinterOnUsbPortFailsAtOnceWhenNameExists) {
    AddPrinter("KP(U) 1");
    EXPECT_EQ(0, Create("KP(U) 1", true));
    EXPECT_EQ("Too many", message_.Text());
    EXPECT_EQ(nullptr, sim_.spooler().FindPrinter("KP(U) 1(1)"));
    EXPECT_STREQ("", record_.pPrinterName);

    message_.Clear();
    EXPECT_EQ(1, Create("KP(U) 2", true));
    EXPECT_EQ("KP(U) 2", used_);
    EXPECT_TRUE(message_.Empty());
}

TEST_F(SpoolerRegistrationTest, CreatePrinterReportsOtherErrorsWithTheirCodeAndClearsTheName) {
    record_ = win::PRINTER_INFO_2A{};
    EXPECT_EQ(0, Create("KP(P)", false, "LPT9:"));
    EXPECT_EQ("Add printer faileder = 1796", message_.Text());
    EXPECT_EQ("", used_);

    // An error other than "exists" while trying suffixes ends the search.
    AddPrinter("KP(P)");
    AddPrinter("KP(P)(1)");
    sim_.windows().InjectFault("AddPrinterA", win::ERROR_ACCESS_DENIED, 3);
    EXPECT_EQ(0, Create("KP(P)"));
    EXPECT_EQ("Add printer faileder = 5", message_.Text());
    EXPECT_STREQ("", record_.pPrinterName);
    EXPECT_EQ(nullptr, sim_.spooler().FindPrinter("KP(P)(2)"));
    EXPECT_EQ(nullptr, sim_.spooler().FindPrinter("KP(P)(3)"));
}

TEST_F(SpoolerRegistrationTest, CreatePrinterSuffixesNamesLongerThanAnyBuffer) {
    const std::string name(400, 'K');
    AddPrinter(name);
    EXPECT_EQ(1, Create(name));
    EXPECT_EQ(name + "(1)", used_);
}

// ---- driver, monitor and processor additions

TEST_F(SpoolerRegistrationTest, InstallPrinterDriverReportsTheErrorAfterItsText) {
    std::string name = "New Driver", path = "KPDRV.DLL";
    win::DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = &name[0];
    driver.pDriverPath = driver.pDataFile = driver.pConfigFile = &path[0];
    sim_.windows().InjectFault("AddPrinterDriverA", win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(0, InstallPrinterDriver(*context_, driver, message_));
    EXPECT_EQ("Add driver failed   er = 5", message_.Text());
}

TEST_F(SpoolerRegistrationTest, InstallPortMonitorCountsAKnownMonitorAsAdded) {
    sim_.windows().WriteFile(std::string(kSystem32) + "KXCOM.DLL", "monitor");
    std::string name = "KX COM Port", dll = "KXCOM.DLL";
    win::MONITOR_INFO_2A monitor{&name[0], nullptr, &dll[0]};
    EXPECT_EQ(1, InstallPortMonitor(*context_, monitor, message_));
    EXPECT_EQ(1, InstallPortMonitor(*context_, monitor, message_));  // 3006
    sim_.windows().InjectFault("AddMonitorA", win::ERROR_ALREADY_EXISTS);
    EXPECT_EQ(1, InstallPortMonitor(*context_, monitor, message_));
    EXPECT_TRUE(message_.Empty());

    std::string missing = "NONE.DLL";
    monitor.pDLLName = &missing[0];
    monitor.pName = const_cast<char*>("Other");
    EXPECT_EQ(0, InstallPortMonitor(*context_, monitor, message_));
    EXPECT_EQ("Add monitor failed Erro code is:126", message_.Text());
}

TEST_F(SpoolerRegistrationTest, InstallPrintProcessorReturnsTheKnownFailureCodes) {
    const std::string directory = sim_.spooler().ProcessorDirectory(PLATFORM_NATIVE_ENVIRONMENT);
    sim_.windows().WriteFile(directory + "\\KXPROC.DLL", "processor");
    EXPECT_EQ(1, InstallPrintProcessor(sim_.platform(), "KXProc", "KXPROC.DLL", kGenerationXP));
    EXPECT_EQ(3005, InstallPrintProcessor(sim_.platform(), "KXProc", "KXPROC.DLL", kGenerationXP));
    EXPECT_EQ(87, InstallPrintProcessor(sim_.platform(), "", "KXPROC.DLL", kGenerationXP));
    EXPECT_EQ(0, InstallPrintProcessor(sim_.platform(), "Other", "MISSING.DLL", kGenerationXP));  // 126
}

// ---- version stamps

TEST_F(SpoolerRegistrationTest, EnsurePrintProcessorFlagsAStampBelowTheConfiguredVersionOrUnreadable) {
    const std::string installedFile =
        "C:\\WINDOWS\\system32\\spool\\prtprocs\\" PLATFORM_NATIVE_SPOOL_DIRECTORY "\\kxproc.dll";
    sim_.registry().CreateKey(HKEY_LOCAL_MACHINE, kProcessorKey);
    EXPECT_EQ(kProcessorOlder, EnsureProcessor());  // no stamp
    SetStamp(kProcessorKey, 1207);
    // Registered but without its file (Wine keeps a processor whose removal deleted the file): put back.
    EXPECT_EQ(kProcessorOlder, EnsureProcessor());
    sim_.windows().WriteFile(installedFile, "processor");
    EXPECT_EQ(0, EnsureProcessor());
    SetStamp(kProcessorKey, 1206);
    EXPECT_EQ(kProcessorOlder, EnsureProcessor());
    // Unsigned: a stamp with the top bit set is a large version, not a negative one.
    SetStamp(kProcessorKey, 0x80000000u);
    EXPECT_EQ(0, EnsureProcessor());
    sim_.registry().SetValue(HKEY_LOCAL_MACHINE, kProcessorKey, "DriverVersion", win::REG_SZ, "12345678");
    EXPECT_EQ(kProcessorOlder, EnsureProcessor());
    // A configured "-1" is the largest version.
    WriteDeviceList("-1");
    SetStamp(kProcessorKey, 0x80000000u);
    EXPECT_EQ(kProcessorOlder, EnsureProcessor());
    EXPECT_TRUE(message_.Empty());
    EXPECT_EQ(nullptr, sim_.spooler().FindProcessor("KXProc", PLATFORM_NATIVE_ENVIRONMENT));
}

TEST_F(SpoolerRegistrationTest, EnsurePrintProcessorNeverTouchesWinPrint) {
    const char winPrintKey[] =
        "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" PLATFORM_NATIVE_ENVIRONMENT "\\Print Processors\\WinPrint";
    sim_.registry().CreateKey(HKEY_LOCAL_MACHINE, winPrintKey);
    SetStamp(winPrintKey, 1);
    Medium("KXPROC.DLL");
    sim_.windows().InjectFault("AddPrintProcessorA", win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(0, EnsureProcessor("WinPrint", "kxproc.dll"));
    EXPECT_TRUE(message_.Empty());
    EXPECT_TRUE(sim_.windows().sleeps.empty());
    EXPECT_FALSE(
        sim_.windows().FileExists(sim_.spooler().ProcessorDirectory(PLATFORM_NATIVE_ENVIRONMENT) + "\\KXPROC.DLL"));
    win::DWORD stamp = 0;
    EXPECT_TRUE(Stamp(winPrintKey, &stamp));
    EXPECT_EQ(1u, stamp);
}

TEST_F(SpoolerRegistrationTest, EnsurePrintProcessorInstallsAMissingProcessorAndStampsIt) {
    Medium("KXPROC.DLL");
    EXPECT_EQ(0, EnsureProcessor());
    const win::sim::SimSpooler::Processor* added = sim_.spooler().FindProcessor("KXProc", PLATFORM_NATIVE_ENVIRONMENT);
    ASSERT_NE(nullptr, added);
    EXPECT_EQ("KXPROC.DLL", added->pathName);
    win::DWORD stamp = 0;
    EXPECT_TRUE(Stamp(kProcessorKey, &stamp));
    EXPECT_EQ(1207u, stamp);
    EXPECT_EQ(std::vector<win::DWORD>{200}, sim_.windows().sleeps);
    EXPECT_TRUE(message_.Empty());
}

TEST_F(SpoolerRegistrationTest, EnsurePrintProcessorThatCannotBeAddedGivesOnlyItsOwnMessage) {
    // The file is missing on the medium: the copy's message is discarded.
    EXPECT_EQ(kProcessorNotAdded, EnsureProcessor());
    EXPECT_EQ("Add processor failed", message_.Text());
    EXPECT_TRUE(sim_.windows().sleeps.empty());
}

TEST_F(SpoolerRegistrationTest, EnsurePrintProcessorCountsEveryKnownAddFailureAsNotAdded) {
    Medium("kxproc.dll");
    for (win::DWORD error :
         {3005u /* processor exists */, 183u /* already exists */, 87u /* bad parameter */}) {
        message_.Clear();
        sim_.windows().InjectFault("AddPrintProcessorA", error);
        EXPECT_EQ(kProcessorNotAdded, EnsureProcessor()) << error;
        EXPECT_EQ("Add processor failed", message_.Text()) << error;
        win::DWORD stamp = 0;
        EXPECT_FALSE(Stamp(kProcessorKey, &stamp)) << error;
    }
    EXPECT_TRUE(sim_.windows().sleeps.empty());
}

// ---- port monitors

TEST_F(SpoolerRegistrationTest, EnsurePortMonitorInstallsAMissingComMonitorWithItsFilesAndStamp) {
    Medium("KXCOM.DLL");
    Medium("KXCOMUI.DLL");
    EXPECT_EQ(0, EnsureMonitor("KXCOM1:"));
    EXPECT_TRUE(message_.Empty());
    win::sim::SimSpooler::Monitor* monitor = sim_.spooler().FindMonitor("KX COM Port");
    ASSERT_NE(nullptr, monitor);
    EXPECT_EQ("KXCOM.DLL", monitor->dllName);
    EXPECT_TRUE(sim_.windows().FileExists(std::string(kSystem32) + "KXCOMUI.DLL"));
    win::DWORD stamp = 0;
    EXPECT_TRUE(Stamp(kComMonitorKey, &stamp));
    EXPECT_EQ(301u, stamp);
    EXPECT_EQ(0u, sim_.registry().OpenHandleCount());
}

TEST_F(SpoolerRegistrationTest, EnsurePortMonitorFlagsAnInstalledMonitorByItsStampAndPortKind) {
    sim_.registry().CreateKey(HKEY_LOCAL_MACHINE, kComMonitorKey);
    sim_.registry().CreateKey(HKEY_LOCAL_MACHINE, kUsbMonitorKey);
    EXPECT_EQ(kComMonitorOlder, EnsureMonitor("KXCOM1:"));  // no stamp
    SetStamp(kComMonitorKey, 301);
    EXPECT_EQ(0, EnsureMonitor("KXCOM1:"));
    SetStamp(kUsbMonitorKey, 11);
    EXPECT_EQ(kUsbMonitorOlder, EnsureMonitor("USB_KP_1"));
    EXPECT_EQ(0, EnsureMonitor("LPT1:"));
    EXPECT_TRUE(message_.Empty());
}

TEST_F(SpoolerRegistrationTest, EnsurePortMonitorJudgesAUsbPortAsUsbWhateverTheModelNameHolds) {
    sim_.registry().CreateKey(HKEY_LOCAL_MACHINE, kUsbMonitorKey);
    SetStamp(kUsbMonitorKey, 12);
    // "COM" in the model name does not bring in the COM monitor (its files are not even on the medium).
    EXPECT_EQ(0, EnsureMonitor("USB_KPCOM-9_1"));
    EXPECT_TRUE(message_.Empty());
    EXPECT_EQ(nullptr, sim_.spooler().FindMonitor("KX COM Port"));
    // "LPT" in the model name does not make the port parallel.
    SetStamp(kUsbMonitorKey, 11);
    EXPECT_EQ(kUsbMonitorOlder, EnsureMonitor("USB_KPLPT-9_1"));
}

TEST_F(SpoolerRegistrationTest, EnsurePortMonitorSkipsTheComMonitorOn98AndTheUsbMonitorOnNt4) {
    EXPECT_EQ(0, EnsureMonitor("COM1:", kGenerationWin98Me));
    EXPECT_EQ(0, EnsureMonitor("USB_KP_1", kGenerationNT4));
    EXPECT_TRUE(message_.Empty());
    EXPECT_EQ(nullptr, sim_.spooler().FindMonitor("KX COM Port"));
    EXPECT_EQ(nullptr, sim_.spooler().FindMonitor("KX USB Port"));
}

TEST_F(SpoolerRegistrationTest, EnsurePortMonitorCountsAMonitorTheSpoolerKnowsAsAdded) {
    Medium("KXUSB.DLL");
    EXPECT_EQ(0, EnsureMonitor("USB_KP_1"));
    win::DWORD stamp = 0;
    EXPECT_TRUE(Stamp(kUsbMonitorKey, &stamp));
    EXPECT_EQ(12u, stamp);
    // The key is gone but the spooler still knows the monitor (3006); the key is only opened, never made.
    sim_.registry().RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUsbMonitorKey);
    EXPECT_EQ(0, EnsureMonitor("USB_KP_1"));
    EXPECT_TRUE(message_.Empty());
    EXPECT_FALSE(sim_.registry().KeyExists(HKEY_LOCAL_MACHINE, kUsbMonitorKey));
}

TEST_F(SpoolerRegistrationTest, EnsurePortMonitorInstallsUnderTheNPrefixedNameWhenTheDllIsInUse) {
    Medium("KXCOM.DLL");
    const std::string held = std::string(kSystem32) + "KXCOM.DLL";
    sim_.windows().WriteFile(held, "old");
    sim_.windows().MarkInUse(held);
    EXPECT_EQ(0, EnsureMonitor("KXCOM1:"));
    win::sim::SimSpooler::Monitor* monitor = sim_.spooler().FindMonitor("KX COM Port");
    ASSERT_NE(nullptr, monitor);
    EXPECT_EQ("nKXCOM.DLL", monitor->dllName);
    EXPECT_TRUE(sim_.windows().FileExists(std::string(kSystem32) + "nKXCOM.DLL"));
}

TEST_F(SpoolerRegistrationTest, EnsurePortMonitorKeepsComCopyMessagesButDiscardsUsbOnes) {
    // The COM DLL is already in the system directory but missing on the medium.
    sim_.windows().WriteFile(std::string(kSystem32) + "KXCOM.DLL", "installed");
    EXPECT_EQ(0, EnsureMonitor("KXCOM1:"));
    EXPECT_EQ(0u, message_.Text().find("Copy failed"));

    message_.Clear();
    sim_.windows().WriteFile(std::string(kSystem32) + "KXUSB.DLL", "installed");
    EXPECT_EQ(0, EnsureMonitor("USB_KP_1"));
    EXPECT_TRUE(message_.Empty());
    EXPECT_NE(nullptr, sim_.spooler().FindMonitor("KX USB Port"));
}

TEST_F(SpoolerRegistrationTest, EnsurePortMonitorThatCannotBeAddedGives15WithTheMonitorMessage) {
    EXPECT_EQ(kMonitorNotAdded, EnsureMonitor("USB_KP_1"));
    EXPECT_EQ("Add monitor failed Erro code is:126", message_.Text());
    EXPECT_FALSE(sim_.registry().KeyExists(HKEY_LOCAL_MACHINE, kUsbMonitorKey));
}

// ---- default printer

class DefaultPrinterTest : public SpoolerRegistrationTest {
protected:
    void Prepare(win::DWORD platformId, win::DWORD major, win::DWORD minor) {
        sim_.windows().SetVersion(platformId, major, minor);
        win::sim::SimSpooler::Driver driver;
        driver.name = kDriverName;
        driver.environment = sim_.spooler().NativeEnvironment();
        sim_.spooler().drivers.push_back(driver);
        AddPrinter("Other");
        AddPrinter("KP(P)(1)");
        sim_.spooler().defaultPrinter = "Other";
    }
    const win::sim::SimWindowsUi::SentMessage& OnlyBroadcast() {
        const auto& sent = sim_.ui().SentMessages();
        EXPECT_EQ(1u, sent.size());
        EXPECT_EQ(win::HWND_BROADCAST, sent.back().window);
        EXPECT_EQ(win::WM_WININICHANGE, sent.back().message);
        EXPECT_EQ(win::SMTO_NORMAL, sent.back().flags);
        EXPECT_EQ(1000u, sent.back().timeout);
        return sent.back();
    }
    win::sim::SimProfile& Profile() { return static_cast<win::sim::SimProfile&>(sim_.platform().profile); }
};

TEST_F(DefaultPrinterTest, On98MeTheDefaultAttributeIsSetAndWindowsSectionBroadcast) {
    Prepare(win::VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    EXPECT_EQ(1, MakeDefaultPrinter(sim_.platform(), "KP(P)(1)"));
    EXPECT_EQ("KP(P)(1)", sim_.spooler().defaultPrinter);
    const auto& sent = OnlyBroadcast();
    EXPECT_TRUE(sent.hasText);
    EXPECT_EQ("windows", sent.text);
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());
}

TEST_F(DefaultPrinterTest, OnNt4WinIniWindowsDeviceNamesPrinterDriverAndPort) {
    Prepare(win::VER_PLATFORM_WIN32_NT, 4, 0);
    EXPECT_EQ(1, MakeDefaultPrinter(sim_.platform(), "KP(P)(1)"));
    char device[260] = {};
    sim_.platform().profile.GetPrivateProfileStringA("windows", "device", "", device, sizeof device,
                                                     "win.ini");
    EXPECT_STREQ("KP(P)(1),KP Driver,LPT1:", device);
    ASSERT_EQ(1u, Profile().Writes().size());
    EXPECT_LT(Profile().Writes().front().sequence, OnlyBroadcast().sequence);
    EXPECT_FALSE(OnlyBroadcast().hasText);
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());
}

TEST_F(DefaultPrinterTest, On2000AndLaterSetDefaultPrinterAIsLookedUpAtRunTime) {
    Prepare(win::VER_PLATFORM_WIN32_NT, 5, 1);
    EXPECT_EQ(1, MakeDefaultPrinter(sim_.platform(), "KP(P)(1)"));
    EXPECT_EQ("KP(P)(1)", sim_.spooler().defaultPrinter);
    const std::vector<std::string> expected{"LoadLibraryA winspool.drv", "GetProcAddress SetDefaultPrinterA",
                                            "FreeLibrary winspool.drv"};
    EXPECT_EQ(expected, sim_.library().calls);
    EXPECT_EQ(0, sim_.library().LoadedCount());
    EXPECT_FALSE(OnlyBroadcast().hasText);
    EXPECT_TRUE(Profile().Writes().empty());
}

TEST_F(DefaultPrinterTest, FailuresReturnZeroAndReleaseEverything) {
    Prepare(win::VER_PLATFORM_WIN32_NT, 6, 0);
    EXPECT_EQ(0, MakeDefaultPrinter(sim_.platform(), "Unknown"));
    sim_.library().RemoveEntry("winspool.drv", "SetDefaultPrinterA");
    EXPECT_EQ(0, MakeDefaultPrinter(sim_.platform(), "KP(P)(1)"));
    EXPECT_EQ(0, sim_.library().LoadedCount());
    EXPECT_EQ("Other", sim_.spooler().defaultPrinter);

    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 90);
    sim_.windows().InjectFault("GetPrinterA", win::ERROR_NOT_ENOUGH_MEMORY, 2);
    EXPECT_EQ(0, MakeDefaultPrinter(sim_.platform(), "KP(P)(1)"));
    EXPECT_EQ("Other", sim_.spooler().defaultPrinter);

    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_NT, 4, 0);
    EXPECT_EQ(0, MakeDefaultPrinter(sim_.platform(), "Unknown"));
    EXPECT_TRUE(Profile().Writes().empty());
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());
}

// ---- port list

TEST_F(SpoolerRegistrationTest, CheckPortListEnumeratesOrReportsMemory) {
    EXPECT_EQ(1, CheckPortList(*context_, message_));
    EXPECT_TRUE(message_.Empty());
    sim_.windows().InjectFault("EnumPortsA", win::ERROR_NOT_ENOUGH_MEMORY, 2);
    EXPECT_EQ(0, CheckPortList(*context_, message_));
    EXPECT_EQ("Out of memory", message_.Text());
}

// ---- the service operations with the install message

TEST_F(SpoolerRegistrationTest, ServiceMessagesGoIntoTheInstallMessage) {
    auto& spooler = sim_.services().service("Spooler");
    StartSpooler(sim_.platform(), message_);  // already running
    EXPECT_TRUE(message_.Empty());
    spooler.state = win::SERVICE_STOPPED;
    spooler.startError = 1058;
    StartSpooler(sim_.platform(), message_);
    EXPECT_EQ("Start spool service error, error code = 1058", message_.Text());
    EXPECT_FALSE(WaitForSpooler(sim_.platform(), message_));
    EXPECT_EQ("StartSpoolService error", message_.Text());
}

}  // namespace
