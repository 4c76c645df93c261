// The wizard from its start to the last page against the simulated Windows, on the sample medium: the
// start-up checks, the frame, and the navigation rules between the pages.
#include "shared/Administrator.h"
#include "shared/ProgramInstances.h"
#include "tests/support/BroughtForward.h"
#include "tests/support/MachineSnapshot.h"
#include "tests/support/Wow64.h"
#include "tests/wizard/WizardFixture.h"

namespace {

TEST_F(WizardTest, OpensOnTheAgreementWithLocalisedFrameAndNextDisabled) {
    Run([this](SimDialog& frame) {
        EXPECT_EQ(Text("Setup", "Caption"), frame.GetWindowTextA());
        EXPECT_EQ(Text("Setup", "Help"), frame.GetDlgItemTextA(IDC_HELP_HINT));
        EXPECT_EQ(Text("Setup", "Back"), frame.GetDlgItemTextA(IDC_BACK));
        EXPECT_EQ(Text("Setup", "Next"), frame.GetDlgItemTextA(win::IDOK));
        EXPECT_EQ(Text("Setup", "Cancel"), frame.GetDlgItemTextA(win::IDCANCEL));
        EXPECT_FALSE(frame.IsDlgItemEnabled(win::IDOK));
        EXPECT_FALSE(frame.IsDlgItemEnabled(IDC_BACK));
        EXPECT_EQ(kAgreementPageIndex, VisiblePage());
        // Every page lies on the placeholder; the picture, icon and about item are in place.
        for (int i = 0; i < frame_->PageCount(); ++i)
            EXPECT_EQ(IDC_PAGE_AREA, frame.placements().at(frame_->PageWindow(i)));
        EXPECT_EQ(1u, frame.pictures().count(IDC_SIDE_PICTURE));
        EXPECT_EQ(static_cast<win::UINT>(IDI_APP), frame.icon());
        ASSERT_EQ(1u, frame.systemMenu().size());
        EXPECT_EQ(Text("Message", "IDS_ABOUTBOX"), frame.systemMenu()[0].text);
        EXPECT_TRUE(frame.missingControls().empty());
        frame.Click(win::IDCANCEL);
    });
    ASSERT_EQ(1u, sim_.ui().ModalDialogs().size());
    EXPECT_EQ(win::IDCANCEL, sim_.ui().ModalDialogs()[0].result);
    EXPECT_TRUE(sim_.ui().MessageBoxes().empty());
}

TEST_F(WizardTest, AgreementGatesNextAndBackReturnsToIt) {
    Run([this](SimDialog& frame) {
        Page(0).Click(IDC_ACCEPT);
        EXPECT_TRUE(frame.IsDlgItemEnabled(win::IDOK));
        Page(0).Click(IDC_REJECT);
        EXPECT_FALSE(frame.IsDlgItemEnabled(win::IDOK));
        EXPECT_FALSE(frame.Click(win::IDOK)) << "a disabled Next cannot be pressed";
        frame.Command(win::IDOK);  // nor reached with Enter
        EXPECT_EQ(kAgreementPageIndex, VisiblePage());
        Page(0).Click(IDC_ACCEPT);
        Next();
        EXPECT_EQ(kPrinterSelectionPageIndex, VisiblePage());
        EXPECT_TRUE(frame.IsDlgItemEnabled(IDC_BACK));
        EXPECT_EQ(win::IDOK, frame.focus());
        Back();
        EXPECT_EQ(kAgreementPageIndex, VisiblePage());
        EXPECT_FALSE(frame.IsDlgItemEnabled(IDC_BACK));
        EXPECT_TRUE(frame.IsDlgItemEnabled(win::IDOK));
        EXPECT_TRUE(Page(0).IsDlgButtonChecked(IDC_ACCEPT)) << "the choice is kept";
    });
}

TEST_F(WizardTest, NextStaysDisabledWithoutAnyModel) {
    sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup.ini", "[DEVICENAME]\r\nDEVICENUMBER=0\r\n");
    Run([this](SimDialog& frame) {
        Page(0).Click(IDC_ACCEPT);
        Next();
        EXPECT_EQ(kPrinterSelectionPageIndex, VisiblePage());
        EXPECT_FALSE(frame.IsDlgItemEnabled(win::IDOK));
    });
}

TEST_F(WizardTest, PagesThroughToInstallAndFillsTheRecord) {
    Run([this](SimDialog& frame) {
        ToModelChoice(IDC_TICKET, IDC_TICKET_MODELS, 1);  // ZMX-T310, advanced setup offered
        Page(1).Click(IDC_SET_DEFAULT);
        Next();
        EXPECT_TRUE(Page(kInstallModePageIndex).IsDlgItemEnabled(IDC_ADVANCED));
        Page(kInstallModePageIndex).Click(IDC_ADVANCED);
        Next();
        EXPECT_EQ(kOperatingSystemPageIndex, VisiblePage());
        frame.Command(win::IDOK);  // Enter
        EXPECT_EQ(kPortPageIndex, VisiblePage());
        EXPECT_EQ(Text("Setup", "Install"), frame.GetDlgItemTextA(win::IDOK));

        InstallRecord& record = frame_->Record();
        EXPECT_EQ(kPrinterClassTicket, record.printerClass);
        EXPECT_EQ("ZMX-T310", record.modelName);
        EXPECT_TRUE(record.setAsDefault);
        EXPECT_EQ(kGenerationXP, record.generation);
        EXPECT_EQ("C:\\MEDIUM\\DRVCONFIG\\setup_Ticket.ini", record.modelFilePath);
        EXPECT_EQ(kInstallModeAdvanced, frame_->ChosenInstallMode());
        // Advanced mode lists the four USB ports of the model.
        std::vector<std::string> ports = Page(kPortPageIndex).Entries(IDC_PORT);
        EXPECT_EQ(1, std::count(ports.begin(), ports.end(), "USB_ZMX-T310_4"));

        int installs = 0;
        frame_->installHandler = [&installs](WizardFrame&) { ++installs; };
        Next();
        EXPECT_EQ(1, installs) << "Install on the last page runs the install action";
        EXPECT_EQ(kPortPageIndex, VisiblePage());

        Back();
        EXPECT_EQ(kOperatingSystemPageIndex, VisiblePage());
        EXPECT_EQ(Text("Setup", "Next"), frame.GetDlgItemTextA(win::IDOK));
    });
}

TEST_F(WizardTest, AdvancedIsWithheldForAModelWithoutItAndOfferedAgain) {
    Run([this](SimDialog&) {
        ToModelChoice(IDC_TICKET, IDC_TICKET_MODELS, 1);  // ZMX-T310
        Next();
        SimDialog& mode = Page(kInstallModePageIndex);
        mode.Click(IDC_ADVANCED);
        Back();
        Page(1).Select(IDC_TICKET_MODELS, 0);  // ZMX-T300: AdvancedSetup=0
        Next();
        EXPECT_FALSE(mode.IsDlgItemEnabled(IDC_ADVANCED));
        EXPECT_TRUE(mode.IsDlgButtonChecked(IDC_TYPICAL));
        EXPECT_EQ(Text("Message", "IDS_TYPICAL_NOTES"), mode.GetDlgItemTextA(IDC_NOTE1));
        EXPECT_FALSE(mode.IsDlgItemVisible(IDC_NOTE2));
        Back();
        Page(1).Select(IDC_TICKET_MODELS, 1);
        Next();
        EXPECT_TRUE(mode.IsDlgItemEnabled(IDC_ADVANCED));
        EXPECT_TRUE(mode.IsDlgButtonChecked(IDC_TYPICAL)) << "offering again keeps the choice";
    });
}

struct Refusal {
    win::DWORD platformId, major, minor;
    const char* message;  // null: never refused
};

class GenerationRefusalTest : public WizardTest, public ::testing::WithParamInterface<Refusal> {};

// ZMX-T300 supports NT 4 but neither Server 2003 nor Vista.
TEST_P(GenerationRefusalTest, TheModelMustSupportTheGeneration) {
    const Refusal& refusal = GetParam();
    sim_.windows().SetVersion(refusal.platformId, refusal.major, refusal.minor);
    Run([this, &refusal](SimDialog&) {
        ToModelChoice(IDC_TICKET, IDC_TICKET_MODELS, 0);
        Next();
        Next();
        Next();
        if (refusal.message == nullptr) {
            EXPECT_EQ(kPortPageIndex, VisiblePage());
            EXPECT_TRUE(sim_.ui().MessageBoxes().empty());
        } else {
            EXPECT_EQ(kOperatingSystemPageIndex, VisiblePage());
            EXPECT_EQ(std::vector<std::string>{Text("Message", refusal.message)}, MessageTexts());
            EXPECT_EQ("setup", sim_.ui().MessageBoxes()[0].caption);
        }
    });
}

INSTANTIATE_TEST_SUITE_P(
    Generations, GenerationRefusalTest,
    ::testing::Values(Refusal{win::VER_PLATFORM_WIN32_WINDOWS, 4, 10, nullptr},
                      Refusal{win::VER_PLATFORM_WIN32_NT, 4, 0, nullptr},
                      Refusal{win::VER_PLATFORM_WIN32_NT, 5, 0, nullptr},
                      Refusal{win::VER_PLATFORM_WIN32_NT, 5, 1, nullptr},
                      Refusal{win::VER_PLATFORM_WIN32_NT, 5, 2, "IDS_NOTSUPPORT2003"},
                      Refusal{win::VER_PLATFORM_WIN32_NT, 6, 0, "IDS_NOTSUPPORTVISTA"}));

// The x64 edition on every 64-bit Windows: only SystemX64Supported counts, the 32-bit flags never do.
class X64WizardTest : public WizardTest {
protected:
    X64WizardTest() : WizardTest(win::kArchitectureX64) {}
};

TEST_F(X64WizardTest, AModelWithoutX64DriversIsRefusedOnTheOperatingSystemPage) {
    sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup_Ticket.ini",
                             "[ZMX-T300.PORT]\r\nSystemNTSupported=1\r\nSystem2003Supported=1\r\n"
                             "SystemVistaSupported=1\r\nSystemX64Supported=0\r\n"
                             "[ZMX-T310.PORT]\r\nSystemX64Supported=1\r\n");
    for (win::DWORD major : {5u, 6u, 10u}) {
        SCOPED_TRACE(major);
        sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_NT, major, major == 5 ? 2 : 1);
        for (int model : {0, 1}) {
            size_t boxes = sim_.ui().MessageBoxes().size();
            Run([&](SimDialog&) {
                ToModelChoice(IDC_TICKET, IDC_TICKET_MODELS, model);
                Next();
                Next();
                Next();
                if (model == 1) {
                    // ZMX-T310 names no 32-bit generation at all, and goes on.
                    EXPECT_EQ(kPortPageIndex, VisiblePage());
                    EXPECT_EQ(boxes, sim_.ui().MessageBoxes().size());
                } else {
                    EXPECT_EQ(kOperatingSystemPageIndex, VisiblePage());
                    ASSERT_EQ(boxes + 1, sim_.ui().MessageBoxes().size());
                    EXPECT_EQ(Text("Message", "IDS_NOTSUPPORTX64"), sim_.ui().MessageBoxes().back().text);
                }
                frameDialog_->Click(win::IDCANCEL);
            });
        }
    }
    EXPECT_FALSE(Text("Message", "IDS_NOTSUPPORTX64").empty());
}

