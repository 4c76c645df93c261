// The x64 edition on a simulated 64-bit Windows: the .x64 sections and the x64 folder of the medium, the
// "Windows x64" environment and its directories, Windows' own files of the x64 platform, and the refusal
// of a model without x64 drivers.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "platform/sim/SimUsbDevices.h"
#include "setup/engine/CommandLineInstall.h"
#include "setup/engine/DriverFiles.h"
#include "tests/engine/InstallMedium.h"
#include "tests/support/MachineSnapshot.h"

namespace {

using Args = std::vector<std::string>;

const char kSpool[] = "C:\\WINDOWS\\system32\\spool\\";
const char kStore[] = "C:\\WINDOWS\\System32\\DriverStore\\FileRepository\\";

// The engine tests' medium with x64 drivers of their own names, and without the 32-bit Vista folder: an
// edition that read the .Vista sections would find none of their files.
void AddX64Drivers(win::sim::SimPlatform& sim, bool modelHasX64 = true) {
    auto& w = sim.windows();
    std::string catalogue, models;
    w.ReadFile("C:\\MEDIUM\\DRVCONFIG\\setup.ini", &catalogue);
    w.WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup.ini",
                catalogue +
                    "[COMMON-MONITOR.x64]\r\nCOMMONitorPName=KX COM Monitor\r\nCOMMONitorPDLLName=KXCOM64.DLL\r\n"
                    "COMMONitorPUIDLLName=KXCOMU64.DLL\r\nCOMMONitorVersion=3\r\n"
                    "USBMONitorPName=KX USB Monitor\r\nUSBMONitorPDLLName=KXUSB64.DLL\r\n"
                    "USBMONitorPUIDLLName=0\r\nUSBMONitorVersion=4\r\n");
    w.ReadFile("C:\\MEDIUM\\DRVCONFIG\\setup_receipt.ini", &models);
    std::string section = "[ZMX-M530.x64]\r\nATTRIBUTES=64\r\n";
    for (const char* kind : {"STD", "GDI"})
        section += std::string(kind) + "DriverName=KX M530\r\n" + kind + "DriverPath=KXDRV64.DLL\r\n" + kind +
                   "DataFile=KXDATA.DAT\r\n" + kind + "ConfigFile=KXUI64.DLL\r\n" + kind + "HelpFile=KX.HLP\r\n" +
                   kind + "DataFileDLLName=0\r\n" + kind + "DataOemuiDLL=0\r\n" + kind + "DataOemuniDLL=0\r\n" +
                   kind + "DataOemuniini=0\r\n" + kind + "ProcessorDLLName=KXPROC64.DLL\r\n" + kind +
                   "PrintProcessor=KXPrint\r\n";
    w.WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup_receipt.ini",
                section + models + (modelHasX64 ? "SystemX64Supported=1\r\n" : ""));
    for (const char* file :
         {"KXDRV64.DLL", "KXDATA.DAT", "KXUI64.DLL", "KX.HLP", "KXPROC64.DLL", "KXCOM64.DLL", "KXCOMU64.DLL", "KXUSB64.DLL"})
        w.WriteFile(std::string("C:\\MEDIUM\\x64\\") + file, std::string("x64 ") + file);
    std::filesystem::remove_all(w.HostPath("C:\\MEDIUM\\Vista"));
    std::string texts;
    w.ReadFile("C:\\MEDIUM\\language\\setup.ini", &texts);
    w.WriteFile("C:\\MEDIUM\\language\\setup.ini", texts + "IDS_NOTSUPPORTX64=no x64\r\nIDS_NOTSUPPORT64=no twin\r\n");
    sim.spooler().DefineMonitorPorts("KXCOM64.DLL", {"KXCOM1:", "KXCOM2:"});
    sim.spooler().DefineMonitorPorts("KXUSB64.DLL", {"USB_ZMX-M530_1", "USB_ZMX-M530_2"});
}

