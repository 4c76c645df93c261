// The simulated USB access library "KxUsbInt.dll": printers connected at device indices 0 to 7, each with
// the ID it reports in its device descriptor; the set-ID command changes it. Tests create one beside the
// SimPlatform whose library should offer it.
#pragma once

#include "platform/Architecture.h"

#include <array>
#include <string>
#include <vector>

#include "platform/sim/SimLibrary.h"

namespace win::sim {

class SimUsbDevices {
public:
    static constexpr int kDevices = 8;
    static constexpr int kIdOffset = 12;
    static constexpr int kSetIdLength = 10;

    // The library of the programs' architecture: KxUsbInt.dll, or KxUsbInt64.dll for the x64 edition.
    explicit SimUsbDevices(SimLibrary& library, const Architecture& architecture = kArchitectureX86);
    SimUsbDevices(const SimUsbDevices&) = delete;
    SimUsbDevices& operator=(const SimUsbDevices&) = delete;

    // A printer at the index, reporting the value; a negative value unplugs it.
    void Connect(int index, int id) { ids[index] = id; }
    std::array<int, kDevices> ids{-1, -1, -1, -1, -1, -1, -1, -1};
    // Every block written with "uWrite", and the devices opened and not closed.
    std::vector<std::string> writes;
    int openDevices = 0;
    bool descriptorFails = false;
    bool writeFails = false;

    // The entry functions, for the library's table.
    void* Open(int index);
    int Descriptor(void* device, unsigned char* buffer);
    int Write(void* device, int pipe, const unsigned char* data, int length);
    void Close(void* device);

private:
    static int IndexOf(void* device);
};

}  // namespace win::sim
