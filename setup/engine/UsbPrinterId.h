// Making the connected USB printer's ID match the chosen USB port before an installation, as the wizard's
// Install button and install-printer.exe both do.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "shared/LanguageText.h"

// Typical installs offer one USB port per model, Advanced ones four.
enum InstallMode : int { kInstallModeAdvanced = 0, kInstallModeTypical = 1 };

// What the step shows and asks: message boxes in the wizard, the console and an option in
// install-printer.exe.
class InstallPrompts {
public:
    virtual ~InstallPrompts() = default;
    virtual void Show(const std::string& text) = 0;
    // True for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
};

// The port number a reported ID value stands for: (value mod 8) + 1, negative values keeping their sign,
// so "no printer" (-1) gives 0 and "several printers" (-2) gives -1.
int UsbPortNumberOfId(int idValue);

// Reads the printer's ID and, where it differs from the port's number, asks and writes the port's
// number. True when the installation may go on; false when it ends here, its message already shown.
bool MatchUsbPrinterId(win::Platform& platform, const LanguageText& messageText, InstallMode mode,
                       const std::string& portName, InstallPrompts& prompts);
