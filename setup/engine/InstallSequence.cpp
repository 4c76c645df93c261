// The install sequence: monitor and processor, their updates with the spooler stopped, the driver files,
// the driver, the printer, the default printer and the serial settings, in this order.
#include "setup/engine/InstallSequence.h"

#include <cctype>
#include <cstring>

#include "setup/engine/DriverFiles.h"
#include "setup/engine/FixedDriverFiles.h"
#include "shared/RegistryKey.h"

namespace {

constexpr win::DWORD kDirectorySize = 256;
constexpr char kPrinterPortKey[] = "SOFTWARE\\TARNOVA\\PRINTERPORT\\";

bool IsInUse(int result) { return result == kDriverFileInUse || result == kDriverFileAccessDenied; }

class Sequence {
public:
    explicit Sequence(InstallThreadArgs& args)
        : args_(args), context_(args.context), platform_(args.context.platform), record_(args.record),
          message_(args.message) {}

    // The steps in order; false as soon as one fails.
    bool Run();

private:
    bool Fail(const char* key) {
        message_.Set(MessageFor(context_.messageText, key));
        return false;
    }
    // Copies a file of the medium and tells whether the message is still empty. A target Windows holds
    // stays as it is.
    bool CopyAndCheck(std::string name, DestinationCode destination) {
        int result = CopyDriverFile(context_, name, destination, record_.generation, false, message_);
        if (IsInUse(result)) Held(name, destination);
        if (Reporting()) {
            const std::string directory = DestinationDirectoryOf(platform_, destination);
            if (!message_.Empty())
                Failed("copy " + name + " to " + directory);
            else if (IsInUse(result))
                Step("left " + name + " in " + directory + ": Windows holds the old one until it restarts");
            else if (result == kDriverFileCopied)
                Step("copied " + name + " to " + directory);
        }
        return message_.Empty();
    }
    bool Reporting() const { return args_.steps != nullptr; }
    void Held(const std::string& name, DestinationCode destination) {
        record_.heldFiles.push_back(DestinationDirectoryOf(platform_, destination) + "\\" + name);
    }
    void Step(const std::string& text, win::DWORD error = 0) {
        if (args_.steps != nullptr) args_.steps->Step(text, error);
    }
    // The line of a failed step, from the message it left: "add printer X failed: ...".
    bool Failed(const std::string& step) {
        Step(step + " failed: " + message_.Text(), message_.Error());
        return false;
    }
    void ReportPlan(const char* kind, const ComponentPlan& plan);
    // A copy that is retried under the "n" name when the target is in use; false when both attempts found
    // the target in use. Otherwise the name holds the one to register, whatever the copy gave.
    bool CopyWithInUseRetry(std::string& name, DestinationCode destination);

    bool UpdateWithSpoolerStopped(win::DWORD processorVersion);
    bool CopyProcessorOverInstalledOne(const std::string& processorDirectory, win::DWORD processorVersion);
    bool UpdateOn98(win::DWORD processorVersion);
    bool CopyDriverFiles();
    void WriteSerialSettings();
    // Starts the service again after an update failed, so the machine is not left unable to print.
    bool FailWithSpoolerStarted() {
        std::string ignored;
        StartSpooler(platform_, ignored);
        return false;
    }

    const char* Slot(size_t offset) const { return record_.fileSet.Slot(offset); }

