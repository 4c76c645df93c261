// The stand-in USB access library: printers simulated from an INI file that tests set.
#include "stand-ins/usb/KxUsbInt.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#define EXPORT extern "C" __declspec(dllexport)

namespace {

HMODULE self = nullptr;

struct Device {
    int index;
    std::string config;
};

std::string ConfigPath() {
    DWORD size = GetEnvironmentVariableA(kxusb::kConfigVariable, nullptr, 0);
    if (size > 1) {
        std::string path(size, '\0');
        path.resize(GetEnvironmentVariableA(kxusb::kConfigVariable, &path[0], size));
        return path;
    }
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(self, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.rfind('\\') + 1) + kxusb::kConfigFile;
}

// The ID value configured for a device index, or -1 when no printer is connected there.
long ReadId(const std::string& config, int index) {
    char key[16];
    std::snprintf(key, sizeof(key), "%d", index);
    char value[32] = {};
    GetPrivateProfileStringA(kxusb::kDevicesSection, key, "", value, sizeof(value), config.c_str());
    if (value[0] == '\0') return -1;
    return std::strtol(value, nullptr, 10) & 0xFFFF;
}

}  // namespace

EXPORT void* WINAPI OpenDeviceX(int index) {
    if (index < 0 || index >= kxusb::kMaxDevices) return INVALID_HANDLE_VALUE;
    std::string config = ConfigPath();
    if (ReadId(config, index) < 0) return INVALID_HANDLE_VALUE;
    Device* device = new (std::nothrow) Device{index, config};
    return device != nullptr ? device : INVALID_HANDLE_VALUE;
}

EXPORT int WINAPI GetDescriptor(void* handle, unsigned char* descriptor) {
    Device* device = static_cast<Device*>(handle);
    if (device == nullptr || handle == INVALID_HANDLE_VALUE || descriptor == nullptr) return 0;
    long id = ReadId(device->config, device->index);
    if (id < 0) return 0;  // unplugged since it was opened
    const unsigned char standard[kxusb::kDescriptorSize] = {
        18, 1,           // length, device descriptor
        0x00, 0x02,      // USB 2.0
        0, 0, 0, 64,     // class, subclass, protocol (per interface), control packet size
        0x4C, 0x56,      // vendor
        0x30, 0x05,      // product
        0, 0,            // bcdDevice: the ID, below
        1, 2, 3, 1};     // manufacturer, product, serial number strings; one configuration
    std::memcpy(descriptor, standard, sizeof(standard));
    descriptor[kxusb::kIdOffset] = static_cast<unsigned char>(id & 0xFF);
    descriptor[kxusb::kIdOffset + 1] = static_cast<unsigned char>(id >> 8);
    return 1;
}

// Any bytes count as sent; a set-ID command also changes the ID the printer reports from then on.
EXPORT int WINAPI uWrite(void* handle, int, const unsigned char* data, int length) {
    Device* device = static_cast<Device*>(handle);
    if (device == nullptr || handle == INVALID_HANDLE_VALUE || data == nullptr || length <= 0) return 0;
    if (ReadId(device->config, device->index) < 0) return 0;
    const unsigned char* p = data;
    if (length == kxusb::kSetIdLength && std::memcmp(p, kxusb::kSetIdPreamble, 6) == 0 && p[6] == 0x1D &&
        p[7] == 0x49 && p[8] == 0x20 && p[9] < 8) {
        char key[16], value[16];
        std::snprintf(key, sizeof(key), "%d", device->index);
        std::snprintf(value, sizeof(value), "%d", p[9]);
        if (!WritePrivateProfileStringA(kxusb::kDevicesSection, key, value, device->config.c_str())) return 0;
    }
    return length;
}

EXPORT void WINAPI CloseDevice(void* handle) {
    if (handle != INVALID_HANDLE_VALUE) delete static_cast<Device*>(handle);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}
