// Writing a serial port's default settings on both Windows lines.
#include "setup/engine/SerialSettings.h"

#include <cstdio>

#include "shared/RegistryKey.h"

using namespace win;

namespace {

constexpr size_t kSettingsTextSize = 50;
constexpr char kNtPortsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
constexpr char kPortClassKey[] = "System\\CurrentControlSet\\Services\\Class\\Ports\\000%d";
constexpr int kPortClassKeys = 4;
constexpr DWORD kPortSubClassSize = 3;
constexpr BYTE kSerialSubClass = 1;

// DCB flag word bits.
constexpr uint32_t kBinary = 1u << 0;
constexpr uint32_t kParityCheck = 1u << 1;
constexpr uint32_t kOutxCtsFlow = 1u << 2;
constexpr uint32_t kOutX = 1u << 8;
constexpr uint32_t kInX = 1u << 9;
constexpr uint32_t kErrorChar = 1u << 10;
constexpr uint32_t kRtsControlEnable = 1u << 12;

void Put32(std::array<uint8_t, kDcbSize>& dcb, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) dcb[offset + i] = static_cast<uint8_t>((value >> (8 * i)) & 0xff);
}

uint8_t ParityCode(char parity) {
    switch (parity) {
        case 'o':
            return 1;
        case 'e':
            return 2;
        case 'm':
            return 3;
        case 's':
            return 4;
        default:
            return 0;
    }
}

uint8_t StopBitsCode(double stopBits) {
    if (stopBits == 1.5) return 1;
    if (stopBits == 2) return 2;
    return 0;
}

}  // namespace

std::string SerialSettingsText(const SerialSettings& s) {
    char text[kSettingsTextSize];
    const char* format = s.stopBits == 1.5 ? "%d,%c,%d,%.1f,%c" : "%d,%c,%d,%.0f,%c";
    std::snprintf(text, sizeof text, format, static_cast<int>(s.baudRate), s.parity,
                  static_cast<int>(s.dataBits), s.stopBits, s.flowControl);
    return text;
}

std::array<uint8_t, kDcbSize> BuildDeviceControlBlock(const SerialSettings& s) {
    std::array<uint8_t, kDcbSize> dcb{};
    uint32_t flags = kBinary;
    if (s.parity != 'n') flags |= kParityCheck | kErrorChar;
    if (s.flowControl == 'p') flags |= kOutxCtsFlow | kRtsControlEnable;
    if (s.flowControl == 'x') flags |= kOutX | kInX;
    Put32(dcb, 0, static_cast<uint32_t>(kDcbSize));
    Put32(dcb, 4, static_cast<uint32_t>(s.baudRate));
    Put32(dcb, 8, flags);
    dcb[18] = static_cast<uint8_t>(s.dataBits & 0xff);
    dcb[19] = ParityCode(s.parity);
    dcb[20] = StopBitsCode(s.stopBits);
    if (s.flowControl == 'x') {
        dcb[21] = 0x11;
        dcb[22] = 0x13;
    }
    return dcb;
}

void WriteNtSerialSettings(Platform& platform, const char* portName, const SerialSettings& settings) {
    std::string text = SerialSettingsText(settings);
    RegistryKey ports(platform);
    if (ports.Open(HKEY_LOCAL_MACHINE, kNtPortsKey)) {
        ports.SetString(portName, text.c_str());
        ports.Close();
    }
}

void Write98SerialSettings(Platform& platform, int portNumber, const char* portName,
                           const SerialSettings& settings) {
    std::array<uint8_t, kDcbSize> dcb = BuildDeviceControlBlock(settings);
    // COM1 is the first class key of a serial port, COM2 the second; other ports get no DCB.
    int wanted = portNumber == 1 || portNumber == 2 ? portNumber : 0;
    int seen = 0;
    for (int i = 0; wanted != 0 && i < kPortClassKeys; ++i) {
        char path[sizeof kPortClassKey + 8];
        std::snprintf(path, sizeof path, kPortClassKey, i);
        RegistryKey key(platform);
        if (!key.Open(HKEY_LOCAL_MACHINE, path)) continue;
        BYTE subClass[kPortSubClassSize] = {};
        DWORD size = kPortSubClassSize;
        // Only a value that was read is trusted; a failed read leaves nothing to judge by.
        if (!key.QueryBinary("PortSubClass", subClass, &size) || subClass[0] != kSerialSubClass) continue;
        if (++seen == wanted) {
            key.SetBinary("DCB", REG_NONE, dcb.data(), static_cast<DWORD>(dcb.size()));
            break;
        }
    }

    std::string text = SerialSettingsText(settings);
    platform.profile.WriteProfileStringA("Ports", portName, text.c_str());
    platform.windows.SendNotifyMessageA(HWND_BROADCAST, WM_WININICHANGE, 0,
                                        reinterpret_cast<LPARAM>("Ports"));
    platform.profile.WriteProfileStringA(nullptr, nullptr, nullptr);
}