TEST_F(WizardTest, NtFourIsRefusedForAModelWithoutIt) {
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_NT, 4, 0);
    sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup_Ticket.ini",
                             "[ZMX-T300.PORT]\r\nBaudRate=9600\r\n[ZMX-T310.PORT]\r\nSystemNTSupported=1\r\n");
    Run([this](SimDialog&) {
        ToModelChoice(IDC_TICKET, IDC_TICKET_MODELS, 0);
        Next();
        Next();
        Next();
        EXPECT_EQ(kOperatingSystemPageIndex, VisiblePage());
        EXPECT_EQ(std::vector<std::string>{Text("Message", "IDS_NOTSUPPORTNT")}, MessageTexts());
    });
}

TEST_F(WizardTest, BaudRateIsAppliedOnTheFirstArrivalAndAfterGoingBackPastTheModePage) {
    Run([this](SimDialog&) {
        ToModelChoice(IDC_TICKET, IDC_TICKET_MODELS, 1);  // ZMX-T310: 115200, on KXCOM1:
        Next();
        Next();
        Next();
        SimDialog& port = Page(kPortPageIndex);
        std::string shown;
        port.GetLBText(IDC_BAUD_RATE, port.GetCurSel(IDC_BAUD_RATE), &shown);
        EXPECT_EQ("115200", shown);
        EXPECT_TRUE(port.IsDlgItemEnabled(IDC_BAUD_RATE));

        // The user's choice survives going back to the operating-system and mode pages.
        ASSERT_TRUE(port.Select(IDC_BAUD_RATE, 5));  // 9600
        Back();
        Back();
        Next();
        Next();
        EXPECT_EQ(5, port.GetCurSel(IDC_BAUD_RATE));

        // Going back to the printer choice applies the model's rate again.
        Back();
        Back();
        Back();
        EXPECT_EQ(kPrinterSelectionPageIndex, VisiblePage());
        Next();
        Next();
        Next();
        EXPECT_EQ(9, port.GetCurSel(IDC_BAUD_RATE));
    });
}

