// The dialog procedure that hosts any page, the surface over a live dialog, and the painting only the
// real window system does: the stretched side picture and the coloured controls.
#include "platform/win32/DialogHost.h"

#include <map>
#include <vector>
// The Windows headers come after ours: their macros would rewrite our constant names.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

namespace win::win32 {

namespace {

// The resource type of a template's initial list entries, and its record layout (see resource.h).
constexpr WORD kListEntryType = 240;

// The message by which RunOnDialogThread hands a call from another thread to the dialog's thread.
constexpr UINT kRunCallMessage = WM_APP + 0x2F1;

::HWND Real(win::HWND window) { return reinterpret_cast<::HWND>(window); }

std::string WindowText(::HWND window) {
    int length = ::GetWindowTextLengthA(window);
    if (length <= 0) return "";
    std::vector<char> text(static_cast<size_t>(length) + 1);
    int got = ::GetWindowTextA(window, text.data(), length + 1);
    return std::string(text.data(), static_cast<size_t>(got > 0 ? got : 0));
}

class Surface : public DialogSurface {
public:
    explicit Surface(::HWND dialog) : dialog_(dialog) {}
    ~Surface() override {
        for (auto& [id, paint] : colours_) Release(paint);
        if (icon_ != nullptr) ::DestroyIcon(icon_);
        if (smallIcon_ != nullptr) ::DestroyIcon(smallIcon_);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    win::HWND Handle() override { return reinterpret_cast<win::HWND>(dialog_); }
    BOOL PlaceOnControl(win::HWND child, int id) override {
        ::HWND item = Item(id);
        if (item == nullptr) return FALSE;
        ::RECT area;
        ::GetWindowRect(item, &area);
        ::MapWindowPoints(nullptr, dialog_, reinterpret_cast<::POINT*>(&area), 2);
        return ::SetWindowPos(Real(child), nullptr, area.left, area.top, area.right - area.left,
                              area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    BOOL AppendSystemMenuItem(UINT command, LPCSTR text) override {
        ::HMENU menu = ::GetSystemMenu(dialog_, FALSE);
        if (menu == nullptr) return FALSE;
        ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        return ::AppendMenuA(menu, MF_STRING, command, text);
    }
    BOOL SetIconResource(UINT iconId) override {
        ::HINSTANCE module = ::GetModuleHandleA(nullptr);
        icon_ = static_cast<::HICON>(::LoadImageA(module, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                                  ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
        smallIcon_ = static_cast<::HICON>(::LoadImageA(module, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                                       ::GetSystemMetrics(SM_CXSMICON),
                                                       ::GetSystemMetrics(SM_CYSMICON), 0));
        if (icon_ == nullptr) return FALSE;
        ::SendMessageA(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<::LPARAM>(icon_));
        ::SendMessageA(dialog_, WM_SETICON, ICON_SMALL,
                       reinterpret_cast<::LPARAM>(smallIcon_ != nullptr ? smallIcon_ : icon_));
        return TRUE;
    }
    BOOL AddToolTip(int id, UINT stringId, int maxWidth) override {
        ::HWND item = Item(id);
        if (item == nullptr) return FALSE;
        if (toolTip_ == nullptr) {
            toolTip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog_,
                                         nullptr, ::GetModuleHandleA(nullptr), nullptr);
            if (toolTip_ == nullptr) return FALSE;
            ::SendMessageA(toolTip_, TTM_ACTIVATE, TRUE, 0);
            ::SendMessageA(toolTip_, TTM_SETMAXTIPWIDTH, 0, maxWidth);
        }
        // The tooltip watches the control's mouse messages itself (TTF_SUBCLASS), even while disabled
        // controls pass none to their dialog.
        ::TTTOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog_;
        tool.uId = reinterpret_cast<::UINT_PTR>(item);
        tool.hinst = ::GetModuleHandleA(nullptr);
        tool.lpszText = MAKEINTRESOURCEA(stringId);
        return ::SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<::LPARAM>(&tool)) != 0;
    }
    BOOL SetTimer(UINT id, UINT period) override { return ::SetTimer(dialog_, id, period, nullptr) != 0; }
    BOOL KillTimer(UINT id) override { return ::KillTimer(dialog_, id); }
    void SetProgressRange(int id, int low, int high) override {
        ::SendDlgItemMessageA(dialog_, id, PBM_SETRANGE32, static_cast<::WPARAM>(low), high);
    }
    void SetProgressPos(int id, int position) override {
        ::SendDlgItemMessageA(dialog_, id, PBM_SETPOS, static_cast<::WPARAM>(position), 0);
    }
    void SetBanner(LPCSTR text, int fontHeight, int weight, LPCSTR face, win::COLORREF colour) override {
        banner_.text = text != nullptr ? text : "";
        banner_.fontHeight = fontHeight;
        banner_.weight = weight;
        banner_.face = face != nullptr ? face : "";
        banner_.colour = colour;
        ::InvalidateRect(dialog_, nullptr, TRUE);
    }
    // The banner, one line centred in the upper two thirds of the client area.
    void PaintBanner(::HDC context) {
        if (banner_.text.empty()) return;
        ::RECT area;
        ::GetClientRect(dialog_, &area);
        area.bottom = 2 * area.bottom / 3;
        ::HFONT font = ::CreateFontA(banner_.fontHeight, 0, 0, 0, banner_.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                     banner_.face.c_str());
        ::HGDIOBJ previous = ::SelectObject(context, font);
        ::SetBkMode(context, TRANSPARENT);
        ::SetTextColor(context, banner_.colour);
        ::DrawTextA(context, banner_.text.c_str(), -1, &area, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        ::SelectObject(context, previous);
        ::DeleteObject(font);
    }
    bool HasBanner() const { return !banner_.text.empty(); }
    ::HICON Icon() const { return icon_; }
    BOOL SetWindowTextA(LPCSTR text) override { return ::SetWindowTextA(dialog_, text); }
    std::string GetWindowTextA() override { return WindowText(dialog_); }
    BOOL SetDlgItemTextA(int id, LPCSTR text) override { return ::SetDlgItemTextA(dialog_, id, text); }
    std::string GetDlgItemTextA(int id) override { return WindowText(Item(id)); }
    BOOL EnableDlgItem(int id, BOOL enable) override { return ::EnableWindow(Item(id), enable); }
    BOOL IsDlgItemEnabled(int id) override { return ::IsWindowEnabled(Item(id)); }
    BOOL ShowDlgItem(int id, int command) override { return ::ShowWindow(Item(id), command); }
    BOOL IsDlgItemVisible(int id) override {
        ::HWND item = Item(id);
        return item != nullptr && (::GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    BOOL SetFocusToDlgItem(int id) override {
        ::HWND item = Item(id);
        if (item == nullptr) return FALSE;
        // The dialog manager moves the focus and the default button together.
        ::SendMessageA(::GetAncestor(dialog_, GA_ROOT), WM_NEXTDLGCTL, reinterpret_cast<::WPARAM>(item),
                       TRUE);
        return TRUE;
    }
    BOOL CheckDlgButton(int id, UINT check) override { return ::CheckDlgButton(dialog_, id, check); }
    UINT IsDlgButtonChecked(int id) override { return ::IsDlgButtonChecked(dialog_, id); }
    BOOL CheckRadioButton(int first, int last, int check) override {
        return ::CheckRadioButton(dialog_, first, last, check);
    }
    int CheckedRadioOfGroup(int id) override {
        std::vector<::HWND> children;
        for (::HWND child = ::GetWindow(dialog_, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT))
            children.push_back(child);
        size_t at = 0;
        while (at < children.size() && ::GetDlgCtrlID(children[at]) != id) ++at;
        if (at == children.size()) return 0;
        auto style = [&](size_t i) { return static_cast<DWORD>(::GetWindowLongA(children[i], GWL_STYLE)); };
        size_t start = at;
        while (start > 0 && (style(start) & WS_GROUP) == 0) --start;
        for (size_t i = start; i < children.size(); ++i) {
            if (i > start && (style(i) & WS_GROUP) != 0) break;
            DWORD kind = style(i) & BS_TYPEMASK;
            bool radio = kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
            if (radio && ::SendMessageA(children[i], BM_GETCHECK, 0, 0) == BST_CHECKED)
                return ::GetDlgCtrlID(children[i]);
        }
        return 0;
    }

    int AddString(int id, LPCSTR text) override {
        return List(id, CB_ADDSTRING, LB_ADDSTRING, 0, reinterpret_cast<::LPARAM>(text));
    }
    int ResetContent(int id) override { return List(id, CB_RESETCONTENT, LB_RESETCONTENT, 0, 0); }
    int GetCount(int id) override { return List(id, CB_GETCOUNT, LB_GETCOUNT, 0, 0); }
    int SetCurSel(int id, int index) override {
        return List(id, CB_SETCURSEL, LB_SETCURSEL, static_cast<::WPARAM>(index), 0);
    }
    int GetCurSel(int id) override { return List(id, CB_GETCURSEL, LB_GETCURSEL, 0, 0); }
    int GetLBText(int id, int index, std::string* text) override {
        int length = List(id, CB_GETLBTEXTLEN, LB_GETTEXTLEN, static_cast<::WPARAM>(index), 0);
        if (length < 0) return CB_ERR;
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        int got = List(id, CB_GETLBTEXT, LB_GETTEXT, static_cast<::WPARAM>(index),
                       reinterpret_cast<::LPARAM>(buffer.data()));
        if (got < 0) return CB_ERR;
        text->assign(buffer.data(), static_cast<size_t>(got));
        return got;
    }
    int FindString(int id, int startAfter, LPCSTR prefix) override {
        return List(id, CB_FINDSTRING, LB_FINDSTRING, static_cast<::WPARAM>(startAfter),
                    reinterpret_cast<::LPARAM>(prefix));
    }
    int FindStringExact(int id, int startAfter, LPCSTR text) override {
        return List(id, CB_FINDSTRINGEXACT, LB_FINDSTRINGEXACT, static_cast<::WPARAM>(startAfter),
                    reinterpret_cast<::LPARAM>(text));
    }
    BOOL EndDialog(win::INT_PTR result) override { return ::EndDialog(dialog_, result); }

    DWORD ListViewSetExtendedStyle(int id, DWORD mask, DWORD styles) override {
        return static_cast<DWORD>(
            ::SendDlgItemMessageA(dialog_, id, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, styles));
    }
    DWORD ListViewGetExtendedStyle(int id) override {
        return static_cast<DWORD>(::SendDlgItemMessageA(dialog_, id, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    }
    int ListViewInsertItem(int id, int index, LPCSTR text) override {
        ::LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<LPSTR>(text);
        return static_cast<int>(
            ::SendDlgItemMessageA(dialog_, id, LVM_INSERTITEMA, 0, reinterpret_cast<::LPARAM>(&item)));
    }
    int ListViewGetItemCount(int id) override {
        return static_cast<int>(::SendDlgItemMessageA(dialog_, id, LVM_GETITEMCOUNT, 0, 0));
    }
    std::string ListViewGetItemText(int id, int index) override {
        // The control copies at most the buffer less its terminator: grow it until the text leaves room.
        for (int size = 256; size <= 65536; size *= 4) {
            std::vector<char> buffer(static_cast<size_t>(size), '\0');
            ::LVITEMA item{};
            item.pszText = buffer.data();
            item.cchTextMax = size;
            int length = static_cast<int>(::SendDlgItemMessageA(dialog_, id, LVM_GETITEMTEXTA,
                                                                static_cast<::WPARAM>(index),
                                                                reinterpret_cast<::LPARAM>(&item)));
            // The control may point pszText at its own copy instead of filling the buffer.
            if (length <= 0 || item.pszText == nullptr) return "";
            if (length < size - 1) return std::string(item.pszText, static_cast<size_t>(length));
        }
        return "";
    }
    BOOL ListViewGetCheckState(int id, int index) override {
        ::LRESULT state = ::SendDlgItemMessageA(dialog_, id, LVM_GETITEMSTATE, static_cast<::WPARAM>(index),
                                                LVIS_STATEIMAGEMASK);
        return (state & LVIS_STATEIMAGEMASK) >> 12 == 2 ? TRUE : FALSE;
    }
    BOOL ListViewSetCheckState(int id, int index, BOOL check) override {
        ::LVITEMA item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(check ? 2 : 1);
        return static_cast<BOOL>(::SendDlgItemMessageA(
            dialog_, id, LVM_SETITEMSTATE, static_cast<::WPARAM>(index), reinterpret_cast<::LPARAM>(&item)));
    }
    BOOL ListViewDeleteItem(int id, int index) override {
        return static_cast<BOOL>(
            ::SendDlgItemMessageA(dialog_, id, LVM_DELETEITEM, static_cast<::WPARAM>(index), 0));
    }
    BOOL ListViewDeleteAllItems(int id) override {
        return static_cast<BOOL>(::SendDlgItemMessageA(dialog_, id, LVM_DELETEALLITEMS, 0, 0));
    }
    void RunOnDialogThread(const std::function<void()>& call) override {
        if (::GetWindowThreadProcessId(dialog_, nullptr) == ::GetCurrentThreadId()) {
            call();
            return;
        }
        // The dialog procedure runs it while the sender waits; a destroyed dialog never runs it.
        ::SendMessageA(dialog_, kRunCallMessage, 0, reinterpret_cast<::LPARAM>(&call));
    }

    void SetPicture(int id, win::HBITMAP picture) override {
        pictures_[id] = static_cast<::HBITMAP>(picture);
        ::InvalidateRect(dialog_, nullptr, TRUE);
    }
    void SetControlColours(int id, win::COLORREF text, win::COLORREF background, int fontHeight,
                           LPCSTR face) override {
        Paint& paint = colours_[id];
        Release(paint);
        paint.text = text;
        paint.background = background;
        // A system colour's brush belongs to the system and follows its settings.
        if ((background & kSystemColourFlag) == 0) paint.brush = ::CreateSolidBrush(background);
        if (fontHeight != 0 || face != nullptr)
            paint.font = ::CreateFontA(-fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH | FF_DONTCARE, face);
        ::InvalidateRect(Item(id), nullptr, TRUE);
        ::UpdateWindow(Item(id));
    }

    // Stretches each picture over its control's client area.
    void PaintPictures() {
        for (const auto& [id, picture] : pictures_) {
            ::HWND item = Item(id);
            if (item == nullptr || picture == nullptr) continue;
            ::HDC target = ::GetDC(item);
            ::HDC memory = ::CreateCompatibleDC(target);
            ::HGDIOBJ previous = ::SelectObject(memory, picture);
            ::BITMAP size{};
            ::GetObjectA(picture, sizeof(size), &size);
            ::RECT area;
            ::GetClientRect(item, &area);
            ::SetStretchBltMode(target, COLORONCOLOR);
            ::StretchBlt(target, 0, 0, area.right, area.bottom, memory, 0, 0, size.bmWidth, size.bmHeight,
                         SRCCOPY);
            ::SelectObject(memory, previous);
            ::DeleteDC(memory);
            ::ReleaseDC(item, target);
        }
    }

    // The brush for a control that has its own colours, after setting up its drawing context; or null.
    ::HBRUSH ControlColours(::HWND control, ::HDC context, bool isStatic) {
        auto found = colours_.find(::GetDlgCtrlID(control));
        if (found == colours_.end()) return nullptr;
        const Paint& paint = found->second;
        if (paint.font != nullptr) ::SelectObject(context, paint.font);
        ::SetTextColor(context, Resolved(paint.text));
        // A read-only edit box asks as a static control does, but redraws its text over old text.
        char className[8] = "";
        ::GetClassNameA(control, className, sizeof(className));
        if (isStatic && ::lstrcmpiA(className, "Edit") != 0) {
            ::SetBkMode(context, TRANSPARENT);
        } else {
            ::SetBkColor(context, Resolved(paint.background));
        }
        if (paint.brush != nullptr) return paint.brush;
        return ::GetSysColorBrush(static_cast<int>(paint.background & ~kSystemColourFlag));
    }

private:
    struct Paint {
        COLORREF text = 0;
        COLORREF background = 0;
        ::HBRUSH brush = nullptr;
        ::HFONT font = nullptr;
    };
    static ::COLORREF Resolved(win::COLORREF colour) {
        if ((colour & kSystemColourFlag) == 0) return colour;
        return ::GetSysColor(static_cast<int>(colour & ~kSystemColourFlag));
    }
    static void Release(Paint& paint) {
        if (paint.brush != nullptr) ::DeleteObject(paint.brush);
        if (paint.font != nullptr) ::DeleteObject(paint.font);
        paint.brush = nullptr;
        paint.font = nullptr;
    }
    ::HWND Item(int id) const { return ::GetDlgItem(dialog_, id); }
    // Sends the combo-box or the list-box form of a message, as the control is.
    int List(int id, UINT comboMessage, UINT listMessage, ::WPARAM wParam, ::LPARAM lParam) {
        ::HWND item = Item(id);
        if (item == nullptr) return CB_ERR;
        char className[16] = "";
        ::GetClassNameA(item, className, sizeof(className));
        UINT message;
        if (::lstrcmpiA(className, "ComboBox") == 0)
            message = comboMessage;
        else if (::lstrcmpiA(className, "ListBox") == 0)
            message = listMessage;
        else
            return CB_ERR;
        return static_cast<int>(::SendMessageA(item, message, wParam, lParam));
    }

    ::HWND dialog_;
    ::HICON icon_ = nullptr;
    ::HICON smallIcon_ = nullptr;
    ::HWND toolTip_ = nullptr;
    struct Banner {
        std::string text;
        int fontHeight = 0;
        int weight = 0;
        std::string face;
        win::COLORREF colour = 0;
    } banner_;
    std::map<int, ::HBITMAP> pictures_;
    std::map<int, Paint> colours_;
};

struct Host {
    DialogPage* page;
    Surface surface;
};

struct Start {
    DialogPage* page;
    UINT templateId;
};

// Adds the template's initial list entries: records of control id, message, length, text.
void AddListEntries(::HWND dialog, UINT templateId) {
    ::HMODULE module = ::GetModuleHandleA(nullptr);
    ::HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(kListEntryType));
    if (found == nullptr) return;
    ::HGLOBAL loaded = ::LoadResource(module, found);
    const BYTE* data = loaded != nullptr ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (data == nullptr) return;
    DWORD size = ::SizeofResource(module, found);
    auto word = [&](DWORD at) { return static_cast<WORD>(data[at] | data[at + 1] << 8); };
    for (DWORD at = 0; at + 8 <= size && word(at) != 0;) {
        DWORD length = word(at + 4) | static_cast<DWORD>(word(at + 6)) << 16;
        if (at + 8 + length > size) break;
        std::string text(reinterpret_cast<const char*>(data + at + 8), length);
        ::SendDlgItemMessageA(dialog, word(at), word(at + 2), 0, reinterpret_cast<::LPARAM>(text.c_str()));
        at += 8 + length;
    }
}

::INT_PTR CALLBACK HostProcedure(::HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam) {
    Host* host = reinterpret_cast<Host*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_INITDIALOG) {
        const Start* start = reinterpret_cast<const Start*>(lParam);
        host = new Host{start->page, Surface(window)};
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<::LONG_PTR>(host));
        AddListEntries(window, start->templateId);
        return host->page->OnInit(host->surface);
    }
    if (host == nullptr) return FALSE;
    if (message == kRunCallMessage) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return TRUE;
    }
    switch (message) {
        case WM_SHOWWINDOW:
            host->page->OnShow(host->surface);
            return FALSE;
        case WM_COMMAND:
            host->page->OnCommand(host->surface, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_SYSCOMMAND:
            return host->page->OnSysCommand(host->surface, static_cast<UINT>(wParam));
        case WM_HELP:
            // Unhandled, the default processing passes it on to the parent window.
            if (!host->page->OnHelp(host->surface)) return FALSE;
            ::SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_TIMER:
            host->page->OnTimer(host->surface, static_cast<UINT>(wParam));
            return TRUE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<::INT_PTR>(host->surface.Icon());
        case WM_PAINT:
            if (::IsIconic(window) && host->surface.Icon() != nullptr) {
                // Minimised: the icon centred in the client area.
                ::PAINTSTRUCT paint;
                ::HDC context = ::BeginPaint(window, &paint);
                ::RECT area;
                ::GetClientRect(window, &area);
                ::DrawIcon(context, (area.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2,
                           (area.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2, host->surface.Icon());
                ::EndPaint(window, &paint);
                return TRUE;
            }
            if (host->surface.HasBanner()) {
                ::PAINTSTRUCT paint;
                ::HDC context = ::BeginPaint(window, &paint);
                host->surface.PaintBanner(context);
                ::EndPaint(window, &paint);
                return TRUE;
            }
            // Default painting follows; the picture's control only draws its frame.
            host->surface.PaintPictures();
            return FALSE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<::INT_PTR>(host->surface.ControlColours(reinterpret_cast<::HWND>(lParam),
                                                                            reinterpret_cast<::HDC>(wParam),
                                                                            message == WM_CTLCOLORSTATIC));
        case WM_NCDESTROY:
            ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            delete host;
            return FALSE;
        default:
            return FALSE;
    }
}

// The progress bar and the up-down control are common controls.
void InitialiseCommonControls() {
    static bool done = false;
    if (done) return;
    ::INITCOMMONCONTROLSEX classes{sizeof(classes),
                                   ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);
    done = true;
}

}  // namespace

INT_PTR RunModalDialog(UINT templateId, win::HWND owner, DialogPage& page) {
    InitialiseCommonControls();
    Start start{&page, templateId};
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), Real(owner),
                             HostProcedure, reinterpret_cast<::LPARAM>(&start));
}

win::HWND CreatePageDialog(UINT templateId, win::HWND parent, DialogPage& page) {
    InitialiseCommonControls();
    Start start{&page, templateId};
    ::HWND dialog = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                         Real(parent), HostProcedure, reinterpret_cast<::LPARAM>(&start));
    return reinterpret_cast<win::HWND>(dialog);
}

DialogSurface* HostedSurface(win::HWND dialog) {
    // Only dialogs of this host carry our record.
    if (::GetWindowLongPtrA(Real(dialog), DWLP_DLGPROC) != reinterpret_cast<::LONG_PTR>(HostProcedure))
        return nullptr;
    Host* host = reinterpret_cast<Host*>(::GetWindowLongPtrA(Real(dialog), GWLP_USERDATA));
    return host != nullptr ? &host->surface : nullptr;
}

}  // namespace win::win32
