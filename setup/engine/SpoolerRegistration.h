// Registering the printer driver, port monitors, print processor and printer with the print spooler.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Architecture.h"
#include "platform/Platform.h"
#include "setup/engine/InstallMessage.h"
#include "setup/environment/ModelConfig.h"
#include "setup/environment/PlatformGeneration.h"
#include "setup/environment/SetupContext.h"
#include "shared/RegistryKey.h"
#include "shared/SpoolerService.h"

// Which installed monitor or processor is older than the one the model files describe.
typedef int32_t UpdateFlags;
constexpr UpdateFlags kComMonitorOlder = 1;
constexpr UpdateFlags kUsbMonitorOlder = 2;
constexpr UpdateFlags kProcessorOlder = 8;

// Results of EnsurePortMonitor and EnsurePrintProcessor besides their UpdateFlags.
constexpr int kMonitorNotAdded = -15;
constexpr int kProcessorNotAdded = -14;

// An existing printer name is tried with the suffixes (1) to (98).
constexpr int kPrinterNameSuffixes = 98;

constexpr char kMonitorsKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";
constexpr char kEnvironmentsKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";
// The VersionStamp: a REG_DWORD under the monitor's or processor's key.
constexpr char kVersionStampValue[] = "DriverVersion";
// Windows' own print processor, never installed or compared.
constexpr char kSystemPrintProcessor[] = "WinPrint";

std::string MonitorKeyPath(const char* monitorName);
// The "Windows 4.0" key on generation 0, the key of the architecture's environment on all others.
std::string PrintProcessorKeyPath(const win::Architecture& architecture, PlatformGeneration generation,
                                  const char* processorName);

// True when the open key's VersionStamp is below the configured version (unsigned), or cannot be read.
bool VersionStampIsOlder(RegistryKey& key, win::DWORD configuredVersion);
bool WriteVersionStamp(RegistryKey& key, win::DWORD version);

// AddPrinterDriverA level 3. 1 added; 0 with "IDS_ERR_ADDPRNDRV3" + "   er = <error>".
int InstallPrinterDriver(SetupContext& context, win::DRIVER_INFO_3A& driver, InstallMessage& message);

// AddMonitorA level 2. 1 added or already known (3006, 183); 0 with "IDS_ERR_ADDMONITOR" +
// " Erro code is:" + the error.
int InstallPortMonitor(SetupContext& context, win::MONITOR_INFO_2A& monitor, InstallMessage& message);

// AddPrintProcessorA in the generation's environment. 1 added; 87, 183 or 3005 as themselves; else 0.
int InstallPrintProcessor(win::Platform& platform, const char* processorName, const char* fileName,
                          PlatformGeneration generation);

// AddPrinterA under the record's printer name, or, when that exists and the port is not USB, under the
// name followed by (1) to (98). The used name is kept in the caller's printerName, which the record's
// pPrinterName points to afterwards: the name used on success, empty on failure. 1 added; 0 with
// "IDS_ERR_TOOMANY" (all names taken, or an existing name on a USB port) or "IDS_ERR_ADDPRINTER" +
// "er = <error>".
int CreatePrinter(SetupContext& context, win::PRINTER_INFO_2A& printer, win::DWORD level, bool usbPort,
                  std::string& printerName, InstallMessage& message);

// Whether the installed print processor lists the data type, as far as the spooler can say: Wine's
// EnumPrintProcessorDatatypesA fails without an answer.
enum class DatatypeOffer { kOffered, kNotOffered, kUnknown };
DatatypeOffer PrintProcessorOffersDatatype(win::Platform& platform, const char* processorName,
                                           const char* datatype);

// Makes the printer the default the way the running Windows does it; 1 done, 0 failed. Callers ignore it.
int MakeDefaultPrinter(win::Platform& platform, const char* printerName);

// Enumerates the spooler's ports. 1 enumerated; 0 with "IDS_ERR_ALLOCMEMORY".
int CheckPortList(SetupContext& context, InstallMessage& message);

// What EnsurePortMonitor or EnsurePrintProcessor decides for the installed monitor or processor, read
// without changing anything: nothing to do (no monitor for the port, Windows' own processor), add it,
// update an older one, or keep one that is as new as the medium's.
enum class ComponentAction { kNone, kAdd, kUpdate, kKeep };
struct ComponentPlan {
    ComponentAction action = ComponentAction::kNone;
    std::string name;
    std::string environment;  // of a monitor; empty for none
    std::string file;         // the DLL as the model files name it
    std::string uiFile;       // a monitor's user-interface DLL; may be empty
    win::DWORD version = 0;   // the medium's
    bool stampRead = false;   // the installed one's stamp could be read (kUpdate, kKeep)
    win::DWORD installedVersion = 0;
    UpdateFlags olderFlag = 0;  // the flag an update sets
    // A processor as new as the medium's whose file is gone (Wine keeps a processor whose removal deleted
    // its file): the update puts the file back.
    bool fileMissing = false;
};

ComponentPlan PlanPortMonitor(SetupContext& context, ModelConfig& config, PrinterClass printerClass,
                              PlatformGeneration generation, const char* portName);
ComponentPlan PlanPrintProcessor(SetupContext& context, PlatformGeneration generation,
                                 const char* processorName, const char* processorFile);
// EnsurePortMonitor and EnsurePrintProcessor after the plan, with the same results.
int CarryOutPortMonitorPlan(SetupContext& context, PlatformGeneration generation, const ComponentPlan& plan,
                            InstallMessage& message);
int CarryOutPrintProcessorPlan(SetupContext& context, PlatformGeneration generation,
                               const ComponentPlan& plan, InstallMessage& message);

// Installs the COM or USB port monitor the port needs when it is missing. The UpdateFlags 0,
// kComMonitorOlder or kUsbMonitorOlder by the port's kind; kMonitorNotAdded when a monitor cannot be added.
int EnsurePortMonitor(SetupContext& context, ModelConfig& config, PrinterClass printerClass,
                      PlatformGeneration generation, const char* portName, InstallMessage& message);

// Installs the print processor when it is missing. The UpdateFlags 0 or kProcessorOlder;
// kProcessorNotAdded with "IDS_ERR_ADDPROCESSOR" when it cannot be added.
int EnsurePrintProcessor(SetupContext& context, PlatformGeneration generation, const char* processorName,
                         const char* processorFile, InstallMessage& message);

// The service operations writing into the install message.
void StartSpooler(win::Platform& platform, InstallMessage& message);
bool WaitForSpooler(win::Platform& platform, InstallMessage& message);
