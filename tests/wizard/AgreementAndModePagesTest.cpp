// The agreement page and the install-mode page against the simulated templates 133 and 137.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "setup/wizard/AgreementPage.h"
#include "setup/wizard/InstallModePage.h"
#include "tests/wizard/PageTestSupport.h"

using win::sim::SimDialog;

namespace {

class WizardPagesTest : public ::testing::Test {
protected:
    WizardPagesTest() {
        sim_.windows().WriteFile(
            "C:\\MEDIUM\\language\\setup.ini",
            "[Legal]\r\nAgreement=Licence\r\n[Mode]\r\nType=How\r\nNote1=typical note\r\n"
            "Note2=advanced note\r\nNote3=advanced more\r\n[Message]\r\n"
            "IDS_ERR_NOLICENSE=no licence\r\nIDS_TYPICAL_NOTES=only typical\r\n");
    }
    // Made by hand, so the result of the page's initialisation can be seen.
    SimDialog Agreement(AgreementPage& page) {
        return SimDialog(SetupResources().dialogs.at(IDD_LEGAL_PAGE), {}, &page);
    }

    win::sim::SimPlatform sim_;
    SetupContext context_{sim_.platform()};
    RecordingHost host_;
};

TEST_F(WizardPagesTest, AgreementShowsTheLicenceBytesStartsRejectedAndGatesNext) {
    // Code-page bytes and CR LF as they are; a zero byte ends the text.
    const char licence[] = "\xC8\xED\xBC\xFE terms\r\nline 2\0hidden";
    sim_.windows().WriteFile("C:\\MEDIUM\\License.txt", std::string(licence, sizeof(licence) - 1));
    AgreementPage page(context_, host_);
    SimDialog d = Agreement(page);
    EXPECT_TRUE(d.Init());
    EXPECT_EQ("\xC8\xED\xBC\xFE terms\r\nline 2", d.GetDlgItemTextA(IDC_AGREEMENT_TEXT));
    EXPECT_EQ(IDC_REJECT, d.CheckedRadioOfGroup(IDC_ACCEPT));
    // Read-only, it still paints in the window's colours, in its own font.
    const SimDialog::Colours& colours = d.colours().at(IDC_AGREEMENT_TEXT);
    EXPECT_EQ(win::SystemColour(win::COLOR_WINDOWTEXT), colours.text);
    EXPECT_EQ(win::SystemColour(win::COLOR_WINDOW), colours.background);
    EXPECT_EQ(std::make_pair(0, std::string()), std::make_pair(colours.fontHeight, colours.face));

    d.Show(true);
    EXPECT_EQ("Licence", d.GetDlgItemTextA(IDC_AGREEMENT_GROUP));
    for (int radio : {IDC_ACCEPT, IDC_REJECT, IDC_ACCEPT}) ASSERT_TRUE(d.Click(radio));
    EXPECT_EQ((std::vector<bool>{true, false, true}), host_.next);
}

TEST_F(WizardPagesTest, AnEmptyLicenceIsShownEmptyAndAMissingOneEndsTheWizard) {
    sim_.windows().WriteFile("C:\\MEDIUM\\License.txt", "");
    AgreementPage empty(context_, host_);
    EXPECT_TRUE(Agreement(empty).Init());
    EXPECT_TRUE(host_.messages.empty());

    // Looked for in the current directory; the message comes from the start-up directory's texts.
    sim_.windows().MakeDirectory("C:\\ELSEWHERE");
    sim_.windows().currentDirectory = "C:\\ELSEWHERE";
    AgreementPage missing(context_, host_);
    EXPECT_FALSE(Agreement(missing).Init());
    EXPECT_EQ(1, host_.cancels);
    EXPECT_EQ((std::vector<std::string>{"no licence"}), host_.messages);
}

TEST_F(WizardPagesTest, ModeNotesFollowTheChoiceAndAModelWithoutAdvancedSetupIsTypical) {
    InstallModePage page(context_);
    SimDialog& d = OpenPage(sim_, IDD_MODE_PAGE, page);
    EXPECT_EQ(IDC_TYPICAL, d.CheckedRadioOfGroup(IDC_TYPICAL));
    EXPECT_EQ("typical note", d.GetDlgItemTextA(IDC_NOTE1));
    EXPECT_EQ("How", d.GetDlgItemTextA(IDC_MODE_GROUP));

    ASSERT_TRUE(d.Click(IDC_ADVANCED));
    EXPECT_EQ(kInstallModeAdvanced, page.Mode());
    EXPECT_EQ("advanced note", d.GetDlgItemTextA(IDC_NOTE1));
    EXPECT_EQ("advanced more", d.GetDlgItemTextA(IDC_NOTE2));
    EXPECT_TRUE(d.IsDlgItemVisible(IDC_NOTE2));
    ASSERT_TRUE(d.Click(IDC_TYPICAL));
    EXPECT_EQ(kInstallModeTypical, page.Mode());
    EXPECT_EQ("typical note", d.GetDlgItemTextA(IDC_NOTE1));
    EXPECT_FALSE(d.IsDlgItemVisible(IDC_NOTE2));

    ASSERT_TRUE(d.Click(IDC_ADVANCED));
    page.OfferAdvanced(d, false);
    EXPECT_EQ(kInstallModeTypical, page.Mode());
    EXPECT_EQ(IDC_TYPICAL, d.CheckedRadioOfGroup(IDC_TYPICAL));
    EXPECT_FALSE(d.Click(IDC_ADVANCED));
    EXPECT_EQ("only typical", d.GetDlgItemTextA(IDC_NOTE1));
    EXPECT_FALSE(d.IsDlgItemVisible(IDC_NOTE2));
    EXPECT_FALSE(d.IsDlgItemVisible(IDC_NOTE3));

    // Offered again, the choice stays as it is.
    page.OfferAdvanced(d, true);
    EXPECT_EQ(kInstallModeTypical, page.Mode());
    ASSERT_TRUE(d.Click(IDC_ADVANCED));
    page.OfferAdvanced(d, true);
    EXPECT_EQ(kInstallModeAdvanced, page.Mode());
}

}  // namespace
