// A simulated live dialog built from a template: the controls' state, the list operations, and the
// user's clicks and selections delivered to the page as the window system delivers them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/sim/ResourceScript.h"

namespace win::sim {

class SimDialog : public DialogSurface {
public:
    // The controls start as the template says; the template's list entries are added in their order.
    SimDialog(const DialogTemplate& dialogTemplate, const std::vector<ListEntry>& listEntries,
              DialogPage* page = nullptr);

    HWND Handle() override { return handle_; }
    BOOL PlaceOnControl(HWND child, int id) override;
    BOOL AppendSystemMenuItem(UINT command, LPCSTR text) override;
    BOOL SetIconResource(UINT iconId) override;
    BOOL AddToolTip(int id, UINT stringId, int maxWidth) override;
    BOOL SetTimer(UINT id, UINT period) override;
    BOOL KillTimer(UINT id) override;
    void SetProgressRange(int id, int low, int high) override;
    void SetProgressPos(int id, int position) override;
    void SetBanner(LPCSTR text, int fontHeight, int weight, LPCSTR face, COLORREF colour) override;
    BOOL SetWindowTextA(LPCSTR text) override;
    std::string GetWindowTextA() override { return caption_; }
    BOOL SetDlgItemTextA(int id, LPCSTR text) override;
    std::string GetDlgItemTextA(int id) override;
    BOOL EnableDlgItem(int id, BOOL enable) override;
    BOOL IsDlgItemEnabled(int id) override;
    BOOL ShowDlgItem(int id, int command) override;
    BOOL IsDlgItemVisible(int id) override;
    BOOL SetFocusToDlgItem(int id) override;
    BOOL CheckDlgButton(int id, UINT check) override;
    UINT IsDlgButtonChecked(int id) override;
    BOOL CheckRadioButton(int first, int last, int check) override;
    int CheckedRadioOfGroup(int id) override;
    int AddString(int id, LPCSTR text) override;
    int ResetContent(int id) override;
    int GetCount(int id) override;
    int SetCurSel(int id, int index) override;
    int GetCurSel(int id) override;
    int GetLBText(int id, int index, std::string* text) override;
    int FindString(int id, int startAfter, LPCSTR prefix) override;
    int FindStringExact(int id, int startAfter, LPCSTR text) override;
    DWORD ListViewSetExtendedStyle(int id, DWORD mask, DWORD styles) override;
    DWORD ListViewGetExtendedStyle(int id) override;
    int ListViewInsertItem(int id, int index, LPCSTR text) override;
    int ListViewGetItemCount(int id) override;
    std::string ListViewGetItemText(int id, int index) override;
    BOOL ListViewGetCheckState(int id, int index) override;
    BOOL ListViewSetCheckState(int id, int index, BOOL check) override;
    BOOL ListViewDeleteItem(int id, int index) override;
    BOOL ListViewDeleteAllItems(int id) override;
    // The simulation has no message queue: the call runs at once on the caller's thread, so a test that
    // runs a worker keeps its own thread away from the dialog until the worker is done.
    void RunOnDialogThread(const std::function<void()>& call) override { call(); }
    BOOL EndDialog(INT_PTR result) override;
    void SetPicture(int id, HBITMAP picture) override;
    void SetControlColours(int id, COLORREF text, COLORREF background, int fontHeight, LPCSTR face) override;

    // What the window system does: WM_INITDIALOG, and WM_SHOWWINDOW with the dialog's visibility.
    BOOL Init();
    void Show(bool visible);
    bool IsVisible() const { return visible_; }