    InstallThreadArgs& args_;
    SetupContext& context_;
    win::Platform& platform_;
    InstallRecord& record_;
    InstallMessage& message_;
};

bool Sequence::CopyWithInUseRetry(std::string& name, DestinationCode destination) {
    std::string first = name;
    int result = CopyDriverFile(context_, first, destination, record_.generation, false, message_);
    if (!IsInUse(result)) {
        name = first;
        return true;
    }
    Held(first, destination);
    std::string second = name;
    if (IsInUse(CopyDriverFile(context_, second, destination, record_.generation, true, message_)))
        return false;
    name = "n" + second;
    return true;
}

void Sequence::ReportPlan(const char* kind, const ComponentPlan& plan) {
    const std::string component = std::string(kind) + " " + plan.name;
    switch (plan.action) {
    case ComponentAction::kAdd:
        Step("added " + component);
        break;
    case ComponentAction::kUpdate:
        if (plan.fileMissing) {
            Step("found " + component + " without its file " + plan.file);
            break;
        }
        Step("found " + component + " older (" +
             (plan.stampRead ? "version " + std::to_string(plan.installedVersion) : "no version stamp") +
             " installed, " + std::to_string(plan.version) + " on the medium)");
        break;
    case ComponentAction::kKeep:
        Step("kept " + component + ", version " + std::to_string(plan.installedVersion));
        break;
    case ComponentAction::kNone:
        break;
    }
}

bool Sequence::Run() {
    const PlatformGeneration generation = record_.generation;
    record_.updateFlags = 0;
    record_.heldFiles.clear();

    ComponentPlan monitorPlan = PlanPortMonitor(context_, record_.modelConfig, record_.printerClass,
                                                generation, record_.portName.c_str());
    int monitor = CarryOutPortMonitorPlan(context_, generation, monitorPlan, message_);
    if (monitor == kMonitorNotAdded) return Failed("add port monitor " + monitorPlan.name);
    ReportPlan("port monitor", monitorPlan);
    record_.updateFlags = monitor;

    ComponentPlan processorPlan = PlanPrintProcessor(context_, generation, record_.printer.pPrintProcessor,
                                                     Slot(DriverFileSet::kProcessorDll));
    int processor = CarryOutPrintProcessorPlan(context_, generation, processorPlan, message_);
    if (processor == kProcessorNotAdded) return Failed("add print processor " + processorPlan.name);
    ReportPlan("print processor", processorPlan);
    record_.updateFlags |= processor;

    const win::DWORD processorVersion = static_cast<win::DWORD>(record_.modelConfig.GetProcessorVersion());

    // One update a run, the monitor's first.
    const std::string updated = (record_.updateFlags & (kComMonitorOlder | kUsbMonitorOlder))
                                    ? "port monitor " + monitorPlan.name
                                    : "print processor " + processorPlan.name;
    if (record_.updateFlags != 0 && generation >= kGenerationNT4 && generation <= kGenerationVista) {
        if (!UpdateWithSpoolerStopped(processorVersion))
            return Failed("update " + updated + " with the spooler stopped");
        Step("updated " + updated + " with the spooler stopped");
    }
    if (record_.updateFlags != 0 && generation == kGenerationWin98Me) {
        if (!UpdateOn98(processorVersion)) return Failed("update " + updated);
        Step("updated " + updated);
    }

    if (record_.portKind == kPortKindUsb && !CheckPortList(context_, message_))
        return Failed("list the ports");

    if (!CopyDriverFiles()) return false;

    const bool usesDdk = record_.modelConfig.UsesDdkDependentFiles(record_.modelName.c_str(), generation,
                                                                   record_.driverKind);
    // Failed fix-ups stay in the message without stopping the installation.
    RestoreSystemDriverFiles(context_, generation, usesDdk, message_);
    if (!message_.Empty()) Failed("restore Windows' own driver files");

    if (FixedDriverFileApplies(kColourLibraryFile, record_.modelName, generation, usesDdk)) {
        if (!CopyAndCheck(GetFixedDriverFile(kColourLibraryFile).name, kDestinationDriverDirectory))
            return false;
    }
    if (usesDdk && Slot(DriverFileSet::kDataFileDll)[0] == '\0') {
        Fail("IDS_ERR_LOSTDRIVERFILE");
        return Failed("copy the driver files");
    }

    const std::string driver =
        "printer driver " + std::string(record_.driver.pName != nullptr ? record_.driver.pName : "");
    if (!InstallPrinterDriver(context_, record_.driver, message_)) return Failed("add " + driver);
    Step("added " + driver);

    if (record_.portKind == kPortKindUsb) {
        // The port the printer is created on is marked as used.
        RegistryKey key(platform_);
        if (key.Open(win::HKEY_LOCAL_MACHINE, kPrinterPortKey)) key.SetDword(record_.printer.pPortName, 0);
        key.Close();
        Step("marked USB port " + std::string(record_.printer.pPortName) + " as used");
    }

    // Wine cannot open a printer it added without a data type, but a processor that does not offer RAW
    // refuses a printer that names it; so RAW is left out only where the processor's list lacks it. Wine
    // cannot list data types at all, and there RAW is named.
    static char kRaw[] = "RAW";
    bool lacksRaw = PrintProcessorOffersDatatype(platform_, record_.printer.pPrintProcessor, kRaw) ==
                    DatatypeOffer::kNotOffered;
    record_.printer.pDatatype = lacksRaw ? nullptr : kRaw;
    const std::string printerStep =
        "add printer " + record_.printerName + " on port " + record_.printer.pPortName;
    if (!CreatePrinter(context_, record_.printer, 2, record_.portKind == kPortKindUsb, record_.printerName,
                       message_))
        return Failed(printerStep);
    record_.modelName = record_.printerName.substr(0, kModelNameSize - 1);
    // Without a message the install action would show the empty buffer as success.
    if (record_.modelName.empty()) {
        Fail("IDS_ERR_ADDPRINTER");
        return Failed(printerStep);
    }
    Step("added printer " + record_.modelName + " on port " + record_.printer.pPortName);

    if (record_.setAsDefault) {
        bool made = MakeDefaultPrinter(platform_, record_.modelName.c_str()) != 0;
        win::DWORD error = made ? 0 : platform_.kernel.GetLastError();
        Step(made ? "made " + record_.modelName + " the default printer"
                  : "make " + record_.modelName + " the default printer failed",
             error);
    }

    if (record_.portKind == kPortKindSerial) WriteSerialSettings();

    if (generation >= kGenerationNT4 && generation <= kGenerationVista)
        message_.Set(MessageFor(context_.messageText,
                                record_.portKind == kPortKindUsb ? "IDS_INF_USBRESTART" : "IDS_INF_NTRESTART"));
    return true;
}

bool Sequence::UpdateWithSpoolerStopped(win::DWORD processorVersion) {
    const PlatformGeneration generation = record_.generation;
    std::string processorDirectory;
    if (record_.updateFlags & kProcessorOlder) {
        char directory[kDirectorySize] = {};
        win::DWORD needed = 0;
        if (!platform_.spooler.GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<win::BYTE*>(directory),
                                                           kDirectorySize, &needed))
            return Fail("IDS_ERR_GETPRODIR");
        processorDirectory = directory;
    }

