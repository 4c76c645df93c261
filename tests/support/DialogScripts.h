// Scripts that play the user in the simulated modal dialogs, kept honest: a dialog a test scripts must
// open, or the checks in its script would pass by never running.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "platform/sim/SimWindowsUi.h"

class DialogScripts {
public:
    enum Opening { kMustOpen, kMayStayClosed };

    explicit DialogScripts(win::sim::SimWindowsUi& ui) : ui_(ui) {}
    DialogScripts(const DialogScripts&) = delete;
    DialogScripts& operator=(const DialogScripts&) = delete;

    // `script` acts each time the dialog of the template opens; it ends the dialog or not.
    void Script(win::UINT templateId, std::function<void(win::sim::SimDialog&)> script,
                Opening opening = kMustOpen) {
        if (opening == kMustOpen) mustOpen_.insert(templateId);
        // Made here, so that a script running on another thread only counts.
        int& openings = openings_[templateId];
        ui_.modalScripts[templateId] = [&openings, script](win::sim::SimDialog& dialog) {
            ++openings;
            if (script) script(dialog);
        };
    }

    // How often a scripted dialog of the template has opened so far.
    int Openings(win::UINT templateId) const {
        auto found = openings_.find(templateId);
        return found == openings_.end() ? 0 : found->second;
    }

    // At the test's end: every dialog that had to open did, and every scripted message-box answer was
    // given to a box.
    void Verify() const {
        for (win::UINT templateId : mustOpen_)
            EXPECT_NE(0, Openings(templateId))
                << "the dialog of template " << templateId << " never opened: its script never ran";
        EXPECT_TRUE(ui_.messageBoxAnswers.empty())
            << ui_.messageBoxAnswers.size() << " scripted message-box answers left: a box never opened";
    }

private:
    win::sim::SimWindowsUi& ui_;
    std::set<win::UINT> mustOpen_;
    std::map<win::UINT, int> openings_;
};
