// The two-call read of a printer's PRINTER_INFO_2.
#include "shared/PrinterInfo.h"

#include <new>

std::unique_ptr<win::BYTE[]> ReadPrinterInfo2(win::Platform& platform, win::HANDLE printer,
                                              PrinterInfoFailure* failure) {
    PrinterInfoFailure ignored;
    PrinterInfoFailure& result = failure != nullptr ? *failure : ignored;
    result = PrinterInfoFailure::kSizeQuery;
    win::DWORD needed = 0;
    if (!platform.spooler.GetPrinterA(printer, 2, nullptr, 0, &needed) &&
        platform.kernel.GetLastError() != win::ERROR_INSUFFICIENT_BUFFER)
        return nullptr;
    if (needed == 0) return nullptr;
    result = PrinterInfoFailure::kMemory;
    std::unique_ptr<win::BYTE[]> block(new (std::nothrow) win::BYTE[needed]());
    if (block == nullptr) return nullptr;
    result = PrinterInfoFailure::kRead;
    if (!platform.spooler.GetPrinterA(printer, 2, block.get(), needed, &needed)) return nullptr;
    result = PrinterInfoFailure::kNone;
    return block;
}