class X64EditionTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteInstallMedium(sim_);
        AddX64Drivers(sim_);
        sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_NT, 10, 0, 19045);
    }
    int Run(Args args) {
        lines_.clear();
        return RunInstallPrinter(sim_.platform(), args, out_, error_);
    }
    std::string Lines() const {
        std::string all;
        for (const std::string& line : lines_) all += line + "\n";
        return all;
    }
    std::string Read(const std::string& path) {
        std::string bytes;
        return sim_.windows().ReadFile(path, &bytes) ? bytes : "<missing>";
    }

    win::sim::SimPlatform sim_{win::kArchitectureX64};
    win::sim::SimUsbDevices usb_{sim_.library(), win::kArchitectureX64};
    std::vector<std::string> lines_;
    ConsoleOutput out_{[this](const std::string& line) { lines_.push_back(line); }, [](const std::string&) {}};
    std::string error_;
};

TEST_F(X64EditionTest, EverySixtyFourBitWindowsGetsTheX64DriversInTheX64Places) {
    // Server 2003 x64 and XP x64 report 5.2, Vista 6.0, Windows 7 6.1, Windows 10 and 11 10.0.
    const struct {
        win::DWORD major, minor;
        const char* port;
    } systems[] = {{5, 2, "KXCOM1:"}, {6, 0, "LPT1:"}, {6, 1, "KXCOM2:"}, {10, 0, "LPT2:"}};
    for (const auto& system : systems) {
        SCOPED_TRACE(std::to_string(system.major) + "." + std::to_string(system.minor));
        sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_NT, system.major, system.minor);
        ASSERT_EQ(kExitInstalled, Run({"--model", "ZMX-M530", "--port", system.port})) << Lines();
        const win::sim::SimSpooler::Driver* driver = sim_.spooler().FindDriver("KX M530", "Windows x64");
        ASSERT_NE(nullptr, driver);
        EXPECT_EQ(3u, driver->version);
        EXPECT_EQ("KXDRV64.DLL", driver->driverPath);
        EXPECT_EQ("KXUI64.DLL", driver->configFile);
        for (const char* file : {"KXDRV64.DLL", "KXUI64.DLL", "KXDATA.DAT"})
            EXPECT_TRUE(sim_.windows().FileExists(std::string(kSpool) + "drivers\\x64\\" + file) ||
                        sim_.windows().FileExists(std::string(kSpool) + "drivers\\x64\\3\\" + file))
                << file;
        EXPECT_EQ(nullptr, sim_.spooler().FindDriver("KX M530", "Windows NT x86"));
    }
    EXPECT_EQ("x64 KXPROC64.DLL", Read(std::string(kSpool) + "prtprocs\\x64\\KXPROC64.DLL"));
    const win::sim::SimSpooler::Processor* processor = sim_.spooler().FindProcessor("KXPrint", "Windows x64");
    ASSERT_NE(nullptr, processor);
    EXPECT_EQ("KXPROC64.DLL", processor->pathName);
    EXPECT_EQ("x64 KXCOM64.DLL", Read("C:\\WINDOWS\\system32\\KXCOM64.DLL"));
    EXPECT_EQ("x64 KXCOMU64.DLL", Read("C:\\WINDOWS\\system32\\KXCOMU64.DLL"));
    // The version stamps lie under the x64 environment, where a later update looks for them.
    win::sim::SimRegistry& registry = sim_.registry();
    EXPECT_TRUE(registry.KeyExists(win::HKEY_LOCAL_MACHINE,
                                   "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Print "
                                   "Processors\\KXPrint"));
    EXPECT_FALSE(registry.KeyExists(win::HKEY_LOCAL_MACHINE,
                                    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT "
                                    "x86\\Print Processors\\KXPrint"));
}

