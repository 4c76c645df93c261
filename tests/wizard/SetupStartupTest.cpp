// A second setup finds the first by the caption it was built with when the language file's caption
// finds no window.
#include "shared/ProgramInstances.h"
#include "tests/wizard/WizardFixture.h"

namespace {

TEST_F(WizardTest, ASecondSetupFindsAFirstOneCaptionedQuarvelWhenTheLocalisedCaptionFindsNone) {
    sim_.ui().HoldMutexElsewhere(kSetupRunningMutex);
    ASSERT_NE("Quarvel", Text("Setup", "Caption"));
    Run();
    EXPECT_TRUE(sim_.ui().ModalDialogs().empty());
    EXPECT_TRUE(sim_.ui().WindowCalls().empty()) << "no first window to bring forward";

    win::HWND first = sim_.ui().AddTopLevelWindow("Quarvel", "#32770");
    Run();
    EXPECT_TRUE(sim_.ui().ModalDialogs().empty());
    EXPECT_TRUE(sim_.ui().MessageBoxes().empty());
    ASSERT_EQ(2u, sim_.ui().WindowCalls().size());
    EXPECT_EQ("SetForegroundWindow", sim_.ui().WindowCalls()[0].operation);
    EXPECT_EQ(first, sim_.ui().WindowCalls()[0].window);
    EXPECT_EQ("OpenIcon", sim_.ui().WindowCalls()[1].operation);
    EXPECT_EQ(first, sim_.ui().WindowCalls()[1].window);
}

}  // namespace
