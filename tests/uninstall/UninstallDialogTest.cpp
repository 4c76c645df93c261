// The uninstaller's main dialog on simulated surfaces: the component list, Select all, the removal run
// driven through the Uninstall button on its worker thread, the restart question, the start checks, the
// about box and the help.
#include <algorithm>
#include <filesystem>

#include "tests/uninstall/UninstallFixture.h"

namespace {

const std::vector<int> kRunControls = {IDC_UNINST_START, IDC_UNINST_LIST, IDC_UNINST_SELECT_ALL,
                                       win::IDCANCEL, IDC_UNINST_USB};

TEST_F(UninstallTest, ListsPrintersThenMonitorsThenProcessorsUntickedWithTheLanguageTexts) {
    AddComponents();
    Run([this](SimDialog& dialog) {
        EXPECT_EQ((std::vector<std::string>{"ZMX-T310(S)", "ZMX-R80(P)", "VORL USB Monitor",
                                            "VORL COM Monitor", "VORLPrint"}),
                  Names());
        EXPECT_EQ(std::vector<bool>(5, false), Ticks());
        EXPECT_EQ(win::LVS_EX_GRIDLINES | win::LVS_EX_CHECKBOXES | win::LVS_EX_TRACKSELECT |
                      win::LVS_EX_FULLROWSELECT,
                  dialog.ListViewGetExtendedStyle(IDC_UNINST_LIST));
        EXPECT_EQ(Text("Uninstall", "Title"), dialog.GetWindowTextA());
        EXPECT_EQ(Text("Uninstall", "Note"), dialog.GetDlgItemTextA(IDC_UNINST_NOTE));
        EXPECT_EQ(Text("Uninstall", "Uninstall"), dialog.GetDlgItemTextA(IDC_UNINST_START));
        EXPECT_EQ(Text("Uninstall", "Select"), dialog.GetDlgItemTextA(IDC_UNINST_SELECT_ALL));
        EXPECT_EQ(Text("Uninstall", "Exit"), dialog.GetDlgItemTextA(win::IDCANCEL));
        EXPECT_EQ("卸载USB设备驱动", dialog.GetDlgItemTextA(IDC_UNINST_USB)) << "keeps its template text";
        EXPECT_EQ(std::vector<std::string>{Text("Message", "IDS_SELECTPRN1")}, Log());
        EXPECT_EQ(0, dialog.GetCurSel(IDC_UNINST_LOG));
        for (int id : kRunControls) EXPECT_TRUE(Enabled(id)) << id;
        ASSERT_EQ(1u, dialog.systemMenu().size());
        EXPECT_EQ(Text("Message", "IDS_ABOUTBOX"), dialog.systemMenu()[0].text);
        EXPECT_EQ(static_cast<win::UINT>(IDI_UNINSTALL), dialog.icon());
        EXPECT_TRUE(dialog.missingControls().empty());
        dialog.Click(win::IDCANCEL);
    });
    ASSERT_EQ(1u, sim_.ui().ModalDialogs().size());
    EXPECT_EQ(win::IDCANCEL, sim_.ui().ModalDialogs()[0].result);
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(UninstallTest, SelectAllTicksEveryEntryAndClearsNone) {
    AddComponents();
    Run([this](SimDialog& dialog) {
        ASSERT_TRUE(dialog.Tick(IDC_UNINST_LIST, 1));
        ASSERT_TRUE(dialog.Tick(IDC_UNINST_LIST, 3));
        ASSERT_TRUE(dialog.Tick(IDC_UNINST_LIST, 3));
        EXPECT_EQ((std::vector<bool>{false, true, false, false, false}), Ticks());
        ASSERT_TRUE(dialog.Click(IDC_UNINST_SELECT_ALL));
        EXPECT_EQ(std::vector<bool>(5, true), Ticks());
        ASSERT_TRUE(dialog.Click(IDC_UNINST_SELECT_ALL));
        EXPECT_EQ(std::vector<bool>(5, true), Ticks());
        EXPECT_EQ(1u, Log().size()) << "nothing else happens";
    });
}

TEST_F(UninstallTest, AQueuedJobOnAnyPrinterKeepsTheRunFromStarting) {
    AddComponents();
    sim_.spooler().FindPrinter("Office")->jobs = 3;
    Run([this](SimDialog& dialog) {
        dialog.Tick(IDC_UNINST_LIST, 0);
        ASSERT_TRUE(dialog.Click(IDC_UNINST_START));
        EXPECT_FALSE(page_->RemovalRunning());
        EXPECT_EQ((std::vector<std::string>{Text("Message", "IDS_SELECTPRN1"),
                                            FormatWithName(Text("Message", "IDS_ERR_HAVEJOB2"), "Office")}),
                  Log());
        EXPECT_EQ(1, dialog.GetCurSel(IDC_UNINST_LOG));
        EXPECT_EQ(5u, Names().size());
        for (int id : kRunControls) EXPECT_TRUE(Enabled(id)) << id;
    });
    EXPECT_NE(nullptr, sim_.spooler().FindPrinter("ZMX-T310(S)"));
}

TEST_F(UninstallTest, ARunRemovesTheTickedEntriesOnItsWorkerAndGivesTheControlsBack) {
    AddComponents();
    std::vector<std::string> question;
    scripts_.Script(IDD_REBOOT, [&question](SimDialog& reboot) {
        question = {reboot.GetWindowTextA(), reboot.GetDlgItemTextA(IDC_REBOOT_NOTE1),
                    reboot.GetDlgItemTextA(win::IDOK), reboot.GetDlgItemTextA(win::IDCANCEL)};
        reboot.Click(win::IDCANCEL);
    });
    Run([this](SimDialog& dialog) {
        dialog.Tick(IDC_UNINST_LIST, 0);  // ZMX-T310(S)
        dialog.Tick(IDC_UNINST_LIST, 3);  // VORL COM Monitor
        dialog.Click(IDC_UNINST_USB);
        Uninstall();

        EXPECT_EQ((std::vector<std::string>{"ZMX-R80(P)", "VORL USB Monitor", "VORLPrint"}), Names());
        auto line = [this](const char* key, const std::string& name) {
            return FormatWithName(Text("Message", key), name);
        };
        std::string prompt = Text("Message", "IDS_SELECTPRN1");
        EXPECT_EQ((std::vector<std::string>{
                      prompt, line("IDS_DELETING2", "ZMX-T310(S)"), line("IDS_SUCCESS", "ZMX-T310(S)"),
                      line("IDS_DRVDELETING", "ZMX-T310(S)"), Text("Message", "IDS_DRV_SUCCESS"),
                      line("IDS_DELETING1", "VORL COM Monitor"), line("IDS_SUCCESS", "VORL COM Monitor"),
                      "正在删除USB设备驱动", "USB设备驱动已删除", prompt}),
                  Log());
        EXPECT_EQ(static_cast<int>(Log().size()) - 1, dialog.GetCurSel(IDC_UNINST_LOG));
        for (int id : kRunControls) EXPECT_TRUE(Enabled(id)) << id;
        EXPECT_EQ("VORL COM Monitor", page_->Engine()->CurrentItemText());
    });
    EXPECT_EQ(nullptr, sim_.spooler().FindPrinter("ZMX-T310(S)"));
    EXPECT_EQ(nullptr, sim_.spooler().FindDriver("VORL ZMX-T310", win::kNativeEnvironment));
    EXPECT_EQ(nullptr, sim_.spooler().FindMonitor("VORL COM Monitor"));
    EXPECT_FALSE(sim_.windows().FileExists("C:\\WINDOWS\\system32\\VLCOMMON.DLL"));
    ASSERT_EQ(1u, sim_.ui().ShellCalls().size());
    EXPECT_EQ("C:\\MEDIUM\\USBDrv\\Install.exe", sim_.ui().ShellCalls()[0].file);
    EXPECT_EQ("22", sim_.ui().ShellCalls()[0].parameters);
    EXPECT_EQ((std::vector<std::string>{Text("Reboot", "Title"), Text("Reboot", "Note1"),
                                        Text("Reboot", "Yes"), Text("Reboot", "No")}),
              question);
    EXPECT_TRUE(sim_.ui().exitWindowsCalls.empty()) << "the user said No";
}

TEST_F(UninstallTest, TheRestartQuestionComesOnlyAfterSomethingWasRemoved) {
    AddComponents();
    scripts_.Script(IDD_REBOOT, [](SimDialog& reboot) { reboot.Click(win::IDOK); });
    Run([this](SimDialog& dialog) {
        Uninstall();  // nothing ticked
        EXPECT_EQ(5u, Names().size());
        EXPECT_EQ((std::vector<win::UINT>{}), ModalTemplates()) << "no question while the dialog is open";
        EXPECT_TRUE(sim_.ui().exitWindowsCalls.empty());

        dialog.Click(IDC_UNINST_SELECT_ALL);
        Uninstall();
        EXPECT_TRUE(Names().empty());
        EXPECT_EQ((std::vector<win::UINT>{IDD_REBOOT}), ModalTemplates());
        // An empty list leaves only Exit to press, with no prompt line.
        for (int id : kRunControls) EXPECT_EQ(id == win::IDCANCEL, Enabled(id)) << id;
        EXPECT_NE(Text("Message", "IDS_SELECTPRN1"), Log().back());
    });
    EXPECT_EQ((std::vector<win::UINT>{win::EWX_REBOOT}), sim_.ui().exitWindowsCalls);
    EXPECT_EQ((std::vector<std::string>{"SeShutdownPrivilege"}), sim_.ui().enabledPrivileges);
}

TEST_F(UninstallTest, NeitherExitNorEscNorTheCloseBoxEndsTheDialogWhileARunGoesOn) {
    AddComponents();
    // The restart question comes while the run is still going on: the user tries to leave meanwhile.
    scripts_.Script(IDD_REBOOT, [this](SimDialog& reboot) {
        EXPECT_TRUE(page_->RemovalRunning());
        EXPECT_FALSE(dialog_->Click(win::IDCANCEL)) << "Exit is disabled";
        dialog_->Command(win::IDCANCEL);  // Esc, the close box, Alt+F4
        EXPECT_FALSE(dialog_->ended());
        EXPECT_FALSE(dialog_->Click(IDC_UNINST_START));
        page_->StartRemoval();  // a click that was queued before the button was disabled
        EXPECT_FALSE(dialog_->Tick(IDC_UNINST_LIST, 0));
        reboot.Click(win::IDCANCEL);
    });
    Run([this](SimDialog& dialog) {
        dialog.Tick(IDC_UNINST_LIST, 0);
        Uninstall();
        std::vector<std::string> log = Log();
        EXPECT_EQ(1, std::count(log.begin(), log.end(),
                                FormatWithName(Text("Message", "IDS_DELETING2"), "ZMX-T310(S)")));
        EXPECT_FALSE(dialog.ended());
        dialog.Command(win::IDCANCEL);
        EXPECT_TRUE(dialog.ended()) << "after the run Esc leaves";
    });
    EXPECT_EQ(win::IDCANCEL, sim_.ui().ModalDialogs().back().result);
}

TEST_F(UninstallTest, WindowsSevenAndLaterAreTreatedAsVista) {
    for (auto [major, minor] : {std::pair<win::DWORD, win::DWORD>{6, 1}, {10, 0}}) {
        sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_NT, major, minor);
        AddPrinter("ZMX-T310(S)", "VORL ZMX-T310", "KXCOM1:");
        if (sim_.spooler().FindProcessor("VORLPrint", win::kNativeEnvironment) == nullptr)
            AddProcessor("VORLPrint");
        Run([this](SimDialog& dialog) {
            EXPECT_EQ(5, page_->Generation());
            EXPECT_EQ((std::vector<std::string>{"ZMX-T310(S)", "VORLPrint"}), Names());
            EXPECT_TRUE(Enabled(IDC_UNINST_USB));
            dialog.Tick(IDC_UNINST_LIST, 0);
            Uninstall();
            dialog.Click(win::IDCANCEL);
        });
        // Only systems before 2000 keep the driver of a removed printer.
        EXPECT_EQ(nullptr, sim_.spooler().FindDriver("VORL ZMX-T310", win::kNativeEnvironment)) << major;
    }
}

TEST_F(UninstallTest, On98TheUsbDriverIsNotOfferedAndNoProcessorIsListed) {
    sim_.windows().systemDirectory = "C:\\WINDOWS\\SYSTEM";
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    AddComponents();
    Run([this](SimDialog&) {
        EXPECT_EQ(0, page_->Generation());
        EXPECT_FALSE(Enabled(IDC_UNINST_USB));
        EXPECT_EQ(
            (std::vector<std::string>{"ZMX-T310(S)", "ZMX-R80(P)", "VORL USB Monitor", "VORL COM Monitor"}),
            Names());
    });
}

TEST_F(UninstallTest, OnlyWindows2000ToServer2003RefuseAUserWithoutAdministratorRights) {
    AddComponents();
    NotAnAdministrator();
    struct Case {
        win::DWORD major, minor;
        bool refused;
    };
    for (const Case& c :
         std::vector<Case>{{5, 0, true}, {5, 1, true}, {5, 2, true}, {4, 0, false}, {6, 0, false}}) {
        sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_NT, c.major, c.minor);
        dialog_ = nullptr;
        size_t boxes = sim_.ui().MessageBoxes().size();
        if (c.refused)
            Run();
        else
            Run([](SimDialog& dialog) { dialog.Click(win::IDCANCEL); });
        EXPECT_EQ(!c.refused, dialog_ != nullptr) << c.major << "." << c.minor;
        EXPECT_EQ(win::IDCANCEL, sim_.ui().ModalDialogs().back().result);
        if (c.refused) {
            ASSERT_EQ(boxes + 1, sim_.ui().MessageBoxes().size());
            EXPECT_EQ(Text("Message", "IDS_ADMIN"), sim_.ui().MessageBoxes().back().text);
            EXPECT_EQ("uninstall", sim_.ui().MessageBoxes().back().caption);
        } else {
            EXPECT_EQ(boxes, sim_.ui().MessageBoxes().size());
        }
    }
}

