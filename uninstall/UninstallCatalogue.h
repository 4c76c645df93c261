// "Uninstall.ini": where it lies, and which printers, port monitors and print processors of the system it
// names as this maker's, with the DLL files of each monitor and processor.
#pragma once

#include <string>
#include <utility>

#include "platform/Platform.h"

// Where LocateUninstallIni found the file, or the key of the message that says why it did not.
struct UninstallIniLocation {
    std::string path;                // the directory of the match + "Uninstall.ini"; empty when not found
    const char* errorKey = nullptr;  // "IDS_ERR_GETSYSDIR", "IDS_ERR_INVALID" or "IDS_ERR_NOINI"
};

// Looks for "Uninstall.ini" in the current directory, then in its "DRVCONFIG\".
UninstallIniLocation LocateUninstallIni(win::Platform& platform);

// The suffix of the DLL sections for a generation (-1 for a system that is neither 9x nor NT): XP shares
// the 2000 sections, and Vista, later systems and unknown ones take ".Vista". The x64 edition reads the
// ".x64" sections on every NT generation.
const char* UninstallSectionSuffix(int generation, const win::Architecture& architecture);

class UninstallCatalogue {
public:
    UninstallCatalogue(win::Platform& platform, int generation, std::string iniPath)
        : platform_(platform), generation_(generation), iniPath_(std::move(iniPath)) {}

    // A printer counts when it can be opened and read and its driver name contains a "KXPRINTER" entry.
    bool IsListedPrinter(const char* printerName) const;
    // The driver name test of IsListedPrinter, for a driver name already read.
    bool IsListedDriver(const char* driverName) const;
    bool IsListedMonitor(const char* monitorName) const;
    // Never on 98/Me, whose processors are not removed.
    bool IsListedProcessor(const char* processorName) const;

    // The file names of the DLL sections, as the file gives them; empty when the value names no file. The
    // caller checks that a name is plain before joining it to a directory.
    std::string MonitorDllName(const char* monitorName) const;
    std::string MonitorUiDllName(const char* monitorName) const;
    std::string ProcessorDllName(const char* processorName) const;

    const std::string& IniPath() const { return iniPath_; }
    int Generation() const { return generation_; }

private:
    // Values are cut at 29 characters; every key but the name entries defaults to "0".
    std::string Read(const char* section, const char* key, const char* defaultValue = "0") const;
    int Count(const char* section, const char* countKey) const;
    bool Matches(const char* section, const char* countKey, const char* entryPrefix,
                 const std::string& name) const;
    std::string DllName(const std::string& section, const char* key) const;

    win::Platform& platform_;
    int generation_;
    std::string iniPath_;
};