TEST_F(WizardTest, AboutBoxAndHelp) {
    scripts_.Script(IDD_ABOUTBOX, [this](SimDialog& about) {
        EXPECT_EQ(Text("About", "Caption"), about.GetWindowTextA());
        EXPECT_EQ(Text("About", "Version"), about.GetDlgItemTextA(IDC_ABOUT_VERSION));
        EXPECT_EQ(Text("About", "Copyright"), about.GetDlgItemTextA(IDC_ABOUT_COPYRIGHT));
        about.Click(win::IDOK);
    });
    Run([this](SimDialog& frame) {
        EXPECT_FALSE(frame.SystemCommand(0xF020)) << "minimise goes to the default processing";
        EXPECT_TRUE(frame.SystemCommand(IDM_ABOUTBOX));
        EXPECT_TRUE(frame.Help());
        win::HWND viewer = sim_.ui().AddTopLevelWindow(kHelpWindowCaption);
        EXPECT_TRUE(frame.Help());
        ASSERT_EQ(1u, sim_.ui().ShellCalls().size());
        EXPECT_EQ(".\\Guide.CHM", sim_.ui().ShellCalls()[0].file);
        EXPECT_EQ("open", sim_.ui().ShellCalls()[0].verb);
        ASSERT_EQ(2u, sim_.ui().WindowCalls().size());
        EXPECT_EQ("BringWindowToTop", sim_.ui().WindowCalls()[0].operation);
        EXPECT_EQ(viewer, sim_.ui().WindowCalls()[1].window);
    });
    EXPECT_EQ(1, scripts_.Openings(IDD_ABOUTBOX));
}

