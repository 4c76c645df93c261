// The command-line remover: the component list, the selection by name, and the removal run.
#include "uninstall/CommandLineRemoval.h"

#include <algorithm>
#include <memory>

#include "shared/PrinterInfo.h"
#include "uninstall/RemovalEngine.h"
#include "uninstall/UninstallComponents.h"
#include "uninstall/UninstallText.h"

using namespace win;

const char kRemovalUsage[] =
    "usage: uninstall-printer --list\n"
    "       uninstall-printer --remove NAME [NAME...]\n"
    "       uninstall-printer --all\n"
    "Lists or removes this maker's printers (with their drivers), port monitors and print processors, as\n"
    "Uninstall.ini in the current directory or its DRVCONFIG folder names them. Exit 0 done, 1 failed,\n"
    "2 bad options.";

namespace {

// The dialog's list as the removal run sees it: every component, the chosen ones ticked.
class ConsoleView : public RemovalView {
public:
    ConsoleView(Platform& platform, const RemovalOutput& out) : platform_(platform), out_(out) {}
    struct Entry {
        std::string text;
        bool checked;
    };
    std::vector<Entry> entries;

    int ComponentCount() override { return static_cast<int>(entries.size()); }
    bool IsChecked(int index) override { return entries.at(index).checked; }
    std::string EntryText(int index) override { return entries.at(index).text; }
    void RemoveEntry(int index) override { entries.erase(entries.begin() + index); }
    void ReportLine(const std::string& text) override { out_(text); }
    bool UsbDriverWanted() override { return false; }
    void EnableControl(int, bool) override {}
    // Scripts restart the machine themselves when they choose to.
    bool AskRestart() override { return false; }
    int DetectGeneration() override { return DetectUninstallGeneration(platform_).generation; }

private:
    Platform& platform_;
    const RemovalOutput& out_;
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

}  // namespace

int RemoveFromCommandLine(Platform& platform, const std::vector<std::string>& args, const RemovalOutput& out,
                          std::string& error) {
    bool list = false, all = false;
    std::vector<std::string> names;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--list") {
            list = true;
        } else if (args[i] == "--all") {
            all = true;
        } else if (args[i] == "--remove") {
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) names.push_back(args[++i]);
            if (names.empty()) {
                error = "--remove needs the names of the components";
                return kRemovalBadOptions;
            }
        } else {
            error = "unknown option " + args[i];
            return kRemovalBadOptions;
        }
    }
    if (int(list) + int(all) + int(!names.empty()) != 1) {
        error = "give one of --list, --remove NAME... and --all";
        return kRemovalBadOptions;
    }

    UninstallText messages(platform, "Message");
    UninstallIniLocation ini = LocateUninstallIni(platform);
    if (ini.errorKey != nullptr) {
        out(TextOrKey(messages, ini.errorKey));
        return kRemovalFailed;
    }
    UninstallCatalogue catalogue(platform, DetectUninstallGeneration(platform).generation, ini.path);
    std::vector<std::string> components = RemovableComponents(platform, catalogue);
    if (list) {
        for (const std::string& name : components) out(Describe(platform, catalogue, name));
        return kRemovalDone;
    }
    for (const std::string& name : names) {
        if (std::find(components.begin(), components.end(), name) == components.end()) {
            error = name + " is not a removable component; --list shows them";
            return kRemovalBadOptions;
        }
    }
    if (components.empty()) {
        out(TextOrKey(messages, "IDS_ERR_NOPRINTER"));
        return kRemovalDone;
    }

    PFN_DeletePrinterDriverExA deleteDriverEx = nullptr;
    HMODULE winspool = platform.library.LoadLibraryA("winspool.drv");
    if (winspool != nullptr)
        deleteDriverEx = EntryAs<PFN_DeletePrinterDriverExA>(
            platform.library.GetProcAddress(winspool, "DeletePrinterDriverExA"));
    ConsoleView view(platform, out);
    for (const std::string& name : components)
        view.entries.push_back({name, all || std::find(names.begin(), names.end(), name) != names.end()});
    RemovalEngine engine(platform, messages, catalogue, deleteDriverEx);
    int result = kRemovalFailed;
    if (engine.MayStartRemoval(view)) {
        engine.RemovalThread(view);
        // Done when every chosen component left the list.
        bool left =
            std::any_of(view.entries.begin(), view.entries.end(), [](const auto& e) { return e.checked; });
        result = left ? kRemovalFailed : kRemovalDone;
    }
    if (winspool != nullptr) platform.library.FreeLibrary(winspool);
    return result;
}
