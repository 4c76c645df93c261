// The removal run: the job check before it, the three kinds of entries, the USB driver and the restart.
#include "uninstall/RemovalEngine.h"

#include <functional>
#include <memory>
#include <vector>

#include "platform/FileHandles.h"
#include "shared/FileNames.h"
#include "shared/PrinterInfo.h"
#include "shared/SpoolerService.h"

using namespace win;

namespace {

constexpr DWORD kDirectorySize = 256;
constexpr char kDirectoryError[] = "Get system Directory error.";
const std::string kNotPlainName = "Not deleted, not a plain file name: ";
constexpr char kUsbInstallerCaption[] = "VORL print system setup";
// Language files older than the check lack its key.
constexpr char kNotListedKey[] = "IDS_INF_NOTLISTED";
constexpr char kNotListedFallback[] = "%s 使用的驱动已不在Uninstall.ini之列，打印机及其驱动未删除。";
// The USB port records of setup that lose their meaning with the USB monitor.
constexpr const char* kUsbRecordKeys[] = {"SOFTWARE\\TARNOVA\\INSTALLPRINTER", "SOFTWARE\\TARNOVA\\PORTNAME"};

// The names of the local printers, from EnumPrintersA level 5; empty when there are none or the
// enumeration fails.
std::vector<std::string> LocalPrinterNames(Platform& platform) {
    std::vector<std::string> names;
    DWORD needed = 0, returned = 0;
    if (!platform.spooler.EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 5, nullptr, 0, &needed, &returned) &&
        platform.kernel.GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return names;
    if (needed == 0) return names;
    std::vector<BYTE> block(needed);
    if (!platform.spooler.EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 5, block.data(), needed, &needed,
                                        &returned))
        return names;
    const auto* printers = reinterpret_cast<const PRINTER_INFO_5A*>(block.data());
    for (DWORD i = 0; i < returned; ++i)
        names.push_back(printers[i].pPrinterName != nullptr ? printers[i].pPrinterName : "");
    return names;
}

HANDLE OpenForAdministration(Platform& platform, const std::string& name) {
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE opened = nullptr;
    if (!platform.spooler.OpenPrinterA(const_cast<LPSTR>(name.c_str()), &opened, &defaults)) return nullptr;
    return opened;
}

bool Contains(const char* text, const char* part) {
    return text != nullptr && std::string(text).find(part) != std::string::npos;
}

}  // namespace

std::string FormatWithName(const std::string& text, const std::string& name) {
    std::string result = text;
    size_t at = result.find("%s");
    if (at != std::string::npos) result.replace(at, 2, name);
    return result;
}

// Every local printer's PRINTER_INFO_2 in turn, to the check; a printer that cannot be opened or read
// reports it (an open naming openSubject) and ends the walk, as a check that says no does.
bool RemovalEngine::EveryLocalPrinter(RemovalView& view, const std::string* openSubject,
                                      const std::function<bool(const PRINTER_INFO_2A&)>& check) {
    for (const std::string& name : LocalPrinterNames(platform_)) {
        HANDLE opened = OpenForAdministration(platform_, name);
        if (opened == nullptr) {
            DWORD error = platform_.kernel.GetLastError();
            view.ReportFailure(Text("IDS_ERR_OPENPRN", openSubject != nullptr ? *openSubject : name), error);
            return false;
        }
        PrinterHandle printer(platform_.spooler, opened);
        PrinterInfoFailure failure;
        std::unique_ptr<BYTE[]> block = ReadPrinterInfo2(platform_, printer.Get(), &failure);
        if (block == nullptr) {
            DWORD error = platform_.kernel.GetLastError();
            view.ReportFailure(
                Text(failure == PrinterInfoFailure::kMemory ? "IDS_ERR_ALLOC" : "IDS_ERR_GETPRNINFO"), error);
            Pause(kErrorPause);
            return false;
        }
        if (!check(*reinterpret_cast<const PRINTER_INFO_2A*>(block.get()))) {
            Pause(kErrorPause);
            return false;
        }
    }
    return true;
}

