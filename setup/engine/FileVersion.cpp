// Version texts of files, and the USB bulk driver's version check.
#include <cstdio>
#include <cstring>
#include <vector>

#include "setup/engine/DriverFiles.h"

namespace {

constexpr char kNoVersion[] = "0.0.0.0";

// The value of the leading digits, as atoi reads them, held at a large value instead of overflowing.
long MajorNumber(const std::string& version) {
    size_t i = 0;
    while (i < version.size() && (version[i] == ' ' || version[i] == '\t')) ++i;
    bool negative = i < version.size() && version[i] == '-';
    if (i < version.size() && (version[i] == '-' || version[i] == '+')) ++i;
    long value = 0;
    for (; i < version.size() && version[i] >= '0' && version[i] <= '9'; ++i)
        if (value < 100000000L) value = value * 10 + (version[i] - '0');
    return negative ? -value : value;
}

}  // namespace

std::string GetFileVersionString(win::Platform& platform, const std::string& path) {
    win::Version& version = platform.version;
    win::DWORD handle = 0;
    win::DWORD size = version.GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return kNoVersion;
    std::vector<win::BYTE> block(size, 0);
    if (!version.GetFileVersionInfoA(path.c_str(), handle, size, block.data())) return kNoVersion;

    void* value = nullptr;
    win::UINT length = 0;
    if (!version.VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) || value == nullptr ||
        length < 4)
        return kNoVersion;
    win::WORD translation[2];
    std::memcpy(translation, value, sizeof(translation));
    char subBlock[64];
    std::snprintf(subBlock, sizeof(subBlock), "\\StringFileInfo\\%04x%04x\\FileVersion", translation[0],
                  translation[1]);
    value = nullptr;
    length = 0;
    if (!version.VerQueryValueA(block.data(), subBlock, &value, &length) || value == nullptr) return kNoVersion;
    const char* text = static_cast<const char*>(value);
    std::string result(text, strnlen(text, length));
    return result.empty() ? kNoVersion : result;
}

int CompareUsbDriverVersion(win::Platform& platform) {
    char module[200];
    win::DWORD length = platform.files.GetModuleFileNameA(nullptr, module, sizeof(module));
    std::string programDirectory(module, length < sizeof(module) ? length : 0);
    programDirectory.erase(programDirectory.find_last_of('\\') + 1);
    std::string shipped = programDirectory + platform.architecture.usbDriverKit + "\\bulkusb.sys";

    char windows[200];
    win::UINT windowsLength = platform.files.GetWindowsDirectoryA(windows, sizeof(windows));
    std::string installed =
        std::string(windows, windowsLength < sizeof(windows) ? windowsLength : 0) + "\\system32\\drivers\\bulkusb.sys";

    std::string shippedVersion = GetFileVersionString(platform, shipped);
    std::string installedVersion = GetFileVersionString(platform, installed);
    if (shippedVersion == installedVersion) return 0;
    long installedMajor = MajorNumber(installedVersion);
    if (installedMajor == 0) return -1;
    return MajorNumber(shippedVersion) > installedMajor ? 1 : 0;
}
