// The USB printer's ID through the maker's library, KxUsbInt.dll or its x64 build KxUsbInt64.dll.
#include "setup/engine/UsbDevice.h"

#include <cstring>
#include <utility>

#include "platform/Library.h"

using namespace win;

namespace {

constexpr int kDeviceIndices = 8;
constexpr int kBufferSize = 20;
constexpr int kIdOffset = 12;
constexpr int kSetIdLength = 10;

typedef void*(WINAPI* OpenDeviceXEntry)(int index);
typedef int(WINAPI* GetDescriptorEntry)(void* device, unsigned char* descriptor);
typedef int(WINAPI* UWriteEntry)(void* device, int pipe, const unsigned char* data, int length);
typedef void(WINAPI* CloseDeviceEntry)(void* device);

bool IsDevice(void* handle) { return handle != nullptr && handle != reinterpret_cast<void*>(intptr_t{-1}); }

// The loaded library, freed on every path.
class UsbLibrary {
public:
    explicit UsbLibrary(Platform& platform)
        : library_(platform.library), module_(library_.LoadLibraryA(platform.architecture.usbLibrary)) {}
    UsbLibrary(const UsbLibrary&) = delete;
    UsbLibrary& operator=(const UsbLibrary&) = delete;
    ~UsbLibrary() {
        if (module_ != nullptr) library_.FreeLibrary(module_);
    }
    bool Loaded() const { return module_ != nullptr; }
    template <typename Entry>
    Entry Find(const char* name) {
        return EntryAs<Entry>(library_.GetProcAddress(module_, name));
    }

private:
    Library& library_;
    HMODULE module_;
};

// The first index with a printer; the device stays open for the caller.
void* OpenFirstDevice(OpenDeviceXEntry open) {
    for (int index = 0; index < kDeviceIndices; ++index) {
        void* device = open(index);
        if (IsDevice(device)) return device;
    }
    return nullptr;
}

// The set-ID command: the firmware's vendor preamble, then GS I SP and the new ID minus 1.
void BuildSetIdCommand(int id, unsigned char* command) {
    static const unsigned char kPreamble[6] = {0x1B, 0x1C, 0x26, 0x56, 0x4C, 0x01};
    std::memcpy(command, kPreamble, sizeof(kPreamble));
    command[6] = 0x1D;
    command[7] = 0x49;
    command[8] = 0x20;
    command[9] = static_cast<unsigned char>(id - 1);
}

}  // namespace

int32_t GetUsbDeviceId(Platform& platform, const LanguageText& messageText, const UsbMessageSink& show) {
    UsbLibrary library(platform);
    if (!library.Loaded()) {
        show(std::string("Can not load ") + platform.architecture.usbLibrary);
        return kUsbNoDevice;
    }
    auto open = library.Find<OpenDeviceXEntry>("OpenDeviceX");
    auto descriptor = library.Find<GetDescriptorEntry>("GetDescriptor");
    auto close = library.Find<CloseDeviceEntry>("CloseDevice");
    if (open == nullptr || descriptor == nullptr || close == nullptr) {
        show("open function error");
        return kUsbNoDevice;
    }
    int found = 0;
    for (int index = 0; index < kDeviceIndices; ++index) {
        void* device = open(index);
        if (!IsDevice(device)) continue;
        close(device);
        if (++found == 2) {
            show(messageText.Get("IDS_ERR_ONEPRINTER"));
            return kUsbSeveralDevices;
        }
    }
    void* device = OpenFirstDevice(open);
    if (device == nullptr) return kUsbNoDevice;
    unsigned char buffer[kBufferSize] = {};
    if (!descriptor(device, buffer)) {
        show("Get Device ID error");
        close(device);
        return kUsbNoDevice;
    }
    close(device);
    return static_cast<int32_t>(buffer[kIdOffset] | (buffer[kIdOffset + 1] << 8));
}

bool WriteUsbDeviceId(Platform& platform, int id, const UsbMessageSink& show) {
    if (id <= 0 || id > 8) return false;
    UsbLibrary library(platform);
    if (!library.Loaded()) {
        show(std::string("Can not load ") + platform.architecture.usbLibrary);
        return false;
    }
    auto open = library.Find<OpenDeviceXEntry>("OpenDeviceX");
    auto write = library.Find<UWriteEntry>("uWrite");
    auto close = library.Find<CloseDeviceEntry>("CloseDevice");
    if (open == nullptr || write == nullptr || close == nullptr) {
        show("open function error");
        return false;
    }
    void* device = OpenFirstDevice(open);
    if (device == nullptr) {
        show("Can not find USB device.");
        return false;
    }
    unsigned char command[kBufferSize] = {};
    BuildSetIdCommand(id, command);
    bool sent = write(device, 0, command, kSetIdLength) > 0;
    close(device);
    if (!sent) show("write ID error");
    return sent;
}
