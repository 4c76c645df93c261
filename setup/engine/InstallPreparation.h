// The checks and records that come before an installation runs, shared by the wizard's install action
// and the command-line installer.
#pragma once

#include "setup/engine/InstallRecord.h"

// The port kind by the port name: "USB_" before "COM" before "LPT"; kPortKindUnsupported otherwise.
PortKind ClassifyPort(const std::string& portName);

// The message key that refuses the model on the record's target generation (Server 2003 and NT 4 need
// the model's support flag), or null when the model may be installed.
const char* CheckModelSupportsTarget(win::Platform& platform, const InstallRecord& record);

// Fills the file set, the driver record and the printer record from the model files, and points the
// printer record at the record's printer name and port name.
void FillModelRecords(InstallRecord& record);

// Appends the port's suffix to the printer name ("(S)", "(P)", "(U) 1" to "(U) 4") and moves a model family
// that shares its USB ports onto the family's port name; changes nothing on the system.
void CompletePrinterAndPortNames(InstallRecord& record);

// The names as above, then for a USB port the refresh of the USB port records.
void CompletePrinterAndPortNames(win::Platform& platform, InstallRecord& record);

// The message key that refuses the port on the target generation (no USB on NT 4), or null.
const char* CheckPortSupportsTarget(const InstallRecord& record);
