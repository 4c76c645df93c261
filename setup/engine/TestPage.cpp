// The test page: its bytes and the job that carries them.
#include "setup/engine/TestPage.h"

#include <cstdio>
#include <string>
#include <vector>

#include "setup/engine/InstallRecord.h"

namespace {

using namespace std::string_literals;

// ESC/POS commands.
const std::string kInitialise = "\x1b@"s;
const std::string kCentre = "\x1b" "a\x01"s;
const std::string kLeft = "\x1b" "a\x00"s;
const std::string kDoubleSize = "\x1d!\x11"s;
const std::string kNormalSize = "\x1d!\x00"s;
const std::string kFeedAndCut = "\x1b" "d\x04" "\x1dV\x42\x00"s;  // four lines, then a partial cut

std::string Timestamp(const win::SYSTEMTIME& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    return text;
}

}  // namespace

std::string TestPageData(const TestPageFacts& facts) {
    std::string data = kInitialise;
    data += kCentre + kDoubleSize + "TEST PAGE\n" + kNormalSize;
    data += "Printer driver installed\n\n" + kLeft;
    data += "Printer: " + facts.printer + "\n";
    data += "Port:    " + facts.port + "\n";
    data += "Driver:  " + facts.driver + "\n";
    data += "Date:    " + Timestamp(facts.time) + "\n\n";
    data += "ABCDEFGHIJKLMNOPQRSTUVWXYZ\n";
    data += "abcdefghijklmnopqrstuvwxyz\n";
    data += "0123456789 !\"#$%&'()*+,-./:;<=>?@\n";
    data += "--------------------------------\n";
    data += "If you can read this, the printer\nworks with its new driver.\n";
    data += kFeedAndCut;
    return data;
}

TestPageOutcome PrintTestPage(win::Platform& platform, const std::string& printer, const std::string& data) {
    TestPageOutcome outcome;
    outcome.bytes = data.size();
    auto failed = [&](const char* call) {
        outcome.failedCall = call;
        outcome.error = platform.kernel.GetLastError();
        if (outcome.error == 0) outcome.error = win::ERROR_CAN_NOT_COMPLETE;
        return outcome;
    };
    std::vector<char> name(printer.begin(), printer.end());
    name.push_back('\0');
    char raw[] = "RAW";
    win::PRINTER_DEFAULTSA defaults{raw, nullptr, win::PRINTER_ACCESS_USE};
    win::HANDLE handle = nullptr;
    if (!platform.spooler.OpenPrinterA(name.data(), &handle, &defaults)) return failed("OpenPrinter");

    char document[] = "Test page";
    win::DOC_INFO_1A info{document, nullptr, raw};
    outcome.jobId = platform.spooler.StartDocPrinterA(handle, 1, reinterpret_cast<win::BYTE*>(&info));
    if (outcome.jobId == 0) {
        failed("StartDocPrinter");
        platform.spooler.ClosePrinter(handle);
        return outcome;
    }
    std::vector<char> bytes(data.begin(), data.end());
    size_t sent = 0;
    while (sent < bytes.size()) {
        win::DWORD written = 0;
        if (!platform.spooler.WritePrinter(handle, bytes.data() + sent, static_cast<win::DWORD>(bytes.size() - sent),
                                           &written) ||
            written == 0) {
            failed("WritePrinter");
            platform.spooler.AbortPrinter(handle);
            platform.spooler.ClosePrinter(handle);
            return outcome;
        }
        sent += written;
    }
    if (!platform.spooler.EndDocPrinter(handle)) {
        failed("EndDocPrinter");
        platform.spooler.AbortPrinter(handle);
        platform.spooler.ClosePrinter(handle);
        return outcome;
    }
    platform.spooler.ClosePrinter(handle);
    outcome.accepted = true;
    return outcome;
}

TestPageOutcome PrintInstalledTestPage(win::Platform& platform, const InstallRecord& record) {
    TestPageFacts facts{record.printerName, record.printer.pPortName != nullptr ? record.printer.pPortName : "",
                        record.driver.pName != nullptr ? record.driver.pName : ""};
    platform.clock.GetLocalTime(&facts.time);
    return PrintTestPage(platform, record.printerName, TestPageData(facts));
}
