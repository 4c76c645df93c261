// The simulated print spooler: its state, the checks Windows makes and the way it lays records out.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <functional>

#include "platform/Architecture.h"
#include "platform/sim/SimSpooler.h"

namespace win::sim {

namespace {

constexpr DWORD ERROR_INVALID_USER_BUFFER = 1784;
constexpr DWORD PRINTER_ENUM_NAME = 0x00000008;
constexpr DWORD PRINTER_ENUM_ICON8 = 0x00800000;
const char kMonitorsKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";
const char kEnvironmentsKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";

// The environments Windows knows, with their directory names under spool\drivers and spool\prtprocs.
struct EnvironmentName {
    const char* name;
    const char* directory;
};
const EnvironmentName kEnvironments[] = {
    {"Windows NT x86", "w32x86"},   {"Windows 4.0", "win40"},          {"Windows IA64", "ia64"},
    {"Windows x64", "x64"},         {"Windows NT R4000", "w32mips"},   {"Windows NT Alpha_AXP", "w32alpha"},
    {"Windows NT PowerPC", "w32ppc"},
};

std::string Lower(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool Same(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

bool Empty(LPCSTR text) { return text == nullptr || text[0] == '\0'; }

std::string Text(LPCSTR text) { return text != nullptr ? text : ""; }

bool IsBareName(const std::string& file) { return file.find_first_of("\\/:") == std::string::npos; }

std::string BaseName(const std::string& file) {
    size_t slash = file.find_last_of("\\/");
    return slash == std::string::npos ? file : file.substr(slash + 1);
}

// The string part of a returned buffer. The NT spooler works in Unicode and its A calls report the size
// of the Unicode answer, so there each character counts twice; the strings themselves are written narrow.
class StringArea {
public:
    StringArea(BYTE* base, DWORD offset, DWORD unit) : base_(base), offset_(offset), unit_(unit) {}
    LPSTR Put(const std::string& text) {
        bytes_ += static_cast<DWORD>(text.size() + 1) * unit_;
        if (base_ == nullptr) return nullptr;
        char* at = reinterpret_cast<char*>(base_) + offset_;
        std::memcpy(at, text.c_str(), text.size() + 1);
        offset_ += static_cast<DWORD>(text.size() + 1);
        return at;
    }
    DWORD bytes() const { return bytes_; }

private:
    BYTE* base_;
    DWORD offset_;
    DWORD unit_;
    DWORD bytes_ = 0;
};

// Lays out records first and their strings after them, or fails with 122 and the size needed.
template <typename Record, typename Item, typename Fill>
BOOL Emit(const std::vector<Item>& items, Fill fill, DWORD unit, BYTE* buffer, DWORD size, DWORD* needed,
          DWORD* returned) {
    if (needed == nullptr) {
        SetSimLastError(RPC_X_NULL_REF_POINTER);
        return FALSE;
    }
    DWORD count = static_cast<DWORD>(items.size());
    StringArea measure(nullptr, 0, unit);
    for (const Item& item : items) {
        Record scratch{};
        fill(item, &scratch, measure);
    }
    DWORD total = count * static_cast<DWORD>(sizeof(Record)) + measure.bytes();
    *needed = total;
    if (returned != nullptr) *returned = 0;
    if (size < total) {
        SetSimLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (buffer == nullptr && total > 0) {
        SetSimLastError(ERROR_INVALID_USER_BUFFER);
        return FALSE;
    }
    StringArea area(buffer, count * static_cast<DWORD>(sizeof(Record)), unit);
    for (DWORD i = 0; i < count; ++i) {
        Record record{};
        fill(items[i], &record, area);
        std::memcpy(buffer + i * sizeof(Record), &record, sizeof(Record));
    }
    if (returned != nullptr) *returned = count;
    return TRUE;
}

// A directory answer: one string.
BOOL EmitDirectory(const std::string& directory, BYTE* buffer, DWORD size, DWORD* needed) {
    if (needed == nullptr) {
        SetSimLastError(RPC_X_NULL_REF_POINTER);
        return FALSE;
    }
    *needed = static_cast<DWORD>(directory.size() + 1);
    if (size < *needed || buffer == nullptr) {
        SetSimLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(buffer, directory.c_str(), directory.size() + 1);
    return TRUE;
}

std::vector<std::string> MultiString(LPCSTR list) {
    std::vector<std::string> names;
    if (list == nullptr) return names;
    for (const char* at = list; *at != '\0'; at += std::strlen(at) + 1) names.push_back(at);
    return names;
}

}  // namespace

SimSpooler::SimSpooler(SimWindows& w, Registry& registry, const SimServices* services)
    : w_(w), registry_(registry), services_(services) {
    monitors.push_back(Monitor{"Local Port", "localspl.dll",
                               {"LPT1:", "LPT2:", "LPT3:", "COM1:", "COM2:", "COM3:", "COM4:", "FILE:"}});
    const std::vector<std::string> winPrintTypes = {"RAW", "RAW [FF appended]", "RAW [FF auto]",
                                                    "NT EMF 1.008", "TEXT"};
    processors.push_back(Processor{"WinPrint", w_.architecture.environment, "winprint.dll", winPrintTypes});
    processors.push_back(Processor{"WinPrint", "Windows 4.0", "winprint.dll", {"RAW", "EMF"}});
}

// ---- the machine

bool SimSpooler::IsNt() const { return w_.version.dwPlatformId == VER_PLATFORM_WIN32_NT; }

std::string SimSpooler::NativeEnvironment() const { return IsNt() ? w_.architecture.environment : "Windows 4.0"; }

// The machine's own system directory, so files the spooler loads are where the file functions put them.
std::string SimSpooler::SystemDirectory() const { return w_.systemDirectory; }

std::string SimSpooler::DriverDirectory(const std::string& environment) const {
    if (!IsNt()) return SystemDirectory();
    for (const EnvironmentName& known : kEnvironments) {
        if (Same(known.name, environment)) return SystemDirectory() + "\\spool\\drivers\\" + known.directory;
    }
    return SystemDirectory() + "\\spool\\drivers\\" + w_.architecture.spoolDirectory;
}

std::string SimSpooler::ProcessorDirectory(const std::string& environment) const {
    if (!IsNt()) return SystemDirectory();
    for (const EnvironmentName& known : kEnvironments) {
        if (Same(known.name, environment)) return SystemDirectory() + "\\spool\\prtprocs\\" + known.directory;
    }
    return SystemDirectory() + "\\spool\\prtprocs\\" + w_.architecture.spoolDirectory;
}

void SimSpooler::DefineProcessorDatatypes(const std::string& dllName,
                                          const std::vector<std::string>& datatypes) {
    processorDatatypes_[Lower(dllName)] = datatypes;
}

void SimSpooler::DefineMonitorPorts(const std::string& dllName, const std::vector<std::string>& ports) {
    monitorPorts_[Lower(dllName)] = ports;
}

void SimSpooler::DefineDllWithoutMonitorEntry(const std::string& dllName) {
    dllsWithoutEntry_.push_back(Lower(dllName));
}

SimSpooler::Printer* SimSpooler::FindPrinter(const std::string& name) {
    for (Printer& printer : printers) {
        if (Same(printer.name, name)) return &printer;
    }
    return nullptr;
}

const SimSpooler::Driver* SimSpooler::FindDriver(const std::string& name, const std::string& environment) const {
    for (const Driver& driver : drivers) {
        if (Same(driver.name, name) && Same(driver.environment, environment)) return &driver;
    }
    return nullptr;
}

SimSpooler::Monitor* SimSpooler::FindMonitor(const std::string& name) {
    for (Monitor& monitor : monitors) {
        if (Same(monitor.name, name)) return &monitor;
    }
    return nullptr;
}

const SimSpooler::Processor* SimSpooler::FindProcessor(const std::string& name,
                                                       const std::string& environment) const {
    for (const Processor& processor : processors) {
        if (Same(processor.name, name) && Same(processor.environment, environment)) return &processor;
    }
    return nullptr;
}

bool SimSpooler::PortExists(const std::string& port) const {
    for (const Monitor& monitor : monitors) {
        for (const std::string& name : monitor.ports) {
            if (Same(name, port)) return true;
        }
    }
    return false;
}

bool SimSpooler::DriverInUse(const std::string& name, const std::string& environment) const {
    if (!Same(environment, NativeEnvironment())) return false;
    for (const Printer& printer : printers) {
        if (Same(printer.driverName, name)) return true;
    }
    return false;
}

// ---- common checks

bool SimSpooler::Faulted(const char* operation) {
    DWORD error;
    if (!w_.TakeFault(operation, &error)) return false;
    SetSimLastError(error);
    return true;
}

bool SimSpooler::Unavailable() {
    if (services_ == nullptr || services_->IsRunning("Spooler")) return false;
    SetSimLastError(RPC_S_SERVER_UNAVAILABLE);
    return true;
}

bool SimSpooler::LocalServer(LPCSTR server) {
    if (Empty(server)) return true;
    // Only the local machine is simulated.
    SetSimLastError(ERROR_INVALID_NAME);
    return false;
}

bool SimSpooler::ResolveEnvironment(LPCSTR environment, std::string* canonical) {
    if (Empty(environment)) {
        *canonical = NativeEnvironment();
        return true;
    }
    for (const EnvironmentName& known : kEnvironments) {
        if (Same(known.name, environment)) {
            *canonical = known.name;
            return true;
        }
    }
    SetSimLastError(ERROR_INVALID_ENVIRONMENT);
    return false;
}

void SimSpooler::WriteDriverKey(const std::string& subKey, const std::string& dllName) {
    HKEY key = nullptr;
    if (registry_.RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    registry_.RegSetValueExA(key, "Driver", 0, REG_SZ, reinterpret_cast<const BYTE*>(dllName.c_str()),
                             static_cast<DWORD>(dllName.size() + 1));
    registry_.RegCloseKey(key);
}

void SimSpooler::DeleteKey(const std::string& subKey) { registry_.RegDeleteKeyA(HKEY_LOCAL_MACHINE, subKey.c_str()); }

HANDLE SimSpooler::NewHandle(const std::string& printer, DWORD access) {
    HANDLE handle = reinterpret_cast<HANDLE>(nextHandle_ += 8);
    PrinterHandle opened;
    opened.printer = printer;
    opened.access = access;
    handles_[handle] = opened;
    return handle;
}

SimSpooler::Printer* SimSpooler::PrinterOf(HANDLE handle, PrinterHandle** opened) {
    auto found = handles_.find(handle);
    if (found == handles_.end()) {
        SetSimLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (opened != nullptr) *opened = &found->second;
    Printer* printer = found->second.printer.empty() ? nullptr : FindPrinter(found->second.printer);
    // The print server's own handle, or a printer deleted under the handle.
    if (printer == nullptr) SetSimLastError(ERROR_INVALID_HANDLE);
    return printer;
}

// ---- drivers

bool SimSpooler::DriverFileExists(const std::string& file, const std::string& environment, DWORD version) const {
    if (!IsBareName(file)) return w_.FileExists(file);
    std::string directory = DriverDirectory(environment);
    return w_.FileExists(directory + "\\" + file) || w_.FileExists(directory + "\\" + std::to_string(version) + "\\" + file);
}

BOOL SimSpooler::AddPrinterDriverA(LPSTR server, DWORD level, BYTE* driverInfo) {
    if (Faulted("AddPrinterDriverA") || Unavailable() || !LocalServer(server)) return FALSE;
    if (level != 2 && level != 3) {
        SetSimLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    // Levels 2 and 3 share their first fields.
    const auto* info = reinterpret_cast<const DRIVER_INFO_3A*>(driverInfo);
    if (info == nullptr || Empty(info->pName) || info->pDriverPath == nullptr || info->pDataFile == nullptr ||
        info->pConfigFile == nullptr) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Driver driver;
    if (!ResolveEnvironment(info->pEnvironment, &driver.environment)) return FALSE;
    driver.name = info->pName;
    driver.version = info->cVersion;
    driver.driverPath = info->pDriverPath;
    driver.dataFile = info->pDataFile;
    driver.configFile = info->pConfigFile;
    if (level == 3) {
        driver.helpFile = Text(info->pHelpFile);
        driver.dependentFiles = MultiString(info->pDependentFiles);
        driver.monitorName = Text(info->pMonitorName);
        driver.defaultDataType = Text(info->pDefaultDataType);
    }
    std::vector<std::string> files = {driver.driverPath, driver.dataFile, driver.configFile};
    if (!driver.helpFile.empty()) files.push_back(driver.helpFile);
    files.insert(files.end(), driver.dependentFiles.begin(), driver.dependentFiles.end());
    // The files must be in the driver directory first (MSDN AddPrinterDriver); a missing one gives 2.
    for (const std::string& file : files) {
        if (!DriverFileExists(file, driver.environment, driver.version)) {
            SetSimLastError(ERROR_FILE_NOT_FOUND);
            return FALSE;
        }
    }
    // Adding a driver that exists replaces it.
    drivers.erase(std::remove_if(drivers.begin(), drivers.end(),
                                 [&](const Driver& d) {
                                     return Same(d.name, driver.name) && Same(d.environment, driver.environment) &&
                                            d.version == driver.version;
                                 }),
                  drivers.end());
    drivers.push_back(driver);
    return TRUE;
}

BOOL SimSpooler::RemoveDrivers(const std::string& name, const std::string& environment, bool specificVersion,
                               DWORD version, bool deleteFiles) {
    std::vector<Driver> removed;
    std::vector<Driver> kept;
    for (const Driver& driver : drivers) {
        bool match = Same(driver.name, name) && Same(driver.environment, environment) &&
                     (!specificVersion || driver.version == version);
        (match ? removed : kept).push_back(driver);
    }
    if (removed.empty()) {
        SetSimLastError(ERROR_UNKNOWN_PRINTER_DRIVER);
        return FALSE;
    }
    // ERROR_PRINTER_DRIVER_IN_USE while a printer uses it (MS-RPRN RpcDeletePrinterDriver).
    if (DriverInUse(name, environment) &&
        std::none_of(kept.begin(), kept.end(), [&](const Driver& d) { return Same(d.name, name); })) {
        SetSimLastError(ERROR_PRINTER_DRIVER_IN_USE);
        return FALSE;
    }
    drivers = kept;
    if (!deleteFiles) return TRUE;
    // Files no remaining driver names go with it (MSDN DeletePrinterDriverEx, DPD_DELETE_UNUSED_FILES).
    auto usedElsewhere = [&](const std::string& file) {
        for (const Driver& d : drivers) {
            std::vector<std::string> names = {d.driverPath, d.dataFile, d.configFile, d.helpFile};
            names.insert(names.end(), d.dependentFiles.begin(), d.dependentFiles.end());
            for (const std::string& n : names) {
                if (Same(BaseName(n), BaseName(file))) return true;
            }
        }
        return false;
    };
    for (const Driver& driver : removed) {
        std::vector<std::string> files = {driver.driverPath, driver.dataFile, driver.configFile, driver.helpFile};
        files.insert(files.end(), driver.dependentFiles.begin(), driver.dependentFiles.end());
        for (const std::string& file : files) {
            if (file.empty() || usedElsewhere(file)) continue;
            std::string directory = DriverDirectory(environment);
            std::error_code ignored;
            std::filesystem::remove(w_.HostPath(directory + "\\" + std::to_string(driver.version) + "\\" +
                                                BaseName(file)),
                                    ignored);
            std::filesystem::remove(w_.HostPath(IsBareName(file) ? directory + "\\" + file : file), ignored);
        }
    }
    return TRUE;
}

BOOL SimSpooler::DeletePrinterDriverA(LPSTR server, LPSTR environment, LPSTR driverName) {
    if (Faulted("DeletePrinterDriverA") || Unavailable() || !LocalServer(server)) return FALSE;
    std::string canonical;
    if (!ResolveEnvironment(environment, &canonical)) return FALSE;
    if (Empty(driverName)) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return RemoveDrivers(driverName, canonical, false, 0, false);
}

BOOL SimSpooler::DeletePrinterDriverExA(LPSTR server, LPSTR environment, LPSTR driverName, DWORD deleteFlag,
                                        DWORD versionFlag) {
    if (Faulted("DeletePrinterDriverExA") || Unavailable() || !LocalServer(server)) return FALSE;
    std::string canonical;
    if (!ResolveEnvironment(environment, &canonical)) return FALSE;
    constexpr DWORD kKnownFlags = DPD_DELETE_UNUSED_FILES | DPD_DELETE_SPECIFIC_VERSION | DPD_DELETE_ALL_FILES;
    if (Empty(driverName) || (deleteFlag & ~kKnownFlags) != 0) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return RemoveDrivers(driverName, canonical, (deleteFlag & DPD_DELETE_SPECIFIC_VERSION) != 0, versionFlag,
                         (deleteFlag & (DPD_DELETE_UNUSED_FILES | DPD_DELETE_ALL_FILES)) != 0);
}

BOOL SimSpooler::GetPrinterDriverDirectoryA(LPSTR server, LPSTR environment, DWORD level, BYTE* directory,
                                            DWORD size, DWORD* needed) {
    if (Faulted("GetPrinterDriverDirectoryA") || Unavailable() || !LocalServer(server)) return FALSE;
    std::string canonical;
    if (!ResolveEnvironment(environment, &canonical)) return FALSE;
    if (level != 1) {
        SetSimLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    std::string path = DriverDirectory(canonical);
    // Windows keeps these directories; the simulation makes them when they are first asked for.
    std::error_code ignored;
    std::filesystem::create_directories(w_.HostPath(path), ignored);
    return EmitDirectory(path, directory, size, needed);
}

// ---- monitors and ports

BOOL SimSpooler::AddMonitorA(LPSTR server, DWORD level, BYTE* monitorInfo) {
    if (Faulted("AddMonitorA") || Unavailable() || !LocalServer(server)) return FALSE;
    if (level != 2) {
        SetSimLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    const auto* info = reinterpret_cast<const MONITOR_INFO_2A*>(monitorInfo);
    if (info == nullptr || Empty(info->pName) || Empty(info->pDLLName)) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string environment;
    if (!ResolveEnvironment(info->pEnvironment, &environment)) return FALSE;
    if (!Same(environment, NativeEnvironment())) {
        SetSimLastError(ERROR_INVALID_ENVIRONMENT);
        return FALSE;
    }
    // The spooler loads the DLL from the system directory before it looks at its list.
    std::string dll = info->pDLLName;
    if (!w_.FileExists(IsBareName(dll) ? SystemDirectory() + "\\" + dll : dll)) {
        SetSimLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    if (std::find(dllsWithoutEntry_.begin(), dllsWithoutEntry_.end(), Lower(BaseName(dll))) !=
        dllsWithoutEntry_.end()) {
        SetSimLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    if (FindMonitor(info->pName) != nullptr) {
        SetSimLastError(ERROR_PRINT_MONITOR_ALREADY_INSTALLED);
        return FALSE;
    }
    auto ports = monitorPorts_.find(Lower(BaseName(dll)));
    monitors.push_back(Monitor{info->pName, dll, ports != monitorPorts_.end() ? ports->second : std::vector<std::string>()});
    WriteDriverKey(kMonitorsKey + std::string(info->pName), dll);
    SetSimLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL SimSpooler::DeleteMonitorA(LPSTR server, LPSTR environment, LPSTR monitorName) {
    if (Faulted("DeleteMonitorA") || Unavailable() || !LocalServer(server)) return FALSE;
    std::string canonical;
    if (!ResolveEnvironment(environment, &canonical)) return FALSE;
    if (Empty(monitorName)) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Monitor* monitor = FindMonitor(monitorName);
    if (monitor == nullptr) {
        SetSimLastError(ERROR_UNKNOWN_PRINT_MONITOR);
        return FALSE;
    }
    // ERROR_PRINT_MONITOR_IN_USE while a port of it is in use (MS-RPRN RpcDeleteMonitor).
    for (const Printer& printer : printers) {
        for (const std::string& port : monitor->ports) {
            if (Same(port, printer.portName)) {
                SetSimLastError(ERROR_PRINT_MONITOR_IN_USE);
                return FALSE;
            }
        }
    }
    std::string name = monitor->name;
    monitors.erase(monitors.begin() + (monitor - monitors.data()));
    DeleteKey(kMonitorsKey + name);
    return TRUE;
}

BOOL SimSpooler::EnumMonitorsA(LPSTR server, DWORD level, BYTE* buffer, DWORD size, DWORD* needed,
                               DWORD* returned) {
    if (Faulted("EnumMonitorsA") || Unavailable() || !LocalServer(server)) return FALSE;
    DWORD unit = IsNt() ? 2 : 1;
    std::string environment = NativeEnvironment();
    if (level == 1) {
        return Emit<MONITOR_INFO_1A>(
            monitors, [](const Monitor& m, MONITOR_INFO_1A* r, StringArea& s) { r->pName = s.Put(m.name); }, unit,
            buffer, size, needed, returned);
    }
    if (level == 2) {
        return Emit<MONITOR_INFO_2A>(
            monitors,
            [&](const Monitor& m, MONITOR_INFO_2A* r, StringArea& s) {
                r->pName = s.Put(m.name);
                r->pEnvironment = s.Put(environment);
                r->pDLLName = s.Put(m.dllName);
            },
            unit, buffer, size, needed, returned);
    }
    SetSimLastError(ERROR_INVALID_LEVEL);
    return FALSE;
}

BOOL SimSpooler::EnumPortsA(LPSTR server, DWORD level, BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) {
    if (Faulted("EnumPortsA") || Unavailable() || !LocalServer(server)) return FALSE;
    struct Port {
        std::string name, monitor;
    };
    std::vector<Port> ports;
    for (const Monitor& monitor : monitors) {
        for (const std::string& port : monitor.ports) ports.push_back(Port{port, monitor.name});
    }
    DWORD unit = IsNt() ? 2 : 1;
    if (level == 1) {
        return Emit<PORT_INFO_1A>(
            ports, [](const Port& p, PORT_INFO_1A* r, StringArea& s) { r->pName = s.Put(p.name); }, unit, buffer,
            size, needed, returned);
    }
    if (level == 2) {
        return Emit<PORT_INFO_2A>(
            ports,
            [](const Port& p, PORT_INFO_2A* r, StringArea& s) {
                r->pPortName = s.Put(p.name);
                r->pMonitorName = s.Put(p.monitor);
                r->pDescription = s.Put(p.monitor);
                r->fPortType = PORT_TYPE_WRITE;
            },
            unit, buffer, size, needed, returned);
    }
    SetSimLastError(ERROR_INVALID_LEVEL);
    return FALSE;
}

// ---- print processors

BOOL SimSpooler::AddPrintProcessorA(LPSTR server, LPSTR environment, LPSTR pathName, LPSTR processorName) {
    if (Faulted("AddPrintProcessorA") || Unavailable() || !LocalServer(server)) return FALSE;
    if (Empty(pathName) || Empty(processorName)) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Processor processor{processorName, std::string(), pathName, {"RAW"}};
    if (!ResolveEnvironment(environment, &processor.environment)) return FALSE;
    // The DLL must be in the print-processor directory (MSDN AddPrintProcessor); Windows loads it to check
    // it, and refuses a processor it has with 3005 (MS-RPRN RpcAddPrintProcessor).
    std::string dll = IsBareName(processor.pathName) ? ProcessorDirectory(processor.environment) + "\\" + processor.pathName
                                                     : processor.pathName;
    if (!w_.FileExists(dll)) {
        SetSimLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    if (FindProcessor(processor.name, processor.environment) != nullptr) {
        SetSimLastError(ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED);
        return FALSE;
    }
    auto defined = processorDatatypes_.find(Lower(BaseName(processor.pathName)));
    if (defined != processorDatatypes_.end()) processor.datatypes = defined->second;
    processors.push_back(processor);
    WriteDriverKey(kEnvironmentsKey + processor.environment + "\\Print Processors\\" + processor.name,
                   processor.pathName);
    return TRUE;
}

BOOL SimSpooler::DeletePrintProcessorA(LPSTR server, LPSTR environment, LPSTR processorName) {
    if (Faulted("DeletePrintProcessorA") || Unavailable() || !LocalServer(server)) return FALSE;
    std::string canonical;
    if (!ResolveEnvironment(environment, &canonical)) return FALSE;
    if (Empty(processorName)) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const Processor* processor = FindProcessor(processorName, canonical);
    if (processor == nullptr) {
        SetSimLastError(ERROR_UNKNOWN_PRINTPROCESSOR);
        return FALSE;
    }
    // ERROR_CAN_NOT_COMPLETE while a printer uses it (MS-RPRN RpcDeletePrintProcessor).
    if (Same(canonical, NativeEnvironment())) {
        for (const Printer& printer : printers) {
            if (Same(printer.printProcessor, processorName)) {
                SetSimLastError(ERROR_CAN_NOT_COMPLETE);
                return FALSE;
            }
        }
    }
    std::string name = processor->name;
    processors.erase(processors.begin() + (processor - processors.data()));
    DeleteKey(kEnvironmentsKey + canonical + "\\Print Processors\\" + name);
    return TRUE;
}

BOOL SimSpooler::EnumPrintProcessorsA(LPSTR server, LPSTR environment, DWORD level, BYTE* buffer, DWORD size,
                                      DWORD* needed, DWORD* returned) {
    if (Faulted("EnumPrintProcessorsA") || Unavailable() || !LocalServer(server)) return FALSE;
    std::string canonical;
    if (!ResolveEnvironment(environment, &canonical)) return FALSE;
    if (level != 1) {
        SetSimLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    std::vector<Processor> listed;
    for (const Processor& processor : processors) {
        if (Same(processor.environment, canonical)) listed.push_back(processor);
    }
    return Emit<PRINTPROCESSOR_INFO_1A>(
        listed, [](const Processor& p, PRINTPROCESSOR_INFO_1A* r, StringArea& s) { r->pName = s.Put(p.name); },
        IsNt() ? 2 : 1, buffer, size, needed, returned);
}

BOOL SimSpooler::EnumPrintProcessorDatatypesA(LPSTR server, LPSTR processorName, DWORD level, BYTE* buffer,
                                              DWORD size, DWORD* needed, DWORD* returned) {
    if (Faulted("EnumPrintProcessorDatatypesA") || Unavailable() || !LocalServer(server)) return FALSE;
    const Processor* processor =
        Empty(processorName) ? nullptr : FindProcessor(processorName, NativeEnvironment());
    if (processor == nullptr) {
        SetSimLastError(ERROR_UNKNOWN_PRINTPROCESSOR);
        return FALSE;
    }
    if (level != 1) {
        SetSimLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    return Emit<DATATYPES_INFO_1A>(
        processor->datatypes,
        [](const std::string& t, DATATYPES_INFO_1A* r, StringArea& s) { r->pName = s.Put(t); },
        IsNt() ? 2 : 1, buffer, size, needed, returned);
}

BOOL SimSpooler::GetPrintProcessorDirectoryA(LPSTR server, LPSTR environment, DWORD level, BYTE* directory,
                                             DWORD size, DWORD* needed) {
    if (Faulted("GetPrintProcessorDirectoryA") || Unavailable() || !LocalServer(server)) return FALSE;
    std::string canonical;
    if (!ResolveEnvironment(environment, &canonical)) return FALSE;
    if (level != 1) {
        SetSimLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    std::string path = ProcessorDirectory(canonical);
    std::error_code ignored;
    std::filesystem::create_directories(w_.HostPath(path), ignored);
    return EmitDirectory(path, directory, size, needed);
}

// ---- printers

HANDLE SimSpooler::AddPrinterA(LPSTR server, DWORD level, BYTE* record) {
    if (Faulted("AddPrinterA") || Unavailable() || !LocalServer(server)) return nullptr;
    if (level != 2) {
        SetSimLastError(ERROR_INVALID_LEVEL);
        return nullptr;
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(record);
    if (info == nullptr || info->pPrinterName == nullptr || info->pPortName == nullptr ||
        info->pDriverName == nullptr || info->pPrintProcessor == nullptr) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string name = info->pPrinterName;
    if (name.empty() || name.find_first_of("\\,") != std::string::npos) {
        SetSimLastError(ERROR_INVALID_PRINTER_NAME);
        return nullptr;
    }
    if (FindPrinter(name) != nullptr) {
        SetSimLastError(ERROR_PRINTER_ALREADY_EXISTS);
        return nullptr;
    }
    if (FindDriver(info->pDriverName, NativeEnvironment()) == nullptr) {
        SetSimLastError(ERROR_UNKNOWN_PRINTER_DRIVER);
        return nullptr;
    }
    const Processor* processor = FindProcessor(info->pPrintProcessor, NativeEnvironment());
    if (processor == nullptr) {
        SetSimLastError(ERROR_UNKNOWN_PRINTPROCESSOR);
        return nullptr;
    }
    // A data type the processor lacks gives 1804, a port no monitor offers 1796 (MS-RPRN PRINTER_CONTAINER
    // Parameters).
    if (!Empty(info->pDatatype) && std::none_of(processor->datatypes.begin(), processor->datatypes.end(),
                                                [&](const std::string& t) { return t == info->pDatatype; })) {
        SetSimLastError(ERROR_INVALID_DATATYPE);
        return nullptr;
    }
    if (!PortExists(info->pPortName)) {
        SetSimLastError(ERROR_UNKNOWN_PORT);
        return nullptr;
    }
    Printer printer;
    printer.name = name;
    printer.shareName = Text(info->pShareName);
    printer.portName = info->pPortName;
    printer.driverName = info->pDriverName;
    printer.comment = Text(info->pComment);
    printer.location = Text(info->pLocation);
    printer.sepFile = Text(info->pSepFile);
    printer.printProcessor = info->pPrintProcessor;
    printer.datatype = Empty(info->pDatatype) ? "RAW" : info->pDatatype;
    printer.parameters = Text(info->pParameters);
    printer.attributes = (info->Attributes & ~PRINTER_ATTRIBUTE_DEFAULT) | PRINTER_ATTRIBUTE_LOCAL;
    printer.priority = info->Priority == 0 ? 1 : info->Priority;
    printer.defaultPriority = info->DefaultPriority;
    printer.startTime = info->StartTime;
    printer.untilTime = info->UntilTime;
    printers.push_back(printer);
    // 98/Me take the default mark of the record; NT keeps the default per user, outside the spooler.
    if (!IsNt() && (info->Attributes & PRINTER_ATTRIBUTE_DEFAULT) != 0) defaultPrinter = name;
    return NewHandle(name, PRINTER_ALL_ACCESS);
}

BOOL SimSpooler::OpenPrinterA(LPSTR printerName, HANDLE* printer, PRINTER_DEFAULTSA* defaults) {
    if (Faulted("OpenPrinterA") || Unavailable()) return FALSE;
    if (printer == nullptr) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *printer = nullptr;
    DWORD access = defaults != nullptr && defaults->DesiredAccess != 0 ? defaults->DesiredAccess : PRINTER_ACCESS_USE;
    // No name opens the local print server.
    if (printerName == nullptr) {
        *printer = NewHandle(std::string(), access);
        return TRUE;
    }
    Printer* found = FindPrinter(printerName);
    if (found == nullptr) {
        SetSimLastError(ERROR_INVALID_PRINTER_NAME);
        return FALSE;
    }
    *printer = NewHandle(found->name, access);
    return TRUE;
}

namespace {

// GetPrinterA and EnumPrintersA lay printers out the same way; the default printer carries the default mark.
BOOL EmitPrinters(DWORD level, const std::vector<SimSpooler::Printer>& printers, const std::string& defaultPrinter,
                  DWORD unit, BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) {
    using Printer = SimSpooler::Printer;
    auto attributesOf = [&](const Printer& p) {
        return p.attributes | (Same(p.name, defaultPrinter) ? PRINTER_ATTRIBUTE_DEFAULT : 0);
    };
    switch (level) {
        case 1:
            return Emit<PRINTER_INFO_1A>(
                printers,
                [](const Printer& p, PRINTER_INFO_1A* r, StringArea& s) {
                    r->Flags = PRINTER_ENUM_ICON8;
                    r->pDescription = s.Put(p.name + "," + p.driverName + "," + p.location);
                    r->pName = s.Put(p.name);
                    r->pComment = s.Put(p.comment);
                },
                unit, buffer, size, needed, returned);
        case 2:
            return Emit<PRINTER_INFO_2A>(
                printers,
                [&](const Printer& p, PRINTER_INFO_2A* r, StringArea& s) {
                    r->pPrinterName = s.Put(p.name);
                    r->pShareName = s.Put(p.shareName);
                    r->pPortName = s.Put(p.portName);
                    r->pDriverName = s.Put(p.driverName);
                    r->pComment = s.Put(p.comment);
                    r->pLocation = s.Put(p.location);
                    r->pSepFile = s.Put(p.sepFile);
                    r->pPrintProcessor = s.Put(p.printProcessor);
                    r->pDatatype = s.Put(p.datatype);
                    r->pParameters = s.Put(p.parameters);
                    r->Attributes = attributesOf(p);
                    r->Priority = p.priority;
                    r->DefaultPriority = p.defaultPriority;
                    r->StartTime = p.startTime;
                    r->UntilTime = p.untilTime;
                    r->Status = p.status;
                    r->cJobs = p.jobs;
                },
                unit, buffer, size, needed, returned);
        case 4:
            return Emit<PRINTER_INFO_4A>(
                printers,
                [&](const Printer& p, PRINTER_INFO_4A* r, StringArea& s) {
                    r->pPrinterName = s.Put(p.name);
                    r->Attributes = attributesOf(p);
                },
                unit, buffer, size, needed, returned);
        case 5:
            return Emit<PRINTER_INFO_5A>(
                printers,
                [&](const Printer& p, PRINTER_INFO_5A* r, StringArea& s) {
                    r->pPrinterName = s.Put(p.name);
                    r->pPortName = s.Put(p.portName);
                    r->Attributes = attributesOf(p);
                    r->DeviceNotSelectedTimeout = 15000;
                    r->TransmissionRetryTimeout = 45000;
                },
                unit, buffer, size, needed, returned);
        default:
            SetSimLastError(ERROR_INVALID_LEVEL);
            return FALSE;
    }
}

}  // namespace

BOOL SimSpooler::GetPrinterA(HANDLE handle, DWORD level, BYTE* buffer, DWORD size, DWORD* needed) {
    if (Faulted("GetPrinterA") || Unavailable()) return FALSE;
    Printer* printer = PrinterOf(handle, nullptr);
    if (printer == nullptr) return FALSE;
    DWORD returned = 0;
    return EmitPrinters(level, {*printer}, defaultPrinter, IsNt() ? 2 : 1, buffer, size, needed, &returned);
}

BOOL SimSpooler::SetPrinterA(HANDLE handle, DWORD level, BYTE* buffer, DWORD command) {
    if (Faulted("SetPrinterA") || Unavailable()) return FALSE;
    PrinterHandle* opened = nullptr;
    Printer* printer = PrinterOf(handle, &opened);
    if (printer == nullptr) return FALSE;
    if (level == 0) {
        switch (command) {
            case PRINTER_CONTROL_PAUSE: printer->status |= PRINTER_STATUS_PAUSED; return TRUE;
            case PRINTER_CONTROL_RESUME: printer->status &= ~PRINTER_STATUS_PAUSED; return TRUE;
            case PRINTER_CONTROL_PURGE: printer->jobs = 0; return TRUE;
            default: SetSimLastError(ERROR_INVALID_PARAMETER); return FALSE;
        }
    }
    if (level != 2) {
        SetSimLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer);
    if (info == nullptr || command != 0) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((opened->access & PRINTER_ACCESS_ADMINISTER) == 0) {
        SetSimLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!Empty(info->pPrinterName) && !Same(info->pPrinterName, printer->name) &&
        FindPrinter(info->pPrinterName) != nullptr) {
        SetSimLastError(ERROR_PRINTER_ALREADY_EXISTS);
        return FALSE;
    }
    if (!Empty(info->pDriverName) && FindDriver(info->pDriverName, NativeEnvironment()) == nullptr) {
        SetSimLastError(ERROR_UNKNOWN_PRINTER_DRIVER);
        return FALSE;
    }
    if (!Empty(info->pPrintProcessor) && FindProcessor(info->pPrintProcessor, NativeEnvironment()) == nullptr) {
        SetSimLastError(ERROR_UNKNOWN_PRINTPROCESSOR);
        return FALSE;
    }
    if (!Empty(info->pPortName) && !PortExists(info->pPortName)) {
        SetSimLastError(ERROR_UNKNOWN_PORT);
        return FALSE;
    }
    if (!Empty(info->pPrinterName) && info->pPrinterName != printer->name) {
        // A renamed printer keeps its open handles and its default mark.
        for (auto& entry : handles_) {
            if (Same(entry.second.printer, printer->name)) entry.second.printer = info->pPrinterName;
        }
        if (Same(defaultPrinter, printer->name)) defaultPrinter = info->pPrinterName;
        printer->name = info->pPrinterName;
    }
    if (!Empty(info->pPortName)) printer->portName = info->pPortName;
    if (!Empty(info->pDriverName)) printer->driverName = info->pDriverName;
    if (!Empty(info->pPrintProcessor)) printer->printProcessor = info->pPrintProcessor;
    if (!Empty(info->pDatatype)) printer->datatype = info->pDatatype;
    printer->shareName = Text(info->pShareName);
    printer->comment = Text(info->pComment);
    printer->location = Text(info->pLocation);
    printer->sepFile = Text(info->pSepFile);
    printer->parameters = Text(info->pParameters);
    printer->attributes = (info->Attributes & ~PRINTER_ATTRIBUTE_DEFAULT) | PRINTER_ATTRIBUTE_LOCAL;
    printer->priority = info->Priority;
    printer->defaultPriority = info->DefaultPriority;
    printer->startTime = info->StartTime;
    printer->untilTime = info->UntilTime;
    // 98/Me make a printer the default through its attributes.
    if (!IsNt() && (info->Attributes & PRINTER_ATTRIBUTE_DEFAULT) != 0) defaultPrinter = printer->name;
    return TRUE;
}

BOOL SimSpooler::DeletePrinter(HANDLE handle) {
    if (Faulted("DeletePrinter") || Unavailable()) return FALSE;
    PrinterHandle* opened = nullptr;
    Printer* printer = PrinterOf(handle, &opened);
    if (printer == nullptr) return FALSE;
    if ((opened->access & DELETE) == 0) {
        SetSimLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // A printer with jobs goes once they are done; until then it is pending deletion.
    if (printer->jobs > 0) {
        printer->status |= PRINTER_STATUS_PENDING_DELETION;
        return TRUE;
    }
    if (Same(defaultPrinter, printer->name)) defaultPrinter.clear();
    printers.erase(printers.begin() + (printer - printers.data()));
    return TRUE;
}

BOOL SimSpooler::ClosePrinter(HANDLE handle) {
    if (Faulted("ClosePrinter")) return FALSE;
    if (handles_.erase(handle) == 0) {
        SetSimLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

// ---- print jobs

DWORD SimSpooler::StartDocPrinterA(HANDLE handle, DWORD level, BYTE* docInfo) {
    if (Faulted("StartDocPrinterA") || Unavailable()) return 0;
    PrinterHandle* opened = nullptr;
    Printer* printer = PrinterOf(handle, &opened);
    if (printer == nullptr) return 0;
    if (level < 1 || level > 3) {
        SetSimLastError(ERROR_INVALID_LEVEL);
        return 0;
    }
    if (docInfo == nullptr) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (opened->inDocument) {
        SetSimLastError(ERROR_CAN_NOT_COMPLETE);
        return 0;
    }
    const DOC_INFO_1A* info = reinterpret_cast<const DOC_INFO_1A*>(docInfo);
    std::string datatype = Empty(info->pDatatype) ? printer->datatype : info->pDatatype;
    const Processor* processor = FindProcessor(printer->printProcessor, NativeEnvironment());
    if (processor == nullptr || std::none_of(processor->datatypes.begin(), processor->datatypes.end(),
                                             [&](const std::string& t) { return Same(t, datatype); })) {
        SetSimLastError(ERROR_INVALID_DATATYPE);
        return 0;
    }
    opened->inDocument = true;
    opened->job = Job{nextJob_++, printer->name, printer->portName, Text(info->pDocName), datatype, ""};
    ++printer->jobs;
    return opened->job.id;
}

BOOL SimSpooler::WritePrinter(HANDLE handle, void* buffer, DWORD size, DWORD* written) {
    if (Faulted("WritePrinter") || Unavailable()) return FALSE;
    PrinterHandle* opened = nullptr;
    if (PrinterOf(handle, &opened) == nullptr) return FALSE;
    if (!opened->inDocument) {
        SetSimLastError(ERROR_SPL_NO_STARTDOC);
        return FALSE;
    }
    if (written == nullptr || (buffer == nullptr && size > 0)) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    opened->job.data.append(static_cast<const char*>(buffer), size);
    *written = size;
    return TRUE;
}

// Ends or drops the handle's document; a printer waiting for its jobs to finish then goes.
BOOL SimSpooler::FinishDocument(HANDLE handle, const char* operation, bool print) {
    if (Faulted(operation) || Unavailable()) return FALSE;
    PrinterHandle* opened = nullptr;
    Printer* printer = PrinterOf(handle, &opened);
    if (printer == nullptr) return FALSE;
    if (!opened->inDocument) {
        SetSimLastError(ERROR_SPL_NO_STARTDOC);
        return FALSE;
    }
    opened->inDocument = false;
    if (print) printedJobs.push_back(opened->job);
    if (printer->jobs > 0) --printer->jobs;
    if (printer->jobs == 0 && (printer->status & PRINTER_STATUS_PENDING_DELETION) != 0) {
        if (Same(defaultPrinter, printer->name)) defaultPrinter.clear();
        printers.erase(printers.begin() + (printer - printers.data()));
    }
    return TRUE;
}

BOOL SimSpooler::EndDocPrinter(HANDLE handle) { return FinishDocument(handle, "EndDocPrinter", true); }

BOOL SimSpooler::AbortPrinter(HANDLE handle) { return FinishDocument(handle, "AbortPrinter", false); }

BOOL SimSpooler::EnumPrintersA(DWORD flags, LPSTR name, DWORD level, BYTE* buffer, DWORD size, DWORD* needed,
                               DWORD* returned) {
    if (Faulted("EnumPrintersA") || Unavailable()) return FALSE;
    if (level != 1 && level != 2 && level != 4 && level != 5) {
        SetSimLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    std::vector<Printer> listed;
    if ((flags & PRINTER_ENUM_LOCAL) != 0 || ((flags & PRINTER_ENUM_NAME) != 0 && Empty(name))) {
        listed = printers;
    } else if ((flags & PRINTER_ENUM_DEFAULT) != 0) {
        if (Printer* found = FindPrinter(defaultPrinter)) listed.push_back(*found);
    }
    return EmitPrinters(level, listed, defaultPrinter, IsNt() ? 2 : 1, buffer, size, needed, returned);
}

BOOL SimSpooler::SetDefaultPrinterA(LPCSTR printerName) {
    if (Faulted("SetDefaultPrinterA") || Unavailable()) return FALSE;
    // No name keeps a default that exists, or else makes the first printer the default.
    if (Empty(printerName)) {
        if (FindPrinter(defaultPrinter) == nullptr && !printers.empty()) defaultPrinter = printers.front().name;
        return TRUE;
    }
    Printer* printer = FindPrinter(printerName);
    if (printer == nullptr) {
        SetSimLastError(ERROR_INVALID_PRINTER_NAME);
        return FALSE;
    }
    defaultPrinter = printer->name;
    return TRUE;
}

}  // namespace win::sim
