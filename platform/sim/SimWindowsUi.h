// The simulated windows, dialogs, message boxes and window messages.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Windows.h"
#include "platform/sim/ResourceScript.h"
#include "platform/sim/SimDialog.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimWindowsUi : public Windows {
public:
    explicit SimWindowsUi(SimWindows& w);

    BOOL SendNotifyMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                UINT timeout, DWORD_PTR* result) override;
    int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) override;
    HWND FindWindowA(LPCSTR className, LPCSTR windowName) override;
    BOOL SetForegroundWindow(HWND window) override;
    BOOL BringWindowToTop(HWND window) override;
    BOOL OpenIcon(HWND window) override;
    INT_PTR DialogBoxParamA(UINT templateId, HWND owner, DialogPage& page) override;
    HWND CreateDialogParamA(UINT templateId, HWND parent, DialogPage& page) override;
    DialogSurface* DialogSurfaceOf(HWND dialog) override { return Dialog(dialog); }
    BOOL ShowWindow(HWND window, int command) override;
    BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) override;
    BOOL DestroyWindow(HWND window) override;
    int LoadStringA(UINT id, std::string* text) override;
    HANDLE LoadImageA(LPCSTR name, UINT type, int width, int height, UINT flags) override;
    BOOL DeleteObject(HANDLE object) override;
    HANDLE CreateMutexA(BOOL initialOwner, LPCSTR name) override;
    HANDLE OpenMutexA(DWORD access, BOOL inherit, LPCSTR name) override;
    BOOL CloseHandle(HANDLE handle) override;
    INT_PTR ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                          int show) override;
    BOOL OpenThreadToken(DWORD access, BOOL openAsSelf, HANDLE* token) override;
    BOOL OpenProcessToken(DWORD access, HANDLE* token) override;
    BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* buffer, DWORD size,
                             DWORD* needed) override;
    BOOL CheckTokenMembership(HANDLE token, PSID sid, BOOL* isMember) override;
    BOOL AllocateAndInitializeSid(const SID_IDENTIFIER_AUTHORITY* authority, BYTE count, DWORD sub0,
                                  DWORD sub1, DWORD sub2, DWORD sub3, DWORD sub4, DWORD sub5, DWORD sub6,
                                  DWORD sub7, PSID* sid) override;
    BOOL EqualSid(PSID first, PSID second) override;
    void FreeSid(PSID sid) override;
    BOOL LookupPrivilegeValueA(LPCSTR systemName, LPCSTR name, LUID* luid) override;
    BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* newState, DWORD size,
                               TOKEN_PRIVILEGES* previousState, DWORD* returnSize) override;
    BOOL ExitWindowsEx(UINT flags, DWORD reason) override;

    // The privileges enabled in tokens by AdjustTokenPrivileges, by name, and the ExitWindowsEx flags asked
    // for, in order: nothing restarts.
    std::vector<std::string> enabledPrivileges;
    std::vector<UINT> exitWindowsCalls;

    // The templates dialogs are made from; without them no dialog can be made.
    const ResourceScript* resources = nullptr;
    // What the user does while the modal dialog of a template is open; it ends the dialog or not.
    std::map<UINT, std::function<void(SimDialog&)>> modalScripts;
    struct ModalDialog {
        UINT templateId;
        bool ended;
        INT_PTR result;
    };
    const std::vector<ModalDialog>& ModalDialogs() const { return modals_; }
    // A dialog made by DialogBoxParamA (while it is open) or CreateDialogParamA, or null.
    SimDialog* Dialog(HWND window);

    // Answers of the next message boxes in order; when they run out, the box's default button answers.
    std::deque<int> messageBoxAnswers;
    struct MessageBoxCall {
        HWND owner;
        std::string text;
        std::string caption;
        UINT type;
        int answer;
    };
    const std::vector<MessageBoxCall>& MessageBoxes() const { return boxes_; }

    // Top-level windows of other programs, found by class and caption.
    HWND AddTopLevelWindow(const std::string& caption, const std::string& className = "");
    // The window answers the next `finds` FindWindowA calls that find it and is gone after them, as the
    // window of a program its user closes meanwhile.
    void CloseAfterFinds(HWND window, int finds) { closeAfterFinds_[window] = finds; }
    // SetForegroundWindow, BringWindowToTop, OpenIcon and ShowWindow of top-level windows, in order.
    struct WindowCall {
        std::string operation;
        HWND window;
    };
    const std::vector<WindowCall>& WindowCalls() const { return windowCalls_; }

    // A named mutex that another process holds.
    void HoldMutexElsewhere(const std::string& name) { ++mutexes_[name]; }
    // The other process has ended.
    void ReleaseMutexElsewhere(const std::string& name) { --mutexes_[name]; }
    bool MutexExists(const std::string& name) const;

    struct ShellCall {
        std::string verb, file, parameters, directory;
        int show;
    };
    const std::vector<ShellCall>& ShellCalls() const { return shellCalls_; }
    // What ShellExecuteA returns; above 32 is success.
    INT_PTR shellResult = 42;

    // The groups of the process token, and of the thread's token while it impersonates. At first the
    // process is a member of Users and Administrators, both enabled.
    struct TokenGroup {
        std::vector<BYTE> sid;
        DWORD attributes;
    };
    std::vector<TokenGroup> processGroups;
    bool threadImpersonates = false;
    std::vector<TokenGroup> threadGroups;
    static std::vector<BYTE> MakeSid(const SID_IDENTIFIER_AUTHORITY& authority,
                                     const std::vector<DWORD>& subs);
    static std::vector<BYTE> AdministratorsSid();
    static std::vector<BYTE> UsersSid();

    // Bitmaps loaded and not yet deleted, by handle, with the file each came from.
    const std::map<HANDLE, std::string>& Bitmaps() const { return bitmaps_; }

    // Each message sent, whether or not it was delivered.
    struct SentMessage {
        bool notify;  // SendNotifyMessageA; otherwise SendMessageTimeoutA
        HWND window;
        UINT message;
        WPARAM wParam;
        bool hasText;  // lParam pointed to a text (WM_WININICHANGE with a section name)
        std::string text;
        UINT flags;
        UINT timeout;
        unsigned long sequence;  // orders this message against the recorded profile writes
    };
    const std::vector<SentMessage>& SentMessages() const { return sent_; }

