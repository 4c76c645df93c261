// The default settings of a COM port, written where Windows NT or Windows 98/Me keeps them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Platform.h"

struct SerialSettings {
    int32_t baudRate = 9600;
    int32_t dataBits = 8;
    double stopBits = 1;     // 1, 1.5 or 2
    char parity = 'n';       // n, o, e, m, s (lower case)
    char flowControl = 'x';  // x Xon/Xoff, p hardware, anything else none
};

// "9600,n,8,1,x": the stop bits as "1", "2" or "1.5"; cut to 49 bytes.
std::string SerialSettingsText(const SerialSettings& settings);

// The 28-byte Win32 DCB, little-endian, for the port's class key on Windows 98/Me.
constexpr size_t kDcbSize = 28;
std::array<uint8_t, kDcbSize> BuildDeviceControlBlock(const SerialSettings& settings);

// Windows NT 4 and later: the Ports key's value for the port ("COM1:"), when that key exists.
void WriteNtSerialSettings(win::Platform& platform, const char* portName, const SerialSettings& settings);

// Windows 98/Me: the DCB into the class key of COM1 or COM2, then win.ini [Ports], a broadcast of the
// change and a flush of the profile cache. portNumber is the digit after "COM".
void Write98SerialSettings(win::Platform& platform, int portNumber, const char* portName,
                           const SerialSettings& settings);
