// Page 1 of the wizard: the printer class and the model of that class from the medium's device list,
// and whether the printer becomes the default one.
#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "setup/environment/ModelConfig.h"
#include "setup/environment/SetupContext.h"

class PrinterSelectionPage : public win::DialogPage {
public:
    explicit PrinterSelectionPage(SetupContext& context);

    // Fills the four model lists in device-list order and preselects the default device.
    win::BOOL OnInit(win::DialogSurface& surface) override;
    void OnShow(win::DialogSurface& surface) override;
    // A class radio enables its list and takes that list's selection; a list selection names the model.
    void OnCommand(win::DialogSurface& surface, int id, int notification) override;
    // The default-printer check box.
    win::BOOL Exchange(win::DialogSurface& surface, win::BOOL save) override;

    PrinterClass SelectedClass() const { return selectedClass_; }
    // Exactly as the device list spells it; empty when no model is chosen.
    const std::string& SelectedModel() const { return selectedModel_; }
    bool SetAsDefault() const { return setAsDefault_; }
    bool HasModels() const { return hasModels_; }

private:
    SetupContext& context_;
    ModelConfig modelConfig_;
    PrinterClass selectedClass_ = kPrinterClassReceipt;
    std::string selectedModel_;
    bool setAsDefault_ = false;
    bool hasModels_ = false;
};
