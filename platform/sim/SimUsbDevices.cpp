// The simulated USB access library and its printers.
#include "platform/sim/SimUsbDevices.h"

#include <cstdint>

namespace win::sim {

namespace {

constexpr char kContext[] = "usb-devices";
constexpr int kDescriptorSize = 18;

SimUsbDevices* DevicesOf(int slot) {
    return static_cast<SimUsbDevices*>(SimLibrary::InSlot(slot)->Context(kContext));
}

template <int K>
struct OpenEntry {
    static void* WINAPI Call(int index) { return DevicesOf(K)->Open(index); }
};
template <int K>
struct DescriptorEntry {
    static int WINAPI Call(void* device, unsigned char* buffer) {
        return DevicesOf(K)->Descriptor(device, buffer);
    }
};
template <int K>
struct WriteEntry {
    static int WINAPI Call(void* device, int pipe, const unsigned char* data, int length) {
        return DevicesOf(K)->Write(device, pipe, data, length);
    }
};
template <int K>
struct CloseEntry {
    static void WINAPI Call(void* device) { DevicesOf(K)->Close(device); }
};

}  // namespace

SimUsbDevices::SimUsbDevices(SimLibrary& library, const Architecture& architecture) {
    const std::string kLibrary = architecture.usbLibrary;
    library.SetContext(kContext, this);
    library.RegisterEntry(kLibrary, "OpenDeviceX", library.ForThisSlot<OpenEntry>());
    library.RegisterEntry(kLibrary, "GetDescriptor", library.ForThisSlot<DescriptorEntry>());
    library.RegisterEntry(kLibrary, "uWrite", library.ForThisSlot<WriteEntry>());
    library.RegisterEntry(kLibrary, "CloseDevice", library.ForThisSlot<CloseEntry>());
}

// A device handle is its index plus one; no device gives (void*)-1, as the library does.
void* SimUsbDevices::Open(int index) {
    if (index < 0 || index >= kDevices || ids[index] < 0) return reinterpret_cast<void*>(intptr_t{-1});
    ++openDevices;
    return reinterpret_cast<void*>(intptr_t{index + 1});
}

int SimUsbDevices::IndexOf(void* device) {
    intptr_t value = reinterpret_cast<intptr_t>(device);
    return value >= 1 && value <= kDevices ? static_cast<int>(value - 1) : -1;
}

int SimUsbDevices::Descriptor(void* device, unsigned char* buffer) {
    int index = IndexOf(device);
    if (descriptorFails || index < 0 || ids[index] < 0) return 0;
    for (int i = 0; i < kDescriptorSize; ++i) buffer[i] = 0;
    buffer[0] = kDescriptorSize;
    buffer[1] = 1;  // the device descriptor
    buffer[kIdOffset] = static_cast<unsigned char>(ids[index] & 0xFF);
    buffer[kIdOffset + 1] = static_cast<unsigned char>((ids[index] >> 8) & 0xFF);
    return 1;
}

int SimUsbDevices::Write(void* device, int, const unsigned char* data, int length) {
    int index = IndexOf(device);
    if (writeFails || index < 0 || ids[index] < 0 || length <= 0) return 0;
    writes.emplace_back(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
    // The set-ID command ends in 0x1D 0x49 0x20 and the new ID minus 1, which the printer then reports:
    // setup turns a reported value into a port number as value % 8 + 1.
    if (length == kSetIdLength && data[6] == 0x1D && data[7] == 0x49 && data[8] == 0x20 && data[9] < 8)
        ids[index] = data[9];
    return length;
}

void SimUsbDevices::Close(void* device) {
    if (IndexOf(device) >= 0) --openDevices;
}

}  // namespace win::sim
