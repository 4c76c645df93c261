// The exports of the USB access library KxUsbInt.dll and its set-ID command, as its callers use them.
#pragma once

#if defined(_WIN32)
#define KXUSB_CALL __stdcall
#else
#define KXUSB_CALL
#endif

namespace kxusb {

// Exported undecorated, with the stdcall convention.
using OpenDeviceX = void*(KXUSB_CALL*)(int index);  // nullptr or (void*)-1: no device at that index
using GetDescriptor = int(KXUSB_CALL*)(void* device, unsigned char* descriptor);  // writes 18 bytes
using UWrite = int(KXUSB_CALL*)(void* device, int pipe, const unsigned char* data, int length);
using CloseDevice = void(KXUSB_CALL*)(void* device);

constexpr int kMaxDevices = 8;
constexpr int kDescriptorSize = 18;
// The printer's ID lies in bcdDevice of the device descriptor.
constexpr int kIdOffset = 12;

// Set-ID command: the vendor preamble, then 0x1D 0x49 0x20 and the new ID minus 1.
constexpr unsigned char kSetIdPreamble[6] = {0x1B, 0x1C, 0x26, 0x56, 0x4C, 0x01};
constexpr int kSetIdLength = 10;

// The simulated printers: section [Devices] of KxUsbInt.ini beside the DLL (or the file named by the
// environment variable KXUSBINT_INI), key "0" to "7" = the ID value of the printer at that index.
constexpr const char* kConfigVariable = "KXUSBINT_INI";
constexpr const char* kConfigFile = "KxUsbInt.ini";
constexpr const char* kDevicesSection = "Devices";

}  // namespace kxusb