// --- Start-up ---

TEST_F(WizardTest, ASecondSetupBringsTheFirstForwardByItsLocalisedCaption) {
    sim_.ui().HoldMutexElsewhere(kSetupRunningMutex);
    win::HWND first = sim_.ui().AddTopLevelWindow(Text("Setup", "Caption"), "#32770");
    Run();
    EXPECT_TRUE(sim_.ui().ModalDialogs().empty());
    ExpectBroughtForward(sim_.ui(), first);
}

// When the language file's caption finds no window, the caption setup was built with does.
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
    ExpectBroughtForward(sim_.ui(), first);
    if (HasFatalFailure()) return;
    EXPECT_EQ(first, sim_.ui().WindowCalls()[1].window);
}

TEST_F(WizardTest, ARunningUninstallerStopsSetupWhateverItsCaption) {
    sim_.ui().HoldMutexElsewhere(kUninstallRunningMutex);
    Run();
    EXPECT_TRUE(sim_.ui().ModalDialogs().empty());
    EXPECT_EQ(std::vector<std::string>{Text("Setup", "Close")}, MessageTexts());

    win::sim::SimPlatform other;
    other.ui().AddTopLevelWindow("Uninstall");
    EXPECT_EQ(0, RunSetup(other.platform()));
    EXPECT_EQ(1u, other.ui().MessageBoxes().size());
    EXPECT_TRUE(other.ui().ModalDialogs().empty());
}

TEST_F(WizardTest, On64BitWindowsTheX64EditionBesideItStartsAndThisOneHoldsNothing) {
    MakeWindows64Bit(sim_.library());
    sim_.windows().MakeDirectory("C:\\Users\\till");
    sim_.windows().currentDirectory = "C:\\Users\\till";
    sim_.windows().WriteFile("C:\\MEDIUM\\setup64.exe", "MZ");
    std::string before = MachineSnapshot(sim_);
    EXPECT_EQ(0, RunSetup(sim_.platform()));
    ASSERT_EQ(1u, sim_.windows().startedPrograms.size());
    const auto& twin = sim_.windows().startedPrograms[0];
    EXPECT_EQ("C:\\MEDIUM\\setup64.exe", twin.application);
    EXPECT_EQ("\"C:\\MEDIUM\\setup64.exe\"", twin.commandLine);
    // Started where this one was; it settles on the medium itself.
    EXPECT_EQ("C:\\Users\\till", twin.currentDirectory);
    EXPECT_FALSE(twin.waitedFor);
    EXPECT_TRUE(sim_.ui().ModalDialogs().empty());
    EXPECT_TRUE(sim_.ui().MessageBoxes().empty());
    EXPECT_FALSE(sim_.ui().MutexExists(kSetupRunningMutex));
    EXPECT_FALSE(sim_.ui().MutexExists("setup"));
    EXPECT_EQ(before, MachineSnapshot(sim_));
}

