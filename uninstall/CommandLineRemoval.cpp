// The command-line remover: the component list, the selection by name, the plan and the removal run.
#include "uninstall/CommandLineRemoval.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "shared/Handover.h"
#include "shared/PrinterInfo.h"
#include "shared/ProgramInstances.h"
#include "uninstall/RemovalEngine.h"
#include "uninstall/UninstallComponents.h"
#include "uninstall/UninstallText.h"

using namespace win;

const char kRemovalUsage[] =
    "usage: uninstall-printer --list\n"
    "       uninstall-printer --remove NAME [NAME...] [--usb-driver]\n"
    "       uninstall-printer --all [--usb-driver]\n"
    "       uninstall-printer --usb-driver\n"
    "       each with [--medium DIR] [--log FILE] [--what-if]\n"
    "Lists or removes this maker's printers (with their drivers), port monitors and print processors, as\n"
    "the medium's Uninstall.ini or DRVCONFIG\\Uninstall.ini names them; --usb-driver removes the USB device\n"
    "driver with the medium's USBDrv\\Install.exe. It never restarts Windows. --list and --what-if change\n"
    "nothing and run beside setup and uninstall.\n";

namespace {

// The USB driver kit's installer of the program's architecture, below the medium: "\USBDrv\Install.exe".
std::string UsbInstaller(Platform& platform) {
    return std::string("\\") + platform.architecture.usbDriverKit + "\\Install.exe";
}


std::string UninstallMediumLacks(Platform& platform, const std::string& folder) {
    if (!HasMediumFile(platform, folder, kUninstallLanguageFile)) return "language\\uninstall.ini";
    if (!HasMediumFile(platform, folder, "\\Uninstall.ini") &&
        !HasMediumFile(platform, folder, "\\DRVCONFIG\\Uninstall.ini"))
        return "Uninstall.ini";
    return "";
}

// The dialog's list as the removal run sees it: every component, the chosen ones ticked.
class ConsoleView : public RemovalView {
public:
    ConsoleView(ConsoleSession& session, bool usbDriver) : session_(session), usbDriver_(usbDriver) {}
    struct Entry {
        std::string text;
        bool checked;
    };
    std::vector<Entry> entries;
    // The run would have asked to restart: it removed something and was not aborted.
    bool restartAsked = false;

