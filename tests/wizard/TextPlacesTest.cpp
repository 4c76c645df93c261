// medium-check's text-fit check names, for each text of setup's language file, the control that shows it:
// the wizard, run on the sample medium, must show each text in exactly that control.
#include <set>

#include "tests/wizard/WizardFixture.h"
#include "tools/medium-check/TextFit.h"

namespace {

// The template of each of the wizard's pages, by page index.
const int kPageTemplates[] = {IDD_LEGAL_PAGE, IDD_SERIES_PAGE, IDD_MODE_PAGE, IDD_SYSTEM_PAGE, IDD_PORT_PAGE};

TEST_F(WizardTest, EveryTextTheFitCheckMeasuresIsShownInTheControlItNames) {
    // Texts that change with the wizard's state are seen in their own state below.
    const std::set<std::string> changing = {"Install", "Note1", "Note2", "Note3", "IDS_TYPICAL_NOTES"};
    int checked = 0;
    // The uses of one template, on the dialog that shows it.
    auto check = [&](int templateId, SimDialog& dialog) {
        for (const medium::TextUse& use : medium::TextUses()) {
            if (std::string(use.file) != "setup.ini" || use.dialog != templateId || changing.count(use.key)) continue;
            const std::string text = Text(use.section, use.key);
            ASSERT_FALSE(text.empty()) << use.section << "/" << use.key;
            if (use.entry) {
                std::vector<std::string> entries = dialog.Entries(use.control);
                EXPECT_NE(entries.end(), std::find(entries.begin(), entries.end(), text)) << use.key;
            } else {
                EXPECT_EQ(text, dialog.GetDlgItemTextA(use.control)) << use.section << "/" << use.key;
            }
            ++checked;
        }
    };
    Run([&](SimDialog& frame) {
        check(IDD_WIZARD, frame);
        // Each page sets its texts when it is first shown.
        check(kPageTemplates[kAgreementPageIndex], Page(kAgreementPageIndex));
        ToModelChoice(IDC_TICKET, IDC_TICKET_MODELS, 1);  // ZMX-T310, which offers the advanced mode
        for (int page = 1; page < 5; ++page) {
            check(kPageTemplates[page], Page(page));
            if (page == kInstallModePageIndex) {
                ASSERT_TRUE(Page(page).Click(IDC_ADVANCED));
                EXPECT_EQ(Text("Mode", "Note2"), Page(page).GetDlgItemTextA(IDC_NOTE1));
                EXPECT_EQ(Text("Mode", "Note3"), Page(page).GetDlgItemTextA(IDC_NOTE2));
                ASSERT_TRUE(Page(page).Click(IDC_TYPICAL));
                EXPECT_EQ(Text("Mode", "Note1"), Page(page).GetDlgItemTextA(IDC_NOTE1));
            }
            if (page < 4) Next();
        }
        EXPECT_EQ(Text("Setup", "Install"), frame.GetDlgItemTextA(win::IDOK));
        frame.Click(win::IDCANCEL);
    });
    EXPECT_EQ(35, checked);
}

}  // namespace
