// The print spooler, passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>
#include <winspool.h>

#include <cstddef>

// Our records are handed to winspool as they are, so they must be Windows' own.
static_assert(sizeof(win::DRIVER_INFO_3A) == sizeof(::DRIVER_INFO_3A), "DRIVER_INFO_3A layout");
static_assert(sizeof(win::PRINTER_INFO_1A) == sizeof(::PRINTER_INFO_1A), "PRINTER_INFO_1A layout");
static_assert(sizeof(win::PRINTER_INFO_2A) == sizeof(::PRINTER_INFO_2A), "PRINTER_INFO_2A layout");
static_assert(sizeof(win::PRINTER_INFO_4A) == sizeof(::PRINTER_INFO_4A), "PRINTER_INFO_4A layout");
static_assert(sizeof(win::PRINTER_INFO_5A) == sizeof(::PRINTER_INFO_5A), "PRINTER_INFO_5A layout");
static_assert(sizeof(win::PORT_INFO_2A) == sizeof(::PORT_INFO_2A), "PORT_INFO_2A layout");
static_assert(sizeof(win::MONITOR_INFO_2A) == sizeof(::MONITOR_INFO_2A), "MONITOR_INFO_2A layout");
static_assert(sizeof(win::PRINTER_DEFAULTSA) == sizeof(::PRINTER_DEFAULTSA), "PRINTER_DEFAULTSA layout");
static_assert(offsetof(win::PRINTER_INFO_2A, cJobs) == offsetof(::PRINTER_INFO_2A, cJobs), "PRINTER_INFO_2A layout");

namespace win::win32 {

namespace {

class RealSpooler : public Spooler {
public:
    BOOL AddPrinterDriverA(LPSTR server, DWORD level, BYTE* driverInfo) override {
        return ::AddPrinterDriverA(server, level, driverInfo);
    }
    BOOL DeletePrinterDriverA(LPSTR server, LPSTR environment, LPSTR driverName) override {
        return ::DeletePrinterDriverA(server, environment, driverName);
    }
    BOOL GetPrinterDriverDirectoryA(LPSTR server, LPSTR environment, DWORD level, BYTE* directory, DWORD size,
                                    DWORD* needed) override {
        return ::GetPrinterDriverDirectoryA(server, environment, level, directory, size, needed);
    }
    BOOL AddMonitorA(LPSTR server, DWORD level, BYTE* monitorInfo) override {
        return ::AddMonitorA(server, level, monitorInfo);
    }
    BOOL DeleteMonitorA(LPSTR server, LPSTR environment, LPSTR monitorName) override {
        return ::DeleteMonitorA(server, environment, monitorName);
    }
    BOOL EnumMonitorsA(LPSTR server, DWORD level, BYTE* monitors, DWORD size, DWORD* needed,
                       DWORD* returned) override {
        return ::EnumMonitorsA(server, level, monitors, size, needed, returned);
    }
    BOOL EnumPortsA(LPSTR server, DWORD level, BYTE* ports, DWORD size, DWORD* needed, DWORD* returned) override {
        return ::EnumPortsA(server, level, ports, size, needed, returned);
    }
    BOOL AddPrintProcessorA(LPSTR server, LPSTR environment, LPSTR pathName, LPSTR processorName) override {
        return ::AddPrintProcessorA(server, environment, pathName, processorName);
    }
    BOOL DeletePrintProcessorA(LPSTR server, LPSTR environment, LPSTR processorName) override {
        return ::DeletePrintProcessorA(server, environment, processorName);
    }
    BOOL EnumPrintProcessorsA(LPSTR server, LPSTR environment, DWORD level, BYTE* processors, DWORD size,
                              DWORD* needed, DWORD* returned) override {
        return ::EnumPrintProcessorsA(server, environment, level, processors, size, needed, returned);
    }
    BOOL EnumPrintProcessorDatatypesA(LPSTR server, LPSTR processorName, DWORD level, BYTE* datatypes,
                                      DWORD size, DWORD* needed, DWORD* returned) override {
        return ::EnumPrintProcessorDatatypesA(server, processorName, level, datatypes, size, needed,
                                              returned);
    }
    BOOL GetPrintProcessorDirectoryA(LPSTR server, LPSTR environment, DWORD level, BYTE* directory, DWORD size,
                                     DWORD* needed) override {
        return ::GetPrintProcessorDirectoryA(server, environment, level, directory, size, needed);
    }
    HANDLE AddPrinterA(LPSTR server, DWORD level, BYTE* printer) override {
        return ::AddPrinterA(server, level, printer);
    }
    BOOL OpenPrinterA(LPSTR printerName, HANDLE* printer, PRINTER_DEFAULTSA* defaults) override {
        return ::OpenPrinterA(printerName, printer, reinterpret_cast<::PRINTER_DEFAULTSA*>(defaults));
    }
    BOOL GetPrinterA(HANDLE printer, DWORD level, BYTE* buffer, DWORD size, DWORD* needed) override {
        return ::GetPrinterA(printer, level, buffer, size, needed);
    }
    BOOL SetPrinterA(HANDLE printer, DWORD level, BYTE* buffer, DWORD command) override {
        return ::SetPrinterA(printer, level, buffer, command);
    }
    BOOL DeletePrinter(HANDLE printer) override { return ::DeletePrinter(printer); }
    BOOL ClosePrinter(HANDLE printer) override { return ::ClosePrinter(printer); }
    BOOL EnumPrintersA(DWORD flags, LPSTR name, DWORD level, BYTE* printers, DWORD size, DWORD* needed,
                       DWORD* returned) override {
        return ::EnumPrintersA(flags, name, level, printers, size, needed, returned);
    }
    DWORD StartDocPrinterA(HANDLE printer, DWORD level, BYTE* docInfo) override {
        static_assert(sizeof(win::DOC_INFO_1A) == sizeof(::DOC_INFO_1A), "layouts differ");
        return ::StartDocPrinterA(printer, level, docInfo);
    }
    BOOL WritePrinter(HANDLE printer, void* buffer, DWORD size, DWORD* written) override {
        return ::WritePrinter(printer, buffer, size, written);
    }
    BOOL EndDocPrinter(HANDLE printer) override { return ::EndDocPrinter(printer); }
    BOOL AbortPrinter(HANDLE printer) override { return ::AbortPrinter(printer); }
};

}  // namespace

Spooler& Win32Spooler() {
    static RealSpooler instance;
    return instance;
}

}  // namespace win::win32
