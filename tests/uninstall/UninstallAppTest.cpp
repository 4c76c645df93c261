// The uninstaller's start: one instance, brought forward by its title, and no start while setup runs,
// whatever setup's window is called.
#include "shared/ProgramInstances.h"
#include "tests/support/BroughtForward.h"
#include "tests/support/MachineSnapshot.h"
#include "tests/support/Wow64.h"
#include "tests/uninstall/UninstallFixture.h"

namespace {

TEST_F(UninstallTest, On64BitWindowsTheX64EditionRemovesAndWithoutItTheStartIsRefused) {
    AddComponents();
    MakeWindows64Bit(sim_.library());
    std::string before = MachineSnapshot(sim_);
    EXPECT_EQ(0, Run());
    EXPECT_TRUE(sim_.ui().ModalDialogs().empty());
    ASSERT_EQ(1u, sim_.ui().MessageBoxes().size());
    EXPECT_EQ(Text("Message", "IDS_NOTSUPPORT64"), sim_.ui().MessageBoxes()[0].text);
    EXPECT_FALSE(Text("Message", "IDS_NOTSUPPORT64").empty());
    EXPECT_EQ(before, MachineSnapshot(sim_));

    sim_.windows().WriteFile("C:\\MEDIUM\\uninstall64.exe", "MZ");
    sim_.windows().moduleFileName = "C:\\MEDIUM\\uninstall.exe";
    sim_.windows().commandLine = "\"C:\\MEDIUM\\uninstall.exe\"";
    EXPECT_EQ(0, Run());
    ASSERT_EQ(1u, sim_.windows().startedPrograms.size());
    EXPECT_EQ("C:\\MEDIUM\\uninstall64.exe", sim_.windows().startedPrograms[0].application);
    EXPECT_EQ(1u, sim_.ui().MessageBoxes().size());
    EXPECT_FALSE(sim_.ui().MutexExists(kUninstallRunningMutex));
}

TEST_F(UninstallTest, ASecondStartBringsTheFirstForwardByTheTitleItHas) {
    AddComponents();
    sim_.ui().HoldMutexElsewhere("uninstall");
    win::HWND first = sim_.ui().AddTopLevelWindow(Text("Uninstall", "Title"));
    EXPECT_EQ(0, Run());
    EXPECT_TRUE(sim_.ui().ModalDialogs().empty());
    EXPECT_TRUE(sim_.ui().MessageBoxes().empty());
    ExpectBroughtForward(sim_.ui(), first);
    if (HasFatalFailure()) return;

    // A first one whose language file left the template's caption is found by that caption.
    UseEnglishTexts();
    sim_.ui().DestroyWindow(first);
    win::HWND untitled = sim_.ui().AddTopLevelWindow("打印机卸载程序");
    Run();
    ASSERT_EQ(4u, sim_.ui().WindowCalls().size());
    EXPECT_EQ(untitled, sim_.ui().WindowCalls()[2].window);
}

TEST_F(UninstallTest, ARenamedFirstInstanceIsKnownByItsFixedMutex) {
    AddComponents();
    sim_.ui().HoldMutexElsewhere(kUninstallRunningMutex);
    Run();
    EXPECT_TRUE(sim_.ui().ModalDialogs().empty());
    EXPECT_TRUE(sim_.ui().MessageBoxes().empty()) << "it ends silently";
}

TEST_F(UninstallTest, SetupRunningRefusesTheStartByItsTemplateCaptionOrItsMutex) {
    AddComponents();
    win::HWND setup = sim_.ui().AddTopLevelWindow("打印机驱动安装程序");
    Run();
    ASSERT_EQ(1u, sim_.ui().MessageBoxes().size());
    EXPECT_EQ(Text("Uninstall", "Close"), sim_.ui().MessageBoxes()[0].text);
    EXPECT_EQ("uninstall", sim_.ui().MessageBoxes()[0].caption);
    EXPECT_EQ(win::MB_OK, sim_.ui().MessageBoxes()[0].type);

    // Setup's own language file gives its window another caption; its mutex still tells.
    sim_.ui().DestroyWindow(setup);
    sim_.ui().AddTopLevelWindow("热敏打印机驱动程序安装");
    sim_.ui().HoldMutexElsewhere(kSetupRunningMutex);
    Run();
    EXPECT_EQ(2u, sim_.ui().MessageBoxes().size());
    EXPECT_TRUE(sim_.ui().ModalDialogs().empty());
}

TEST_F(UninstallTest, WhileOpenItHoldsTheMutexesThatSetupAndASecondStartLookFor) {
    AddComponents();
    Run([this](SimDialog& dialog) {
        EXPECT_TRUE(sim_.ui().MutexExists(kUninstallRunningMutex));
        EXPECT_TRUE(sim_.ui().MutexExists("uninstall"));
        dialog.Click(win::IDCANCEL);
    });
    EXPECT_FALSE(sim_.ui().MutexExists(kUninstallRunningMutex));
    EXPECT_FALSE(sim_.ui().MutexExists("uninstall"));
}

}  // namespace
