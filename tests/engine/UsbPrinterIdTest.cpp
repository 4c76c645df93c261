// Matching the USB printer's ID to the chosen port, against the simulated USB library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "platform/sim/SimUsbDevices.h"
#include "setup/engine/UsbPrinterId.h"

namespace {

class ScriptedPrompts : public InstallPrompts {
public:
    std::vector<std::string> shown, asked;
    bool answer = true;
    void Show(const std::string& text) override { shown.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        asked.push_back(text);
        return answer;
    }
};

class UsbPrinterIdTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim_.windows().WriteFile("C:\\MEDIUM\\language\\setup.ini",
                                 "[Message]\r\nIDS_ERR_NOUSBDEVICE=connect it\r\nIDS_INF_CHANGEID=change?\r\n"
                                 "IDS_ERR_ONEPRINTER=only one\r\n");
    }
    bool Match(InstallMode mode, const std::string& port) {
        return MatchUsbPrinterId(sim_.platform(), messages_, mode, port, prompts_);
    }

    win::sim::SimPlatform sim_;
    win::sim::SimUsbDevices usb_{sim_.library()};
    LanguageText messages_{sim_.platform(), "Message"};
    ScriptedPrompts prompts_;
};

TEST(UsbPortNumberOfId, IsTheRemainderByEightPlusOneWithTheSignKept) {
    EXPECT_EQ(1, UsbPortNumberOfId(0));
    EXPECT_EQ(2, UsbPortNumberOfId(9));
    EXPECT_EQ(8, UsbPortNumberOfId(65535));
    EXPECT_EQ(0, UsbPortNumberOfId(-1));
    EXPECT_EQ(-1, UsbPortNumberOfId(-2));
}

TEST_F(UsbPrinterIdTest, TypicalGoesOnWithoutAPrinterAndAsksBeforeMovingOneToPortOne) {
    EXPECT_TRUE(Match(kInstallModeTypical, "USB_ZMX-T310_1"));
    EXPECT_TRUE(prompts_.asked.empty());

    usb_.Connect(0, 9);  // port 2
    EXPECT_TRUE(Match(kInstallModeTypical, "USB_ZMX-T310_1"));
    EXPECT_EQ((std::vector<std::string>{"change?"}), prompts_.asked);
    EXPECT_EQ(0, usb_.ids[0]);  // ID 1 travels as 0

    prompts_.asked.clear();
    EXPECT_TRUE(Match(kInstallModeTypical, "USB_ZMX-T310_1"));
    EXPECT_TRUE(prompts_.asked.empty()) << "already on port 1";

    usb_.Connect(0, 9);
    prompts_.answer = false;
    EXPECT_FALSE(Match(kInstallModeTypical, "USB_ZMX-T310_1"));
    EXPECT_EQ(9, usb_.ids[0]);

    // Two printers: no question and no write, which would rename whichever printer answers first.
    usb_.Connect(4, 1);
    prompts_.answer = true;
    prompts_.shown.clear();
    prompts_.asked.clear();
    EXPECT_FALSE(Match(kInstallModeTypical, "USB_ZMX-T310_1"));
    EXPECT_EQ((std::vector<std::string>{"only one"}), prompts_.shown);
    EXPECT_TRUE(prompts_.asked.empty());
    EXPECT_EQ(9, usb_.ids[0]);
    EXPECT_EQ(1, usb_.ids[4]);
}

TEST_F(UsbPrinterIdTest, AdvancedNeedsOnePrinterAndWritesThePortsNumber) {
    EXPECT_FALSE(Match(kInstallModeAdvanced, "USB_ZMX-T310_3"));
    EXPECT_EQ((std::vector<std::string>{"connect it"}), prompts_.shown);

    usb_.Connect(2, 2);  // port 3: nothing to do
    prompts_.shown.clear();
    EXPECT_TRUE(Match(kInstallModeAdvanced, "USB_ZMX-T310_3"));
    EXPECT_TRUE(prompts_.asked.empty());
    EXPECT_TRUE(usb_.writes.empty());

    usb_.Connect(2, 0);  // port 1 on a "_3" port: asked, then ID 3 written
    EXPECT_TRUE(Match(kInstallModeAdvanced, "USB_ZMX-T310_3"));
    EXPECT_EQ(1u, prompts_.asked.size());
    EXPECT_EQ(2, usb_.ids[2]);

    usb_.Connect(2, 0);
    usb_.writeFails = true;
    EXPECT_FALSE(Match(kInstallModeAdvanced, "USB_ZMX-T310_4"));
    EXPECT_EQ("Failed to set Printer ID!", prompts_.shown.back());

    usb_.Connect(6, 5);
    prompts_.shown.clear();
    EXPECT_FALSE(Match(kInstallModeAdvanced, "USB_ZMX-T310_4"));
    EXPECT_EQ((std::vector<std::string>{"only one"}), prompts_.shown);
}

}  // namespace
