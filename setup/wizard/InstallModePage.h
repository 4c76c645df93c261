// Page 2 of the wizard: Typical or Advanced installation, with notes that follow the choice.
#pragma once

#include "platform/Dialogs.h"
#include "setup/engine/UsbPrinterId.h"
#include "setup/environment/SetupContext.h"

class InstallModePage : public win::DialogPage {
public:
    explicit InstallModePage(SetupContext& context) : context_(context) {}

    win::BOOL OnInit(win::DialogSurface& surface) override;
    void OnShow(win::DialogSurface& surface) override;
    void OnCommand(win::DialogSurface& surface, int id, int notification) override;

    InstallMode Mode() const { return mode_; }
    // The navigation's verdict on the model chosen: a model without advanced setup gets Typical, with
    // the Advanced choice disabled; otherwise Advanced is offered again and the choice kept.
    void OfferAdvanced(win::DialogSurface& surface, bool offered);

private:
    SetupContext& context_;
    InstallMode mode_ = kInstallModeTypical;
};
