// The USB port records that setup refreshes before installing a printer on a USB port.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "setup/engine/UsbPortRecords.h"

namespace {

using namespace win;
using Names = std::vector<std::string>;

const Names kSlots = {"D1", "D2", "D3", "D4", "D5", "D6", "D7", "D8"};

class UsbPortRecordsTest : public ::testing::Test {
protected:
    void WriteCatalog(const Names& ports, const std::string& folder = "C:\\MEDIUM") {
        std::string text = "[SUPPORTED-USB-DEVICE]\r\nPRNCOUNT=" + std::to_string(ports.size()) + "\r\n";
        for (size_t i = 0; i < ports.size(); ++i) text += std::to_string(i) + "=" + ports[i] + "\r\n";
        sim_.windows().WriteFile(folder + "\\DRVCONFIG\\setup.ini", text);
    }
    void AddInstalledPrinter(const std::string& name) {
        sim_.registry().SetValue(HKEY_LOCAL_MACHINE, kInstallPrinterKey, name, REG_SZ, std::string("\0", 1));
    }
    Names ValueNames(const char* key) { return sim_.registry().ValueNames(HKEY_LOCAL_MACHINE, key); }
    DWORD Dword(const char* key, const std::string& name) {
        DWORD value = 0xdeadbeef;
        EXPECT_TRUE(sim_.registry().GetDwordValue(HKEY_LOCAL_MACHINE, key, name, &value)) << name;
        return value;
    }
    void Run(const char* port) {
        UpdateUsbPortRecords(sim_.platform(), port);
        EXPECT_EQ(0u, sim_.registry().OpenHandleCount()) << "every key is closed again";
    }
    sim::SimPlatform sim_;
};

TEST_F(UsbPortRecordsTest, WithoutACatalogOnlyTheSlotsAreWritten) {
    AddInstalledPrinter("ZMX-L5(U) 1");
    Run("USB_ZMX-L5_1");
    EXPECT_TRUE(sim_.registry().KeyExists(HKEY_LOCAL_MACHINE, kPortNameKey));
    EXPECT_EQ(Names{}, ValueNames(kPortNameKey));
    EXPECT_EQ(kSlots, ValueNames(kPrinterPortKey));
    for (const std::string& slot : kSlots) EXPECT_EQ(0u, Dword(kPrinterPortKey, slot));
}

TEST_F(UsbPortRecordsTest, ThePortIsMappedToItsIndexAndEverySupportedPortGets255) {
    WriteCatalog({"USB_A_1", "USB_ZMX-L5_1", "USB_ZMX-L5_2"});
    Run("USB_ZMX-L5_2");
    EXPECT_EQ(Names{"USB_ZMX-L5_2"}, ValueNames(kPortNameKey));
    EXPECT_EQ(2u, Dword(kPortNameKey, "USB_ZMX-L5_2"));
    Names expected = kSlots;
    for (const char* port : {"USB_A_1", "USB_ZMX-L5_1", "USB_ZMX-L5_2"}) expected.push_back(port);
    EXPECT_EQ(expected, ValueNames(kPrinterPortKey));
    EXPECT_EQ(255u, Dword(kPrinterPortKey, "USB_ZMX-L5_1"));
    EXPECT_EQ(0u, Dword(kPrinterPortKey, "D8"));
}

TEST_F(UsbPortRecordsTest, APortOutsideTheListOrDifferingInCaseWritesNothingUnderPortName) {
    WriteCatalog({"USB_A_1", "USB_ZMX-L5_1"});
    Run("USB_B_1");
    Run("usb_zmx-l5_1");
    EXPECT_EQ(Names{}, ValueNames(kPortNameKey));
    EXPECT_EQ(255u, Dword(kPrinterPortKey, "USB_ZMX-L5_1"));
}

TEST_F(UsbPortRecordsTest, ASecondRunKeepsAPortValueAnEarlierInstallWroteAndResetsTheSlots) {
    WriteCatalog({"USB_A_1", "USB_A_2"});
    Run("USB_A_1");
    // The install sequence marks the port it used; some other software moved a slot.
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kPrinterPortKey, "USB_A_1", 0);
    sim_.registry().SetDwordValue(HKEY_LOCAL_MACHINE, kPrinterPortKey, "D3", 5);
    sim_.registry().SetValue(HKEY_LOCAL_MACHINE, kPrinterPortKey, "USB_A_2", REG_SZ, std::string("x\0", 2));
    Run("USB_A_2");
    EXPECT_EQ(0u, Dword(kPrinterPortKey, "USB_A_1"));
    EXPECT_EQ(0u, Dword(kPrinterPortKey, "D3"));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(sim_.registry().GetValue(HKEY_LOCAL_MACHINE, kPrinterPortKey, "USB_A_2", &type, &bytes));
    EXPECT_EQ(REG_SZ, type) << "a value that can be read stays, whatever it holds";
    EXPECT_EQ(0u, Dword(kPortNameKey, "USB_A_1"));
    EXPECT_EQ(1u, Dword(kPortNameKey, "USB_A_2"));
}

