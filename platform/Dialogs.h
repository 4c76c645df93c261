// The dialog surface that page and dialog logic talks to instead of a window, and the shape of a page.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Win32Types.h"

namespace win {

struct HWND__;
typedef HWND__* HWND;
typedef intptr_t INT_PTR;
typedef DWORD COLORREF;
typedef void* HBITMAP;

constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue) {
    return static_cast<COLORREF>(red) | static_cast<COLORREF>(green) << 8 | static_cast<COLORREF>(blue) << 16;
}

// A colour that stands for one of the system's colours (GetSysColor), as it is when the control paints.
constexpr COLORREF kSystemColourFlag = 0x80000000;
constexpr COLORREF SystemColour(int index) { return kSystemColourFlag | static_cast<COLORREF>(index); }
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Notifications of WM_COMMAND.
constexpr int BN_CLICKED = 0;
constexpr int CBN_SELCHANGE = 1;
constexpr int LBN_SELCHANGE = 1;

constexpr UINT BST_UNCHECKED = 0;
constexpr UINT BST_CHECKED = 1;

// The error result of the list operations, CB_ERR and LB_ERR alike.
constexpr int CB_ERR = -1;
constexpr int LB_ERR = -1;

// Extended list-view styles.
constexpr DWORD LVS_EX_GRIDLINES = 0x01;
constexpr DWORD LVS_EX_CHECKBOXES = 0x04;
constexpr DWORD LVS_EX_TRACKSELECT = 0x08;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x20;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOW = 5;

// One live dialog or page. Operations keep the names of the Win32 calls and messages they stand for; the
// list operations work on combo boxes and list boxes alike.
class DialogSurface {
public:
    virtual ~DialogSurface() = default;

    // The dialog's window, for the calls of the Windows family that take one.
    virtual HWND Handle() = 0;
    // Moves and sizes a child window onto the rectangle of one of this dialog's controls, keeping the Z
    // order: how a frame lays its pages over a placeholder.
    virtual BOOL PlaceOnControl(HWND child, int id) = 0;
    // Appends a separator and a string item to the window menu; FALSE when the dialog has none.
    virtual BOOL AppendSystemMenuItem(UINT command, LPCSTR text) = 0;
    // The program's icon resource as the window's large and small icon, also drawn when minimised.
    virtual BOOL SetIconResource(UINT iconId) = 0;
    // A tooltip that shows a string resource while the mouse rests on the control.
    virtual BOOL AddToolTip(int id, UINT stringId, int maxWidth) = 0;
    // A timer that calls the page's OnTimer every `period` milliseconds until killed; setting it again
    // changes its period.
    virtual BOOL SetTimer(UINT id, UINT period) = 0;
    virtual BOOL KillTimer(UINT id) = 0;
    // A progress bar's range and position.
    virtual void SetProgressRange(int id, int low, int high) = 0;
    virtual void SetProgressPos(int id, int position) = 0;
    // Text the host draws on every paint: one line centred in the upper two thirds of the client area,
    // transparent, in this colour and font.
    virtual void SetBanner(LPCSTR text, int fontHeight, int weight, LPCSTR face, COLORREF colour) = 0;

    // The dialog's own caption.
    virtual BOOL SetWindowTextA(LPCSTR text) = 0;
    virtual std::string GetWindowTextA() = 0;
    virtual BOOL SetDlgItemTextA(int id, LPCSTR text) = 0;
    // The whole text of a control, however long.
    virtual std::string GetDlgItemTextA(int id) = 0;
    // EnableWindow of the control: TRUE when it was disabled before. ShowWindow: TRUE when it was visible.
    virtual BOOL EnableDlgItem(int id, BOOL enable) = 0;
    virtual BOOL IsDlgItemEnabled(int id) = 0;
    virtual BOOL ShowDlgItem(int id, int command) = 0;
    virtual BOOL IsDlgItemVisible(int id) = 0;
    virtual BOOL SetFocusToDlgItem(int id) = 0;

    virtual BOOL CheckDlgButton(int id, UINT check) = 0;
    virtual UINT IsDlgButtonChecked(int id) = 0;
    // Checks the radio button `check` and clears every other button whose id lies from `first` to `last`.
    virtual BOOL CheckRadioButton(int first, int last, int check) = 0;
    // The checked radio button of the group (WS_GROUP to the next WS_GROUP) that holds `id`, or 0.
    virtual int CheckedRadioOfGroup(int id) = 0;

