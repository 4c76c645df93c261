// The USB bulk driver's own installer on the medium (USBDrv\Install.exe), started before a printer is
// installed on a USB port when the running system lacks the driver or has an older one.
#pragma once

#include <string>

#include "platform/Platform.h"

// True when the running system (not the target) is Windows 2000 or later and its USB driver is missing
// or older than the medium's.
bool UsbDriverInstallNeeded(win::Platform& platform);

// Clears a read-only attribute of the driver's files beside the program, starts the installer with "2"
// and waits while a window with the installer's caption is open, then the fixed pauses the driver
// needs to settle. A failed start or a window that never shows costs only the pauses.
void RunUsbDriverInstaller(win::Platform& platform, const std::string& installerCaption);
