// The simulated dialog surface: lists as Windows keeps them, radio groups, and user input reaching the page.
#include <gtest/gtest.h>

#include "platform/sim/SimDialog.h"
#include "resources/resource.h"
#include "tests/support/SetupResources.h"
#include "tests/support/UninstallResources.h"

using namespace win;
using namespace win::sim;

namespace {

// Records the commands it hears, with the state the page could read at that moment.
class RecordingPage : public DialogPage {
public:
    BOOL OnInit(DialogSurface& surface) override {
        initialised = true;
        surface.CheckRadioButton(IDC_RECEIPT, IDC_EMBEDDED, IDC_RECEIPT);
        return TRUE;
    }
    void OnShow(DialogSurface&) override { ++shows; }
    void OnCommand(DialogSurface& surface, int id, int notification) override {
        commands.push_back({id, notification});
        checkedWhenHeard = surface.CheckedRadioOfGroup(IDC_RECEIPT);
    }
    bool initialised = false;
    int shows = 0;
    std::vector<std::pair<int, int>> commands;
    int checkedWhenHeard = 0;
};

SimDialog MakeDialog(int id, DialogPage* page = nullptr) {
    const ResourceScript& script = SetupResources();
    auto entries = script.listEntries.find(id);
    return SimDialog(script.dialogs.at(id),
                     entries != script.listEntries.end() ? entries->second : std::vector<ListEntry>{}, page);
}

}  // namespace

TEST(SimDialogTest, SortedListOrdersWithoutRegardToCase) {
    SimDialog page = MakeDialog(IDD_PORT_PAGE);
    for (const char* port : {"USB_TM-80_1", "lpt1:", "KXCOM2:", "COM1:", "kxcom1:", "LPT2:", "USB_tm-80_2"})
        page.AddString(IDC_PORT, port);
    EXPECT_EQ((std::vector<std::string>{"COM1:", "kxcom1:", "KXCOM2:", "lpt1:", "LPT2:", "USB_TM-80_1",
                                        "USB_tm-80_2"}),
              page.Entries(IDC_PORT));
    // The index returned is where the entry went.
    EXPECT_EQ(1, page.AddString(IDC_PORT, "Com2:"));
    // An unsorted list keeps the order of adding, after the template's own entries.
    EXPECT_EQ(10, page.AddString(IDC_BAUD_RATE, "1"));
    EXPECT_EQ("1", page.Entries(IDC_BAUD_RATE).back());
}

TEST(SimDialogTest, SortingFoldsOnlySingleByteLettersAndPutsDoubleByteTextLast) {
    SimDialog page = MakeDialog(IDD_PORT_PAGE);
    // "\x81\x61" is one double-byte character whose trail byte is "a"; it must not sort as "a".
    for (const char* text : {"\x81\x61", "b", "A", "2", "_x", "\x81\x41"}) page.AddString(IDC_PORT, text);
    EXPECT_EQ((std::vector<std::string>{"_x", "2", "A", "b", "\x81\x41", "\x81\x61"}),
              page.Entries(IDC_PORT));
    EXPECT_EQ(5, page.FindStringExact(IDC_PORT, -1, "\x81\x61"));
    EXPECT_EQ(4, page.FindStringExact(IDC_PORT, -1, "\x81\x41"));
}

TEST(SimDialogTest, SelectionFollowsItsEntryAndOutOfRangeClearsIt) {
    SimDialog page = MakeDialog(IDD_PORT_PAGE);
    EXPECT_EQ(CB_ERR, page.SetCurSel(IDC_PORT, 0));  // empty list
    page.AddString(IDC_PORT, "LPT1:");
    EXPECT_EQ(0, page.SetCurSel(IDC_PORT, 0));
    page.AddString(IDC_PORT, "COM1:");
    EXPECT_EQ(1, page.GetCurSel(IDC_PORT));
    EXPECT_EQ("LPT1:", page.GetDlgItemTextA(IDC_PORT));
    std::string text;
    EXPECT_EQ(5, page.GetLBText(IDC_PORT, 0, &text));
    EXPECT_EQ("COM1:", text);
    EXPECT_EQ(CB_ERR, page.GetLBText(IDC_PORT, 2, &text));
    EXPECT_EQ(CB_ERR, page.SetCurSel(IDC_PORT, 7));
    EXPECT_EQ(CB_ERR, page.GetCurSel(IDC_PORT));
    EXPECT_EQ("", page.GetDlgItemTextA(IDC_PORT));
    page.SetCurSel(IDC_PORT, 1);
    EXPECT_EQ(0, page.ResetContent(IDC_PORT));
    EXPECT_EQ(0, page.GetCount(IDC_PORT));
    EXPECT_EQ(CB_ERR, page.GetCurSel(IDC_PORT));
    // A control that is no list answers CB_ERR.
    EXPECT_EQ(CB_ERR, page.AddString(IDC_RASTER, "x"));
}

