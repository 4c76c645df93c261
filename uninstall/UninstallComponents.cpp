// The uninstaller's generation detection and its list of removable components.
#include "uninstall/UninstallComponents.h"

#include "platform/Architecture.h"
#include "shared/CompatibilityRecord.h"

using namespace win;

namespace {

constexpr DWORD kVersionInfoSize = 148;

// The records of a two-call spooler enumeration; empty when there are none or the calls fail.
template <typename Record, typename Enumerate>
std::vector<std::string> EnumeratedNames(Platform& platform, Enumerate enumerate, char* Record::*name) {
    std::vector<std::string> names;
    DWORD needed = 0, returned = 0;
    if (!enumerate(nullptr, 0, &needed, &returned) &&
        platform.kernel.GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return names;
    if (needed == 0) return names;
    std::vector<BYTE> block(needed);
    if (!enumerate(block.data(), needed, &needed, &returned)) return names;
    const auto* records = reinterpret_cast<const Record*>(block.data());
    for (DWORD i = 0; i < returned; ++i) {
        const char* text = records[i].*name;
        names.push_back(text != nullptr ? text : "");
    }
    return names;
}

}  // namespace

UninstallGeneration DetectUninstallGeneration(Platform& platform, bool writeCompatibilityRecord) {
    UninstallGeneration result;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = kVersionInfoSize;
    platform.kernel.GetVersionExA(&version);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (version.dwMinorVersion > 0) result.usbDriverOffered = false;
        result.generation = 0;
    } else if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (version.dwMajorVersion == 4) {
            if (version.dwMinorVersion == 0) {
                result.usbDriverOffered = false;
                result.generation = 1;
            }
        } else if (version.dwMajorVersion == 5) {
            if (version.dwMinorVersion <= 2) result.generation = 2 + static_cast<int>(version.dwMinorVersion);
        } else if (version.dwMajorVersion >= 6) {
            // Windows 7 and later have the drivers and processors of Vista to remove; only Vista itself
            // keeps the compatibility record.
            if (version.dwMajorVersion == 6 && version.dwMinorVersion == 0 && writeCompatibilityRecord)
                ApplyCompatibilityRecord(platform);
            result.generation = 5;
        }
    } else {
        result.generation = -1;
    }
    return result;
}

std::vector<std::string> RemovableComponents(Platform& platform, const UninstallCatalogue& catalogue) {
    std::vector<std::string> components;
    Spooler& spooler = platform.spooler;
    for (const std::string& name : EnumeratedNames<PRINTER_INFO_5A>(
             platform,
             [&](BYTE*buffer, DWORD size, DWORD*needed, DWORD*returned) {
                 return spooler.EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 5, buffer, size, needed, returned);
             },
             &PRINTER_INFO_5A::pPrinterName)) {
        if (catalogue.IsListedPrinter(name.c_str())) components.push_back(name);
    }
    for (const std::string& name : EnumeratedNames<MONITOR_INFO_1A>(
             platform,
             [&](BYTE*buffer, DWORD size, DWORD*needed, DWORD*returned) {
                 return spooler.EnumMonitorsA(nullptr, 1, buffer, size, needed, returned);
             },
             &MONITOR_INFO_1A::pName)) {
        if (catalogue.IsListedMonitor(name.c_str())) components.push_back(name);
    }
    std::string environment = catalogue.Generation() != 0 ? platform.architecture.environment : "Windows 4.0";
    for (const std::string& name : EnumeratedNames<PRINTPROCESSOR_INFO_1A>(
             platform,
             [&](BYTE*buffer, DWORD size, DWORD*needed, DWORD*returned) {
                 return spooler.EnumPrintProcessorsA(nullptr, &environment[0], 1, buffer, size, needed,
                                                     returned);
             },
             &PRINTPROCESSOR_INFO_1A::pName)) {
        if (catalogue.IsListedProcessor(name.c_str())) components.push_back(name);
    }
    return components;
}