    StopSpooler(platform_);
    platform_.clock.Sleep(kAfterStopPause);

    MonitorPair pair{};
    record_.modelConfig.SetPrinterClass(record_.printerClass);
    record_.modelConfig.GetMonitorInfo(generation, pair);

    RegistryKey key(platform_);
    if (record_.updateFlags & kComMonitorOlder) {
        if (!CopyAndCheck(pair.comMonitor.pDLLName, kDestinationSystemDirectory)) return FailWithSpoolerStarted();
        if (key.Open(win::HKEY_LOCAL_MACHINE, MonitorKeyPath(pair.comMonitor.pName).c_str()))
            key.SetDword(kVersionStampValue, static_cast<win::DWORD>(pair.comVersion));
    } else if (record_.updateFlags & kUsbMonitorOlder) {
        // The copy leaves the name upper-cased, the form the monitor is registered under.
        std::string dll = pair.usbMonitor.pDLLName;
        int copied =
            CopyDriverFile(context_, dll, kDestinationSystemDirectory, record_.generation, false, message_);
        if (!message_.Empty()) return FailWithSpoolerStarted();
        if (IsInUse(copied)) Held(dll, kDestinationSystemDirectory);
        if (key.Open(win::HKEY_LOCAL_MACHINE, MonitorKeyPath(pair.usbMonitor.pName).c_str())) {
            key.SetString("Driver", dll.c_str());
            key.SetDword(kVersionStampValue, static_cast<win::DWORD>(pair.usbVersion));
        }
    } else if (record_.updateFlags & kProcessorOlder) {
        if (!CopyProcessorOverInstalledOne(processorDirectory, processorVersion)) return FailWithSpoolerStarted();
    }
    key.Close();

    StartSpooler(platform_, message_);
    if (generation == kGenerationNT4 || generation == kGenerationWin2000)
        platform_.clock.Sleep(kAfterStartPauseNt4And2000);
    else if (generation == kGenerationXP || generation == kGenerationServer2003)
        platform_.clock.Sleep(kAfterStartPauseXpAnd2003);
    StartSpooler(platform_, message_);
    platform_.clock.Sleep(kBeforeWaitPause);
    if (!WaitForSpooler(platform_, message_)) {
        StartSpooler(platform_, message_);
        return false;
    }
    return true;
}

