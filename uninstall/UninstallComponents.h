// What the uninstaller finds on the system: the Windows generation, and the removable components.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "uninstall/UninstallCatalogue.h"

struct UninstallGeneration {
    // 0 98/Me (also 95 and unrecognised NT 4 and 5 versions), 1 NT 4.0, 2 2000, 3 XP, 4 Server 2003,
    // 5 Vista and every later NT release, -1 a platform that is neither 9x nor NT.
    int generation = 0;
    // 98, Me and NT 4.0 do not offer the USB device driver's removal.
    bool usbDriverOffered = true;
};

// The running Windows, from GetVersionExA. On Vista (NT 6.0) it also writes the compatibility record, each
// time it runs, unless told not to (a run that must change nothing).
UninstallGeneration DetectUninstallGeneration(win::Platform& platform, bool writeCompatibilityRecord = true);

// The names of the removable components, in the order the list shows them: the printers the catalogue
// claims, in the spooler's order, then the port monitors, then the print processors.
std::vector<std::string> RemovableComponents(win::Platform& platform, const UninstallCatalogue& catalogue);
