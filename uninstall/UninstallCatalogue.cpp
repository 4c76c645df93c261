// Finding "Uninstall.ini" and matching the system's printers, monitors and processors against it.
#include "uninstall/UninstallCatalogue.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/FileHandles.h"
#include "shared/PrinterInfo.h"

using namespace win;

namespace {

constexpr char kIniName[] = "Uninstall.ini";
constexpr DWORD kDirectorySize = 256;
// Values are read into 30 bytes: at most 29 characters of a value count.
constexpr DWORD kValueSize = 30;
// Entry i is read under the prefix and the character 48 + i; past 256 entries the keys repeat.
constexpr int kMostEntries = 256;

std::string Joined(const std::string& directory, const char* name) {
    if (!directory.empty() && directory.back() == '\\') return directory + name;
    return directory + "\\" + name;
}

enum class ScanResult { kFound, kNotFound, kCannotStart };

bool SameIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

// Looks for a file named "Uninstall.ini" (in any case) among the directory's entries. A copy such as
// "Uninstall.ini.bak" is not the file; a file copied from a CD loses its read-only mark, and nothing
// else in the folder is changed.
ScanResult ScanForIni(Platform& platform, const std::string& directory) {
    WIN32_FIND_DATAA data{};
    FindHandle find(platform.files, platform.files.FindFirstFileA(Joined(directory, "*.*").c_str(), &data));
    if (!find.Valid()) return ScanResult::kCannotStart;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
            !SameIgnoringCase(data.cFileName, kIniName))
            continue;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
            DWORD attributes = data.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY;
            platform.files.SetFileAttributesA(Joined(directory, kIniName).c_str(),
                                              attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL);
        }
        return ScanResult::kFound;
    } while (platform.files.FindNextFileA(find.Get(), &data));
    return ScanResult::kNotFound;
}

std::string WithoutSpaces(const char* name) {
    std::string section;
    for (const char* c = name; *c != '\0'; ++c)
        if (*c != ' ') section += *c;
    return section;
}

}  // namespace

UninstallIniLocation LocateUninstallIni(Platform& platform) {
    UninstallIniLocation location;
    std::string directory(kDirectorySize, '\0');
    DWORD length = platform.files.GetCurrentDirectoryA(kDirectorySize, &directory[0]);
    if (length >= kDirectorySize) {  // a longer path: ask again with the size Windows names
        directory.assign(length, '\0');
        length = platform.files.GetCurrentDirectoryA(length, &directory[0]);
    }
    if (length == 0 || length >= directory.size()) {
        location.errorKey = "IDS_ERR_GETSYSDIR";
        return location;
    }
    directory.resize(length);

    for (const std::string& candidate : {directory, Joined(directory, "DRVCONFIG")}) {
        ScanResult result = ScanForIni(platform, candidate);
        if (result == ScanResult::kCannotStart) {
            location.errorKey = "IDS_ERR_INVALID";
            return location;
        }
        if (result == ScanResult::kFound) {
            location.path = Joined(candidate, kIniName);
            return location;
        }
    }
    location.errorKey = "IDS_ERR_NOINI";
    return location;
}

const char* UninstallSectionSuffix(int generation, const win::Architecture& architecture) {
    if (generation != 0 && architecture.is64Bit) return architecture.sectionSuffix;
    switch (generation) {
        case 0:
            return ".98";
        case 1:
            return ".NT";
        case 2:
        case 3:
            return ".2K";
        case 4:
            return ".2003";
        default:
            return ".Vista";
    }
}

std::string UninstallCatalogue::Read(const char* section, const char* key, const char* defaultValue) const {
    char buffer[kValueSize] = {};
    DWORD length = platform_.profile.GetPrivateProfileStringA(section, key, defaultValue, buffer, kValueSize,
                                                              iniPath_.c_str());
    return std::string(buffer, length < kValueSize ? length : kValueSize - 1);
}

int UninstallCatalogue::Count(const char* section, const char* countKey) const {
    return std::atoi(Read(section, countKey).c_str());
}

bool UninstallCatalogue::Matches(const char* section, const char* countKey, const char* entryPrefix,
                                 const std::string& name) const {
    int count = Count(section, countKey);
    if (count > kMostEntries) count = kMostEntries;
    for (int i = 1; i <= count; ++i) {
        std::string key = entryPrefix;
        char suffix = static_cast<char>(48 + i);
        if (suffix != '\0') key += suffix;
        // A missing or empty entry would be contained in every name (or every name with a "0") and claim
        // printers, monitors and processors of other makers: it matches nothing.
        std::string entry = Read(section, key.c_str(), "");
        if (!entry.empty() && name.find(entry) != std::string::npos) return true;
    }
    return false;
}

bool UninstallCatalogue::IsListedPrinter(const char* printerName) const {
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE opened = nullptr;
    if (!platform_.spooler.OpenPrinterA(const_cast<LPSTR>(printerName), &opened, &defaults)) return false;
    PrinterHandle printer(platform_.spooler, opened);
    std::unique_ptr<BYTE[]> block = ReadPrinterInfo2(platform_, printer.Get());
    if (block == nullptr) return false;
    return IsListedDriver(reinterpret_cast<const PRINTER_INFO_2A*>(block.get())->pDriverName);
}

bool UninstallCatalogue::IsListedDriver(const char* driverName) const {
    return driverName != nullptr && Matches("KXPRINTER", "PRINTERNUM", "PRINTERNAME", driverName);
}

bool UninstallCatalogue::IsListedMonitor(const char* monitorName) const {
    return Matches("KXMONITOR", "MonitorNUM", "MONITORNAME", monitorName);
}

bool UninstallCatalogue::IsListedProcessor(const char* processorName) const {
    if (generation_ == 0) return false;
    return Matches("KXPROC", "PROCNUM", "PROCNAME", processorName);
}

// A value beginning with "0" (the default) or empty names no file.
std::string UninstallCatalogue::DllName(const std::string& section, const char* key) const {
    std::string value = Read(section.c_str(), key);
    if (value.empty() || value[0] == '0') return std::string();
    return value;
}

std::string UninstallCatalogue::MonitorDllName(const char* monitorName) const {
    return DllName(WithoutSpaces(monitorName) + UninstallSectionSuffix(generation_, platform_.architecture), "MonitorPDLLName");
}

std::string UninstallCatalogue::MonitorUiDllName(const char* monitorName) const {
    return DllName(WithoutSpaces(monitorName) + UninstallSectionSuffix(generation_, platform_.architecture), "MonitorPUIDLLName");
}

std::string UninstallCatalogue::ProcessorDllName(const char* processorName) const {
    return DllName(std::string(processorName) + UninstallSectionSuffix(generation_, platform_.architecture), "ProcessorDllName");
}