TEST_F(WizardTest, A64BitWindowsWithoutTheX64EditionIsRefusedBeforeTheFirstPage) {
    MakeWindows64Bit(sim_.library());
    std::string before = MachineSnapshot(sim_);
    Run();
    EXPECT_TRUE(sim_.ui().ModalDialogs().empty());
    EXPECT_EQ(std::vector<std::string>{Text("Message", "IDS_NOTSUPPORT64")}, MessageTexts());
    EXPECT_EQ(before, MachineSnapshot(sim_));
    EXPECT_EQ(0, sim_.library().LoadedCount());
}

TEST_F(WizardTest, StartedFromAnotherFolderItWorksFromItsOwn) {
    sim_.windows().MakeDirectory("C:\\Users\\till\\Desktop");
    sim_.windows().currentDirectory = "C:\\Users\\till\\Desktop";
    Run([this](SimDialog& frame) {
        EXPECT_FALSE(frame.GetWindowTextA().empty());
        EXPECT_EQ(Text("Setup", "Caption"), frame.GetWindowTextA());
    });
    EXPECT_EQ("C:\\MEDIUM", sim_.windows().currentDirectory);
    EXPECT_TRUE(sim_.ui().MessageBoxes().empty());
}

TEST_F(WizardTest, WithoutTheSidePictureTheFrameClosesBeforeItShows) {
    sim_.windows().ForgetFile("C:\\MEDIUM\\DRVCONFIG\\Left.bmp");
    fs::remove(sim_.windows().HostPath("C:\\MEDIUM\\DRVCONFIG\\Left.bmp"));
    Run();
    EXPECT_EQ(0, scripts_.Openings(IDD_WIZARD));
    EXPECT_EQ(std::vector<std::string>{Text("Message", "IDS_ERR_NOLEFT")}, MessageTexts());
    EXPECT_EQ(win::IDCANCEL, sim_.ui().ModalDialogs().at(0).result);
}

TEST_F(WizardTest, WithoutTheLicenceTheWizardEndsWithOneMessage) {
    fs::remove(sim_.windows().HostPath("C:\\MEDIUM\\License.txt"));
    Run();
    EXPECT_EQ(std::vector<std::string>{Text("Message", "IDS_ERR_NOLICENSE")}, MessageTexts());
    EXPECT_EQ(win::IDCANCEL, sim_.ui().ModalDialogs().at(0).result);
}

TEST_F(WizardTest, NtFamilyNeedsAdministratorsAndADenyOnlyGroupIsNone) {
    // Under user account control the group is listed, but only for denying.
    for (auto& group : sim_.ui().processGroups)
        if (group.sid == win::sim::SimWindowsUi::AdministratorsSid())
            group.attributes = win::SE_GROUP_USE_FOR_DENY_ONLY;
    EXPECT_FALSE(IsUserAdministrator(sim_.platform()));
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_NT, 6, 0);
    Run();
    ASSERT_EQ(1u, sim_.ui().MessageBoxes().size());
    EXPECT_EQ("安装程序必须在管理员权限下运行！", sim_.ui().MessageBoxes()[0].text);
    EXPECT_EQ(win::IDCANCEL, sim_.ui().ModalDialogs().at(0).result);
}

TEST(AdministratorTest, ThreadTokenFirstThenTheProcess) {
    win::sim::SimPlatform sim;
    EXPECT_TRUE(IsUserAdministrator(sim.platform()));
    sim.ui().threadImpersonates = true;
    sim.ui().threadGroups = {{win::sim::SimWindowsUi::UsersSid(), win::SE_GROUP_ENABLED}};
    EXPECT_FALSE(IsUserAdministrator(sim.platform())) << "an impersonating thread is judged by its own token";
    sim.ui().threadImpersonates = false;
    sim.ui().processGroups.clear();
    EXPECT_FALSE(IsUserAdministrator(sim.platform()));
    sim.windows().InjectFault("OpenProcessToken", 5);
    EXPECT_FALSE(IsUserAdministrator(sim.platform()));
}

TEST_F(WizardTest, WindowsNinetyEightSkipsTheAdministratorTest) {
    sim_.ui().processGroups.clear();
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    Run([this](SimDialog&) { EXPECT_EQ(kAgreementPageIndex, VisiblePage()); });
    EXPECT_TRUE(sim_.ui().MessageBoxes().empty());
}

}  // namespace
