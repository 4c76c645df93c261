// Adding the driver, monitors, print processor and printer to the spooler, and making a printer the default.
#include "setup/engine/SpoolerRegistration.h"

#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "setup/engine/DriverFiles.h"

using namespace win;

namespace {

constexpr DWORD kBroadcastTimeout = 1000;
constexpr DWORD kProcessorAddedPause = 200;
constexpr char kWinspoolLibrary[] = "winspool.drv";

std::string Text(const char* text) { return text != nullptr ? text : ""; }

// Error codes go into messages the way "%d" prints them.
std::string Signed(DWORD error) { return std::to_string(static_cast<int32_t>(error)); }

char* SpoolerEnvironment(const win::Architecture& architecture, PlatformGeneration generation) {
    const GenerationProperties* properties = GetGenerationProperties(generation, architecture);
    return properties != nullptr ? const_cast<char*>(properties->spoolerEnvironment) : nullptr;
}

// Owns a printer handle from OpenPrinterA or AddPrinterA.
class PrinterHandle {
public:
    PrinterHandle(Spooler& spooler, HANDLE handle) : spooler_(spooler), handle_(handle) {}
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;
    ~PrinterHandle() {
        if (handle_ != nullptr) spooler_.ClosePrinter(std::exchange(handle_, nullptr));
    }
    bool Valid() const { return handle_ != nullptr; }
    HANDLE Get() const { return handle_; }

private:
    Spooler& spooler_;
    HANDLE handle_;
};

// Owns a loaded library.
class LibraryHandle {
public:
    LibraryHandle(Library& library, HMODULE module) : library_(library), module_(module) {}
    LibraryHandle(const LibraryHandle&) = delete;
    LibraryHandle& operator=(const LibraryHandle&) = delete;
    ~LibraryHandle() {
        if (module_ != nullptr) library_.FreeLibrary(std::exchange(module_, nullptr));
    }
    bool Valid() const { return module_ != nullptr; }
    HMODULE Get() const { return module_; }

private:
    Library& library_;
    HMODULE module_;
};

// A zeroed block, or null when memory runs out; freed when the owner goes.
std::unique_ptr<BYTE[]> ZeroedBlock(DWORD size) {
    return std::unique_ptr<BYTE[]>(new (std::nothrow) BYTE[size]());
}

// The printer's PRINTER_INFO_2 in a block of the size the spooler asks for.
std::unique_ptr<BYTE[]> ReadPrinterInfo2(Platform& platform, HANDLE printer) {
    DWORD needed = 0;
    if (!platform.spooler.GetPrinterA(printer, 2, nullptr, 0, &needed) &&
        platform.kernel.GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return nullptr;
    if (needed == 0) return nullptr;
    std::unique_ptr<BYTE[]> block = ZeroedBlock(needed);
    if (block == nullptr || !platform.spooler.GetPrinterA(printer, 2, block.get(), needed, &needed))
        return nullptr;
    return block;
}

void BroadcastWinIniChange(Platform& platform, const char* section) {
    DWORD_PTR result = 0;
    platform.windows.SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0,
                                         reinterpret_cast<LPARAM>(section), SMTO_NORMAL, kBroadcastTimeout,
                                         &result);
}

// 98/Me keep the default printer as a printer attribute.
int MakeDefault9x(Platform& platform, const char* printerName) {
    // Changing the attributes needs administer access; 98/Me grant it, NT would refuse a plain open.
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE opened = nullptr;
    if (!platform.spooler.OpenPrinterA(const_cast<LPSTR>(printerName), &opened, &defaults)) return 0;
    PrinterHandle printer(platform.spooler, opened);
    std::unique_ptr<BYTE[]> block = ReadPrinterInfo2(platform, printer.Get());
    if (block == nullptr) return 0;
    reinterpret_cast<PRINTER_INFO_2A*>(block.get())->Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
    BOOL set = platform.spooler.SetPrinterA(printer.Get(), 2, block.get(), 0);
    static const char kWindowsSection[] = "windows";
    BroadcastWinIniChange(platform, kWindowsSection);
    return set ? 1 : 0;
}

// NT 4 keeps it in win.ini's [windows] device as "printer,driver,port".
int MakeDefaultNt4(Platform& platform, const char* printerName) {
    HANDLE opened = nullptr;
    if (!platform.spooler.OpenPrinterA(const_cast<LPSTR>(printerName), &opened, nullptr)) return 0;
    PrinterHandle printer(platform.spooler, opened);
    std::unique_ptr<BYTE[]> block = ReadPrinterInfo2(platform, printer.Get());
    if (block == nullptr) return 0;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(block.get());
    std::string device =
        Text(info->pPrinterName) + "," + Text(info->pDriverName) + "," + Text(info->pPortName);
    BOOL written = platform.profile.WriteProfileStringA("windows", "device", device.c_str());
    BroadcastWinIniChange(platform, nullptr);
    return written ? 1 : 0;
}

// 2000 and later offer SetDefaultPrinterA, which older spoolers lack, so it is looked up at run time.
int MakeDefaultNt5(Platform& platform, const char* printerName) {
    int result = 0;
    {
        LibraryHandle winspool(platform.library, platform.library.LoadLibraryA(kWinspoolLibrary));
        if (winspool.Valid()) {
            FARPROC entry = platform.library.GetProcAddress(winspool.Get(), "SetDefaultPrinterA");
            if (entry != nullptr && EntryAs<PFN_SetDefaultPrinterA>(entry)(printerName)) result = 1;
        }
    }
    BroadcastWinIniChange(platform, nullptr);
    return result;
}

// Adds the planned monitor: its files, AddMonitorA and the version stamp.
int AddPlannedMonitor(SetupContext& context, PlatformGeneration generation, const ComponentPlan& plan,
                      InstallMessage& copyMessage, InstallMessage& message) {
    std::string dllName = plan.file;
    int copied =
        CopyDriverFile(context, dllName, kDestinationSystemDirectory, generation, false, copyMessage);
    if (copied == kDriverFileInUse || copied == kDriverFileAccessDenied) {
        // The system holds an old copy open: install under a second name instead.
        CopyDriverFile(context, dllName, kDestinationSystemDirectory, generation, true, copyMessage);
        dllName = "n" + dllName;
    }
    std::string uiDll = plan.uiFile;
    if (!uiDll.empty())
        CopyDriverFile(context, uiDll, kDestinationSystemDirectory, generation, false, copyMessage);

    std::string name = plan.name;
    std::string environment = plan.environment;
    MONITOR_INFO_2A monitor{&name[0], environment.empty() ? nullptr : &environment[0], &dllName[0]};
    if (!InstallPortMonitor(context, monitor, message)) return kMonitorNotAdded;
    RegistryKey key(context.platform);
    if (key.Open(HKEY_LOCAL_MACHINE, MonitorKeyPath(plan.name.c_str()).c_str()))
        WriteVersionStamp(key, plan.version);
    return 0;
}

// Update or keep an installed one, as VersionStampIsOlder decides, reading the stamp once.
void DecideByStamp(RegistryKey& key, ComponentPlan& plan) {
    plan.stampRead = key.QueryDword(kVersionStampValue, &plan.installedVersion);
    bool older = !plan.stampRead || plan.installedVersion < plan.version;
    plan.action = older ? ComponentAction::kUpdate : ComponentAction::kKeep;
}

// One half of PlanPortMonitor: the COM or the USB monitor of the pair.
ComponentPlan PlanMonitor(Platform& platform, const MONITOR_INFO_2A& info, const char* uiDllName,
                          int32_t version, UpdateFlags olderFlag) {
    ComponentPlan plan;
    plan.name = Text(info.pName);
    plan.environment = Text(info.pEnvironment);
    plan.file = Text(info.pDLLName);
    plan.uiFile = Text(uiDllName);
    plan.version = static_cast<DWORD>(version);
    plan.olderFlag = olderFlag;
    RegistryKey key(platform);
    if (!key.Open(HKEY_LOCAL_MACHINE, MonitorKeyPath(info.pName).c_str())) {
        plan.action = ComponentAction::kAdd;
        return plan;
    }
    DecideByStamp(key, plan);
    return plan;
}

enum class MonitorPort { None, Com, Usb };

// By the substrings the install action classifies ports with, in its order, so that a model name
// containing "COM" or "LPT" does not make a USB port look serial or parallel.
MonitorPort MonitorPortOf(const std::string& portName) {
    if (portName.find("USB_") != std::string::npos) return MonitorPort::Usb;
    if (portName.find("COM") != std::string::npos) return MonitorPort::Com;
    return MonitorPort::None;
}

}  // namespace