TEST_F(UsbPortRecordsTest, InstalledPrintersMapThePortTheirNameNames) {
    WriteCatalog({"USB_A_1", "USB_ZMX-L5_2", "USB_B_", "USB_Plain", "USB_C_4"});
    AddInstalledPrinter("ZMX-L5(U) 2");
    AddInstalledPrinter("B(U)");
    AddInstalledPrinter("Plain");
    AddInstalledPrinter("c(U) 4");
    AddInstalledPrinter("Other(U) 1");
    Run("USB_A_1");
    EXPECT_EQ((Names{"USB_A_1", "USB_ZMX-L5_2", "USB_B_", "USB_Plain"}), ValueNames(kPortNameKey));
    EXPECT_EQ(1u, Dword(kPortNameKey, "USB_ZMX-L5_2"));
    EXPECT_EQ(2u, Dword(kPortNameKey, "USB_B_"));
    EXPECT_EQ(3u, Dword(kPortNameKey, "USB_Plain"));
}

TEST_F(UsbPortRecordsTest, ThePortOfAPrinterNameIsTheDigitFourAfterTheParenthesis) {
    EXPECT_EQ("USB_ZMX-L5_2", UsbPortNameOfPrinter("ZMX-L5(U) 2"));
    EXPECT_EQ("USB_ZMX-L5_2", UsbPortNameOfPrinter("ZMX-L5(U) 2(1)"));
    EXPECT_EQ("USB_B_", UsbPortNameOfPrinter("B(U)"));
    EXPECT_EQ("USB_B_", UsbPortNameOfPrinter("B("));
    EXPECT_EQ("USB__3", UsbPortNameOfPrinter("(U) 3"));
    EXPECT_EQ("USB_Plain", UsbPortNameOfPrinter("Plain"));
}

TEST_F(UsbPortRecordsTest, WithoutInstallPrinterTheOtherRecordsStillTakeEffect) {
    WriteCatalog({"USB_A_1"});
    Run("USB_A_1");
    EXPECT_FALSE(sim_.registry().KeyExists(HKEY_LOCAL_MACHINE, kInstallPrinterKey));
    EXPECT_EQ(0u, Dword(kPortNameKey, "USB_A_1"));
    EXPECT_EQ(255u, Dword(kPrinterPortKey, "USB_A_1"));
}

TEST_F(UsbPortRecordsTest, TheCatalogIsReadBesideTheProgramNotUnderTheCurrentDirectory) {
    WriteCatalog({"USB_WRONG_1"});
    WriteCatalog({"USB_X_1", "USB_A_1"}, "D:\\PROGRAM");
    sim_.windows().moduleFileName = "D:\\PROGRAM\\setup.exe";
    Run("USB_A_1");
    EXPECT_EQ(1u, Dword(kPortNameKey, "USB_A_1"));

    // A program path without a backslash leaves the relative path, found under the current directory.
    sim_.windows().moduleFileName = "setup.exe";
    Run("USB_WRONG_1");
    EXPECT_EQ(0u, Dword(kPortNameKey, "USB_WRONG_1"));
}

TEST_F(UsbPortRecordsTest, AKeyThatCannotBeMadeIsPassedOver) {
    WriteCatalog({"USB_A_1"});
    sim_.windows().InjectFault("RegCreateKeyExA", ERROR_ACCESS_DENIED);
    Run("USB_A_1");
    EXPECT_FALSE(sim_.registry().KeyExists(HKEY_LOCAL_MACHINE, kPortNameKey));
    EXPECT_EQ(0u, Dword(kPrinterPortKey, "D1"));
    EXPECT_EQ(255u, Dword(kPrinterPortKey, "USB_A_1"));
}

}  // namespace
