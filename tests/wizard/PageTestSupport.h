// What the wizard page tests share: a frame that records what pages ask of it, and live simulated pages.
#pragma once

#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "setup/wizard/WizardHost.h"
#include "tests/support/SetupResources.h"

struct RecordingHost : WizardHost {
    void EnableNext(bool enable) override { next.push_back(enable); }
    void CancelWizard() override { ++cancels; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<bool> next;
    int cancels = 0;
    std::vector<std::string> messages;
};

// The page's window made from its template, as the frame makes it at start-up, and shown.
inline win::sim::SimDialog& OpenPage(win::sim::SimPlatform& sim, win::UINT templateId,
                                     win::DialogPage& page) {
    sim.ui().resources = &SetupResources();
    win::HWND window = sim.ui().CreateDialogParamA(templateId, nullptr, page);
    sim.ui().ShowWindow(window, win::SW_SHOW);
    return *sim.ui().Dialog(window);
}
