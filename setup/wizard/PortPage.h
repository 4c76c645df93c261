// Page 4 of the wizard: the port to install on, the serial settings of a serial port and the driver
// family (the raster check box). It also owns the port names setup installs printers on.
#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "setup/engine/SerialSettings.h"
#include "setup/engine/UsbPrinterId.h"
#include "setup/environment/ModelConfig.h"
#include "setup/environment/SetupContext.h"
#include "setup/wizard/OperatingSystemPage.h"
#include "setup/wizard/WizardHost.h"

// The model name the port list counts as built for before its first build.
constexpr char kUnfilledModel[] = "PRINTER";

class PortPage : public win::DialogPage {
public:
    PortPage(SetupContext& context, WizardHost& host, const OperatingSystemPage& systemPage);

    win::BOOL OnInit(win::DialogSurface& surface) override;
    void OnShow(win::DialogSurface& surface) override;
    // The port list's and the setting lists' selection changes.
    void OnCommand(win::DialogSurface& surface, int id, int notification) override;
    // The six lists and the raster check box (DriverKind).
    win::BOOL Exchange(win::DialogSurface& surface, win::BOOL save) override;

    // The mode of the next build, set by the navigation before it calls FillPortList.
    void SetInstallMode(InstallMode mode) { installMode_ = mode; }
    // The model's default baud rate: selects its entry of the baud-rate list and takes the value that
    // entry shows (38400 for any value the list lacks).
    void ApplyDefaultBaudRate(win::DialogSurface& surface, int value);
    // Builds the port list for the model, unless it was last built for the same model and mode.
    void FillPortList(win::DialogSurface& surface, const std::string& model, PlatformGeneration generation,
                      PrinterClass printerClass);

    // The port the list shows as selected, however long.
    const std::string& SelectedPort() const { return selectedPort_; }
    const SerialSettings& Serial() const { return serial_; }
    DriverKind Kind() const { return driverKind_; }

private:
    // Entry 0, or with `parallel` the first parallel port.
    void SelectDefaultPort(win::DialogSurface& surface, bool parallel);
    // The settings, the raster box, DriverKind and the note that go with the selected port's kind.
    void ApplyPortKind(win::DialogSurface& surface);
    void ShowUsbNote(win::DialogSurface& surface);

    SetupContext& context_;
    WizardHost& host_;
    const OperatingSystemPage& systemPage_;
    InstallMode installMode_ = kInstallModeTypical;
    InstallMode lastFilledMode_ = kInstallModeTypical;
    std::string lastFilledModel_ = kUnfilledModel;
    bool filled_ = false;
    std::string selectedPort_;
    SerialSettings serial_;
    DriverKind driverKind_ = kDriverKindStd;
};
