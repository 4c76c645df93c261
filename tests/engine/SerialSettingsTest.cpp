// Serial port settings: the text, the 98/Me DCB and where each Windows line gets them.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/SimPlatform.h"
#include "setup/engine/SerialSettings.h"

namespace {

using namespace win;

const char kNtPorts[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
const char kClass[] = "System\\CurrentControlSet\\Services\\Class\\Ports\\";

SerialSettings Settings(int baud, char parity, int dataBits, double stopBits, char flow) {
    SerialSettings s;
    s.baudRate = baud;
    s.parity = parity;
    s.dataBits = dataBits;
    s.stopBits = stopBits;
    s.flowControl = flow;
    return s;
}

uint32_t Flags(const std::array<uint8_t, kDcbSize>& dcb) {
    return dcb[8] | dcb[9] << 8 | dcb[10] << 16 | static_cast<uint32_t>(dcb[11]) << 24;
}

TEST(SerialSettingsText, WritesWholeStopBitsWithoutDecimalsAndOneAndAHalfWithOne) {
    EXPECT_EQ("9600,n,8,1,x", SerialSettingsText(Settings(9600, 'n', 8, 1, 'x')));
    EXPECT_EQ("19200,e,7,2,p", SerialSettingsText(Settings(19200, 'e', 7, 2, 'p')));
    EXPECT_EQ("4800,o,5,1.5,n", SerialSettingsText(Settings(4800, 'o', 5, 1.5, 'n')));
}

TEST(SerialSettingsText, AnOverlongTextIsCutToTheBuffer) {
    std::string text = SerialSettingsText(Settings(-2147483647 - 1, 'n', -2147483647 - 1, 1e30, 'x'));
    EXPECT_EQ(49u, text.size());
    EXPECT_EQ("-2147483648,n,-2147483648,1", text.substr(0, 27));
}

TEST(DeviceControlBlock, HoldsLengthBaudSizesAndXonXoffCharacters) {
    auto dcb = BuildDeviceControlBlock(Settings(115200, 'n', 8, 1, 'x'));
    const uint8_t expected[kDcbSize] = {28, 0, 0, 0, 0x00, 0xC2, 0x01, 0x00, 0x01, 0x03, 0, 0, 0, 0,
                                        0,  0, 0, 0, 8,    0,    0,    0x11, 0x13, 0,    0, 0, 0, 0};
    for (size_t i = 0; i < kDcbSize; ++i) EXPECT_EQ(expected[i], dcb[i]) << "offset " << i;
}

TEST(DeviceControlBlock, HardwareFlowWithParitySetsCtsRtsAndErrorReplacement) {
    auto dcb = BuildDeviceControlBlock(Settings(9600, 'e', 7, 1.5, 'p'));
    EXPECT_EQ((1u << 0) | (1u << 1) | (1u << 2) | (1u << 10) | (1u << 12), Flags(dcb));
    EXPECT_EQ(7, dcb[18]);
    EXPECT_EQ(2, dcb[19]);
    EXPECT_EQ(1, dcb[20]) << "1.5 stop bits";
    EXPECT_EQ(0, dcb[21]);
    EXPECT_EQ(0, dcb[22]);
    EXPECT_EQ((1u << 0) | (1u << 2) | (1u << 12),
              Flags(BuildDeviceControlBlock(Settings(9600, 'n', 8, 1, 'p'))));
}

TEST(DeviceControlBlock, UnknownLettersAndStopBitsGiveTheDefaults) {
    auto dcb = BuildDeviceControlBlock(Settings(9600, 'q', 0x108, 3, 'z'));
    EXPECT_EQ((1u << 0) | (1u << 1) | (1u << 10), Flags(dcb)) << "any parity but n checks";
    EXPECT_EQ(8, dcb[18]) << "the low byte of the data bits";
    EXPECT_EQ(0, dcb[19]);
    EXPECT_EQ(0, dcb[20]);
    EXPECT_EQ(2, BuildDeviceControlBlock(Settings(9600, 'n', 8, 2, 'n'))[20]);
    EXPECT_EQ(3, BuildDeviceControlBlock(Settings(9600, 'm', 8, 1, 'n'))[19]);
    EXPECT_EQ(4, BuildDeviceControlBlock(Settings(9600, 's', 8, 1, 'n'))[19]);
}

class SerialWriterTest : public ::testing::Test {
protected:
    void AddClassKey(int i, const std::string& subClass) {
        sim_.registry().SetValue(HKEY_LOCAL_MACHINE, kClass + std::string("000") + std::to_string(i),
                                 "PortSubClass", REG_BINARY, subClass);
    }
    // The index of the class key that got the DCB, -1 for none.
    int DcbKey() {
        int found = -1;
        for (int i = 0; i < 4; ++i) {
            DWORD type = 99;
            std::string bytes;
            if (!sim_.registry().GetValue(HKEY_LOCAL_MACHINE, kClass + std::string("000") + std::to_string(i),
                                          "DCB", &type, &bytes))
                continue;
            EXPECT_EQ(REG_NONE, type);
            EXPECT_EQ(kDcbSize, bytes.size());
            EXPECT_EQ(-1, found) << "only one key gets it";
            found = i;
        }
        return found;
    }
    sim::SimPlatform sim_;
};

TEST_F(SerialWriterTest, NtWritesThePortsValueOnlyWhenTheKeyExists) {
    WriteNtSerialSettings(sim_.platform(), "COM2:", Settings(9600, 'n', 8, 1, 'x'));
    EXPECT_FALSE(sim_.registry().KeyExists(HKEY_LOCAL_MACHINE, kNtPorts));

    sim_.registry().CreateKey(HKEY_LOCAL_MACHINE, kNtPorts);
    WriteNtSerialSettings(sim_.platform(), "COM2:", Settings(9600, 'n', 8, 1.5, 'x'));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(sim_.registry().GetValue(HKEY_LOCAL_MACHINE, kNtPorts, "COM2:", &type, &bytes));
    EXPECT_EQ(REG_SZ, type);
    EXPECT_EQ(std::string("9600,n,8,1.5,x\0", 15), bytes);
    EXPECT_EQ(0u, sim_.registry().OpenHandleCount());
    EXPECT_TRUE(static_cast<sim::SimProfile&>(sim_.platform().profile).Writes().empty())
        << "no win.ini on NT";
    EXPECT_TRUE(sim_.ui().SentMessages().empty());
}

TEST_F(SerialWriterTest, On98Com1GetsTheDcbInTheFirstSerialClassKey) {
    AddClassKey(0, std::string("\0", 1));
    AddClassKey(2, std::string("\1\0\0", 3));
    AddClassKey(3, std::string("\1", 1));
    Write98SerialSettings(sim_.platform(), 1, "COM1:", Settings(9600, 'n', 8, 1, 'x'));
    EXPECT_EQ(2, DcbKey());
    EXPECT_EQ(0u, sim_.registry().OpenHandleCount());
}

TEST_F(SerialWriterTest, On98Com2GetsTheDcbInTheSecondSerialClassKeyOrNone) {
    AddClassKey(1, std::string("\1", 1));
    Write98SerialSettings(sim_.platform(), 2, "COM2:", Settings(9600, 'n', 8, 1, 'x'));
    EXPECT_EQ(-1, DcbKey()) << "only one serial class key";

    AddClassKey(3, std::string("\1", 1));
    Write98SerialSettings(sim_.platform(), 2, "COM2:", Settings(9600, 'n', 8, 1, 'x'));
    EXPECT_EQ(3, DcbKey());
}

TEST_F(SerialWriterTest, On98Com3GetsItsProfileEntryButNoDcb) {
    AddClassKey(0, std::string("\1", 1));
    AddClassKey(1, std::string("\1", 1));
    AddClassKey(2, std::string("\1", 1));
    Write98SerialSettings(sim_.platform(), 3, "COM3:", Settings(2400, 'o', 7, 2, 'p'));
    EXPECT_EQ(-1, DcbKey());
    char text[64];
    sim_.platform().profile.GetPrivateProfileStringA("Ports", "COM3:", "", text, sizeof text, "win.ini");
    EXPECT_STREQ("2400,o,7,2,p", text);
}

TEST_F(SerialWriterTest, On98TheEntryIsWrittenThenBroadcastThenTheCacheFlushed) {
    sim_.windows().SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222);
    sim_.windows().WriteFile("C:\\WINDOWS\\win.ini",
                             "[windows]\r\nload=\r\n[Ports]\r\nCOM1:=2400,n,8,1\r\nLPT1:=\r\n");
    Write98SerialSettings(sim_.platform(), 1, "COM1:", Settings(9600, 'n', 8, 1, 'x'));

    auto& profile = static_cast<sim::SimProfile&>(sim_.platform().profile);
    ASSERT_EQ(2u, profile.Writes().size());
    const auto& entry = profile.Writes()[0];
    EXPECT_EQ("Ports", entry.section);
    EXPECT_EQ("COM1:", entry.key);
    EXPECT_EQ("9600,n,8,1,x", entry.value);
    EXPECT_TRUE(profile.Writes()[1].IsFlush());

    const auto& sent = sim_.ui().SentMessages();
    ASSERT_EQ(1u, sent.size());
    EXPECT_TRUE(sent[0].notify);
    EXPECT_EQ(HWND_BROADCAST, sent[0].window);
    EXPECT_EQ(WM_WININICHANGE, sent[0].message);
    EXPECT_EQ(0u, sent[0].wParam);
    EXPECT_TRUE(sent[0].hasText);
    EXPECT_EQ("Ports", sent[0].text);
    EXPECT_LT(entry.sequence, sent[0].sequence);
    EXPECT_LT(sent[0].sequence, profile.Writes()[1].sequence);

    std::string winIni;
    ASSERT_TRUE(sim_.windows().ReadFile("C:\\WINDOWS\\win.ini", &winIni));
    EXPECT_EQ("[windows]\r\nload=\r\n[Ports]\r\nCOM1:=9600,n,8,1,x\r\nLPT1:=\r\n", winIni);
}

}  // namespace