TEST(SimDialogTest, PrefixSearchStartsAfterTheIndexAndWrapsAround) {
    SimDialog page = MakeDialog(IDD_PORT_PAGE);
    for (const char* port : {"KXCOM1:", "KXCOM2:", "LPT1:", "USB_A_1"}) page.AddString(IDC_PORT, port);
    EXPECT_EQ(0, page.FindString(IDC_PORT, -1, "kxcom"));
    EXPECT_EQ(1, page.FindString(IDC_PORT, 0, "KXCOM"));
    EXPECT_EQ(0, page.FindString(IDC_PORT, 1, "KXcom"));  // past the end, on from the top
    EXPECT_EQ(2, page.FindString(IDC_PORT, 2, "lpt"));    // the start entry itself is searched last
    EXPECT_EQ(CB_ERR, page.FindString(IDC_PORT, -1, "COM"));
    EXPECT_EQ(3, page.FindString(IDC_PORT, 99, "usb_"));  // an index beyond the list searches it all
    EXPECT_EQ(CB_ERR, page.FindStringExact(IDC_PORT, -1, "LPT1"));
    EXPECT_EQ(2, page.FindStringExact(IDC_PORT, 0, "lpt1:"));
    EXPECT_EQ(1, page.FindStringExact(IDC_PORT, 1, "kxcom2:"));
}

TEST(SimDialogTest, ClickingARadioClearsOnlyItsGroup) {
    RecordingPage recorder;
    SimDialog page = MakeDialog(IDD_SERIES_PAGE, &recorder);
    page.Init();
    page.Show(true);
    page.CheckDlgButton(IDC_SET_DEFAULT, BST_CHECKED);
    EXPECT_TRUE(page.Click(IDC_LABEL));
    EXPECT_EQ(BST_UNCHECKED, page.IsDlgButtonChecked(IDC_RECEIPT));
    EXPECT_EQ(BST_CHECKED, page.IsDlgButtonChecked(IDC_LABEL));
    EXPECT_EQ(BST_CHECKED, page.IsDlgButtonChecked(IDC_SET_DEFAULT));
    // The page hears the click after the window system changed the checks.
    EXPECT_EQ(IDC_LABEL, recorder.checkedWhenHeard);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{IDC_LABEL, BN_CLICKED}}), recorder.commands);
    EXPECT_EQ(IDC_LABEL, page.CheckedRadioOfGroup(IDC_EMBEDDED));
    // An automatic check box toggles.
    page.Click(IDC_SET_DEFAULT);
    EXPECT_EQ(BST_UNCHECKED, page.IsDlgButtonChecked(IDC_SET_DEFAULT));
}

TEST(SimDialogTest, CheckRadioButtonWorksOnTheIdRangeNotTheGroup) {
    SimDialog page = MakeDialog(IDD_SYSTEM_PAGE);
    page.CheckDlgButton(IDC_OS_VISTA, BST_CHECKED);
    // 1026 to 1075 leaves 1076 alone, as the operating-system page relies on.
    page.CheckRadioButton(IDC_OS_WIN98, IDC_OS_2003, IDC_OS_WIN98);
    EXPECT_EQ(BST_CHECKED, page.IsDlgButtonChecked(IDC_OS_WIN98));
    EXPECT_EQ(BST_CHECKED, page.IsDlgButtonChecked(IDC_OS_VISTA));
    page.CheckRadioButton(IDC_OS_WIN98, IDC_OS_VISTA, IDC_OS_XP);
    EXPECT_EQ(BST_UNCHECKED, page.IsDlgButtonChecked(IDC_OS_VISTA));
    EXPECT_EQ(IDC_OS_XP, page.CheckedRadioOfGroup(IDC_OS_WIN98));
    // CheckDlgButton sets one button and leaves the group as it is.
    page.CheckDlgButton(IDC_OS_NT, BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, page.IsDlgButtonChecked(IDC_OS_XP));
}

TEST(SimDialogTest, DisabledOrHiddenControlsTakeNoInput) {
    RecordingPage recorder;
    SimDialog page = MakeDialog(IDD_PORT_PAGE, &recorder);
    page.Show(true);
    EXPECT_FALSE(page.IsDlgItemEnabled(IDC_RASTER));
    EXPECT_FALSE(page.Click(IDC_RASTER));
    EXPECT_EQ(BST_UNCHECKED, page.IsDlgButtonChecked(IDC_RASTER));
    EXPECT_TRUE(page.EnableDlgItem(IDC_RASTER, TRUE));  // it was disabled
    EXPECT_FALSE(page.EnableDlgItem(IDC_RASTER, TRUE));
    EXPECT_TRUE(page.Click(IDC_RASTER));
    EXPECT_EQ(BST_CHECKED, page.IsDlgButtonChecked(IDC_RASTER));

    page.EnableDlgItem(IDC_BAUD_RATE, FALSE);
    EXPECT_FALSE(page.Select(IDC_BAUD_RATE, 2));
    EXPECT_EQ(CB_ERR, page.GetCurSel(IDC_BAUD_RATE));
    EXPECT_TRUE(page.Select(IDC_DATA_BITS, 3));
    EXPECT_FALSE(page.Select(IDC_DATA_BITS, 4));  // no such entry
    EXPECT_EQ("8", page.GetDlgItemTextA(IDC_DATA_BITS));

    EXPECT_FALSE(page.ShowDlgItem(IDC_USB_NOTE, SW_SHOW));  // it was hidden
    EXPECT_TRUE(page.IsDlgItemVisible(IDC_USB_NOTE));
    EXPECT_TRUE(page.ShowDlgItem(IDC_USB_NOTE, SW_HIDE));
    EXPECT_EQ((std::vector<std::pair<int, int>>{{IDC_RASTER, BN_CLICKED}, {IDC_DATA_BITS, CBN_SELCHANGE}}),
              recorder.commands);
}