std::string MonitorKeyPath(const char* monitorName) { return kMonitorsKey + Text(monitorName); }

std::string PrintProcessorKeyPath(const win::Architecture& architecture, PlatformGeneration generation,
                                  const char* processorName) {
    return std::string(kEnvironmentsKey) + (generation == kGenerationWin98Me ? "Windows 4.0" : architecture.environment) +
           "\\Print Processors\\" + Text(processorName);
}

bool VersionStampIsOlder(RegistryKey& key, DWORD configuredVersion) {
    DWORD stamp = 0;
    if (!key.QueryDword(kVersionStampValue, &stamp)) return true;
    return stamp < configuredVersion;
}

bool WriteVersionStamp(RegistryKey& key, DWORD version) { return key.SetDword(kVersionStampValue, version); }

int InstallPrinterDriver(SetupContext& context, DRIVER_INFO_3A& driver, InstallMessage& message) {
    Platform& platform = context.platform;
    if (platform.spooler.AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver))) return 1;
    DWORD error = platform.kernel.GetLastError();
    message.Set(MessageFor(context.messageText, "IDS_ERR_ADDPRNDRV3") + "   er = " + Signed(error), error);
    return 0;
}

int InstallPortMonitor(SetupContext& context, MONITOR_INFO_2A& monitor, InstallMessage& message) {
    Platform& platform = context.platform;
    if (platform.spooler.AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&monitor))) return 1;
    DWORD error = platform.kernel.GetLastError();
    if (error == ERROR_PRINT_MONITOR_ALREADY_INSTALLED || error == ERROR_ALREADY_EXISTS) return 1;
    message.Set(MessageFor(context.messageText, "IDS_ERR_ADDMONITOR") + " Erro code is:" + Signed(error),
                error);
    return 0;
}

