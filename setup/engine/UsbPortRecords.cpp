// Refreshing the USB port records from the supported port list of DRVCONFIG\setup.ini.
#include "setup/engine/UsbPortRecords.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "shared/RegistryKey.h"

using namespace win;

namespace {

constexpr char kUsbSection[] = "SUPPORTED-USB-DEVICE";
constexpr DWORD kModulePathSize = 200;
constexpr DWORD kCountSize = 200;
constexpr DWORD kPortEntrySize = 30;
constexpr DWORD kPrinterNameBufferSize = 260;
constexpr DWORD kPrinterNameSize = 200;
constexpr DWORD kUnusedPort = 255;

// DRVCONFIG\setup.ini beside the running program.
std::string CatalogPath(Platform& platform) {
    char module[kModulePathSize] = {};
    platform.files.GetModuleFileNameA(nullptr, module, kModulePathSize);
    module[kModulePathSize - 1] = '\0';
    std::string path = module;
    size_t slash = path.rfind('\\');
    std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    return folder + "DRVCONFIG\\setup.ini";
}

class SupportedUsbPortList {
public:
    SupportedUsbPortList(Platform& platform, std::string path) : platform_(platform), path_(std::move(path)) {
        char count[kCountSize] = {};
        platform_.profile.GetPrivateProfileStringA(kUsbSection, "PRNCOUNT", "0", count, kCountSize,
                                                   path_.c_str());
        count_ = std::atoi(count);
    }
    int Count() const { return count_; }
    // Entry i, read afresh each time as the records are built.
    std::string Entry(int i) const {
        char key[16];
        std::snprintf(key, sizeof key, "%d", i);
        char entry[kPortEntrySize] = {};
        platform_.profile.GetPrivateProfileStringA(kUsbSection, key, "0", entry, kPortEntrySize,
                                                   path_.c_str());
        return entry;
    }
    // The index of the first entry equal to the name, case-sensitively; -1 when none is.
    int IndexOf(const std::string& name) const {
        for (int i = 0; i < count_; ++i)
            if (Entry(i) == name) return i;
        return -1;
    }

private:
    Platform& platform_;
    std::string path_;
    int count_ = 0;
};

}  // namespace

std::string UsbPortNameOfPrinter(const std::string& printerName) {
    std::string port = "USB_";
    size_t open = printerName.find('(');
    if (open == std::string::npos) return port + printerName;
    port += printerName.substr(0, open) + "_";
    // A name that ends before the digit gives a port name ending in "_", never a read past its end.
    if (open + 4 < printerName.size()) port += printerName[open + 4];
    return port;
}

void UpdateUsbPortRecords(Platform& platform, const char* portName) {
    SupportedUsbPortList ports(platform, CatalogPath(platform));
    int n = ports.Count();

    RegistryKey portNames(platform);
    portNames.OpenOrCreate(HKEY_LOCAL_MACHINE, kPortNameKey);
    int index = portName != nullptr ? ports.IndexOf(portName) : -1;
    if (index >= 0) portNames.SetDword(portName, static_cast<DWORD>(index));
    portNames.Close();

    RegistryKey printerPorts(platform);
    printerPorts.OpenOrCreate(HKEY_LOCAL_MACHINE, kPrinterPortKey);
    for (const char* slot : {"D1", "D2", "D3", "D4", "D5", "D6", "D7", "D8"}) printerPorts.SetDword(slot, 0);
    printerPorts.Close();

    // An existing port value, whatever it holds, belongs to an earlier install and stays.
    if (printerPorts.Open(HKEY_LOCAL_MACHINE, kPrinterPortKey)) {
        for (int i = 0; i < n; ++i) {
            std::string entry = ports.Entry(i);
            DWORD value = 0;
            if (!printerPorts.QueryDword(entry.c_str(), &value))
                printerPorts.SetDword(entry.c_str(), kUnusedPort);
        }
    }
    printerPorts.Close();

    RegistryKey printers(platform);
    if (!printers.Open(HKEY_LOCAL_MACHINE, kInstallPrinterKey)) return;
    std::vector<char> name(kPrinterNameBufferSize);
    for (DWORD i = 0;; ++i) {
        std::fill(name.begin(), name.end(), '\0');
        DWORD nameSize = kPrinterNameSize;
        DWORD type = 0;
        if (printers.EnumValue(i, name.data(), &nameSize, &type) != static_cast<LONG>(ERROR_SUCCESS)) break;
        std::string derived = UsbPortNameOfPrinter(name.data());
        int found = ports.IndexOf(derived);
        if (found < 0) continue;
        RegistryKey mapped(platform);
        if (mapped.Open(HKEY_LOCAL_MACHINE, kPortNameKey)) {
            mapped.SetDword(derived.c_str(), static_cast<DWORD>(found));
            mapped.Close();
        }
    }
    printers.Close();
}
