// Page 3 of the wizard: shows the Windows generation the installation is for; the user cannot change
// it. The install action and the port page read the generation from here.
#pragma once

#include "platform/Dialogs.h"
#include "setup/environment/PlatformGeneration.h"
#include "setup/environment/SetupContext.h"
#include "setup/wizard/WizardHost.h"

class OperatingSystemPage : public win::DialogPage {
public:
    OperatingSystemPage(SetupContext& context, WizardHost& host) : context_(context), host_(host) {}

    // Selects and keeps enabled only the radio of the running system; records the program with the
    // compatibility assistant on NT 6.0.
    win::BOOL OnInit(win::DialogSurface& surface) override;
    void OnShow(win::DialogSurface& surface) override;

    PlatformGeneration Generation() const { return generation_; }

private:
    SetupContext& context_;
    WizardHost& host_;
    PlatformGeneration generation_ = kGenerationWin98Me;
};
