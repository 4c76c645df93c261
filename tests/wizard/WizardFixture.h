// The wizard on the sample medium against the simulated Windows: setup runs, a script plays the user.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "platform/sim/SimUsbDevices.h"
#include "resources/resource.h"
#include "setup/wizard/SetupApp.h"
#include "setup/wizard/WizardFrame.h"
#include "tests/support/DialogScripts.h"
#include "tests/support/SetupResources.h"

namespace fs = std::filesystem;
using win::sim::SimDialog;

class WizardTest : public ::testing::Test {
protected:
    // The PE32 edition's machine, or the x64 edition's for its own tests.
    explicit WizardTest(const win::Architecture& architecture = win::kArchitectureX86)
        : sim_(architecture), usb_(sim_.library(), architecture) {}
    void SetUp() override {
        fs::copy(fs::path(SOURCE_DIR) / "medium", sim_.windows().HostPath("C:\\MEDIUM"),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        sim_.ui().resources = &SetupResources();
    }
    void TearDown() override { scripts_.Verify(); }

    std::string Text(const char* section, const char* key) {
        return LanguageText(sim_.platform(), section).Get(key);
    }

    // Runs setup; `user` acts while the wizard is open, with the frame's surface and the frame. Given a
    // `user`, the wizard must open in this run; without one it may stay closed.
    void Run(std::function<void(SimDialog&)> user = nullptr) {
        int openings = scripts_.Openings(IDD_WIZARD);
        scripts_.Script(
            IDD_WIZARD,
            [this, user](SimDialog& dialog) {
                frameDialog_ = &dialog;
                if (user) user(dialog);
            },
            DialogScripts::kMayStayClosed);
        RunSetup(sim_.platform(), [this](WizardFrame& frame) { frame_ = &frame; });
        if (user) {
            EXPECT_LT(openings, scripts_.Openings(IDD_WIZARD)) << "the wizard never opened";
        }
    }

    SimDialog& Page(int index) { return *sim_.ui().Dialog(frame_->PageWindow(index)); }
    // The page the user sees: exactly one is visible once the frame runs.
    int VisiblePage() {
        int visible = -1;
        for (int i = 0; i < frame_->PageCount(); ++i) {
            if (!Page(i).IsVisible()) continue;
            EXPECT_EQ(-1, visible) << "two pages visible";
            visible = i;
        }
        return visible;
    }
    void Next() { ASSERT_TRUE(frameDialog_->Click(win::IDOK)); }
    void Back() { ASSERT_TRUE(frameDialog_->Click(IDC_BACK)); }
    // Accepts the agreement and chooses the model on page 1.
    void ToModelChoice(int radio, int list, int entry) {
        ASSERT_TRUE(Page(kAgreementPageIndex).Click(IDC_ACCEPT));
        Next();
        ASSERT_TRUE(Page(kPrinterSelectionPageIndex).Click(radio));
        ASSERT_TRUE(Page(kPrinterSelectionPageIndex).Select(list, entry));
    }
    std::vector<std::string> MessageTexts() {
        std::vector<std::string> texts;
        for (const auto& box : sim_.ui().MessageBoxes()) texts.push_back(box.text);
        return texts;
    }

    win::sim::SimPlatform sim_;
    DialogScripts scripts_{sim_.ui()};
    // The medium's USB library, with no printer connected unless a test connects one.
    win::sim::SimUsbDevices usb_;
    SimDialog* frameDialog_ = nullptr;
    WizardFrame* frame_ = nullptr;
};
