// The USB printer's ID against the chosen port.
#include "setup/engine/UsbPrinterId.h"

#include "setup/engine/UsbDevice.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The port number written in the name: the highest of "_4", "_3", "_2", "_1" it holds, else 0.
int PortNumberInName(const std::string& portName) {
    for (int n = 4; n >= 1; --n) {
        if (Contains(portName, "_" + std::to_string(n))) return n;
    }
    return 0;
}

}  // namespace

int UsbPortNumberOfId(int idValue) { return idValue % 8 + 1; }

bool MatchUsbPrinterId(win::Platform& platform, const LanguageText& messageText, InstallMode mode,
                       const std::string& portName, InstallPrompts& prompts) {
    UsbMessageSink show = [&prompts](const std::string& text) { prompts.Show(text); };
    int id = GetUsbDeviceId(platform, messageText, show);
    int port = UsbPortNumberOfId(id);
    if (mode == kInstallModeAdvanced) {
        if (id == kUsbNoDevice) {
            prompts.Show(messageText.Get("IDS_ERR_NOUSBDEVICE"));
            return false;
        }
        if (id == kUsbSeveralDevices) return false;  // GetUsbDeviceId has said so
        if (Contains(portName, "_" + std::to_string(port))) return true;
        int wanted = PortNumberInName(portName);
        if (port != wanted && !prompts.AskYesNo(messageText.Get("IDS_INF_CHANGEID"))) return false;
        if (!WriteUsbDeviceId(platform, wanted, show)) {
            prompts.Show("Failed to set Printer ID!");
            return false;
        }
        return true;
    }
    // Typical: one port per model, "_1"; with no printer connected nothing is asked. With several
    // printers a write would rename whichever answers first, so the installation ends with the message.
    if (id == kUsbSeveralDevices) return false;
    if (id == kUsbNoDevice || port == 1) return true;
    if (!prompts.AskYesNo(messageText.Get("IDS_INF_CHANGEID"))) return false;
    return WriteUsbDeviceId(platform, 1, show);
}
