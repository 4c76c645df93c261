// The print spooler: drivers, monitors, print processors, printers and their directories.
#pragma once

#include "platform/Library.h"
#include "platform/SpoolerTypes.h"

namespace win {

// The spooler entries that not every Windows has; looked up at run time in "winspool.drv".
typedef BOOL(WINAPI* PFN_SetDefaultPrinterA)(LPCSTR printerName);
typedef BOOL(WINAPI* PFN_DeletePrinterDriverExA)(LPSTR server, LPSTR environment, LPSTR driverName,
                                                 DWORD deleteFlag, DWORD versionFlag);

// Shaped like the winspool calls: BOOL or a handle, the reason in the last error.
class Spooler {
public:
    virtual ~Spooler() = default;

    virtual BOOL AddPrinterDriverA(LPSTR server, DWORD level, BYTE* driverInfo) = 0;
    virtual BOOL DeletePrinterDriverA(LPSTR server, LPSTR environment, LPSTR driverName) = 0;
    virtual BOOL GetPrinterDriverDirectoryA(LPSTR server, LPSTR environment, DWORD level, BYTE* directory,
                                            DWORD size, DWORD* needed) = 0;

    virtual BOOL AddMonitorA(LPSTR server, DWORD level, BYTE* monitorInfo) = 0;
    virtual BOOL DeleteMonitorA(LPSTR server, LPSTR environment, LPSTR monitorName) = 0;
    virtual BOOL EnumMonitorsA(LPSTR server, DWORD level, BYTE* monitors, DWORD size, DWORD* needed,
                               DWORD* returned) = 0;
    virtual BOOL EnumPortsA(LPSTR server, DWORD level, BYTE* ports, DWORD size, DWORD* needed,
                            DWORD* returned) = 0;

    virtual BOOL AddPrintProcessorA(LPSTR server, LPSTR environment, LPSTR pathName, LPSTR processorName) = 0;
    virtual BOOL DeletePrintProcessorA(LPSTR server, LPSTR environment, LPSTR processorName) = 0;
    virtual BOOL EnumPrintProcessorsA(LPSTR server, LPSTR environment, DWORD level, BYTE* processors,
                                      DWORD size, DWORD* needed, DWORD* returned) = 0;
    virtual BOOL EnumPrintProcessorDatatypesA(LPSTR server, LPSTR processorName, DWORD level, BYTE* datatypes,
                                              DWORD size, DWORD* needed, DWORD* returned) = 0;
    virtual BOOL GetPrintProcessorDirectoryA(LPSTR server, LPSTR environment, DWORD level, BYTE* directory,
                                             DWORD size, DWORD* needed) = 0;

    // The handle, or null with the reason in the last error.
    virtual HANDLE AddPrinterA(LPSTR server, DWORD level, BYTE* printer) = 0;
    virtual BOOL OpenPrinterA(LPSTR printerName, HANDLE* printer, PRINTER_DEFAULTSA* defaults) = 0;
    virtual BOOL GetPrinterA(HANDLE printer, DWORD level, BYTE* buffer, DWORD size, DWORD* needed) = 0;
    virtual BOOL SetPrinterA(HANDLE printer, DWORD level, BYTE* buffer, DWORD command) = 0;
    virtual BOOL DeletePrinter(HANDLE printer) = 0;
    virtual BOOL ClosePrinter(HANDLE printer) = 0;
    virtual BOOL EnumPrintersA(DWORD flags, LPSTR name, DWORD level, BYTE* printers, DWORD size, DWORD* needed,
                               DWORD* returned) = 0;

    // A document sent to a printer: StartDocPrinterA gives the job's id, or 0 with the reason in the last
    // error; EndDocPrinter hands it to the print processor and the port, AbortPrinter drops it.
    virtual DWORD StartDocPrinterA(HANDLE printer, DWORD level, BYTE* docInfo) = 0;
    virtual BOOL WritePrinter(HANDLE printer, void* buffer, DWORD size, DWORD* written) = 0;
    virtual BOOL EndDocPrinter(HANDLE printer) = 0;
    virtual BOOL AbortPrinter(HANDLE printer) = 0;
};

}  // namespace win
