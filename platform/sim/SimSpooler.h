// The simulated print spooler: drivers, monitors with their ports, print processors, printers and the
// default printer, failing with the codes Windows gives.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/Spooler.h"
#include "platform/sim/SimServices.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimSpooler : public Spooler {
public:
    // The spooler keeps its monitors' and processors' registry keys, as Windows does. Without a service
    // manager the spooler always runs; with one it answers only while the "Spooler" service runs.
    SimSpooler(SimWindows& w, Registry& registry, const SimServices* services = nullptr);

    BOOL AddPrinterDriverA(LPSTR server, DWORD level, BYTE* driverInfo) override;
    BOOL DeletePrinterDriverA(LPSTR server, LPSTR environment, LPSTR driverName) override;
    BOOL GetPrinterDriverDirectoryA(LPSTR server, LPSTR environment, DWORD level, BYTE* directory, DWORD size,
                                    DWORD* needed) override;
    BOOL AddMonitorA(LPSTR server, DWORD level, BYTE* monitorInfo) override;
    BOOL DeleteMonitorA(LPSTR server, LPSTR environment, LPSTR monitorName) override;
    BOOL EnumMonitorsA(LPSTR server, DWORD level, BYTE* monitors, DWORD size, DWORD* needed,
                       DWORD* returned) override;
    BOOL EnumPortsA(LPSTR server, DWORD level, BYTE* ports, DWORD size, DWORD* needed, DWORD* returned) override;
    BOOL AddPrintProcessorA(LPSTR server, LPSTR environment, LPSTR pathName, LPSTR processorName) override;
    BOOL DeletePrintProcessorA(LPSTR server, LPSTR environment, LPSTR processorName) override;
    BOOL EnumPrintProcessorsA(LPSTR server, LPSTR environment, DWORD level, BYTE* processors, DWORD size,
                              DWORD* needed, DWORD* returned) override;
    BOOL EnumPrintProcessorDatatypesA(LPSTR server, LPSTR processorName, DWORD level, BYTE* datatypes,
                                      DWORD size, DWORD* needed, DWORD* returned) override;
    BOOL GetPrintProcessorDirectoryA(LPSTR server, LPSTR environment, DWORD level, BYTE* directory, DWORD size,
                                     DWORD* needed) override;
    HANDLE AddPrinterA(LPSTR server, DWORD level, BYTE* printer) override;
    BOOL OpenPrinterA(LPSTR printerName, HANDLE* printer, PRINTER_DEFAULTSA* defaults) override;
    BOOL GetPrinterA(HANDLE printer, DWORD level, BYTE* buffer, DWORD size, DWORD* needed) override;
    BOOL SetPrinterA(HANDLE printer, DWORD level, BYTE* buffer, DWORD command) override;
    BOOL DeletePrinter(HANDLE printer) override;
    BOOL ClosePrinter(HANDLE printer) override;
    BOOL EnumPrintersA(DWORD flags, LPSTR name, DWORD level, BYTE* printers, DWORD size, DWORD* needed,
                       DWORD* returned) override;
    DWORD StartDocPrinterA(HANDLE printer, DWORD level, BYTE* docInfo) override;
    BOOL WritePrinter(HANDLE printer, void* buffer, DWORD size, DWORD* written) override;
    BOOL EndDocPrinter(HANDLE printer) override;
    BOOL AbortPrinter(HANDLE printer) override;

    // The entries that the logic finds at run time in "winspool.drv" (see SimLibrary).
    BOOL SetDefaultPrinterA(LPCSTR printerName);
    BOOL DeletePrinterDriverExA(LPSTR server, LPSTR environment, LPSTR driverName, DWORD deleteFlag,
                                DWORD versionFlag);

    // The machine's print system, for tests to set up and inspect. Names are compared without regard to case.
    struct Driver {
        std::string name;
        std::string environment;
        DWORD version = 3;
        std::string driverPath, dataFile, configFile, helpFile;
        std::vector<std::string> dependentFiles;
        std::string monitorName, defaultDataType;
    };
    struct Monitor {
        std::string name;
        std::string dllName;
        std::vector<std::string> ports;
    };
    struct Processor {
        std::string name;
        std::string environment;
        std::string pathName;
        std::vector<std::string> datatypes;
    };
    struct Printer {
        std::string name, shareName, portName, driverName, comment, location, sepFile;
        std::string printProcessor = "WinPrint";
        std::string datatype = "RAW";
        std::string parameters;
        DWORD attributes = PRINTER_ATTRIBUTE_LOCAL;
        DWORD priority = 1, defaultPriority = 0, startTime = 0, untilTime = 0, status = 0;
        DWORD jobs = 0;
    };
    std::vector<Driver> drivers;
    std::vector<Monitor> monitors;  // "Local Port" with LPT1:-LPT3:, COM1:-COM4:, FILE: from the start
    std::vector<Processor> processors;  // "WinPrint" from the start
    // In the order they were added: Windows documents no order for EnumPrinters.
    std::vector<Printer> printers;
    std::string defaultPrinter;         // empty: none
    // The documents that ended, in that order, with the bytes their port received.
    struct Job {
        DWORD id = 0;
        std::string printer, port, document, datatype, data;
    };
    std::vector<Job> printedJobs;

    // The ports that a monitor DLL offers once it is added; a DLL nobody defined offers none.
    void DefineMonitorPorts(const std::string& dllName, const std::vector<std::string>& ports);
    // The data types a processor DLL offers once it is added; a DLL nobody defined offers "RAW" alone.
    void DefineProcessorDatatypes(const std::string& dllName, const std::vector<std::string>& datatypes);
    // A DLL that loads but lacks the monitor's entry point (AddMonitorA then gives 127).
    void DefineDllWithoutMonitorEntry(const std::string& dllName);

    Printer* FindPrinter(const std::string& name);
    const Driver* FindDriver(const std::string& name, const std::string& environment) const;
    Monitor* FindMonitor(const std::string& name);
    const Processor* FindProcessor(const std::string& name, const std::string& environment) const;
    // Printer handles opened or added and not yet closed.
    size_t OpenPrinterCount() const { return handles_.size(); }

    // The build's native environment on the NT family, "Windows 4.0" on 98/Me.
    std::string NativeEnvironment() const;
    std::string SystemDirectory() const;
    std::string DriverDirectory(const std::string& environment) const;
    std::string ProcessorDirectory(const std::string& environment) const;