TEST(SimDialogTest, NamingAControlTheTemplateLacksIsRecorded) {
    SimDialog page = MakeDialog(IDD_MODE_PAGE);
    EXPECT_FALSE(page.SetDlgItemTextA(IDC_PORT, "x"));
    EXPECT_FALSE(page.Click(IDC_BACK));
    EXPECT_TRUE(page.SetDlgItemTextA(IDC_NOTE2, "advanced"));
    EXPECT_EQ("advanced", page.GetDlgItemTextA(IDC_NOTE2));
    EXPECT_EQ((std::vector<int>{IDC_PORT, IDC_BACK}), page.missingControls());
}

TEST(SimDialogTest, InitPutsTheFocusOnTheFirstTabStopAndPaintingIsRecorded) {
    RecordingPage recorder;
    SimDialog frame = MakeDialog(IDD_WIZARD, &recorder);
    frame.Init();
    EXPECT_TRUE(recorder.initialised);
    // Back and OK start disabled, so Cancel is the first control that can take the focus.
    EXPECT_EQ(IDCANCEL, frame.focus());
    frame.SetPicture(IDC_SIDE_PICTURE, reinterpret_cast<HBITMAP>(0x40));
    frame.SetControlColours(IDC_HELP_HINT, RGB(0, 0, 255), RGB(255, 202, 253), 14, "Arial");
    EXPECT_EQ(reinterpret_cast<HBITMAP>(0x40), frame.pictures().at(IDC_SIDE_PICTURE));
    EXPECT_EQ(0xFDCAFFu, frame.colours().at(IDC_HELP_HINT).background);
    EXPECT_EQ("Arial", frame.colours().at(IDC_HELP_HINT).face);
}

TEST(SimDialogTest, ListViewItemsKeepTheirTicksAsOthersComeAndGo) {
    SimDialog dialog(UninstallResources().dialogs.at(IDD_UNINSTALL), {});
    dialog.Show(true);
    const int list = IDC_UNINST_LIST;
    EXPECT_EQ(0, dialog.ListViewInsertItem(list, 0, "B"));
    EXPECT_EQ(1, dialog.ListViewInsertItem(list, 9, "D")) << "beyond the end appends";
    EXPECT_EQ(0, dialog.ListViewInsertItem(list, 0, "A"));
    EXPECT_EQ(-1, dialog.ListViewInsertItem(IDC_UNINST_LOG, 0, "x")) << "a list box is no list view";
    EXPECT_FALSE(dialog.Tick(list, 0)) << "no check boxes yet";

    EXPECT_EQ(0u, dialog.ListViewSetExtendedStyle(list, LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES,
                                                  LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES));
    EXPECT_EQ(LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES,
              dialog.ListViewSetExtendedStyle(list, LVS_EX_GRIDLINES, 0));  // the mask limits the change
    EXPECT_EQ(LVS_EX_CHECKBOXES, dialog.ListViewGetExtendedStyle(list));

    EXPECT_TRUE(dialog.Tick(list, 1));
    EXPECT_TRUE(dialog.ListViewSetCheckState(list, 2, TRUE));
    EXPECT_FALSE(dialog.ListViewSetCheckState(list, 3, TRUE));
    EXPECT_TRUE(dialog.ListViewDeleteItem(list, 0));
    EXPECT_FALSE(dialog.ListViewDeleteItem(list, 2));
    ASSERT_EQ(2, dialog.ListViewGetItemCount(list));
    EXPECT_EQ("B", dialog.ListViewGetItemText(list, 0));
    EXPECT_TRUE(dialog.ListViewGetCheckState(list, 0));
    EXPECT_TRUE(dialog.ListViewGetCheckState(list, 1));
    EXPECT_EQ("", dialog.ListViewGetItemText(list, 2));
    EXPECT_FALSE(dialog.ListViewGetCheckState(list, 2));

    dialog.EnableDlgItem(list, FALSE);
    EXPECT_FALSE(dialog.Tick(list, 0));
    EXPECT_TRUE(dialog.ListViewGetCheckState(list, 0));
    EXPECT_TRUE(dialog.ListViewDeleteAllItems(list));
    EXPECT_EQ(0, dialog.ListViewGetItemCount(list));
}