    int ComponentCount() override { return static_cast<int>(entries.size()); }
    bool IsChecked(int index) override { return entries.at(index).checked; }
    std::string EntryText(int index) override { return entries.at(index).text; }
    void RemoveEntry(int index) override { entries.erase(entries.begin() + index); }
    void ReportLine(const std::string& text) override { session_.Line(text); }
    void ReportFailure(const std::string& text, DWORD error) override { session_.Line(text, error); }
    bool UsbDriverWanted() override { return usbDriver_; }
    void EnableControl(int, bool) override {}
    // Scripts restart the machine themselves when they choose to.
    bool AskRestart() override {
        restartAsked = true;
        return false;
    }
    // Asked only before a restart, which never comes.
    int DetectGeneration() override { return -1; }

private:
    ConsoleSession& session_;
    bool usbDriver_;
};

// The job check's lines, for a plan that only says whether the run would start.
class CollectingView : public RemovalView {
public:
    std::vector<std::string> lines;
    int ComponentCount() override { return 0; }
    bool IsChecked(int) override { return false; }
    std::string EntryText(int) override { return ""; }
    void RemoveEntry(int) override {}
    void ReportLine(const std::string& text) override { lines.push_back(text); }
    bool UsbDriverWanted() override { return false; }
    void EnableControl(int, bool) override {}
    bool AskRestart() override { return false; }
    int DetectGeneration() override { return -1; }
};

// "printer NAME (driver D, port P)", "monitor NAME" or "processor NAME", decided as the run decides.
std::string Describe(Platform& platform, const UninstallCatalogue& catalogue, const std::string& name) {
    if (catalogue.IsListedMonitor(name.c_str())) return "monitor " + name;
    if (catalogue.IsListedProcessor(name.c_str())) return "processor " + name;
    std::string line = "printer " + name;
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
    HANDLE opened = nullptr;
    if (!platform.spooler.OpenPrinterA(const_cast<LPSTR>(name.c_str()), &opened, &defaults)) return line;
    PrinterHandle printer(platform.spooler, opened);
    std::unique_ptr<BYTE[]> block = ReadPrinterInfo2(platform, printer.Get());
    if (block == nullptr) return line;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(block.get());
    auto text = [](const char* value) { return std::string(value != nullptr ? value : ""); };
    return line + " (driver " + text(info->pDriverName) + ", port " + text(info->pPortName) + ")";
}

// A script's log should say something even where the language file is missing.
std::string TextOrKey(const UninstallText& messages, const char* key) {
    std::string text = messages.Get(key);
    return text.empty() ? key : text;
}

std::string SystemDirectory(Platform& platform) {
    char directory[MAX_PATH] = {};
    UINT length = platform.files.GetSystemDirectoryA(directory, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(directory, length) : "<system directory>";
}

std::string ProcessorDirectory(Platform& platform) {
    BYTE directory[MAX_PATH] = {};
    DWORD needed = 0;
    if (!platform.spooler.GetPrintProcessorDirectoryA(nullptr, nullptr, 1, directory, MAX_PATH, &needed))
        return "<print processor directory>";
    const char* text = reinterpret_cast<const char*>(directory);
    return std::string(text, strnlen(text, MAX_PATH));
}

// "A, B" of the names that are set, each joined to the directory.
std::string FilesIn(const std::string& directory, const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names)
        if (!name.empty()) list += (list.empty() ? "" : ", ") + directory + "\\" + name;
    return list;
}

// What the run would do for each chosen component, in the order it would do it.
std::vector<std::string> RemovalPlan(Platform& platform, const UninstallCatalogue& catalogue,
                                     const std::vector<std::string>& chosen, bool deleteDriverEx,
                                     bool usbDriver, const std::string& medium) {
    std::vector<std::string> plan;
    const int generation = catalogue.Generation();
    for (const std::string& name : chosen) {
        if (catalogue.IsListedMonitor(name.c_str())) {
            std::string files =
                FilesIn(SystemDirectory(platform),
                        {catalogue.MonitorDllName(name.c_str()), catalogue.MonitorUiDllName(name.c_str())});
            std::string line = "remove port monitor " + name;
            if (generation == 0) line += " (when no printer uses a KXCOM port)";
            line += ", restart the spooler";
            if (!files.empty()) line += " and delete " + files;
            if (name.find("USB") != std::string::npos)
                line += "; delete the USB port records SOFTWARE\\TARNOVA\\INSTALLPRINTER and PORTNAME";
            plan.push_back(line);
        } else if (catalogue.IsListedProcessor(name.c_str())) {
            std::string files =
                FilesIn(ProcessorDirectory(platform), {catalogue.ProcessorDllName(name.c_str())});
            plan.push_back("remove print processor " + name + ", restart the spooler" +
                           (files.empty() ? "" : " and delete " + files));
        } else {
            std::string line = "remove " + Describe(platform, catalogue, name) + " and restart the spooler";
            // NT 4 keeps the driver, and 98/Me have none to delete this way.
            if (generation != 0 && generation != 1)
                line += deleteDriverEx ? "; delete its driver with the files no other driver uses"
                                       : "; delete its driver";
            plan.push_back(line);
        }
    }
    if (usbDriver) plan.push_back("remove the USB device driver with " + medium + UsbInstaller(platform) + " 22");
    return plan;
}

struct RemovalChoice {
    bool list = false, all = false, usbDriver = false;
    std::vector<std::string> names;
};

bool ParseRemovalOptions(const std::vector<std::string>& args, bool whatIf, RemovalChoice& choice,
                         std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--list") {
            choice.list = true;
        } else if (args[i] == "--all") {
            choice.all = true;
        } else if (args[i] == "--usb-driver") {
            choice.usbDriver = true;
        } else if (args[i] == "--remove") {
            size_t before = choice.names.size();
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) choice.names.push_back(args[++i]);
            if (choice.names.size() == before) {
                error = "--remove needs the names of the components";
                return false;
            }
        } else {
            error = "unknown option " + args[i];
            return false;
        }
    }
    int actions = int(choice.list) + int(choice.all) + int(!choice.names.empty());
    if (actions > 1 || (actions == 0 && !choice.usbDriver)) {
        error = "give one of --list, --remove NAME... and --all, or --usb-driver";
        return false;
    }
    if (choice.list && (choice.usbDriver || whatIf)) {
        error = "--list goes alone";
        return false;
    }
    return true;
}

}  // namespace