TEST_F(UninstallTest, NoCatalogueOrNothingToRemoveClosesAtStartButAMissingWinspoolDoesNot) {
    Run();
    EXPECT_EQ(nullptr, dialog_);
    EXPECT_EQ(std::vector<std::string>{Text("Message", "IDS_ERR_NOPRINTER")}, MessageTexts());

    AddComponents();
    // The first load is kernel32's, for the 64-bit Windows check at the start.
    sim_.windows().InjectFault("LoadLibraryA", 126, 2);
    Run([this](SimDialog& dialog) {
        EXPECT_EQ(Text("Message", "IDS_ERR_NOPRINTER"), sim_.ui().MessageBoxes()[0].text);
        ASSERT_EQ(2u, sim_.ui().MessageBoxes().size());
        EXPECT_EQ("no Winspool lib  ", sim_.ui().MessageBoxes()[1].text);
        EXPECT_EQ(dialog.Handle(), sim_.ui().MessageBoxes()[1].owner);
        // Drivers then go with DeletePrinterDriverA.
        dialog.Tick(IDC_UNINST_LIST, 0);
        Uninstall();
        EXPECT_EQ(nullptr, sim_.spooler().FindDriver("VORL ZMX-T310", win::kNativeEnvironment));
        dialog.Click(win::IDCANCEL);
    });

    std::filesystem::remove(sim_.windows().HostPath("C:\\MEDIUM\\Uninstall.ini"));
    dialog_ = nullptr;
    Run();
    EXPECT_EQ(nullptr, dialog_);
    EXPECT_EQ(Text("Message", "IDS_ERR_NOINI"), MessageTexts().back());
}

