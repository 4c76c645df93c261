// The test page install-printer prints on request: a short receipt sent straight to the printer, which shows
// that the spooler takes jobs for the new printer and that its port reaches the device.
#pragma once

#include <string>

#include "platform/Platform.h"

struct InstallRecord;

// What the receipt names.
struct TestPageFacts {
    std::string printer, port, driver;
    win::SYSTEMTIME time{};
};

// The receipt in the printer's own commands (ESC/POS): a heading, the facts, a few lines of text that
// show the character set, a feed and a cut. Plain ASCII around the names, so any code page prints it.
std::string TestPageData(const TestPageFacts& facts);

// The spooler's answer to a test page.
struct TestPageOutcome {
    bool accepted = false;
    win::DWORD jobId = 0;
    std::string failedCall;  // the spooler call that refused it
    win::DWORD error = 0;
    size_t bytes = 0;  // the size of the page sent
};

// Sends data to the printer as one RAW document, so that no driver renders it. A document that cannot be
// written whole is dropped rather than ended, so the printer never gets half a receipt.
TestPageOutcome PrintTestPage(win::Platform& platform, const std::string& printer, const std::string& data);

// The test page of the printer an installation has just added, naming its port and driver.
TestPageOutcome PrintInstalledTestPage(win::Platform& platform, const InstallRecord& record);
