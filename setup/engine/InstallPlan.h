// What an installation would do, told from the records the run uses and read without changing anything:
// install-printer.exe --what-if.
#pragma once

#include <string>
#include <vector>

#include "setup/engine/InstallRecord.h"

struct InstallPlan {
    std::vector<std::string> lines;
    // A step would stop the installation (a file missing on the medium, a printer name taken on a USB port).
    bool wouldFail = false;
    // The name the printer would get: the record's, or the first free one after it.
    std::string printerName;
};

// The record must have passed the refusals and hold its model records and completed names
// (FillModelRecords, CompletePrinterAndPortNames without the platform). changeId is the answer to the USB
// printer-ID question.
InstallPlan PlanInstallation(SetupContext& context, InstallRecord& record, bool changeId);
