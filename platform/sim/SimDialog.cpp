// The simulated dialog surface: controls from the template, lists, radio groups and user input.
#include "platform/sim/SimDialog.h"

#include <algorithm>

#include "platform/Windows.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

namespace {

constexpr DWORD ERROR_CONTROL_ID_NOT_FOUND = 1421;
constexpr char kListViewClass[] = "SysListView32";

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The comparison key of each character: blanks and punctuation, then digits, then letters without
// regard to case, then double-byte characters by their bytes. A trail byte is never case-folded.
std::vector<int> SortKey(const std::string& text) {
    std::vector<int> key;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(c) && i + 1 < text.size()) {
            key.push_back(0x400 + c);
            key.push_back(0x400 + static_cast<unsigned char>(text[++i]));
        } else if (c >= 'A' && c <= 'Z') {
            key.push_back(0x300 + c - 'A' + 'a');
        } else if (c >= 'a' && c <= 'z') {
            key.push_back(0x300 + c);
        } else if (c >= '0' && c <= '9') {
            key.push_back(0x200 + c);
        } else {
            key.push_back(0x100 + c);
        }
    }
    return key;
}

// Case-folded for searching: ASCII letters only, trail bytes of double-byte characters kept.
std::string Folded(const std::string& text) {
    std::string folded = text;
    for (size_t i = 0; i < folded.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(folded[i]);
        if (IsLeadByte(c))
            ++i;
        else if (c >= 'A' && c <= 'Z')
            folded[i] = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

}  // namespace

bool SortsBefore(const std::string& a, const std::string& b) { return SortKey(a) < SortKey(b); }

SimDialog::SimDialog(const DialogTemplate& dialogTemplate, const std::vector<ListEntry>& listEntries,
                     DialogPage* page)
    : template_(dialogTemplate), page_(page), caption_(dialogTemplate.caption) {
    for (const ControlTemplate& source : template_.controls) {
        Control control;
        control.source = source;
        control.text = source.text;
        control.enabled = (source.style & WS_DISABLED) == 0;
        control.visible = (source.style & WS_VISIBLE) != 0;
        controls_.push_back(control);
    }
    for (const ListEntry& entry : listEntries) AddString(entry.controlId, entry.text.c_str());
}

SimDialog::Control* SimDialog::Find(int id) {
    for (Control& control : controls_)
        if (control.source.id == id) return &control;
    missing_.push_back(id);
    SetSimLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

const SimDialog::Control* SimDialog::Find(int id) const {
    for (const Control& control : controls_)
        if (control.source.id == id) return &control;
    return nullptr;
}

SimDialog::Control* SimDialog::FindList(int id) {
    Control* control = Find(id);
    if (control == nullptr) return nullptr;
    if (control->source.className != "ComboBox" && control->source.className != "ListBox") return nullptr;
    return control;
}

SimDialog::Control* SimDialog::FindListView(int id) {
    Control* control = Find(id);
    return control != nullptr && control->source.className == kListViewClass ? control : nullptr;
}

SimDialog::ListViewItem* SimDialog::Item(int id, int index) {
    Control* list = FindListView(id);
    if (list == nullptr || index < 0 || index >= static_cast<int>(list->items.size())) return nullptr;
    return &list->items[static_cast<size_t>(index)];
}

bool SimDialog::IsRadio(const Control& control) const {
    DWORD kind = control.source.style & BS_TYPEMASK;
    return control.source.className == "Button" && (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON);
}

BOOL SimDialog::SetWindowTextA(LPCSTR text) {
    caption_ = text != nullptr ? text : "";
    return TRUE;
}

BOOL SimDialog::SetDlgItemTextA(int id, LPCSTR text) {
    Control* control = Find(id);
    if (control == nullptr) return FALSE;
    control->text = text != nullptr ? text : "";
    return TRUE;
}

std::string SimDialog::GetDlgItemTextA(int id) {
    Control* control = Find(id);
    if (control == nullptr) return "";
    // A drop-down list's window text is its selected entry.
    if (control->source.className == "ComboBox" && (control->source.style & 0x3) == CBS_DROPDOWNLIST)
        return control->selection == CB_ERR ? "" : control->entries[control->selection];
    return control->text;
}

BOOL SimDialog::EnableDlgItem(int id, BOOL enable) {
    Control* control = Find(id);
    if (control == nullptr) return FALSE;
    bool wasDisabled = !control->enabled;
    control->enabled = enable != FALSE;
    return wasDisabled ? TRUE : FALSE;
}

BOOL SimDialog::IsDlgItemEnabled(int id) {
    Control* control = Find(id);
    return control != nullptr && control->enabled ? TRUE : FALSE;
}

BOOL SimDialog::ShowDlgItem(int id, int command) {
    Control* control = Find(id);
    if (control == nullptr) return FALSE;
    bool wasVisible = control->visible;
    control->visible = command != SW_HIDE;
    return wasVisible ? TRUE : FALSE;
}

BOOL SimDialog::IsDlgItemVisible(int id) {
    Control* control = Find(id);
    return control != nullptr && control->visible ? TRUE : FALSE;
}

BOOL SimDialog::SetFocusToDlgItem(int id) {
    if (Find(id) == nullptr) return FALSE;
    focus_ = id;
    return TRUE;
}

BOOL SimDialog::CheckDlgButton(int id, UINT check) {
    Control* control = Find(id);
    if (control == nullptr) return FALSE;
    control->check = check;
    return TRUE;
}

UINT SimDialog::IsDlgButtonChecked(int id) {
    Control* control = Find(id);
    return control != nullptr ? control->check : BST_UNCHECKED;
}

BOOL SimDialog::CheckRadioButton(int first, int last, int check) {
    for (Control& control : controls_)
        if (control.source.className == "Button" && control.source.id >= first && control.source.id <= last)
            control.check = control.source.id == check ? BST_CHECKED : BST_UNCHECKED;
    return TRUE;
}

int SimDialog::CheckedRadioOfGroup(int id) {
    size_t at = 0;
    while (at < controls_.size() && controls_[at].source.id != id) ++at;
    if (at == controls_.size()) {
        Find(id);
        return 0;
    }
    size_t start = at;
    while (start > 0 && (controls_[start].source.style & WS_GROUP) == 0) --start;
    for (size_t i = start; i < controls_.size(); ++i) {
        if (i > start && (controls_[i].source.style & WS_GROUP) != 0) break;
        if (IsRadio(controls_[i]) && controls_[i].check == BST_CHECKED) return controls_[i].source.id;
    }
    return 0;
}

int SimDialog::AddString(int id, LPCSTR text) {
    Control* list = FindList(id);
    if (list == nullptr || text == nullptr) return CB_ERR;
    DWORD sortStyle = list->source.className == "ComboBox" ? CBS_SORT : LBS_SORT;
    size_t at = list->entries.size();
    if ((list->source.style & sortStyle) != 0) {
        at = 0;
        while (at < list->entries.size() && !SortsBefore(text, list->entries[at])) ++at;
    }
    list->entries.insert(list->entries.begin() + static_cast<long>(at), text);
    // Inserting before the selected entry moves the selection with its entry.
    if (list->selection != CB_ERR && static_cast<size_t>(list->selection) >= at) ++list->selection;
    return static_cast<int>(at);
}

int SimDialog::ResetContent(int id) {
    Control* list = FindList(id);
    if (list == nullptr) return CB_ERR;
    list->entries.clear();
    list->selection = CB_ERR;
    return 0;
}

int SimDialog::GetCount(int id) {
    Control* list = FindList(id);
    return list == nullptr ? CB_ERR : static_cast<int>(list->entries.size());
}

int SimDialog::SetCurSel(int id, int index) {
    Control* list = FindList(id);
    if (list == nullptr) return CB_ERR;
    if (index < 0 || index >= static_cast<int>(list->entries.size())) {
        list->selection = CB_ERR;
        return CB_ERR;
    }
    list->selection = index;
    return index;
}

int SimDialog::GetCurSel(int id) {
    Control* list = FindList(id);
    return list == nullptr ? CB_ERR : list->selection;
}

int SimDialog::GetLBText(int id, int index, std::string* text) {
    Control* list = FindList(id);
    if (list == nullptr || index < 0 || index >= static_cast<int>(list->entries.size())) return CB_ERR;
    *text = list->entries[index];
    return static_cast<int>(text->size());
}

int SimDialog::Search(int id, int startAfter, LPCSTR text, bool exact) {
    Control* list = FindList(id);
    if (list == nullptr || text == nullptr) return CB_ERR;
    int count = static_cast<int>(list->entries.size());
    if (startAfter < -1 || startAfter >= count) startAfter = -1;
    std::string wanted = Folded(text);
    for (int step = 1; step <= count; ++step) {
        int index = (startAfter + step) % count;
        std::string entry = Folded(list->entries[index]);
        if (exact ? entry == wanted : entry.compare(0, wanted.size(), wanted) == 0) return index;
    }
    return CB_ERR;
}

int SimDialog::FindString(int id, int startAfter, LPCSTR prefix) {
    return Search(id, startAfter, prefix, false);
}

int SimDialog::FindStringExact(int id, int startAfter, LPCSTR text) {
    return Search(id, startAfter, text, true);
}

DWORD SimDialog::ListViewSetExtendedStyle(int id, DWORD mask, DWORD styles) {
    Control* list = FindListView(id);
    if (list == nullptr) return 0;
    DWORD previous = list->extendedStyle;
    // A zero mask means every style, as with LVM_SETEXTENDEDLISTVIEWSTYLE.
    if (mask == 0) mask = ~DWORD{0};
    list->extendedStyle = (previous & ~mask) | (styles & mask);
    return previous;
}

DWORD SimDialog::ListViewGetExtendedStyle(int id) {
    Control* list = FindListView(id);
    return list != nullptr ? list->extendedStyle : 0;
}

int SimDialog::ListViewInsertItem(int id, int index, LPCSTR text) {
    Control* list = FindListView(id);
    if (list == nullptr || index < 0) return -1;
    size_t at = std::min(static_cast<size_t>(index), list->items.size());
    list->items.insert(list->items.begin() + static_cast<long>(at),
                       ListViewItem{text != nullptr ? text : "", false});
    return static_cast<int>(at);
}

int SimDialog::ListViewGetItemCount(int id) {
    Control* list = FindListView(id);
    return list != nullptr ? static_cast<int>(list->items.size()) : 0;
}

std::string SimDialog::ListViewGetItemText(int id, int index) {
    ListViewItem* item = Item(id, index);
    return item != nullptr ? item->text : "";
}

BOOL SimDialog::ListViewGetCheckState(int id, int index) {
    ListViewItem* item = Item(id, index);
    return item != nullptr && item->checked ? TRUE : FALSE;
}

BOOL SimDialog::ListViewSetCheckState(int id, int index, BOOL check) {
    ListViewItem* item = Item(id, index);
    if (item == nullptr) return FALSE;
    item->checked = check != FALSE;
    return TRUE;
}

BOOL SimDialog::ListViewDeleteItem(int id, int index) {
    Control* list = FindListView(id);
    if (Item(id, index) == nullptr) return FALSE;
    list->items.erase(list->items.begin() + index);
    return TRUE;
}

BOOL SimDialog::ListViewDeleteAllItems(int id) {
    Control* list = FindListView(id);
    if (list == nullptr) return FALSE;
    list->items.clear();
    return TRUE;
}

BOOL SimDialog::EndDialog(INT_PTR result) {
    ended_ = true;
    result_ = result;
    return TRUE;
}

BOOL SimDialog::PlaceOnControl(HWND child, int id) {
    if (Find(id) == nullptr) return FALSE;
    placements_[child] = id;
    return TRUE;
}

BOOL SimDialog::AppendSystemMenuItem(UINT command, LPCSTR text) {
    if ((template_.style & WS_SYSMENU) == 0) return FALSE;
    systemMenu_.push_back(MenuItem{command, text != nullptr ? text : ""});
    return TRUE;
}

BOOL SimDialog::SetIconResource(UINT iconId) {
    icon_ = iconId;
    return TRUE;
}

BOOL SimDialog::AddToolTip(int id, UINT stringId, int maxWidth) {
    if (Find(id) == nullptr) return FALSE;
    toolTips_[id] = ToolTip{stringId, maxWidth};
    return TRUE;
}

BOOL SimDialog::SetTimer(UINT id, UINT period) {
    timers_[id] = period;
    timerPeriodsSet_[id].push_back(period);
    return TRUE;
}

BOOL SimDialog::KillTimer(UINT id) { return timers_.erase(id) != 0 ? TRUE : FALSE; }

void SimDialog::SetProgressRange(int id, int low, int high) {
    if (Find(id) != nullptr) progressRanges_[id] = {low, high};
}

void SimDialog::SetProgressPos(int id, int position) {
    if (Find(id) != nullptr) progress_[id].push_back(position);
}

void SimDialog::SetBanner(LPCSTR text, int fontHeight, int weight, LPCSTR face, COLORREF colour) {
    banner_ = Banner{text != nullptr ? text : "", fontHeight, weight, face != nullptr ? face : "", colour};
}

void SimDialog::SetPicture(int id, HBITMAP picture) {
    if (Find(id) != nullptr) pictures_[id] = picture;
}

void SimDialog::SetControlColours(int id, COLORREF text, COLORREF background, int fontHeight, LPCSTR face) {
    if (Find(id) != nullptr)
        colours_[id] = Colours{text, background, fontHeight, face != nullptr ? face : ""};
}

BOOL SimDialog::Init() {
    BOOL setFocus = page_ != nullptr ? page_->OnInit(*this) : TRUE;
    if (setFocus) {
        for (const Control& control : controls_) {
            if (control.visible && control.enabled && (control.source.style & WS_TABSTOP) != 0) {
                focus_ = control.source.id;
                break;
            }
        }
    }
    return setFocus;
}

void SimDialog::Show(bool visible) {
    visible_ = visible;
    if (page_ != nullptr) page_->OnShow(*this);
}

bool SimDialog::Click(int id) {
    Control* control = Find(id);
    if (!visible_ || control == nullptr || !control->visible || !control->enabled) return false;
    if (control->source.className == "Button") {
        DWORD kind = control->source.style & BS_TYPEMASK;
        if (kind == BS_AUTOCHECKBOX)
            control->check = control->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        if (kind == BS_AUTORADIOBUTTON) {
            size_t at = static_cast<size_t>(control - controls_.data());
            size_t start = at;
            while (start > 0 && (controls_[start].source.style & WS_GROUP) == 0) --start;
            for (size_t i = start; i < controls_.size(); ++i) {
                if (i > start && (controls_[i].source.style & WS_GROUP) != 0) break;
                if (IsRadio(controls_[i])) controls_[i].check = BST_UNCHECKED;
            }
            control->check = BST_CHECKED;
        }
    }
    focus_ = id;
    if (page_ != nullptr) page_->OnCommand(*this, id, BN_CLICKED);
    return true;
}

bool SimDialog::Select(int id, int index) {
    Control* list = FindList(id);
    if (!visible_ || list == nullptr || !list->visible || !list->enabled) return false;
    if (index < 0 || index >= static_cast<int>(list->entries.size())) return false;
    list->selection = index;
    focus_ = id;
    if (page_ != nullptr) page_->OnCommand(*this, id, CBN_SELCHANGE);
    return true;
}

void SimDialog::Command(int id, int notification) {
    if (page_ != nullptr) page_->OnCommand(*this, id, notification);
}

bool SimDialog::SystemCommand(UINT command) {
    return page_ != nullptr && page_->OnSysCommand(*this, command);
}

bool SimDialog::Timer(UINT id) {
    if (timers_.count(id) == 0) return false;
    if (page_ != nullptr) page_->OnTimer(*this, id);
    return true;
}

bool SimDialog::Tick(int id, int index) {
    Control* list = FindListView(id);
    if (!visible_ || list == nullptr || !list->visible || !list->enabled) return false;
    if ((list->extendedStyle & LVS_EX_CHECKBOXES) == 0) return false;
    ListViewItem* item = Item(id, index);
    if (item == nullptr) return false;
    item->checked = !item->checked;
    focus_ = id;
    return true;
}

bool SimDialog::Help() { return page_ != nullptr && page_->OnHelp(*this); }

std::vector<std::string> SimDialog::Entries(int id) const {
    const Control* control = Find(id);
    return control != nullptr ? control->entries : std::vector<std::string>{};
}

std::vector<SimDialog::ListViewItem> SimDialog::ListViewItems(int id) const {
    const Control* control = Find(id);
    return control != nullptr ? control->items : std::vector<ListViewItem>{};
}

}  // namespace win::sim
