// The uninstaller's main dialog: the list of removable components, the progress list, Select all, the
// USB driver check box and the Uninstall button that starts the removal run on a worker thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/Platform.h"
#include "uninstall/RemovalEngine.h"
#include "uninstall/UninstallCatalogue.h"
#include "uninstall/UninstallText.h"

// The caption of the help viewer's window while a help file is open, and the help files, English first.
constexpr char kUninstallHelpCaption[] = "Uninstall";
constexpr char kEnglishHelpFile[] = ".\\Uninstall_EN.CHM";
constexpr char kChineseHelpFile[] = ".\\Uninstall_CN.CHM";
// Said when winspool.drv cannot be loaded; not from the language file.
constexpr char kNoWinspoolText[] = "no Winspool lib  ";

// Template 102. The removal run reaches the dialog through the RemovalView operations, which may be
// called from any thread: each runs on the dialog's thread (DialogSurface::RunOnDialogThread).
class UninstallDialog : public win::DialogPage, public RemovalView {
public:
    // `messages` is the reader of section "Message"; message boxes carry the application's name.
    UninstallDialog(win::Platform& platform, const UninstallText& messages, std::string applicationName);
    // Waits for a run still going on: the program never ends under its worker.
    ~UninstallDialog() override;
    UninstallDialog(const UninstallDialog&) = delete;
    UninstallDialog& operator=(const UninstallDialog&) = delete;

    win::BOOL OnInit(win::DialogSurface& surface) override;
    void OnCommand(win::DialogSurface& surface, int id, int notification) override;
    win::BOOL OnSysCommand(win::DialogSurface& surface, win::UINT command) override;
    win::BOOL OnHelp(win::DialogSurface& surface) override;

    int ComponentCount() override;
    bool IsChecked(int index) override;
    std::string EntryText(int index) override;
    void RemoveEntry(int index) override;
    void ReportLine(const std::string& text) override;
    bool UsbDriverWanted() override;
    void EnableControl(int id, bool enable) override;
    bool AskRestart() override;
    // Also disables the USB driver check box where its removal is not offered.
    int DetectGeneration() override;

    // The Uninstall button: the job check on this thread, then the run on a worker.
    void StartRemoval();
    bool RemovalRunning() const { return running_; }
    // Returns once the worker of the last run has ended.
    void WaitForRemoval();

    int Generation() const { return generation_; }
    // The engine of the runs, once the dialog has started: null when it closed at start.
    const RemovalEngine* Engine() const { return engine_.get(); }

private:
    void FillComponentList();
    void SelectAll();
    // A message box owned by the dialog, then the dialog closes as cancelled.
    void CloseWithMessage(const std::string& text);
    void ShowMessage(const std::string& text);
    // Runs the call with the surface on the dialog's thread; nothing when the dialog has no window.
    void OnDialogThread(const std::function<void(win::DialogSurface&)>& call);

    win::Platform& platform_;
    const UninstallText& messages_;
    std::string applicationName_;
    win::DialogSurface* surface_ = nullptr;
    int generation_ = 0;
    std::unique_ptr<UninstallCatalogue> catalogue_;
    win::HMODULE winspool_ = nullptr;
    std::unique_ptr<RemovalEngine> engine_;
    std::thread worker_;
    // Set before the worker starts and cleared after its last call to the dialog: while set, the
    // dialog neither closes nor starts another run, nor waits for the worker (which may be waiting for
    // the dialog's thread).
    std::atomic<bool> running_{false};
};