    // CB_ADDSTRING: the new entry's index (a sorted list puts it in its place), or CB_ERR.
    virtual int AddString(int id, LPCSTR text) = 0;
    virtual int ResetContent(int id) = 0;
    virtual int GetCount(int id) = 0;
    // An index outside the list clears the selection and gives CB_ERR.
    virtual int SetCurSel(int id, int index) = 0;
    virtual int GetCurSel(int id) = 0;
    // CB_GETLBTEXT: the entry's length and text, or CB_ERR.
    virtual int GetLBText(int id, int index, std::string* text) = 0;
    // CB_FINDSTRING: the first entry after `startAfter` (-1: from the top) that begins with `prefix`
    // without regard to case, searching on from the top when the end is reached; CB_ERR when none does.
    virtual int FindString(int id, int startAfter, LPCSTR prefix) = 0;
    // CB_FINDSTRINGEXACT: likewise, for an entry equal to `text` without regard to case.
    virtual int FindStringExact(int id, int startAfter, LPCSTR text) = 0;

    // List views, by the ListView_ macro each stands for. Items are text-only, in column 0.
    // ListView_SetExtendedListViewStyleEx: sets the styles of `mask` to those in `styles`; the old styles.
    virtual DWORD ListViewSetExtendedStyle(int id, DWORD mask, DWORD styles) = 0;
    virtual DWORD ListViewGetExtendedStyle(int id) = 0;
    // ListView_InsertItem: the new item's index (at the end when `index` lies beyond it), or -1.
    virtual int ListViewInsertItem(int id, int index, LPCSTR text) = 0;
    virtual int ListViewGetItemCount(int id) = 0;
    // The whole text of the item, however long; empty when there is no such item.
    virtual std::string ListViewGetItemText(int id, int index) = 0;
    // The check box of the item: state image 2 is ticked, 1 clear.
    virtual BOOL ListViewGetCheckState(int id, int index) = 0;
    virtual BOOL ListViewSetCheckState(int id, int index, BOOL check) = 0;
    // The items after it move up by one.
    virtual BOOL ListViewDeleteItem(int id, int index) = 0;
    virtual BOOL ListViewDeleteAllItems(int id) = 0;

    // Runs the call on the thread that owns the dialog and returns when it has run, as SendMessage does:
    // how a worker thread reaches the dialog. From the owning thread it runs at once.
    virtual void RunOnDialogThread(const std::function<void()>& call) = 0;

    // Ends a modal dialog with this result once its handler returns.
    virtual BOOL EndDialog(INT_PTR result) = 0;

    // Painting the host does: stretch the bitmap over the control's client area on every paint.
    virtual void SetPicture(int id, HBITMAP picture) = 0;
    // Paint the control's text in this colour on this background, in the font of that character height
    // and face; height 0 without a face keeps the control's own font. An edit box, read-only too, gets
    // its background behind the text as well.
    virtual void SetControlColours(int id, COLORREF text, COLORREF background, int fontHeight,
                                   LPCSTR face) = 0;
};

// A dialog or page: its handlers, called by the host with the live surface.
class DialogPage {
public:
    virtual ~DialogPage() = default;
    // WM_INITDIALOG; TRUE lets the window system put the focus on the first control.
    virtual BOOL OnInit(DialogSurface&) { return TRUE; }
    // WM_SHOWWINDOW, whether the dialog is being shown or hidden.
    virtual void OnShow(DialogSurface&) {}
    // WM_COMMAND from a control (or IDOK and IDCANCEL from Enter and Escape).
    virtual void OnCommand(DialogSurface&, int /*id*/, int /*notification*/) {}
    // Moves the page's data to the controls, or back when `save`; FALSE refuses the move.
    virtual BOOL Exchange(DialogSurface&, BOOL /*save*/) { return TRUE; }
    // WM_SYSCOMMAND: TRUE when the page handled the command, FALSE for the default processing.
    virtual BOOL OnSysCommand(DialogSurface&, UINT /*command*/) { return FALSE; }
    // WM_HELP (F1): TRUE when handled; FALSE passes it on to the parent window.
    virtual BOOL OnHelp(DialogSurface&) { return FALSE; }
    // WM_TIMER of a timer the page set.
    virtual void OnTimer(DialogSurface&, UINT /*id*/) {}
};

}  // namespace win
