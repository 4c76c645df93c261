// A printer handle's owner and the two-call read of a printer's PRINTER_INFO_2.
#pragma once

#include <memory>
#include <utility>

#include "platform/Platform.h"

// Owns a printer handle from OpenPrinterA or AddPrinterA: no copy, closed on every path.
class PrinterHandle {
public:
    PrinterHandle(win::Spooler& spooler, win::HANDLE handle) : spooler_(spooler), handle_(handle) {}
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;
    ~PrinterHandle() { Close(); }
    void Close() {
        if (handle_ != nullptr) spooler_.ClosePrinter(std::exchange(handle_, nullptr));
    }
    bool Valid() const { return handle_ != nullptr; }
    win::HANDLE Get() const { return handle_; }

private:
    win::Spooler& spooler_;
    win::HANDLE handle_;
};

// Which step of ReadPrinterInfo2 failed, for callers that report them apart.
enum class PrinterInfoFailure { kNone, kSizeQuery, kMemory, kRead };

// The printer's PRINTER_INFO_2A in a zeroed block of the size the spooler asks for: the size query may
// fail with ERROR_INSUFFICIENT_BUFFER only. Null when the query, the memory or the read fails.
std::unique_ptr<win::BYTE[]> ReadPrinterInfo2(win::Platform& platform, win::HANDLE printer,
                                              PrinterInfoFailure* failure = nullptr);
