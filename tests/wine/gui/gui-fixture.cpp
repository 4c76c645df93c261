// gui-fixture.exe: a dialog shaped like setup's wizard for gui-driver's own test. A modal frame hosts two
// child-dialog pages; OK on the first page asks with a message box before the second shows; the status
// line tells what the dialog heard (a selection, F1, Back). Exit code 0 when finished, 3 when cancelled.
#include "tests/wine/gui/gui-fixture.h"

#include <windows.h>

#include <string>

namespace {

const char kCaption[] = "驱动程序测试";

HWND g_pages[2];
int g_shown = 0;

std::string ItemText(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

void ShowPage(HWND frame, int page) {
    ShowWindow(g_pages[g_shown], SW_HIDE);
    g_shown = page;
    if (page == 1) {
        std::string summary = "端口：" + ItemText(g_pages[0], IDC_PORT) +
                              "\r\n默认：" + (IsDlgButtonChecked(g_pages[0], IDC_DEFAULT) ? "是" : "否") +
                              "\r\n名称：" + ItemText(g_pages[0], IDC_NAME);
        SetDlgItemTextA(g_pages[1], IDC_SUMMARY, summary.c_str());
    }
    ShowWindow(g_pages[page], SW_SHOW);
    EnableWindow(GetDlgItem(frame, IDC_BACK), page > 0);
    SendMessageA(frame, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(frame, IDOK)), TRUE);
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        SendMessageA(GetParent(page), message, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        RECT area;
        GetWindowRect(GetDlgItem(frame, IDC_PAGE_AREA), &area);
        MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&area), 2);
        for (int i = 0; i < 2; ++i) {
            g_pages[i] = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PAGE_ONE + i), frame,
                                            PageProc, 0);
            SetWindowPos(g_pages[i], nullptr, area.left, area.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
        HWND port = GetDlgItem(g_pages[0], IDC_PORT);
        for (const char* entry : {"COM1:", "LPT1:", "USB001", "打印机端口"})
            SendMessageA(port, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        SendMessageA(port, CB_SETCURSEL, 0, 0);
        CheckRadioButton(g_pages[0], IDC_SERIAL, IDC_PARALLEL, IDC_SERIAL);
        ShowWindow(g_pages[0], SW_SHOW);
        SetFocus(GetDlgItem(g_pages[0], IDC_SERIAL));
        return FALSE;
    }
    case WM_HELP:
        SetDlgItemTextA(frame, IDC_STATUS, "帮助");
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PORT:
            if (HIWORD(wParam) == CBN_SELCHANGE)
                SetDlgItemTextA(frame, IDC_STATUS, ItemText(g_pages[0], IDC_PORT).c_str());
            return TRUE;
        case IDC_BACK:
            ShowPage(frame, 0);
            SetDlgItemTextA(frame, IDC_STATUS, "上一步");
            return TRUE;
        case IDOK:
            if (g_shown == 1) {
                EndDialog(frame, 0);
            } else {
                std::string question = "确定要安装吗？\n端口：" + ItemText(g_pages[0], IDC_PORT);
                if (MessageBoxA(frame, question.c_str(), kCaption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
                    ShowPage(frame, 1);
                else
                    SetDlgItemTextA(frame, IDC_STATUS, "未安装");
            }
            return TRUE;
        case IDCANCEL:
            EndDialog(frame, 3);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_FRAME), nullptr, FrameProc, 0));
}