bool Sequence::CopyProcessorOverInstalledOne(const std::string& processorDirectory,
                                             win::DWORD processorVersion) {
    const std::string file = Slot(DriverFileSet::kProcessorDll);
    char current[kDirectorySize] = {};
    win::DWORD length = platform_.files.GetCurrentDirectoryA(kDirectorySize, current);
    if (length == 0 || length >= kDirectorySize) return Fail("IDS_ERR_GETCURDIR");
    const std::string source = std::string(current) + GetGenerationProperties(record_.generation, platform_.architecture)->sourceDirectory + file;
    // The name comes from the medium: only a plain name may be joined to the system's directory.
    if (!IsPlainFileName(file) ||
        !platform_.files.CopyFileA(source.c_str(), (processorDirectory + "\\" + file).c_str(), win::FALSE)) {
        message_.Set(MessageFor(context_.messageText, "IDS_ERR_COPYFIEL") + source);
        return false;
    }
    RegistryKey key(platform_);
    if (key.Open(win::HKEY_LOCAL_MACHINE,
                 PrintProcessorKeyPath(platform_.architecture, kGenerationXP, record_.printer.pPrintProcessor).c_str()))
        key.SetDword(kVersionStampValue, processorVersion);
    return true;
}

bool Sequence::UpdateOn98(win::DWORD processorVersion) {
    RegistryKey key(platform_);
    if (record_.updateFlags & kUsbMonitorOlder) {
        MonitorPair pair{};
        record_.modelConfig.SetPrinterClass(record_.printerClass);
        record_.modelConfig.GetMonitorInfo(record_.generation, pair);
        key.OpenOrCreate(win::HKEY_LOCAL_MACHINE, MonitorKeyPath(pair.usbMonitor.pName).c_str());
        std::string used = pair.usbMonitor.pDLLName;
        if (!CopyWithInUseRetry(used, kDestinationSystemDirectory)) return Fail("IDS_ERR_NEEDRESTART");
        key.SetString("Driver", used.c_str());
        key.SetDword(kVersionStampValue, static_cast<win::DWORD>(pair.usbVersion));
    } else if (record_.updateFlags & kProcessorOlder) {
        key.OpenOrCreate(win::HKEY_LOCAL_MACHINE,
                         PrintProcessorKeyPath(platform_.architecture, kGenerationWin98Me, record_.printer.pPrintProcessor).c_str());
        std::string used = Slot(DriverFileSet::kProcessorDll);
        if (!CopyWithInUseRetry(used, kDestinationProcessorDirectory)) return Fail("IDS_ERR_NEEDRESTART");
        key.SetString("Driver", used.c_str());
        key.SetDword(kVersionStampValue, processorVersion);
    }
    key.Close();
    // A copy that failed for another reason stops here on its own message.
    return message_.Empty();
}

bool Sequence::CopyDriverFiles() {
    const size_t required[] = {DriverFileSet::kConfigFile, DriverFileSet::kDataFile, DriverFileSet::kDriverPath,
                               DriverFileSet::kHelpFile};
    for (size_t slot : required) {
        if (Slot(slot)[0] == '\0') {
            Fail("IDS_ERR_LOSTDRIVERFILE");
            return Failed("copy the driver files");
        }
    }
    for (size_t slot : required)
        if (!CopyAndCheck(Slot(slot), kDestinationDriverDirectory)) return false;
    const size_t further[] = {DriverFileSet::kDataFileDll, DriverFileSet::kOemUiDll, DriverFileSet::kOemUnidrvDll,
                              DriverFileSet::kOemUnidrvIni};
    for (size_t slot : further) {
        const char* name = Slot(slot);
        if (name[0] == '\0' || name[0] == '0') continue;
        if (!CopyAndCheck(name, kDestinationDriverDirectory)) return false;
    }
    return true;
}

void Sequence::WriteSerialSettings() {
    size_t com = record_.portName.find("COM");
    if (com == std::string::npos) return;
    const std::string port = record_.portName.substr(com);
    const int number = port.size() > 3 && std::isdigit(static_cast<unsigned char>(port[3])) ? port[3] - '0' : 0;
    record_.serial.parity = static_cast<char>(std::tolower(static_cast<unsigned char>(record_.serial.parity)));
    if (record_.generation == kGenerationWin98Me)
        Write98SerialSettings(platform_, number, port.c_str(), record_.serial);
    else
        WriteNtSerialSettings(platform_, port.c_str(), record_.serial);
    Step("wrote the serial settings of " + port + " " + SerialSettingsText(record_.serial));
}

}  // namespace

void RunInstallSequence(InstallThreadArgs& args) {
    bool succeeded = Sequence(args).Run();
    args.completionState.store(succeeded ? kCompletionSucceeded : kCompletionFailed);
}
