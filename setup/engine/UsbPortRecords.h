// The USB port records under HKEY_LOCAL_MACHINE\SOFTWARE\TARNOVA\, refreshed before a USB install.
#pragma once

#include <string>

#include "platform/Platform.h"

constexpr char kPortNameKey[] = "SOFTWARE\\TARNOVA\\PORTNAME\\";
constexpr char kPrinterPortKey[] = "SOFTWARE\\TARNOVA\\PRINTERPORT\\";
constexpr char kInstallPrinterKey[] = "SOFTWARE\\TARNOVA\\INSTALLPRINTER\\";

// Maps the port being installed and the port of each printer under INSTALLPRINTER to its index in
// the supported USB port list, resets D1 to D8 and gives every supported port a PRINTERPORT value.
// Nothing is reported: keys that cannot be opened and values that cannot be written are passed over.
void UpdateUsbPortRecords(win::Platform& platform, const char* portName);

// The USB port name of a printer listed under INSTALLPRINTER: "USB_", the name up to its first "(",
// then "_" and the port digit four characters after the "(" (nothing when the name ends before it).
std::string UsbPortNameOfPrinter(const std::string& printerName);
