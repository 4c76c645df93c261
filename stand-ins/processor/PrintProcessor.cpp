// The stand-in print processor: passes RAW jobs to the printer's port unchanged.
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <cstring>
#include <new>
#include <string>

#define EXPORT extern "C" __declspec(dllexport)

namespace {

const wchar_t kRaw[] = L"RAW";

struct Processor {
    std::wstring printerName;
    DWORD jobId = 0;
    volatile LONG cancelled = 0;
};

}  // namespace

EXPORT BOOL WINAPI EnumPrintProcessorDatatypesW(LPWSTR, LPWSTR, DWORD level, LPBYTE buffer, DWORD size,
                                                LPDWORD needed, LPDWORD returned) {
    if (level != 1) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    DWORD total = sizeof(DATATYPES_INFO_1W) + sizeof(kRaw);
    if (needed != nullptr) *needed = total;
    if (returned != nullptr) *returned = 0;
    if (buffer == nullptr || size < total) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    wchar_t* name = reinterpret_cast<wchar_t*>(buffer + sizeof(DATATYPES_INFO_1W));
    std::memcpy(name, kRaw, sizeof(kRaw));
    reinterpret_cast<DATATYPES_INFO_1W*>(buffer)->pName = name;
    if (returned != nullptr) *returned = 1;
    return TRUE;
}

EXPORT HANDLE WINAPI OpenPrintProcessor(LPWSTR printerName, PPRINTPROCESSOROPENDATA data) {
    if (printerName == nullptr || data == nullptr ||
        (data->pDatatype != nullptr && _wcsicmp(data->pDatatype, kRaw) != 0)) {
        SetLastError(ERROR_INVALID_DATATYPE);
        return nullptr;
    }
    Processor* processor = new (std::nothrow) Processor;
    if (processor == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    processor->printerName = printerName;
    processor->jobId = data->JobId;
    return processor;
}

// Reads the spooled job through its document name ("printer, Job n") and writes it to the printer.
EXPORT BOOL WINAPI PrintDocumentOnPrintProcessor(HANDLE handle, LPWSTR documentName) {
    Processor* processor = static_cast<Processor*>(handle);
    if (processor == nullptr || documentName == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    HANDLE job = nullptr;
    HANDLE printer = nullptr;
    BOOL ok = OpenPrinterW(documentName, &job, nullptr) &&
              OpenPrinterW(&processor->printerName[0], &printer, nullptr);
    DOC_INFO_1W doc = {documentName, nullptr, const_cast<LPWSTR>(kRaw)};
    ok = ok && StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&doc)) != 0;
    if (ok) {
        BYTE chunk[4096];
        DWORD read = 0;
        while (!processor->cancelled && ReadPrinter(job, chunk, sizeof(chunk), &read) && read > 0) {
            DWORD written = 0;
            if (!WritePrinter(printer, chunk, read, &written)) {
                ok = FALSE;
                break;
            }
        }
        EndDocPrinter(printer);
    }
    if (printer != nullptr) ClosePrinter(printer);
    if (job != nullptr) ClosePrinter(job);
    return ok;
}

EXPORT BOOL WINAPI ClosePrintProcessor(HANDLE handle) {
    delete static_cast<Processor*>(handle);
    return TRUE;
}

EXPORT BOOL WINAPI ControlPrintProcessor(HANDLE handle, DWORD command) {
    Processor* processor = static_cast<Processor*>(handle);
    if (processor == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (command == JOB_CONTROL_CANCEL) InterlockedExchange(&processor->cancelled, 1);
    return TRUE;
}

EXPORT DWORD WINAPI GetPrintProcessorCapabilities(LPTSTR, DWORD, LPBYTE data, DWORD size, LPDWORD needed) {
    if (needed != nullptr) *needed = sizeof(PRINTPROCESSOR_CAPS_1);
    if (data == nullptr || size < sizeof(PRINTPROCESSOR_CAPS_1)) return ERROR_INSUFFICIENT_BUFFER;
    PRINTPROCESSOR_CAPS_1 caps = {1, 1, NORMAL_PRINT, 1};  // one page per sheet, one copy
    std::memcpy(data, &caps, sizeof(caps));
    return ERROR_SUCCESS;
}
