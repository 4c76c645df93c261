// Simulated windows: broadcasts, message boxes answered from a script, top-level windows of other
// programs, dialogs from the templates, named mutexes, the shell, tokens and bitmaps.
#include <atomic>
#include <cstddef>
#include <cstring>

#include "platform/sim/SimWindowsUi.h"

namespace win::sim {

namespace {

// Messages whose lParam carries a text pointer.
bool CarriesText(UINT message) { return message == WM_WININICHANGE; }

}  // namespace

unsigned long NextSimSequence() {
    static std::atomic<unsigned long> next{0};
    return ++next;
}

void SimWindowsUi::Record(bool notify, HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                          UINT timeout) {
    SentMessage sent{notify, window, message, wParam, false, "", flags, timeout, NextSimSequence()};
    if (CarriesText(message) && lParam != 0) {
        sent.hasText = true;
        sent.text = reinterpret_cast<const char*>(lParam);
    }
    sent_.push_back(sent);
}

BOOL SimWindowsUi::SendNotifyMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Record(true, window, message, wParam, lParam, 0, 0);
    DWORD error;
    if (w_.TakeFault("SendNotifyMessageA", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    if (window != HWND_BROADCAST) {
        SetSimLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    // NT refuses, by the kind of message and whatever its lParam, messages that carry pointers when it
    // would deliver them after the call returns.
    if (CarriesText(message) && w_.version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        SetSimLastError(ERROR_MESSAGE_SYNC_ONLY);
        return FALSE;
    }
    return TRUE;
}

LRESULT SimWindowsUi::SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                          UINT timeout, DWORD_PTR* result) {
    Record(false, window, message, wParam, lParam, flags, timeout);
    DWORD error;
    if (w_.TakeFault("SendMessageTimeoutA", &error)) {
        SetSimLastError(error);
        return 0;
    }
    if (window != HWND_BROADCAST) {
        SetSimLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (result != nullptr) *result = 0;
    return 1;
}

namespace {

constexpr DWORD ERROR_INVALID_DATA = 13;

// The button that Enter presses: the first of the box's buttons unless MB_DEFBUTTON2 or 3 says otherwise.
int DefaultAnswer(UINT type) {
    static const std::vector<std::vector<int>> buttons = {
        {IDOK},        {IDOK, IDCANCEL},   {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL},
        {IDYES, IDNO}, {IDRETRY, IDCANCEL}};
    size_t kind = type & 0xF;
    if (kind >= buttons.size()) kind = 0;
    size_t which = (type & 0xF00) >> 8;
    const std::vector<int>& choices = buttons[kind];
    return choices[which < choices.size() ? which : 0];
}

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 0x81) {  // a double-byte character compares exactly, trail byte included
            if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

size_t SidSize(const BYTE* sid) { return 8 + 4 * static_cast<size_t>(sid[1]); }

}  // namespace

SimWindowsUi::SimWindowsUi(SimWindows& w) : w_(w) {
    processGroups = {
        {UsersSid(), SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED},
        {AdministratorsSid(), SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED}};
}

HANDLE SimWindowsUi::NewHandle() {
    nextHandle_ += 4;
    return reinterpret_cast<HANDLE>(nextHandle_);
}

int SimWindowsUi::MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    int answer = DefaultAnswer(type);
    if (!messageBoxAnswers.empty()) {
        answer = messageBoxAnswers.front();
        messageBoxAnswers.pop_front();
    }
    // A null caption shows "Error", as Windows does.
    boxes_.push_back(MessageBoxCall{owner, text != nullptr ? text : "",
                                    caption != nullptr ? caption : "Error", type, answer});
    return answer;
}

HWND SimWindowsUi::AddTopLevelWindow(const std::string& caption, const std::string& className) {
    HWND window = NewWindow();
    windows_[window] = TopLevel{caption, className};
    return window;
}

bool SimWindowsUi::KnownWindow(HWND window) const {
    return windows_.count(window) != 0 || dialogs_.count(window) != 0;
}

HWND SimWindowsUi::FindWindowA(LPCSTR className, LPCSTR windowName) {
    for (const auto& [window, top] : windows_) {
        if (className != nullptr && !SameText(className, top.className)) continue;
        if (windowName != nullptr && !SameText(windowName, top.caption)) continue;
        HWND found = window;
        auto closing = closeAfterFinds_.find(found);
        if (closing != closeAfterFinds_.end() && --closing->second <= 0) {
            closeAfterFinds_.erase(closing);
            windows_.erase(found);
        }
        return found;
    }
    // Our own modal dialogs are top-level windows of the dialog class.
    for (const auto& [window, open] : modalOpen_) {
        if (!open) continue;
        if (className != nullptr && !SameText(className, "#32770")) continue;
        if (windowName != nullptr && !SameText(windowName, dialogs_[window]->GetWindowTextA())) continue;
        return window;
    }
    return nullptr;
}

BOOL SimWindowsUi::RecordWindowCall(const char* operation, HWND window) {
    windowCalls_.push_back(WindowCall{operation, window});
    if (!KnownWindow(window)) {
        SetSimLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL SimWindowsUi::SetForegroundWindow(HWND window) {
    return RecordWindowCall("SetForegroundWindow", window);
}

BOOL SimWindowsUi::BringWindowToTop(HWND window) { return RecordWindowCall("BringWindowToTop", window); }

BOOL SimWindowsUi::OpenIcon(HWND window) { return RecordWindowCall("OpenIcon", window); }

SimDialog* SimWindowsUi::Dialog(HWND window) {
    auto found = dialogs_.find(window);
    return found == dialogs_.end() ? nullptr : found->second.get();
}

INT_PTR SimWindowsUi::DialogBoxParamA(UINT templateId, HWND, DialogPage& page) {
    if (resources == nullptr || resources->dialogs.count(static_cast<int>(templateId)) == 0) {
        SetSimLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    auto entries = resources->listEntries.find(static_cast<int>(templateId));
    HWND window = NewWindow();
    dialogs_[window] = std::make_unique<SimDialog>(
        resources->dialogs.at(static_cast<int>(templateId)),
        entries != resources->listEntries.end() ? entries->second : std::vector<ListEntry>{}, &page);
    SimDialog& dialog = *dialogs_[window];
    dialog.SetHandle(window);
    modalOpen_[window] = true;
    // A dialog that ends itself while initialising is never shown.
    dialog.Init();
    if (!dialog.ended()) dialog.Show(true);
    auto script = modalScripts.find(templateId);
    if (!dialog.ended() && script != modalScripts.end()) script->second(dialog);
    ModalDialog record{templateId, dialog.ended(), dialog.ended() ? dialog.result() : -1};
    modals_.push_back(record);
    modalOpen_.erase(window);
    dialogs_.erase(window);
    return record.result;
}

HWND SimWindowsUi::CreateDialogParamA(UINT templateId, HWND, DialogPage& page) {
    if (resources == nullptr || resources->dialogs.count(static_cast<int>(templateId)) == 0) {
        SetSimLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    auto entries = resources->listEntries.find(static_cast<int>(templateId));
    const DialogTemplate& source = resources->dialogs.at(static_cast<int>(templateId));
    HWND window = NewWindow();
    dialogs_[window] = std::make_unique<SimDialog>(
        source, entries != resources->listEntries.end() ? entries->second : std::vector<ListEntry>{}, &page);
    dialogs_[window]->SetHandle(window);
    dialogs_[window]->Init();
    if ((source.style & WS_VISIBLE) != 0) dialogs_[window]->Show(true);
    return window;
}

BOOL SimWindowsUi::ShowWindow(HWND window, int command) {
    SimDialog* dialog = Dialog(window);
    if (dialog == nullptr) {
        RecordWindowCall("ShowWindow", window);
        return FALSE;
    }
    if (command == SW_SHOWMINIMIZED) RecordWindowCall("ShowWindow minimised", window);
    bool wasVisible = dialog->IsVisible();
    bool visible = command != SW_HIDE;
    // WM_SHOWWINDOW comes only when the visibility changes.
    if (visible != wasVisible) dialog->Show(visible);
    return wasVisible ? TRUE : FALSE;
}

BOOL SimWindowsUi::SetWindowPos(HWND window, HWND insertAfter, int, int, int, int, UINT) {
    return RecordWindowCall(insertAfter == HWND_TOPMOST ? "SetWindowPos topmost" : "SetWindowPos", window);
}

BOOL SimWindowsUi::DestroyWindow(HWND window) {
    if (dialogs_.erase(window) == 0 && windows_.erase(window) == 0) {
        SetSimLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return TRUE;
}

int SimWindowsUi::LoadStringA(UINT id, std::string* text) {
    text->clear();
    if (resources == nullptr) return 0;
    auto found = resources->strings.find(static_cast<int>(id));
    if (found == resources->strings.end()) {
        SetSimLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    *text = found->second;
    return static_cast<int>(text->size());
}

HANDLE SimWindowsUi::LoadImageA(LPCSTR name, UINT type, int, int, UINT flags) {
    DWORD error;
    if (w_.TakeFault("LoadImageA", &error)) {
        SetSimLastError(error);
        return nullptr;
    }
    if (name == nullptr || type != IMAGE_BITMAP || (flags & LR_LOADFROMFILE) == 0) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string bytes;
    if (!w_.ReadFile(name, &bytes)) {
        SetSimLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    // A bitmap file begins with "BM" and its 14-byte file header and 40-byte information header.
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) {
        SetSimLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    HANDLE bitmap = NewHandle();
    bitmaps_[bitmap] = w_.FullPath(name);
    return bitmap;
}

BOOL SimWindowsUi::DeleteObject(HANDLE object) { return bitmaps_.erase(object) != 0 ? TRUE : FALSE; }

HANDLE SimWindowsUi::OpenMutexA(DWORD, BOOL, LPCSTR name) {
    std::string key = name != nullptr ? name : "";
    if (name == nullptr || !MutexExists(key)) {
        SetSimLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    HANDLE handle = NewHandle();
    ++mutexes_[key];
    mutexHandles_[handle] = key;
    SetSimLastError(ERROR_SUCCESS);
    return handle;
}

bool SimWindowsUi::MutexExists(const std::string& name) const {
    auto found = mutexes_.find(name);
    return found != mutexes_.end() && found->second > 0;
}

HANDLE SimWindowsUi::CreateMutexA(BOOL, LPCSTR name) {
    DWORD error;
    if (w_.TakeFault("CreateMutexA", &error)) {
        SetSimLastError(error);
        return nullptr;
    }
    HANDLE handle = NewHandle();
    std::string key = name != nullptr ? name : "";
    // Names of kernel objects are compared exactly.
    bool existed = name != nullptr && MutexExists(key);
    if (name != nullptr) ++mutexes_[key];
    mutexHandles_[handle] = key;
    SetSimLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL SimWindowsUi::CloseHandle(HANDLE handle) {
    auto mutex = mutexHandles_.find(handle);
    if (mutex != mutexHandles_.end()) {
        if (!mutex->second.empty()) --mutexes_[mutex->second];
        mutexHandles_.erase(mutex);
        return TRUE;
    }
    if (tokens_.erase(handle) != 0) return TRUE;
    SetSimLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

INT_PTR SimWindowsUi::ShellExecuteA(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                    int show) {
    auto text = [](LPCSTR value) { return std::string(value != nullptr ? value : ""); };
    shellCalls_.push_back(ShellCall{text(verb), text(file), text(parameters), text(directory), show});
    DWORD error;
    if (w_.TakeFault("ShellExecuteA", &error)) return static_cast<INT_PTR>(error);
    return shellResult;
}

std::vector<BYTE> SimWindowsUi::MakeSid(const SID_IDENTIFIER_AUTHORITY& authority,
                                        const std::vector<DWORD>& subs) {
    std::vector<BYTE> sid{1, static_cast<BYTE>(subs.size())};
    sid.insert(sid.end(), authority.Value, authority.Value + 6);
    for (DWORD sub : subs)
        for (int i = 0; i < 4; ++i) sid.push_back(static_cast<BYTE>(sub >> (8 * i)));
    return sid;
}

std::vector<BYTE> SimWindowsUi::AdministratorsSid() {
    return MakeSid(SECURITY_NT_AUTHORITY, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS});
}

std::vector<BYTE> SimWindowsUi::UsersSid() {
    return MakeSid(SECURITY_NT_AUTHORITY, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS});
}

BOOL SimWindowsUi::OpenThreadToken(DWORD, BOOL, HANDLE* token) {
    DWORD error;
    if (w_.TakeFault("OpenThreadToken", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    if (!threadImpersonates) {
        SetSimLastError(ERROR_NO_TOKEN);
        return FALSE;
    }
    *token = NewHandle();
    tokens_[*token] = threadGroups;
    return TRUE;
}

BOOL SimWindowsUi::OpenProcessToken(DWORD, HANDLE* token) {
    DWORD error;
    if (w_.TakeFault("OpenProcessToken", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    *token = NewHandle();
    tokens_[*token] = processGroups;
    return TRUE;
}

const std::vector<SimWindowsUi::TokenGroup>* SimWindowsUi::TokenOf(HANDLE token) const {
    auto found = tokens_.find(token);
    return found == tokens_.end() ? nullptr : &found->second;
}

BOOL SimWindowsUi::GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* buffer, DWORD size,
                                       DWORD* needed) {
    DWORD error;
    if (w_.TakeFault("GetTokenInformation", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    const std::vector<TokenGroup>* groups = TokenOf(token);
    if (groups == nullptr) {
        SetSimLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (kind != TokenGroups || needed == nullptr) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The record, its array of groups, then the SIDs the array points to.
    size_t sidsAt = offsetof(TOKEN_GROUPS, Groups) + sizeof(SID_AND_ATTRIBUTES) * groups->size();
    size_t total = sidsAt;
    for (const TokenGroup& group : *groups) total += group.sid.size();
    *needed = static_cast<DWORD>(total);
    if (buffer == nullptr || size < total) {
        SetSimLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    BYTE* bytes = static_cast<BYTE*>(buffer);
    TOKEN_GROUPS* record = static_cast<TOKEN_GROUPS*>(buffer);
    record->GroupCount = static_cast<DWORD>(groups->size());
    SID_AND_ATTRIBUTES* entries = record->Groups;
    size_t at = sidsAt;
    for (size_t i = 0; i < groups->size(); ++i) {
        std::memcpy(bytes + at, (*groups)[i].sid.data(), (*groups)[i].sid.size());
        entries[i].Sid = bytes + at;
        entries[i].Attributes = (*groups)[i].attributes;
        at += (*groups)[i].sid.size();
    }
    return TRUE;
}

BOOL SimWindowsUi::CheckTokenMembership(HANDLE token, PSID sid, BOOL* isMember) {
    const std::vector<TokenGroup>* groups =
        token == nullptr ? (threadImpersonates ? &threadGroups : &processGroups) : TokenOf(token);
    if (groups == nullptr) {
        SetSimLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (sid == nullptr || isMember == nullptr) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const BYTE* wanted = static_cast<const BYTE*>(sid);
    *isMember = FALSE;
    for (const TokenGroup& group : *groups) {
        bool same = group.sid.size() == SidSize(wanted) &&
                    std::memcmp(group.sid.data(), wanted, group.sid.size()) == 0;
        if (same && (group.attributes & SE_GROUP_ENABLED) != 0 &&
            (group.attributes & SE_GROUP_USE_FOR_DENY_ONLY) == 0)
            *isMember = TRUE;
    }
    return TRUE;
}

BOOL SimWindowsUi::AllocateAndInitializeSid(const SID_IDENTIFIER_AUTHORITY* authority, BYTE count, DWORD sub0,
                                            DWORD sub1, DWORD sub2, DWORD sub3, DWORD sub4, DWORD sub5,
                                            DWORD sub6, DWORD sub7, PSID* sid) {
    if (authority == nullptr || sid == nullptr || count > 8) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<DWORD> subs{sub0, sub1, sub2, sub3, sub4, sub5, sub6, sub7};
    subs.resize(count);
    std::vector<BYTE> bytes = MakeSid(*authority, subs);
    std::unique_ptr<BYTE[]> owned(new BYTE[bytes.size()]);
    std::memcpy(owned.get(), bytes.data(), bytes.size());
    *sid = owned.get();
    sids_[*sid] = std::move(owned);
    return TRUE;
}

BOOL SimWindowsUi::EqualSid(PSID first, PSID second) {
    const BYTE* a = static_cast<const BYTE*>(first);
    const BYTE* b = static_cast<const BYTE*>(second);
    bool equal = SidSize(a) == SidSize(b) && std::memcmp(a, b, SidSize(a)) == 0;
    SetSimLastError(ERROR_SUCCESS);
    return equal ? TRUE : FALSE;
}

void SimWindowsUi::FreeSid(PSID sid) { sids_.erase(sid); }

// Privileges are known by name; their LUIDs here are Windows' well-known values.
BOOL SimWindowsUi::LookupPrivilegeValueA(LPCSTR, LPCSTR name, LUID* luid) {
    static const std::map<std::string, DWORD> known = {{"SeShutdownPrivilege", 19}, {"SeDebugPrivilege", 20}};
    DWORD error;
    if (w_.TakeFault("LookupPrivilegeValueA", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    auto found = name != nullptr ? known.find(name) : known.end();
    if (found == known.end()) {
        SetSimLastError(ERROR_NO_SUCH_PRIVILEGE);
        return FALSE;
    }
    *luid = LUID{found->second, 0};
    return TRUE;
}

BOOL SimWindowsUi::AdjustTokenPrivileges(HANDLE token, BOOL, TOKEN_PRIVILEGES* newState, DWORD, TOKEN_PRIVILEGES*,
                                         DWORD*) {
    DWORD error;
    if (w_.TakeFault("AdjustTokenPrivileges", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    if (TokenOf(token) == nullptr) {
        SetSimLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    for (DWORD i = 0; newState != nullptr && i < newState->PrivilegeCount; ++i) {
        if ((newState->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) == 0) continue;
        enabledPrivileges.push_back(newState->Privileges[i].Luid.LowPart == 19 ? "SeShutdownPrivilege" : "other");
    }
    SetSimLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL SimWindowsUi::ExitWindowsEx(UINT flags, DWORD) {
    exitWindowsCalls.push_back(flags);
    DWORD error;
    if (w_.TakeFault("ExitWindowsEx", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    return TRUE;
}

}  // namespace win::sim