private:
    void Record(bool notify, HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                UINT timeout);

    HANDLE NewHandle();
    HWND NewWindow() { return static_cast<HWND>(NewHandle()); }
    bool KnownWindow(HWND window) const;
    BOOL RecordWindowCall(const char* operation, HWND window);
    const std::vector<TokenGroup>* TokenOf(HANDLE token) const;

    SimWindows& w_;
    std::vector<SentMessage> sent_;
    uintptr_t nextHandle_ = 0x10000;
    std::vector<ModalDialog> modals_;
    std::map<HWND, std::unique_ptr<SimDialog>> dialogs_;
    std::map<HWND, bool> modalOpen_;
    std::vector<MessageBoxCall> boxes_;
    struct TopLevel {
        std::string caption;
        std::string className;
    };
    std::map<HWND, TopLevel> windows_;
    std::map<HWND, int> closeAfterFinds_;
    std::vector<WindowCall> windowCalls_;
    std::map<std::string, int> mutexes_;
    std::map<HANDLE, std::string> mutexHandles_;
    std::vector<ShellCall> shellCalls_;
    std::map<HANDLE, std::vector<TokenGroup>> tokens_;
    std::map<PSID, std::unique_ptr<BYTE[]>> sids_;
    std::map<HANDLE, std::string> bitmaps_;
};

// A number that grows with each recorded call of any simulated family, to compare their order.
unsigned long NextSimSequence();

}  // namespace win::sim