bool RemovalEngine::MayStartRemoval(RemovalView& view) {
    return EveryLocalPrinter(view, nullptr, [&](const PRINTER_INFO_2A& info) {
        if (info.cJobs == 0) return true;
        view.ReportLine(Text("IDS_ERR_HAVEJOB2", info.pPrinterName != nullptr ? info.pPrinterName : ""));
        return false;
    });
}

int RemovalEngine::RemovalThread(RemovalView& view) {
    for (int id : {IDC_UNINSTALL, IDC_COMPONENTLIST, IDC_SELECTALL, IDC_EXIT, IDC_USBDRIVER})
        view.EnableControl(id, false);
    Run run;
    bool aborted = false;
    if (view.ComponentCount() > 0) {
        do {
            Pause(kEntryPause);
            if (view.IsChecked(run.index)) {
                currentItemText_ = view.EntryText(run.index);
                const std::string name = currentItemText_;
                Outcome outcome;
                if (catalogue_.IsListedMonitor(name.c_str()))
                    outcome = RemoveMonitor(view, run, name);
                else if (catalogue_.IsListedProcessor(name.c_str()))
                    outcome = RemoveProcessor(view, run, name);
                else
                    outcome = RemovePrinter(view, run, name);
                if (outcome == Outcome::kAbort) {
                    aborted = true;
                    break;
                }
            }
            ++run.index;
        } while (run.index < view.ComponentCount());
    }
    // An aborted run skips the USB driver and the restart, whatever it removed before.
    if (!aborted) {
        if (view.UsbDriverWanted()) RemoveUsbDriver(view);
        if (run.removedSomething && view.AskRestart()) Restart(view);
    }
    Finish(view);
    return 1;
}

void RemovalEngine::Removed(RemovalView& view, Run& run, const std::string& name) {
    view.ReportLine(Text("IDS_SUCCESS", name));
    Forget(view, run);
}

void RemovalEngine::Forget(RemovalView& view, Run& run) {
    view.RemoveEntry(run.index);
    run.removedSomething = true;
    --run.index;  // the entry that moves into its place is examined next
}

RemovalEngine::Outcome RemovalEngine::RemoveMonitor(RemovalView& view, Run& run, const std::string& name) {
    view.ReportLine(Text("IDS_DELETING1", name));
    if (catalogue_.Generation() == 0 && !CheckSerialPortsFree(view)) {
        view.ReportLine(Text("IDS_USING", name));
        return Outcome::kNext;
    }
    char localServer[] = "";
    LPSTR monitor = const_cast<LPSTR>(name.c_str());
    if (!platform_.spooler.DeleteMonitorA(localServer, nullptr, monitor)) {
        // The spooler may still hold the monitor from a printer just removed: once more after a restart.
        RestartSpooler(platform_);
        Pause(kAfterRestartPause);
        if (!platform_.spooler.DeleteMonitorA(localServer, nullptr, monitor)) {
            DWORD error = platform_.kernel.GetLastError();
            bool inUse = error == ERROR_PRINT_MONITOR_IN_USE;
            view.ReportFailure(Text(inUse ? "IDS_USING" : "IDS_ERR_UNINSTALL", name), error);
            Pause(kErrorPause);
            return Outcome::kNext;
        }
    }
    if (name.find("USB") != std::string::npos) {
        for (const char* key : kUsbRecordKeys) platform_.registry.RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
    }
    RestartSpooler(platform_);
    Pause(kAfterRestartPause);
    DeleteMonitorFiles(view, name);
    Removed(view, run, name);
    return Outcome::kNext;
}

RemovalEngine::Outcome RemovalEngine::RemoveProcessor(RemovalView& view, Run& run, const std::string& name) {
    view.ReportLine(Text("IDS_DELETING1", name));
    char localServer[] = "";
    if (!platform_.spooler.DeletePrintProcessorA(localServer, nullptr, const_cast<LPSTR>(name.c_str()))) {
        DWORD error = platform_.kernel.GetLastError();
        bool inUse = error == ERROR_CAN_NOT_COMPLETE;
        view.ReportFailure(Text(inUse ? "IDS_USING" : "IDS_ERR_UNINSTALL", name), error);
        Pause(kErrorPause);
        return Outcome::kNext;
    }
    RestartSpooler(platform_);
    Pause(kAfterRestartPause);
    DeleteProcessorFile(view, name);
    Removed(view, run, name);
    return Outcome::kNext;
}