int InstallPrintProcessor(Platform& platform, const char* processorName, const char* fileName,
                          PlatformGeneration generation) {
    std::string name = Text(processorName);
    std::string path = Text(fileName);
    if (platform.spooler.AddPrintProcessorA(nullptr, SpoolerEnvironment(platform.architecture, generation), &path[0], &name[0]))
        return 1;
    DWORD error = platform.kernel.GetLastError();
    if (error == ERROR_INVALID_PARAMETER || error == ERROR_ALREADY_EXISTS ||
        error == ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED)
        return static_cast<int>(error);
    return 0;
}

int CreatePrinter(SetupContext& context, PRINTER_INFO_2A& printer, DWORD level, bool usbPort,
                  std::string& printerName, InstallMessage& message) {
    Platform& platform = context.platform;
    // Copied first: the record may point into the caller's storage.
    const std::string requested = Text(printer.pPrinterName);
    auto tryAdd = [&](std::string name) {
        printerName = std::move(name);
        printer.pPrinterName = &printerName[0];
        PrinterHandle added(platform.spooler,
                            platform.spooler.AddPrinterA(nullptr, level, reinterpret_cast<BYTE*>(&printer)));
        return added.Valid() ? ERROR_SUCCESS : platform.kernel.GetLastError();
    };

    DWORD error = tryAdd(requested);
    if (error == ERROR_PRINTER_ALREADY_EXISTS && !usbPort) {
        for (int n = 1; n <= kPrinterNameSuffixes && error == ERROR_PRINTER_ALREADY_EXISTS; ++n)
            error = tryAdd(requested + "(" + std::to_string(n) + ")");
    }
    if (error == ERROR_SUCCESS) return 1;

    if (error == ERROR_PRINTER_ALREADY_EXISTS)
        message.Set(MessageFor(context.messageText, "IDS_ERR_TOOMANY"), error);
    else
        message.Set(MessageFor(context.messageText, "IDS_ERR_ADDPRINTER") + "er = " + Signed(error), error);
    printerName.clear();
    printer.pPrinterName = &printerName[0];
    return 0;
}

