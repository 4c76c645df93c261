// Reading and setting the USB printer's ID against the simulated KxUsbInt.dll.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "platform/sim/SimUsbDevices.h"
#include "setup/engine/UsbDevice.h"

namespace {

class UsbDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim_.windows().WriteFile("C:\\MEDIUM\\language\\setup.ini",
                                 "[Message]\r\nIDS_ERR_ONEPRINTER=only one\r\n");
    }
    int32_t Read() { return GetUsbDeviceId(sim_.platform(), messages_, Collect()); }
    bool Write(int id) { return WriteUsbDeviceId(sim_.platform(), id, Collect()); }
    UsbMessageSink Collect() {
        return [this](const std::string& text) { shown_.push_back(text); };
    }

    win::sim::SimPlatform sim_;
    win::sim::SimUsbDevices usb_{sim_.library()};
    LanguageText messages_{sim_.platform(), "Message"};
    std::vector<std::string> shown_;
};

TEST_F(UsbDeviceTest, ReadsTheIdOfTheOnePrinterWhereverItSits) {
    usb_.Connect(5, 0x1203);
    EXPECT_EQ(0x1203, Read());
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(0, usb_.openDevices);
    EXPECT_EQ(0, sim_.library().LoadedCount());
}

TEST_F(UsbDeviceTest, TwoPrintersAreRefusedAndNoneIsSilent) {
    usb_.Connect(1, 1);
    usb_.Connect(7, 2);
    EXPECT_EQ(kUsbSeveralDevices, Read());
    EXPECT_EQ((std::vector<std::string>{"only one"}), shown_);
    EXPECT_EQ(0, usb_.openDevices);

    shown_.clear();
    usb_.ids.fill(-1);
    EXPECT_EQ(kUsbNoDevice, Read());
    EXPECT_TRUE(shown_.empty());
    EXPECT_FALSE(Write(3));
    EXPECT_EQ((std::vector<std::string>{"Can not find USB device."}), shown_);
}

TEST_F(UsbDeviceTest, SetIdSendsTheCommandWithTheIdMinusOne) {
    usb_.Connect(2, 4);
    ASSERT_TRUE(Write(1));
    ASSERT_TRUE(Write(8));
    ASSERT_EQ(2u, usb_.writes.size());
    EXPECT_EQ(std::string("\x1B\x1C\x26\x56\x4C\x01\x1D\x49\x20\x00", 10), usb_.writes[0]);
    EXPECT_EQ('\x07', usb_.writes[1][9]);
    EXPECT_EQ(7, Read());  // the printer reports the byte sent; port number 7 % 8 + 1
    EXPECT_EQ(0, usb_.openDevices);

    // Out of range: refused before the library is even loaded.
    sim_.library().calls.clear();
    EXPECT_FALSE(Write(0));
    EXPECT_FALSE(Write(9));
    EXPECT_TRUE(sim_.library().calls.empty());
    EXPECT_TRUE(shown_.empty());
}

TEST_F(UsbDeviceTest, FailuresShowTheirTextsAndReleaseEverything) {
    usb_.Connect(0, 1);
    usb_.descriptorFails = true;
    EXPECT_EQ(kUsbNoDevice, Read());
    usb_.writeFails = true;
    EXPECT_FALSE(Write(2));
    sim_.library().RemoveEntry("KxUsbInt.dll", "GetDescriptor");
    EXPECT_EQ(kUsbNoDevice, Read());
    sim_.library().RemoveLibrary("KxUsbInt.dll");
    EXPECT_EQ(kUsbNoDevice, Read());
    EXPECT_FALSE(Write(2));
    EXPECT_EQ((std::vector<std::string>{"Get Device ID error", "write ID error", "open function error",
                                        "Can not load KxUsbInt.dll", "Can not load KxUsbInt.dll"}),
              shown_);
    EXPECT_EQ(0, usb_.openDevices);
    EXPECT_EQ(0, sim_.library().LoadedCount());
}

}  // namespace