RemovalEngine::Outcome RemovalEngine::RemovePrinter(RemovalView& view, Run& run, const std::string& name) {
    HANDLE opened = OpenForAdministration(platform_, name);
    if (opened == nullptr) {
        DWORD error = platform_.kernel.GetLastError();
        view.ReportFailure(Text("IDS_ERR_OPENPRN", name), error);
        return Outcome::kAbort;
    }
    PrinterHandle printer(platform_.spooler, opened);
    view.ReportLine(Text("IDS_DELETING2", name));
    PrinterInfoFailure failure;
    std::unique_ptr<BYTE[]> block = ReadPrinterInfo2(platform_, printer.Get(), &failure);
    if (block == nullptr) {
        DWORD error = platform_.kernel.GetLastError();
        view.ReportFailure(
            Text(failure == PrinterInfoFailure::kMemory ? "IDS_ERR_ALLOC" : "IDS_ERR_GETPRNINFO"), error);
        Pause(kErrorPause);
        return Outcome::kAbort;
    }
    const auto& info = *reinterpret_cast<const PRINTER_INFO_2A*>(block.get());
    // The list was filled when the dialog opened: since then the printer may have been given another
    // maker's driver, or another printer this name, and neither is ours to delete.
    if (!catalogue_.IsListedDriver(info.pDriverName)) {
        std::string text = Text(kNotListedKey);
        view.ReportLine(FormatWithName(text.empty() ? kNotListedFallback : text, name));
        Pause(kErrorPause);
        return Outcome::kNext;
    }
    if (info.cJobs > 0) {
        view.ReportLine(Text("IDS_ERR_HAVEJOB1", name));
        Pause(kErrorPause);
        return Outcome::kAbort;
    }
    if (!platform_.spooler.DeletePrinter(printer.Get())) {
        DWORD error = platform_.kernel.GetLastError();
        view.ReportFailure(Text("IDS_ERR_DELPRINTER"), error);
        Pause(kErrorPause);
        return Outcome::kNext;
    }
    Pause(kErrorPause);
    view.ReportLine(Text("IDS_SUCCESS", name));
    printer.Close();
    Forget(view, run);
    RestartSpooler(platform_);
    Pause(kPrinterPause);
    // NT 4 keeps the driver installed, and 98/Me has no drivers to delete this way.
    if (catalogue_.Generation() != 0 && catalogue_.Generation() != 1) RemoveDriver(view, name, info);
    Pause(kPrinterPause);
    return Outcome::kNext;
}

void RemovalEngine::RemoveDriver(RemovalView& view, const std::string& printerName,
                                 const PRINTER_INFO_2A& info) {
    view.ReportLine(Text("IDS_DRVDELETING", printerName));
    BOOL deleted =
        deleteDriverEx_ != nullptr
            ? deleteDriverEx_(info.pServerName, nullptr, info.pDriverName, DPD_DELETE_UNUSED_FILES, 0)
            : platform_.spooler.DeletePrinterDriverA(info.pServerName, nullptr, info.pDriverName);
    if (deleted) {
        view.ReportLine(Text("IDS_DRV_SUCCESS"));
    } else {
        DWORD error = platform_.kernel.GetLastError();
        if (error == ERROR_PRINTER_DRIVER_IN_USE)
            view.ReportFailure(Text("IDS_ERR_DRVUSING"), error);
        else
            view.ReportFailure(
                Text("IDS_ERR_DRVDEL") + "    er=" + std::to_string(static_cast<int32_t>(error)), error);
    }
    Pause(kErrorPause);
}

bool RemovalEngine::CheckSerialPortsFree(RemovalView& view) {
    return EveryLocalPrinter(view, &currentItemText_, [&](const PRINTER_INFO_2A& info) {
        if (!Contains(info.pPortName, "KXCOM")) return true;
        view.ReportLine(Text("IDS_ERR_HAVEJOB1", currentItemText_));
        return false;
    });
}