DatatypeOffer PrintProcessorOffersDatatype(Platform& platform, const char* processorName, const char* datatype) {
    std::string name = Text(processorName);
    if (name.empty()) return DatatypeOffer::kUnknown;
    DWORD needed = 0;
    DWORD returned = 0;
    if (platform.spooler.EnumPrintProcessorDatatypesA(nullptr, &name[0], 1, nullptr, 0, &needed, &returned))
        return DatatypeOffer::kNotOffered;  // an empty list
    if (platform.kernel.GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) return DatatypeOffer::kUnknown;
    std::unique_ptr<BYTE[]> types = ZeroedBlock(needed);
    if (types == nullptr || !platform.spooler.EnumPrintProcessorDatatypesA(nullptr, &name[0], 1, types.get(),
                                                                           needed, &needed, &returned))
        return DatatypeOffer::kUnknown;
    const auto* list = reinterpret_cast<const DATATYPES_INFO_1A*>(types.get());
    for (DWORD i = 0; i < returned; ++i)
        if (list[i].pName != nullptr && std::strcmp(list[i].pName, datatype) == 0) return DatatypeOffer::kOffered;
    return DatatypeOffer::kNotOffered;
}

int MakeDefaultPrinter(Platform& platform, const char* printerName) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    platform.kernel.GetVersionExA(&version);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return MakeDefault9x(platform, printerName);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT)
        return version.dwMajorVersion < 5 ? MakeDefaultNt4(platform, printerName)
                                          : MakeDefaultNt5(platform, printerName);
    return 1;
}

int CheckPortList(SetupContext& context, InstallMessage& message) {
    Platform& platform = context.platform;
    BYTE probe[100] = {};
    DWORD needed = 0;
    DWORD returned = 0;
    bool listed = platform.spooler.EnumPortsA(nullptr, 1, probe, 0, &needed, &returned) != FALSE;
    if (!listed && platform.kernel.GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed != 0) {
        std::unique_ptr<BYTE[]> ports = ZeroedBlock(needed);
        listed = ports != nullptr &&
                 platform.spooler.EnumPortsA(nullptr, 1, ports.get(), needed, &needed, &returned) != FALSE;
    }
    if (listed) return 1;
    message.Set(MessageFor(context.messageText, "IDS_ERR_ALLOCMEMORY"));
    return 0;
}

ComponentPlan PlanPortMonitor(SetupContext& context, ModelConfig& config, PrinterClass printerClass,
                              PlatformGeneration generation, const char* portName) {
    const MonitorPort kind = MonitorPortOf(Text(portName));
    if (kind == MonitorPort::None) return ComponentPlan{};

    config.SetPrinterClass(printerClass);
    MonitorPair pair{};
    config.GetMonitorInfo(generation, pair);

    if (kind == MonitorPort::Com) {
        if (Text(pair.comMonitor.pDLLName).empty() || generation == kGenerationWin98Me)
            return ComponentPlan{};
        return PlanMonitor(context.platform, pair.comMonitor, pair.comUiDllName, pair.comVersion,
                           kComMonitorOlder);
    }
    if (Text(pair.usbMonitor.pDLLName).empty() || generation == kGenerationNT4) return ComponentPlan{};
    return PlanMonitor(context.platform, pair.usbMonitor, pair.usbUiDllName, pair.usbVersion,
                       kUsbMonitorOlder);
}

int EnsurePortMonitor(SetupContext& context, ModelConfig& config, PrinterClass printerClass,
                      PlatformGeneration generation, const char* portName, InstallMessage& message) {
    return CarryOutPortMonitorPlan(
        context, generation, PlanPortMonitor(context, config, printerClass, generation, portName), message);
}

int CarryOutPortMonitorPlan(SetupContext& context, PlatformGeneration generation, const ComponentPlan& plan,
                            InstallMessage& message) {
    switch (plan.action) {
        case ComponentAction::kAdd:
            if (plan.olderFlag == kUsbMonitorOlder) {
                // The USB kit's files may legitimately be absent; only the monitor's own failure counts.
                InstallMessage scratch;
                return AddPlannedMonitor(context, generation, plan, scratch, message);
            }
            return AddPlannedMonitor(context, generation, plan, message, message);
        case ComponentAction::kUpdate:
            return plan.olderFlag;
        default:
            return 0;
    }
}