TEST_F(UninstallTest, TheAboutBoxComesFromTheWindowMenu) {
    AddComponents();
    std::vector<std::string> texts;
    scripts_.Script(IDD_UNINSTALL_ABOUT, [&texts](SimDialog& about) {
        texts = {about.GetWindowTextA(), about.GetDlgItemTextA(IDC_UNINST_ABOUT_VERSION),
                 about.GetDlgItemTextA(IDC_UNINST_ABOUT_COPYRIGHT), about.GetDlgItemTextA(win::IDOK)};
        about.Click(win::IDOK);
    });
    Run([](SimDialog& dialog) {
        EXPECT_TRUE(dialog.SystemCommand(IDM_ABOUTBOX));
        EXPECT_FALSE(dialog.SystemCommand(0xF060)) << "closing is the default processing's";
    });
    EXPECT_EQ((std::vector<win::UINT>{IDD_UNINSTALL_ABOUT, IDD_UNINSTALL}), ModalTemplates());
    EXPECT_EQ((std::vector<std::string>{Text("About", "Title"), Text("About", "Version"),
                                        Text("About", "Copyright"), Text("About", "OK")}),
              texts);
}

TEST_F(UninstallTest, HelpOpensTheEnglishFileElseTheChineseOneUnlessTheViewerIsOpen) {
    AddComponents();
    auto files = [this] {
        std::vector<std::string> opened;
        for (const auto& call : sim_.ui().ShellCalls()) opened.push_back(call.file);
        return opened;
    };
    Run([&](SimDialog& dialog) {
        EXPECT_TRUE(dialog.Help());
        EXPECT_EQ(std::vector<std::string>{".\\Uninstall_EN.CHM"}, files());
        sim_.ui().shellResult = 2;  // not found
        dialog.Help();
        EXPECT_EQ(
            (std::vector<std::string>{".\\Uninstall_EN.CHM", ".\\Uninstall_EN.CHM", ".\\Uninstall_CN.CHM"}),
            files());
        win::HWND viewer = sim_.ui().AddTopLevelWindow("Uninstall");
        dialog.Help();
        EXPECT_EQ(3u, files().size());
        ASSERT_EQ(2u, sim_.ui().WindowCalls().size());
        EXPECT_EQ("BringWindowToTop", sim_.ui().WindowCalls()[0].operation);
        EXPECT_EQ(viewer, sim_.ui().WindowCalls()[1].window);
        sim_.ui().DestroyWindow(viewer);
    });

    // With the English texts the dialog itself is titled "Uninstall": that is no help viewer.
    UseEnglishTexts();
    sim_.ui().shellResult = 42;
    Run([&](SimDialog& dialog) {
        ASSERT_EQ("Uninstall", dialog.GetWindowTextA());
        dialog.Help();
        EXPECT_EQ(".\\Uninstall_EN.CHM", files().back());
        EXPECT_EQ(4u, files().size());
    });
}

}  // namespace