int RemoveFromCommandLine(Platform& platform, const std::vector<std::string>& args, const ConsoleOutput& out,
                          std::string& error) {
    // On 64-bit Windows the x64 twin beside this program does the whole run, so one deployment command
    // works on every till: its output is this program's, its exit code too.
    if (MustHandOverToX64(platform)) {
        HandoverResult twin = RunX64Twin(platform, "uninstall-printer");
        if (twin.started) return static_cast<int>(twin.exitCode);
    }
    std::vector<std::string> own = args;
    SessionOptions options;
    if (!TakeSessionOptions(own, options, error)) return kExitBadOptions;
    if (options.help) {
        out.line(std::string(kRemovalUsage) + kSessionUsage);
        return kExitDone;
    }
    RemovalChoice choice;
    if (!ParseRemovalOptions(own, options.whatIf, choice, error)) return kExitBadOptions;
    std::string medium;
    if (!SettleMedium(platform, options.medium, UninstallMediumLacks, medium, error)) return kExitBadOptions;

    ConsoleSession session(platform, out);
    if (!options.logFile.empty()) session.OpenLog(options.logFile);
    std::string command = "uninstall-printer";
    for (const std::string& arg : args) command += " " + arg;
    session.LogOnly(command);
    session.LogOnly("medium " + medium);
    int result = kExitFailed;
    auto finish = [&](int code) {
        session.LogOnly("exit code " + std::to_string(code));
        return code;
    };

    // Without the twin a 32-bit run would see the 32-bit view of a 64-bit system, lists and removals alike.
    if (MustHandOverToX64(platform)) {
        session.Line(X64EditionMissingText(platform));
        session.Line("refused: nothing was changed");
        return finish(kExitRefused);
    }

    // Only a run that changes something keeps setup and uninstall out, and waits for them.
    const bool changes = !choice.list && !options.whatIf;
    std::unique_ptr<RunningProgramLock> lock;
    if (changes) {
        lock = std::make_unique<RunningProgramLock>(platform, kUninstallRunningMutex, kSetupRunningMutex);
        if (lock->AnotherRuns()) {
            session.Line("another setup or uninstall is running: nothing was changed");
            return finish(kExitAnotherRuns);
        }
    }

    UninstallGeneration found = DetectUninstallGeneration(platform, changes);
    if (choice.usbDriver && !found.usbDriverOffered) {
        session.Line(
            "the USB device driver is not removed on this Windows (98, Me, NT 4.0): nothing was changed");
        return finish(kExitRefused);
    }
    if (choice.usbDriver && !HasMediumFile(platform, medium, UsbInstaller(platform).c_str())) {
        session.Line("the medium has no " + UsbInstaller(platform).substr(1) + ": nothing was changed");
        return finish(kExitFailed);
    }

    UninstallText messages(platform, "Message");
    UninstallIniLocation ini = LocateUninstallIni(platform);
    if (ini.errorKey != nullptr) {
        session.Line(TextOrKey(messages, ini.errorKey));
        return finish(kExitFailed);
    }
    UninstallCatalogue catalogue(platform, found.generation, ini.path);
    std::vector<std::string> components = RemovableComponents(platform, catalogue);
    if (choice.list) {
        for (const std::string& name : components) session.Line(Describe(platform, catalogue, name));
        return finish(kExitDone);
    }
    for (const std::string& name : choice.names) {
        if (std::find(components.begin(), components.end(), name) == components.end()) {
            error = name + " is not a removable component; --list shows them";
            session.LogOnly(error);
            return finish(kExitBadOptions);
        }
    }
    if (components.empty() && !choice.usbDriver) {
        session.Line(TextOrKey(messages, "IDS_ERR_NOPRINTER"));
        return finish(kExitDone);
    }

    PFN_DeletePrinterDriverExA deleteDriverEx = nullptr;
    HMODULE winspool = platform.library.LoadLibraryA("winspool.drv");
    if (winspool != nullptr)
        deleteDriverEx = EntryAs<PFN_DeletePrinterDriverExA>(
            platform.library.GetProcAddress(winspool, "DeletePrinterDriverExA"));
    RemovalEngine engine(platform, messages, catalogue, deleteDriverEx);
    std::vector<std::string> chosen;
    for (const std::string& name : components)
        if (choice.all || std::find(choice.names.begin(), choice.names.end(), name) != choice.names.end())
            chosen.push_back(name);

    if (options.whatIf) {
        CollectingView check;
        if (engine.MayStartRemoval(check)) {
            for (const std::string& line : RemovalPlan(platform, catalogue, chosen, deleteDriverEx != nullptr,
                                                       choice.usbDriver, medium))
                session.Line(line);
            session.Line("nothing was changed (--what-if)");
            result = kExitDone;
        } else {
            for (const std::string& line : check.lines) session.Line(line);
            session.Line("the removal would not start: nothing was changed (--what-if)");
        }
    } else {
        ConsoleView view(session, choice.usbDriver);
        for (const std::string& name : components)
            view.entries.push_back({name, std::find(chosen.begin(), chosen.end(), name) != chosen.end()});
        if (engine.MayStartRemoval(view)) {
            engine.RemovalThread(view);
            // Done when every chosen component left the list.
            bool left = std::any_of(view.entries.begin(), view.entries.end(),
                                    [](const auto& e) { return e.checked; });
            result = left ? kExitFailed : kExitDone;
            for (const std::string& path : engine.HeldFiles()) {
                bool scheduled =
                    platform.files.MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
                DWORD error = scheduled ? 0 : platform.kernel.GetLastError();
                session.Line("Windows holds " + path +
                                 (scheduled ? ": it is deleted when Windows restarts"
                                            : ": delete it after Windows has restarted"),
                             error);
            }
            bool restart = !engine.HeldFiles().empty() || (catalogue.Generation() == 0 && view.restartAsked);
            if (result == kExitDone && restart) {
                session.Line("restart Windows to finish the removal");
                result = kExitRestartRequired;
            }
        }
    }
    if (winspool != nullptr) platform.library.FreeLibrary(winspool);
    return finish(result);
}
