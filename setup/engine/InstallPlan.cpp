// The plan of an installation: the sequence's decisions, each taken from the same reads, told as lines.
#include "setup/engine/InstallPlan.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "platform/Architecture.h"
#include "setup/engine/DriverFiles.h"
#include "setup/engine/FixedDriverFiles.h"
#include "setup/engine/UsbDriverInstaller.h"
#include "shared/PrinterInfo.h"

namespace {

std::string Text(const char* text) { return text != nullptr ? text : ""; }

std::string CurrentFolder(win::Platform& platform) {
    std::vector<char> path(win::MAX_PATH, '\0');
    win::DWORD length = platform.files.GetCurrentDirectoryA(win::MAX_PATH, path.data());
    return length > 0 && length < win::MAX_PATH ? std::string(path.data(), length) : "";
}

bool FileExists(win::Platform& platform, const std::string& path) {
    win::DWORD attributes = platform.files.GetFileAttributesA(path.c_str());
    return attributes != win::INVALID_FILE_ATTRIBUTES && (attributes & win::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool PrinterExists(win::Platform& platform, const std::string& name) {
    win::PRINTER_DEFAULTSA defaults{nullptr, nullptr, win::PRINTER_ACCESS_USE};
    win::HANDLE opened = nullptr;
    if (!platform.spooler.OpenPrinterA(const_cast<win::LPSTR>(name.c_str()), &opened, &defaults))
        return false;
    PrinterHandle printer(platform.spooler, opened);
    return true;
}

// The model files give "0" for a file that is not set.
bool IsSet(const std::string& file) { return !file.empty() && file[0] != '0'; }

std::string Version(const ComponentPlan& plan) {
    if (plan.fileMissing) return "version " + std::to_string(plan.installedVersion) + " without its file";
    return plan.stampRead ? "version " + std::to_string(plan.installedVersion) : "no version stamp";
}

// The update of a monitor or processor: 98/Me register the copy, the NT family swaps it with the spooler
// stopped.
std::string UpdateLine(const std::string& kind, const ComponentPlan& plan, const std::string& dll,
                       const std::string& directory, PlatformGeneration generation) {
    std::string line = "update " + kind + " " + plan.name + " (" + Version(plan) + " installed, " +
                       std::to_string(plan.version) + " on the medium): ";
    if (generation == kGenerationWin98Me)
        return line + "copy " + dll + " to " + directory + " (as n" + plan.file +
               " when Windows holds the old one) and register it";
    return line + "stop the spooler, copy " + dll + " to " + directory + ", stamp it, start the spooler";
}

class Planner {
public:
    Planner(SetupContext& context, InstallRecord& record, bool changeId)
        : context_(context),
          platform_(context.platform),
          record_(record),
          changeId_(changeId),
          generation_(record.generation) {}

    InstallPlan Plan();

private:
    void Add(std::string line) { plan_.lines.push_back(std::move(line)); }
    void Stop(const std::string& line) {
        Add(line + ": the installation would stop here");
        plan_.wouldFail = true;
    }
    // "X" of a file on the medium, or the stop when it is missing there.
    bool MediumFile(const std::string& name, std::string* path) {
        *path = MediumPathOfDriverFile(platform_, name, generation_);
        if (FileExists(platform_, *path)) return true;
        Stop(*path + " is not on the medium");
        return false;
    }
    void PlanUsbSteps();
    ComponentAction PlanMonitor();
    void PlanProcessor(ComponentAction monitorAction);
    void PlanFiles();
    void PlanDriverAndPrinter();
    void PlanSettings();

    SetupContext& context_;
    win::Platform& platform_;
    InstallRecord& record_;
    bool changeId_;
    PlatformGeneration generation_;
    InstallPlan plan_;
};

InstallPlan Planner::Plan() {
    const GenerationProperties* properties = GetGenerationProperties(generation_, platform_.architecture);
    const bool x64 = platform_.architecture.is64Bit && generation_ != kGenerationWin98Me;
    Add("install " + record_.modelName + " for " + (properties != nullptr ? properties->radioLabel : "?") +
        (x64 ? " (x64)" : "") + " from the medium " + CurrentFolder(platform_));
    if (record_.portKind == kPortKindUsb) PlanUsbSteps();
    PlanProcessor(PlanMonitor());
    PlanFiles();
    PlanDriverAndPrinter();
    PlanSettings();
    return plan_;
}

void Planner::PlanUsbSteps() {
    if (UsbDriverInstallNeeded(platform_))
        Add("run the USB driver installer " + CurrentFolder(platform_) + "\\" + platform_.architecture.usbDriverKit +
            "\\Install.exe first: Windows' USB driver is missing or older than the medium's");
    Add("read the connected USB printer's ID and match it to " + record_.portName +
        (changeId_ ? ", changing the ID where it differs (--change-id yes)"
                   : "; where it differs the installation stops with the question (--change-id no)"));
}

ComponentAction Planner::PlanMonitor() {
    ComponentPlan monitor = PlanPortMonitor(context_, record_.modelConfig, record_.printerClass, generation_,
                                            record_.portName.c_str());
    const std::string system = DestinationDirectoryOf(platform_, kDestinationSystemDirectory);
    std::string dll;
    switch (monitor.action) {
        case ComponentAction::kNone:
            Add("no port monitor to add for " + record_.portName);
            break;
        case ComponentAction::kAdd: {
            if (!MediumFile(monitor.file, &dll)) break;
            std::string ui;
            if (IsSet(monitor.uiFile) && !MediumFile(monitor.uiFile, &ui)) break;
            Add("add port monitor " + monitor.name + ": copy " + dll + (ui.empty() ? "" : " and " + ui) +
                " to " + system);
            break;
        }
        case ComponentAction::kUpdate:
            if (!MediumFile(monitor.file, &dll)) break;
            Add(UpdateLine("port monitor", monitor, dll, system, generation_));
            break;
        case ComponentAction::kKeep:
            Add("keep port monitor " + monitor.name + ", " + Version(monitor));
            break;
    }
    return monitor.action;
}

void Planner::PlanProcessor(ComponentAction monitorAction) {
    ComponentPlan processor = PlanPrintProcessor(context_, generation_, record_.printer.pPrintProcessor,
                                                 record_.fileSet.Slot(DriverFileSet::kProcessorDll));
    const std::string directory = DestinationDirectoryOf(platform_, kDestinationProcessorDirectory);
    std::string dll;
    switch (processor.action) {
        case ComponentAction::kNone:
            Add("use Windows' own print processor " + processor.name);
            break;
        case ComponentAction::kAdd:
            if (IsSet(processor.file) && !MediumFile(processor.file, &dll)) break;
            Add("add print processor " + processor.name +
                (dll.empty() ? "" : ": copy " + dll + " to " + directory));
            break;
        case ComponentAction::kUpdate:
            // One update a run, the monitor's first.
            if (monitorAction == ComponentAction::kUpdate) {
                Add("print processor " + processor.name + " (" + Version(processor) +
                    " installed) is older than the medium's; a later run updates it, after the port monitor");
                break;
            }
            if (!MediumFile(processor.file, &dll)) break;
            Add(UpdateLine("print processor", processor, dll, directory, generation_));
            break;
        case ComponentAction::kKeep:
            Add("keep print processor " + processor.name + ", " + Version(processor));
            break;
    }
}

void Planner::PlanFiles() {
    const std::string directory = DestinationDirectoryOf(platform_, kDestinationDriverDirectory);
    const size_t required[] = {DriverFileSet::kConfigFile, DriverFileSet::kDataFile,
                               DriverFileSet::kDriverPath, DriverFileSet::kHelpFile};
    for (size_t slot : required)
        if (record_.fileSet.Slot(slot)[0] == '\0') return Stop("the model file leaves a driver file unnamed");
    std::vector<std::string> names;
    for (size_t slot : required) names.push_back(record_.fileSet.Slot(slot));
    for (size_t slot : {DriverFileSet::kDataFileDll, DriverFileSet::kOemUiDll, DriverFileSet::kOemUnidrvDll,
                        DriverFileSet::kOemUnidrvIni}) {
        const char* name = record_.fileSet.Slot(slot);
        if (name[0] != '\0' && name[0] != '0') names.push_back(name);
    }
    const std::string& model = record_.modelName;
    const bool usesDdk =
        record_.modelConfig.UsesDdkDependentFiles(model.c_str(), generation_, record_.driverKind);
    if (FixedDriverFileApplies(kColourLibraryFile, model, generation_, usesDdk))
        names.push_back(GetFixedDriverFile(kColourLibraryFile).name);
    for (const std::string& name : names) {
        if (const char* store = SystemStoreOfDriverFile(name, generation_)) {
            Add("copy Windows' own " + name + " from its " + store + " to " + directory);
            continue;
        }
        std::string path;
        if (MediumFile(name, &path)) Add("copy " + path + " to " + directory);
    }

    if (generation_ == kGenerationWin98Me) {
        Add(std::string("copy ") + GetFixedDriverFile(kIconLibraryFile).name + " to " + directory +
            " and restore " + GetFixedDriverFile(kUnidriverFile).name + " in " +
            DestinationDirectoryOf(platform_, kDestinationSystemDirectory) +
            " from Sysbckup when it is missing");
    } else if (generation_ >= kGenerationWin2000 && usesDdk) {
        Add("restore Windows' own TTFSUB.GPD, STDNAMES.GPD and UNIRES.DLL in " + directory);
    }
    if (usesDdk && record_.fileSet.Slot(DriverFileSet::kDataFileDll)[0] == '\0')
        Stop("the model needs Windows' unidriver files but names no data file DLL");
}

void Planner::PlanDriverAndPrinter() {
    const win::DRIVER_INFO_3A& driver = record_.driver;
    std::string files = Text(driver.pDriverPath) + ", " + Text(driver.pDataFile) + ", " +
                        Text(driver.pConfigFile) + ", " + Text(driver.pHelpFile);
    for (const char* file = driver.pDependentFiles; file != nullptr && *file != '\0';
         file += std::strlen(file) + 1)
        files += std::string(", ") + file;
    Add("add printer driver " + Text(driver.pName) + " (" +
        (driver.pEnvironment != nullptr ? driver.pEnvironment : platform_.architecture.environment) + ", version " +
        std::to_string(driver.cVersion) + "): " + files);

    const std::string port = Text(record_.printer.pPortName);
    const bool usb = record_.portKind == kPortKindUsb;
    if (usb)
        Add("mark USB port " + port +
            " as used and refresh the USB port records under HKLM\\SOFTWARE\\TARNOVA");

    // As the spooler would name it: a taken name gets (1) to (98), except on a USB port.
    std::string name = record_.printerName;
    if (PrinterExists(platform_, name)) {
        if (usb) return Stop("a printer named " + name + " exists, and a USB port takes no second one");
        std::string free;
        for (int n = 1; n <= kPrinterNameSuffixes && free.empty(); ++n) {
            std::string candidate = name + "(" + std::to_string(n) + ")";
            if (!PrinterExists(platform_, candidate)) free = candidate;
        }
        if (free.empty()) return Stop("every name from " + name + " to " + name + "(98) is taken");
        name = free;
    }
    plan_.printerName = name;
    Add("add printer " + name + " on port " + port + " with driver " + Text(record_.printer.pDriverName) +
        " and print processor " + Text(record_.printer.pPrintProcessor));
    if (record_.setAsDefault) Add("make " + name + " the default printer");
}

void Planner::PlanSettings() {
    size_t com = record_.portName.find("COM");
    if (record_.portKind == kPortKindSerial && com != std::string::npos) {
        SerialSettings serial = record_.serial;
        serial.parity = static_cast<char>(std::tolower(static_cast<unsigned char>(serial.parity)));
        Add("write the serial settings of " + record_.portName.substr(com) + " " +
            SerialSettingsText(serial) +
            (generation_ == kGenerationWin98Me
                 ? " (the port's settings and win.ini [Ports])"
                 : " (HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports)"));
    }
    if (generation_ == kGenerationWin98Me)
        Add("restart Windows afterwards: 98 and Me take the new port and driver at a restart");
}

}  // namespace

InstallPlan PlanInstallation(SetupContext& context, InstallRecord& record, bool changeId) {
    return Planner(context, record, changeId).Plan();
}