TEST_F(X64EditionTest, APlanNamesTheX64FilesAndAModelWithoutX64DriversIsRefusedBeforeAnythingChanges) {
    ASSERT_EQ(kExitDone, Run({"--model", "ZMX-M530", "--port", "KXCOM1:", "--what-if"})) << Lines();
    EXPECT_NE(std::string::npos, Lines().find("C:\\MEDIUM\\x64\\KXDRV64.DLL")) << Lines();
    EXPECT_NE(std::string::npos, Lines().find("Windows x64")) << Lines();
    EXPECT_EQ(std::string::npos, Lines().find("Vista\\")) << Lines();

    WriteInstallMedium(sim_);
    AddX64Drivers(sim_, false);
    std::string before = MachineSnapshot(sim_);
    for (const char* major : {"6", "10"}) {
        sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_NT, static_cast<win::DWORD>(std::stoi(major)), 1);
        EXPECT_EQ(kExitRefused, Run({"--model", "ZMX-M530", "--port", "KXCOM1:"})) << Lines();
        ASSERT_FALSE(lines_.empty());
        EXPECT_EQ("no x64", lines_[lines_.size() - 2]) << Lines();
        EXPECT_EQ(kExitRefused, Run({"--model", "ZMX-M530", "--port", "KXCOM1:", "--what-if"})) << Lines();
    }
    EXPECT_EQ(before, MachineSnapshot(sim_));
}

TEST_F(X64EditionTest, WindowsOwnUnidriverFilesComeFromTheX64PlatformsStoreAndCabinets) {
    SetupContext context(sim_.platform());
    InstallMessage message;
    // Vista and later: the amd64 folder of ntprint.inf, though an x86 one sorts first.
    sim_.windows().WriteFile(std::string(kStore) + "ntprint.inf_amd64_5c1f\\Amd64\\UNIRES.DLL", "x64 unires");
    sim_.windows().WriteFile(std::string(kStore) + "ntprint.inf_8a7e\\I386\\UNIRES.DLL", "x86 unires");
    sim_.windows().WriteFile(std::string(kStore) + "ntprint.inf_amd64_5c1f\\I386\\UNIRES.DLL", "misplaced");
    std::string name = "UNIRES.DLL";
    EXPECT_EQ(1, CopyDriverFile(context, name, kDestinationDriverDirectory, kGenerationVista, false, message))
        << message.Text();
    EXPECT_EQ("x64 unires", Read(std::string(kSpool) + "drivers\\x64\\UNIRES.DLL"));

    // XP x64 and Server 2003 x64: the cabinets of Driver Cache\amd64.
    sim_.cabinet().SetCabinet("C:\\WINDOWS\\Driver Cache\\i386\\driver.cab", {{"unidrv.dll", "x86"}});
    sim_.cabinet().SetCabinet("C:\\WINDOWS\\Driver Cache\\amd64\\driver.cab", {{"unidrv.dll", "x64"}});
    sim_.windows().MakeDirectory(sim_.windows().tempPath);
    DriverStagingState state;
    ASSERT_TRUE(ExtractSystemDriverFiles(sim_.platform(), state));
    EXPECT_EQ("C:\\WINDOWS\\Driver Cache\\amd64\\", state.cabinetDirectory);
    EXPECT_EQ("x64", Read(sim_.windows().tempPath + "unidrv.dll"));
}

TEST_F(X64EditionTest, TheUsbIdIsReadThroughTheX64Library) {
    usb_.Connect(0, 0);  // reports port 1
    ASSERT_EQ(kExitInstalled, Run({"--model", "ZMX-M530", "--port", "USB_ZMX-M530_2", "--change-id", "yes"}))
        << Lines();
    ASSERT_EQ(1u, usb_.writes.size()) << "the ID was changed through KxUsbInt64.dll";
    bool loaded64 = false, loaded32 = false;
    for (const std::string& call : sim_.library().calls) {
        loaded64 = loaded64 || call == "LoadLibraryA KxUsbInt64.dll";
        loaded32 = loaded32 || call == "LoadLibraryA KxUsbInt.dll";
    }
    EXPECT_TRUE(loaded64);
    EXPECT_FALSE(loaded32);
}

}  // namespace
