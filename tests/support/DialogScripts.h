// Scripts that play the user in the simulated modal dialogs, kept honest: a dialog a test scripts must
// open, or the checks in its script would pass by never running.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <vector>

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
        // The counter is made here: a script run from the removal thread only increments it.
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

    // At the test's end: every dialog that had to open did, and every scripted message-box answer went to
    // a box that has its button. The answers are a queue: the box a test means could be missed and its
    // answer taken by a later one, which a real box could never give.
    void Verify() const {
        for (win::UINT templateId : mustOpen_)
            EXPECT_NE(0, Openings(templateId))
                << "the dialog of template " << templateId << " never opened: its script never ran";
        EXPECT_TRUE(ui_.messageBoxAnswers.empty())
            << ui_.messageBoxAnswers.size() << " scripted message-box answers left: a box never opened";
        for (const auto& box : ui_.MessageBoxes())
            EXPECT_TRUE(HasButton(box.type, box.answer))
                << "the answer " << box.answer << " went to a box without that button: \"" << box.text
                << "\"; the box it was meant for never opened";
    }

private:
    static bool HasButton(win::UINT type, int answer) {
        static const std::vector<std::vector<int>> buttons = {{win::IDOK},
                                                              {win::IDOK, win::IDCANCEL},
                                                              {win::IDABORT, win::IDRETRY, win::IDIGNORE},
                                                              {win::IDYES, win::IDNO, win::IDCANCEL},
                                                              {win::IDYES, win::IDNO},
                                                              {win::IDRETRY, win::IDCANCEL}};
        size_t kind = type & 0xF;
        if (kind >= buttons.size()) return answer == win::IDOK;
        const std::vector<int>& offered = buttons[kind];
        return std::find(offered.begin(), offered.end(), answer) != offered.end();
    }

    win::sim::SimWindowsUi& ui_;
    std::set<win::UINT> mustOpen_;
    std::map<win::UINT, int> openings_;
};