private:
    struct PrinterHandle {
        std::string printer;  // empty for the local print server
        DWORD access;
        bool inDocument = false;  // between StartDocPrinterA and EndDocPrinter or AbortPrinter
        Job job;
    };
    bool Unavailable();
    bool Faulted(const char* operation);
    bool LocalServer(LPCSTR server);
    bool ResolveEnvironment(LPCSTR environment, std::string* canonical);
    bool IsNt() const;
    Printer* PrinterOf(HANDLE handle, PrinterHandle** opened);
    bool PortExists(const std::string& port) const;
    bool DriverInUse(const std::string& name, const std::string& environment) const;
    bool DriverFileExists(const std::string& file, const std::string& environment, DWORD version) const;
    BOOL RemoveDrivers(const std::string& name, const std::string& environment, bool specificVersion,
                       DWORD version, bool deleteFiles);
    void WriteDriverKey(const std::string& subKey, const std::string& dllName);
    void DeleteKey(const std::string& subKey);
    HANDLE NewHandle(const std::string& printer, DWORD access);
    BOOL FinishDocument(HANDLE handle, const char* operation, bool print);

    SimWindows& w_;
    Registry& registry_;
    const SimServices* services_;
    std::map<std::string, std::vector<std::string>> monitorPorts_;
    std::map<std::string, std::vector<std::string>> processorDatatypes_;
    std::vector<std::string> dllsWithoutEntry_;
    std::map<HANDLE, PrinterHandle> handles_;
    uintptr_t nextHandle_ = 0x7000;
    DWORD nextJob_ = 1;
};

}  // namespace win::sim