// A directory that cannot be found deletes nothing: the names would otherwise be taken from the root of
// the current drive, where the files are not ours.
void RemovalEngine::DeleteMonitorFiles(RemovalView& view, const std::string& monitorName) {
    std::string dll = catalogue_.MonitorDllName(monitorName.c_str());
    std::string ui = catalogue_.MonitorUiDllName(monitorName.c_str());
    char directory[kDirectorySize] = {};
    UINT length = platform_.files.GetSystemDirectoryA(directory, kDirectorySize);
    if (length == 0 || length >= kDirectorySize) {
        view.ReportLine(kDirectoryError);
        return;
    }
    for (const std::string& file : {dll, ui}) DeleteListedFile(view, directory, file);
}

void RemovalEngine::DeleteProcessorFile(RemovalView& view, const std::string& processorName) {
    std::string dll = catalogue_.ProcessorDllName(processorName.c_str());
    char directory[kDirectorySize] = {};
    DWORD needed = 0;
    if (!platform_.spooler.GetPrintProcessorDirectoryA(
            nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory), kDirectorySize, &needed)) {
        view.ReportLine(kDirectoryError);
        return;
    }
    DeleteListedFile(view, directory, dll);
}

// Names from the file are joined to system directories: one that could leave the directory is reported
// and skipped.
void RemovalEngine::DeleteListedFile(RemovalView& view, const char* directory, const std::string& file) {
    if (file.empty()) return;
    if (!IsPlainFileName(file)) {
        view.ReportLine(kNotPlainName + file);
        return;
    }
    const std::string path = std::string(directory) + "\\" + file;
    if (platform_.files.DeleteFileA(path.c_str())) return;
    // A loaded DLL cannot be deleted (access denied), nor a file open without sharing.
    DWORD error = platform_.kernel.GetLastError();
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) heldFiles_.push_back(path);
}

void RemovalEngine::RemoveUsbDriver(RemovalView& view) {
    view.ReportLine("正在删除USB设备驱动");
    std::string directory(kDirectorySize, '\0');
    DWORD length = platform_.files.GetCurrentDirectoryA(kDirectorySize, &directory[0]);
    directory.resize(length < kDirectorySize ? length : 0);
    // Whether the installer started is not examined: its window is what the run waits for.
    platform_.windows.ShellExecuteA(nullptr, "open", (directory + "\\" + platform_.architecture.usbDriverKit + "\\Install.exe").c_str(), "22", nullptr,
                                    SW_SHOWNORMAL);
    Pause(kAfterRestartPause);
    while (platform_.windows.FindWindowA(nullptr, kUsbInstallerCaption) != nullptr) Pause(kInstallerLookPause);
    Pause(kAfterRestartPause);
    Pause(kInstallerLookPause);
    view.ReportLine("USB设备驱动已删除");
}

void RemovalEngine::Restart(RemovalView& view) {
    if (view.DetectGeneration() == 0) {
        platform_.windows.ExitWindowsEx(EWX_REBOOT, 0);
        return;
    }
    // NT restarts only for a process that has enabled its shutdown privilege.
    HANDLE token = nullptr;
    if (!platform_.windows.OpenProcessToken(TOKEN_ADJUST_PRIVILEGES, &token)) return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = platform_.windows.LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid) &&
                   platform_.windows.AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    platform_.windows.CloseHandle(token);
    if (enabled) platform_.windows.ExitWindowsEx(EWX_REBOOT, 0);
}

void RemovalEngine::Finish(RemovalView& view) {
    if (view.ComponentCount() > 0) {
        view.ReportLine(Text("IDS_SELECTPRN1"));
        for (int id : {IDC_COMPONENTLIST, IDC_UNINSTALL, IDC_SELECTALL, IDC_EXIT, IDC_USBDRIVER})
            view.EnableControl(id, true);
    } else {
        view.EnableControl(IDC_EXIT, true);
    }
}
