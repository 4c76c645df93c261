// Page 0 of the wizard: the licence agreement from "License.txt", accepted or rejected.
#pragma once

#include "platform/Dialogs.h"
#include "setup/environment/SetupContext.h"
#include "setup/wizard/WizardHost.h"

constexpr char kLicenseFile[] = "License.txt";

class AgreementPage : public win::DialogPage {
public:
    AgreementPage(SetupContext& context, WizardHost& host) : context_(context), host_(host) {}

    // Selects reject and shows the licence; a licence that cannot be opened cancels the wizard.
    win::BOOL OnInit(win::DialogSurface& surface) override;
    void OnShow(win::DialogSurface& surface) override;
    // Accept enables the frame's Next button, reject disables it.
    void OnCommand(win::DialogSurface& surface, int id, int notification) override;

private:
    SetupContext& context_;
    WizardHost& host_;
};