    // The user clicks a control: an automatic check box toggles, an automatic radio button is checked
    // and the others of its group cleared, then the page hears BN_CLICKED. False, and the page hears
    // nothing, when the control is missing, hidden or disabled.
    bool Click(int id);
    // The user picks entry n of a list: it is selected and the page hears CBN_SELCHANGE (LBN_SELCHANGE).
    bool Select(int id, int index);
    // A command as a keyboard accelerator sends it, whatever the control's state: IDOK for Enter.
    void Command(int id, int notification = BN_CLICKED);
    // The user picks an item of the window menu; false when the page leaves it to the default processing.
    bool SystemCommand(UINT command);
    // The user ticks or clears an item's check box (a click on it, or the space bar). False when the list
    // view is missing, hidden or disabled, has no check boxes, or has no such item.
    bool Tick(int id, int index);
    // F1: true when the page handled WM_HELP.
    bool Help();
    // The timer's period elapsed: the page hears WM_TIMER. False when no such timer runs.
    bool Timer(UINT id);
    // The running timers and their periods; every period set, in order (setting a running timer starts
    // its period anew).
    const std::map<UINT, UINT>& timers() const { return timers_; }
    const std::vector<UINT>& timerPeriodsSet(UINT id) { return timerPeriodsSet_[id]; }
    // Every position a progress bar was set to, in order, and its range.
    const std::vector<int>& ProgressPositions(int id) { return progress_[id]; }
    std::pair<int, int> ProgressRange(int id) { return progressRanges_[id]; }
    struct Banner {
        std::string text;
        int fontHeight = 0;
        int weight = 0;
        std::string face;
        COLORREF colour = 0;
    };
    const Banner& banner() const { return banner_; }

    void SetHandle(HWND handle) { handle_ = handle; }
    struct MenuItem {
        UINT command;
        std::string text;
    };
    const std::vector<MenuItem>& systemMenu() const { return systemMenu_; }
    UINT icon() const { return icon_; }
    // The child windows laid over a control, by window.
    const std::map<HWND, int>& placements() const { return placements_; }
    struct ToolTip {
        UINT stringId;
        int maxWidth;
    };
    const std::map<int, ToolTip>& toolTips() const { return toolTips_; }

    struct Colours {
        COLORREF text;
        COLORREF background;
        int fontHeight;
        std::string face;
    };
    bool ended() const { return ended_; }
    INT_PTR result() const { return result_; }
    int focus() const { return focus_; }
    const std::map<int, HBITMAP>& pictures() const { return pictures_; }
    const std::map<int, Colours>& colours() const { return colours_; }
    const DialogTemplate& dialogTemplate() const { return template_; }
    // The entries of a list, in their order.
    std::vector<std::string> Entries(int id) const;
    struct ListViewItem {
        std::string text;
        bool checked;
    };
    // The items of a list view, in their order.
    std::vector<ListViewItem> ListViewItems(int id) const;
    // Ids asked for that the template lacks: a page naming a wrong control shows up here.
    const std::vector<int>& missingControls() const { return missing_; }

private:
    struct Control {
        ControlTemplate source;
        std::string text;
        bool enabled = true;
        bool visible = true;
        UINT check = BST_UNCHECKED;
        std::vector<std::string> entries;
        int selection = CB_ERR;
        std::vector<ListViewItem> items;
        DWORD extendedStyle = 0;
    };
    Control* Find(int id);
    const Control* Find(int id) const;
    Control* FindList(int id);
    Control* FindListView(int id);
    // The item of a list view, or null.
    ListViewItem* Item(int id, int index);
    bool IsRadio(const Control& control) const;
    int Search(int id, int startAfter, LPCSTR text, bool exact);

    DialogTemplate template_;
    DialogPage* page_;
    std::string caption_;
    std::vector<Control> controls_;
    bool visible_ = false;
    bool ended_ = false;
    INT_PTR result_ = 0;
    int focus_ = 0;
    std::map<int, HBITMAP> pictures_;
    std::map<int, Colours> colours_;
    std::vector<int> missing_;
    HWND handle_ = nullptr;
    std::vector<MenuItem> systemMenu_;
    UINT icon_ = 0;
    std::map<HWND, int> placements_;
    std::map<int, ToolTip> toolTips_;
    std::map<UINT, UINT> timers_;
    std::map<UINT, std::vector<UINT>> timerPeriodsSet_;
    std::map<int, std::vector<int>> progress_;
    std::map<int, std::pair<int, int>> progressRanges_;
    Banner banner_;
};

// How a sorted list orders two texts: without regard to case, as Windows' sorted lists do.
bool SortsBefore(const std::string& a, const std::string& b);

}  // namespace win::sim
