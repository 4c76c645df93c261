// The uninstaller's view of the system: its generation detection, its texts and the component list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "shared/CompatibilityRecord.h"
#include "uninstall/UninstallComponents.h"
#include "uninstall/UninstallText.h"

namespace {

using win::VER_PLATFORM_WIN32_NT;
using win::VER_PLATFORM_WIN32_WINDOWS;

class UninstallComponentsTest : public ::testing::Test {
protected:
    bool RecordWritten() {
        win::DWORD value = 0;
        return sim_.registry().GetDwordValue(win::HKEY_CURRENT_USER, kCompatibilityAssistantKey,
                                             sim_.windows().moduleFileName, &value) &&
               value == 1;
    }
    win::sim::SimPlatform sim_;
};

TEST_F(UninstallComponentsTest, GenerationsOfEveryWindowsAndTheUsbDriverOffer) {
    struct Case {
        win::DWORD platform, major, minor;
        int generation;
        bool usbOffered;
    };
    for (const Case& c : std::vector<Case>{{VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0, true},
                                           {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0, false},
                                           {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 0, false},
                                           {VER_PLATFORM_WIN32_NT, 4, 0, 1, false},
                                           {VER_PLATFORM_WIN32_NT, 4, 1, 0, true},
                                           {VER_PLATFORM_WIN32_NT, 5, 0, 2, true},
                                           {VER_PLATFORM_WIN32_NT, 5, 1, 3, true},
                                           {VER_PLATFORM_WIN32_NT, 5, 2, 4, true},
                                           {VER_PLATFORM_WIN32_NT, 5, 3, 0, true},
                                           {VER_PLATFORM_WIN32_NT, 6, 0, 5, true},
                                           {VER_PLATFORM_WIN32_NT, 6, 1, 5, true},
                                           {VER_PLATFORM_WIN32_NT, 10, 0, 5, true},
                                           {0, 3, 10, -1, true}}) {
        sim_.windows().SetVersion(c.platform, c.major, c.minor);
        UninstallGeneration found = DetectUninstallGeneration(sim_.platform());
        EXPECT_EQ(c.generation, found.generation) << c.platform << " " << c.major << "." << c.minor;
        EXPECT_EQ(c.usbOffered, found.usbDriverOffered) << c.platform << " " << c.major << "." << c.minor;
        // Only Vista keeps the compatibility record.
        EXPECT_EQ(c.major == 6 && c.minor == 0, RecordWritten()) << c.major << "." << c.minor;
        sim_.platform().registry.RegDeleteKeyA(win::HKEY_CURRENT_USER, kCompatibilityAssistantKey);
    }
}

TEST_F(UninstallComponentsTest, TheCompatibilityRecordIsOneValueAndSkipsACutPath) {
    ApplyCompatibilityRecord(sim_.platform());
    ApplyCompatibilityRecord(sim_.platform());
    EXPECT_TRUE(RecordWritten());
    EXPECT_EQ(1u, sim_.registry().ValueNames(win::HKEY_CURRENT_USER, kCompatibilityAssistantKey).size());
    sim_.platform().registry.RegDeleteKeyA(win::HKEY_CURRENT_USER, kCompatibilityAssistantKey);
    sim_.windows().moduleFileName = "C:\\" + std::string(300, 'd') + "\\uninstall.exe";
    ApplyCompatibilityRecord(sim_.platform());
    EXPECT_FALSE(RecordWritten());
}

TEST_F(UninstallComponentsTest, AKeyThatCannotBeMadeOrOpenedLeavesNoRecordAndVistaIsStillVista) {
    sim_.windows().SetVersion(VER_PLATFORM_WIN32_NT, 6, 0);
    // Not created: it cannot be opened either.
    sim_.windows().InjectFault("RegCreateKeyExA", 5);
    EXPECT_EQ(5, DetectUninstallGeneration(sim_.platform()).generation);
    EXPECT_FALSE(sim_.registry().KeyExists(win::HKEY_CURRENT_USER, kCompatibilityAssistantKey));

    // Created, but refused to the program.
    sim_.windows().InjectFault("RegOpenKeyExA", 5);
    UninstallGeneration found = DetectUninstallGeneration(sim_.platform());
    EXPECT_EQ(5, found.generation);
    EXPECT_TRUE(found.usbDriverOffered);
    EXPECT_TRUE(sim_.registry().KeyExists(win::HKEY_CURRENT_USER, kCompatibilityAssistantKey));
    EXPECT_TRUE(sim_.registry().ValueNames(win::HKEY_CURRENT_USER, kCompatibilityAssistantKey).empty());
    EXPECT_EQ(0u, sim_.registry().OpenHandleCount());

    ApplyCompatibilityRecord(sim_.platform());
    EXPECT_TRUE(RecordWritten()) << "the faults were taken";
}

TEST_F(UninstallComponentsTest, TextsBreakAtTheFirstBackslashNAndAreCutAt1023Bytes) {
    sim_.windows().WriteFile(
        "C:\\MEDIUM\\language\\uninstall.ini",
        "[Reboot]\r\nNote1=one\\ntwo\\nthree\\1four\r\nLong=" + std::string(1500, 'x') + "\r\n");
    UninstallText reboot(sim_.platform(), "Reboot");
    EXPECT_EQ("one\r\ntwo\\nthree\\1four", reboot.Get("Note1"));
    EXPECT_EQ(1023u, reboot.Get("Long").size());
    EXPECT_EQ("", reboot.Get("Missing"));
}

TEST_F(UninstallComponentsTest, TheListHoldsOurPrintersThenMonitorsThenProcessorsInTheSpoolersOrder) {
    sim_.windows().WriteFile(
        "C:\\MEDIUM\\Uninstall.ini",
        "[KXPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=VORL ZMX-\r\n[KXMONITOR]\r\nMonitorNUM=1\r\n"
        "MONITORNAME1=VORL\r\n[KXPROC]\r\nPROCNUM=1\r\nPROCNAME1=VORL\r\n");
    for (const char* name : {"Till 2", "Office 4000", "Till 1"}) {
        win::sim::SimSpooler::Printer printer;
        printer.name = name;
        printer.portName = "LPT1:";
        printer.driverName = std::string(name).rfind("Till", 0) == 0 ? "VORL ZMX-T310" : "HP 4000 PCL";
        sim_.spooler().printers.push_back(printer);
    }
    sim_.spooler().monitors.push_back({"VORL USB Monitor", "VLUSBMON.DLL", {}});
    sim_.spooler().monitors.push_back({"VORL COM Monitor", "VLCOMMON.DLL", {}});
    sim_.spooler().processors.push_back({"VORLPrint", win::kNativeEnvironment, "VLPRTPRC.DLL", {}});
    sim_.spooler().processors.push_back({"VORLPrint98", "Windows 4.0", "VLPRT98.DLL", {}});

    UninstallCatalogue xp(sim_.platform(), 3, "C:\\MEDIUM\\Uninstall.ini");
    EXPECT_EQ(
        (std::vector<std::string>{"Till 2", "Till 1", "VORL USB Monitor", "VORL COM Monitor", "VORLPrint"}),
        RemovableComponents(sim_.platform(), xp));

    // 98/Me never lists processors.
    UninstallCatalogue me(sim_.platform(), 0, "C:\\MEDIUM\\Uninstall.ini");
    EXPECT_EQ(4u, RemovableComponents(sim_.platform(), me).size());

    // A spooler that cannot enumerate lists nothing of that kind.
    sim_.windows().InjectFault("EnumMonitorsA", 5);
    EXPECT_EQ((std::vector<std::string>{"Till 2", "Till 1", "VORLPrint"}),
              RemovableComponents(sim_.platform(), xp));
}

}  // namespace
