// The simulated windows family: message-box scripts, windows by caption, dialogs from the templates, the
// named mutex, the shell, tokens and bitmaps.
#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"
#include "resources/resource.h"
#include "tests/support/SetupResources.h"

using namespace win;
using namespace win::sim;

namespace {

class SimWindowsUiTest : public ::testing::Test {
protected:
    SimWindowsUiTest() { ui().resources = &SetupResources(); }
    SimWindowsUi& ui() { return sim_.ui(); }
    Windows& windows() { return sim_.platform().windows; }
    DWORD LastError() { return sim_.platform().kernel.GetLastError(); }
    SimPlatform sim_;
};

// A modal dialog that ends with IDOK or IDCANCEL and counts its show notifications.
class ClosingPage : public DialogPage {
public:
    void OnShow(DialogSurface&) override { ++shows; }
    void OnCommand(DialogSurface& surface, int id, int) override {
        if (id == IDOK || id == IDCANCEL) surface.EndDialog(id);
    }
    int shows = 0;
};

}  // namespace

TEST_F(SimWindowsUiTest, MessageBoxesTakeScriptedAnswersThenTheDefaultButton) {
    ui().messageBoxAnswers = {IDNO};
    EXPECT_EQ(IDNO, windows().MessageBoxA(nullptr, "Restart now?", "setup", MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(IDYES, windows().MessageBoxA(nullptr, "again?", "setup", MB_YESNO));
    EXPECT_EQ(IDNO, windows().MessageBoxA(nullptr, "again?", "setup", MB_YESNO | MB_DEFBUTTON2));
    EXPECT_EQ(IDOK, windows().MessageBoxA(nullptr, "done", nullptr, MB_OK));
    ASSERT_EQ(4u, ui().MessageBoxes().size());
    EXPECT_EQ("Restart now?", ui().MessageBoxes()[0].text);
    EXPECT_EQ(MB_YESNO | MB_ICONQUESTION, ui().MessageBoxes()[0].type);
    EXPECT_EQ("Error", ui().MessageBoxes()[3].caption);
}

TEST_F(SimWindowsUiTest, FindWindowMatchesCaptionAndClassWithoutRegardToCase) {
    HWND other = ui().AddTopLevelWindow("Uninstall", "#32770");
    HWND help = ui().AddTopLevelWindow("Printer Driver Installer", "HH Parent");
    EXPECT_EQ(other, windows().FindWindowA(nullptr, "UNINSTALL"));
    EXPECT_EQ(help, windows().FindWindowA("hh parent", nullptr));
    EXPECT_EQ(nullptr, windows().FindWindowA("HH Parent", "Uninstall"));
    EXPECT_EQ(nullptr, windows().FindWindowA(nullptr, "Uninstal"));
    EXPECT_TRUE(windows().SetForegroundWindow(other));
    EXPECT_TRUE(windows().OpenIcon(other));
    EXPECT_FALSE(windows().BringWindowToTop(nullptr));
    EXPECT_EQ(ERROR_INVALID_WINDOW_HANDLE, LastError());
    ASSERT_EQ(3u, ui().WindowCalls().size());
    EXPECT_EQ("OpenIcon", ui().WindowCalls()[1].operation);
}

TEST_F(SimWindowsUiTest, ModalDialogRunsItsScriptAndIsFoundByCaptionWhileOpen) {
    ClosingPage page;
    HWND foundDuring = nullptr;
    ui().modalScripts[IDD_ABOUTBOX] = [&](SimDialog& dialog) {
        dialog.SetWindowTextA("Quarvel");
        foundDuring = windows().FindWindowA(nullptr, "Quarvel");
        EXPECT_TRUE(dialog.Click(IDOK));
    };
    EXPECT_EQ(IDOK, windows().DialogBoxParamA(IDD_ABOUTBOX, nullptr, page));
    EXPECT_NE(nullptr, foundDuring);
    EXPECT_EQ(1, page.shows);
    EXPECT_EQ(nullptr, windows().FindWindowA(nullptr, "Quarvel"));
    // A dialog nobody ends, and a template that does not exist, give -1.
    EXPECT_EQ(-1, windows().DialogBoxParamA(IDD_PROGRESS, nullptr, page));
    EXPECT_EQ(-1, windows().DialogBoxParamA(999, nullptr, page));
    EXPECT_EQ(ERROR_RESOURCE_NAME_NOT_FOUND, LastError());
    ASSERT_EQ(2u, ui().ModalDialogs().size());
    EXPECT_FALSE(ui().ModalDialogs()[1].ended);
}

TEST_F(SimWindowsUiTest, ModalDialogEndedWhileInitialisingIsNeverShown) {
    // As the wizard frame does when the side picture is missing.
    class CancelsAtOnce : public ClosingPage {
    public:
        BOOL OnInit(DialogSurface& surface) override {
            surface.EndDialog(IDCANCEL);
            return FALSE;
        }
    } page;
    bool scriptRan = false;
    ui().modalScripts[IDD_WIZARD] = [&](SimDialog&) { scriptRan = true; };
    EXPECT_EQ(IDCANCEL, windows().DialogBoxParamA(IDD_WIZARD, nullptr, page));
    EXPECT_EQ(0, page.shows);
    EXPECT_FALSE(scriptRan);
}

TEST_F(SimWindowsUiTest, PagesHearShowNotificationsOnlyWhenTheirVisibilityChanges) {
    ClosingPage page;
    HWND window = windows().CreateDialogParamA(IDD_MODE_PAGE, nullptr, page);
    ASSERT_NE(nullptr, window);
    DialogSurface* surface = windows().DialogSurfaceOf(window);
    ASSERT_NE(nullptr, surface);
    EXPECT_EQ(0, page.shows);  // a page template is not visible
    EXPECT_FALSE(windows().ShowWindow(window, SW_SHOW));
    EXPECT_TRUE(windows().ShowWindow(window, SW_SHOW));
    EXPECT_TRUE(windows().ShowWindow(window, SW_HIDE));
    EXPECT_EQ(2, page.shows);
    EXPECT_TRUE(windows().DestroyWindow(window));
    EXPECT_EQ(nullptr, windows().DialogSurfaceOf(window));
}

TEST_F(SimWindowsUiTest, SecondMutexOfTheSameNameReportsAlreadyExists) {
    HANDLE first = windows().CreateMutexA(TRUE, "setup");
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(ERROR_SUCCESS, LastError());
    HANDLE second = windows().CreateMutexA(TRUE, "setup");
    EXPECT_EQ(ERROR_ALREADY_EXISTS, LastError());
    windows().CreateMutexA(TRUE, "Setup");  // names are compared exactly
    EXPECT_EQ(ERROR_SUCCESS, LastError());
    EXPECT_TRUE(windows().CloseHandle(second));
    EXPECT_TRUE(windows().CloseHandle(first));
    EXPECT_FALSE(ui().MutexExists("setup"));
    ui().HoldMutexElsewhere("uninstall");
    windows().CreateMutexA(TRUE, "uninstall");
    EXPECT_EQ(ERROR_ALREADY_EXISTS, LastError());
    EXPECT_FALSE(windows().CloseHandle(first));
    EXPECT_EQ(ERROR_INVALID_HANDLE, LastError());
}

TEST_F(SimWindowsUiTest, ShellExecuteIsRecordedAndCanFail) {
    EXPECT_EQ(42, windows().ShellExecuteA(nullptr, "open", ".\\Guide.CHM", nullptr, nullptr, SW_SHOW));
    sim_.windows().InjectFault("ShellExecuteA", ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(2, windows().ShellExecuteA(nullptr, "open", "\\USBDrv\\Install.exe", "2", nullptr, SW_SHOW));
    ASSERT_EQ(2u, ui().ShellCalls().size());
    EXPECT_EQ(".\\Guide.CHM", ui().ShellCalls()[0].file);
    EXPECT_EQ("2", ui().ShellCalls()[1].parameters);
}

TEST_F(SimWindowsUiTest, TokenGroupsListDenyOnlyGroupsWhichMembershipDoesNotCount) {
    HANDLE token = nullptr;
    EXPECT_FALSE(windows().OpenThreadToken(TOKEN_QUERY, TRUE, &token));
    EXPECT_EQ(ERROR_NO_TOKEN, LastError());
    // A filtered administrator under user account control: the group is there, for denying only.
    ui().processGroups = {{SimWindowsUi::AdministratorsSid(), SE_GROUP_USE_FOR_DENY_ONLY}};
    ASSERT_TRUE(windows().OpenProcessToken(TOKEN_QUERY, &token));

    DWORD needed = 0;
    EXPECT_FALSE(windows().GetTokenInformation(token, TokenGroups, nullptr, 0, &needed));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, LastError());
    std::vector<BYTE> buffer(needed);
    EXPECT_FALSE(windows().GetTokenInformation(token, TokenGroups, buffer.data(), needed - 1, &needed));
    ASSERT_TRUE(windows().GetTokenInformation(token, TokenGroups, buffer.data(), needed, &needed));
    const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    ASSERT_EQ(1u, groups->GroupCount);
    EXPECT_EQ(SE_GROUP_USE_FOR_DENY_ONLY, groups->Groups[0].Attributes);

    PSID administrators = nullptr;
    ASSERT_TRUE(windows().AllocateAndInitializeSid(&SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                                   DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                                   &administrators));
    EXPECT_TRUE(windows().EqualSid(groups->Groups[0].Sid, administrators));
    BOOL member = TRUE;
    ASSERT_TRUE(windows().CheckTokenMembership(nullptr, administrators, &member));
    EXPECT_FALSE(member);

    PSID users = nullptr;
    windows().AllocateAndInitializeSid(&SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                       DOMAIN_ALIAS_RID_USERS, 0, 0, 0, 0, 0, 0, &users);
    EXPECT_FALSE(windows().EqualSid(users, administrators));
    // The thread's own token counts while it impersonates.
    ui().threadImpersonates = true;
    ui().threadGroups = {{SimWindowsUi::AdministratorsSid(), SE_GROUP_ENABLED}};
    windows().CheckTokenMembership(nullptr, administrators, &member);
    EXPECT_TRUE(member);
    windows().FreeSid(users);
    windows().FreeSid(administrators);
    EXPECT_TRUE(windows().CloseHandle(token));
}

TEST_F(SimWindowsUiTest, BitmapLoadsFromTheCurrentDirectoryOnlyWhenItIsOne) {
    EXPECT_EQ(nullptr, windows().LoadImageA("DRVCONFIG\\Left.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, LastError());
    sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\Left.bmp", "not a bitmap");
    EXPECT_EQ(nullptr, windows().LoadImageA("DRVCONFIG\\Left.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\Left.bmp", "BM" + std::string(60, '\0'));
    HANDLE bitmap = windows().LoadImageA("DRVCONFIG\\Left.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ("C:\\MEDIUM\\DRVCONFIG\\Left.bmp", ui().Bitmaps().at(bitmap));
    EXPECT_TRUE(windows().DeleteObject(bitmap));
    EXPECT_TRUE(ui().Bitmaps().empty());
}