namespace {

// True when the processor's file is not in the spooler's processor directory. Wine keeps a processor that
// DeletePrintProcessorA was asked to remove while the removal deletes its file; a processor left so is
// put back in place by the update path.
bool ProcessorFileMissing(Platform& platform, PlatformGeneration generation, const std::string& file) {
    if (file.empty()) return false;
    std::vector<BYTE> buffer(2 * MAX_PATH, 0);
    DWORD needed = 0;
    if (!platform.spooler.GetPrintProcessorDirectoryA(nullptr, SpoolerEnvironment(platform.architecture, generation), 1, buffer.data(),
                                                      static_cast<DWORD>(buffer.size()), &needed))
        return false;
    const char* text = reinterpret_cast<const char*>(buffer.data());
    std::string directory(text, strnlen(text, buffer.size()));
    return platform.files.GetFileAttributesA((directory + "\\" + file).c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

ComponentPlan PlanPrintProcessor(SetupContext& context, PlatformGeneration generation,
                                 const char* processorName, const char* processorFile) {
    Platform& platform = context.platform;
    ComponentPlan plan;
    plan.name = Text(processorName);
    plan.file = Text(processorFile);
    plan.version = static_cast<DWORD>(ModelConfig(platform).GetProcessorVersion());
    plan.olderFlag = kProcessorOlder;
    if (plan.name == kSystemPrintProcessor) return plan;
    RegistryKey key(platform);
    if (!key.Open(HKEY_LOCAL_MACHINE, PrintProcessorKeyPath(platform.architecture, generation, plan.name.c_str()).c_str())) {
        plan.action = ComponentAction::kAdd;
        return plan;
    }
    DecideByStamp(key, plan);
    if (plan.action == ComponentAction::kKeep && ProcessorFileMissing(platform, generation, plan.file)) {
        plan.action = ComponentAction::kUpdate;
        plan.fileMissing = true;
    }
    return plan;
}

int EnsurePrintProcessor(SetupContext& context, PlatformGeneration generation, const char* processorName,
                         const char* processorFile, InstallMessage& message) {
    return CarryOutPrintProcessorPlan(
        context, generation, PlanPrintProcessor(context, generation, processorName, processorFile), message);
}

int CarryOutPrintProcessorPlan(SetupContext& context, PlatformGeneration generation,
                               const ComponentPlan& plan, InstallMessage& message) {
    Platform& platform = context.platform;
    if (plan.action == ComponentAction::kUpdate) return kProcessorOlder;
    if (plan.action != ComponentAction::kAdd) return 0;

    std::string file = plan.file;
    if (!file.empty()) {
        InstallMessage scratch;
        CopyDriverFile(context, file, kDestinationProcessorDirectory, generation, false, scratch);
    }
    if (InstallPrintProcessor(platform, plan.name.c_str(), file.c_str(), generation) != 1) {
        // Still the spooler's error: nothing called Windows since.
        DWORD error = platform.kernel.GetLastError();
        message.Set(MessageFor(context.messageText, "IDS_ERR_ADDPROCESSOR"), error);
        return kProcessorNotAdded;
    }
    RegistryKey key(platform);
    if (key.Open(HKEY_LOCAL_MACHINE, PrintProcessorKeyPath(platform.architecture, generation, plan.name.c_str()).c_str()))
        WriteVersionStamp(key, plan.version);
    // Let the spooler settle on the new processor before a printer names it.
    platform.clock.Sleep(kProcessorAddedPause);
    return 0;
}

void StartSpooler(Platform& platform, InstallMessage& message) {
    std::string text;
    StartSpooler(platform, text);
    if (!text.empty()) message.Set(std::move(text));
}

bool WaitForSpooler(Platform& platform, InstallMessage& message) {
    std::string text;
    bool running = WaitForSpooler(platform, text);
    if (!running) message.Set(std::move(text));
    return running;
}
