#include "setup/wizard/SetupApp.h"

#include "resources/resource.h"
#include "setup/wizard/InstallAction.h"
#include "setup/wizard/WizardFrame.h"
#include "shared/ProgramInstances.h"

namespace {

// The captions the programs' windows have with the medium's own language file.
constexpr char kSetupCaption[] = "Quarvel";
constexpr char kUninstallCaption[] = "Uninstall";

// Closes the handle on every way out.
class MutexHandle {
public:
    MutexHandle(win::Windows& windows, win::HANDLE handle) : windows_(windows), handle_(handle) {}
    ~MutexHandle() {
        if (handle_ != nullptr) windows_.CloseHandle(handle_);
    }
    MutexHandle(const MutexHandle&) = delete;
    MutexHandle& operator=(const MutexHandle&) = delete;

private:
    win::Windows& windows_;
    win::HANDLE handle_;
};

// Brings the running setup's window to the front: the caption it has is the one our language file
// gives, or the medium's own when the file names none.
void BringRunningSetupForward(SetupContext& context) {
    win::Windows& windows = context.platform.windows;
    std::string caption = LanguageText(context.platform, "Setup").Get("Caption");
    win::HWND running = nullptr;
    if (!caption.empty()) running = windows.FindWindowA(nullptr, caption.c_str());
    if (running == nullptr) running = windows.FindWindowA(nullptr, kSetupCaption);
    if (running == nullptr) return;
    windows.SetForegroundWindow(running);
    windows.OpenIcon(running);
}

}  // namespace

int RunSetup(win::Platform& platform, const std::function<void(WizardFrame&)>& prepare) {
    // Before anything reads a file relative to the current directory.
    SettleCurrentDirectory(platform, kSetupLanguageFile);
    SetupContext context(platform);
    win::Windows& windows = platform.windows;
    std::string applicationName = ApplicationName(platform);

    MutexHandle instance(windows, windows.CreateMutexA(win::TRUE, applicationName.c_str()));
    bool alreadyRunning = platform.kernel.GetLastError() == win::ERROR_ALREADY_EXISTS;
    // The fixed name also finds a setup whose program file has another name, and tells uninstall.
    MutexHandle running(windows, windows.CreateMutexA(win::FALSE, kSetupRunningMutex));
    alreadyRunning = alreadyRunning || platform.kernel.GetLastError() == win::ERROR_ALREADY_EXISTS;
    if (alreadyRunning) {
        BringRunningSetupForward(context);
        return 0;
    }
    if (windows.FindWindowA(nullptr, kUninstallCaption) != nullptr ||
        IsMutexHeld(platform, kUninstallRunningMutex)) {
        std::string text = LanguageText(platform, "Setup").Get("Close");
        windows.MessageBoxA(nullptr, text.c_str(), applicationName.c_str(), win::MB_OK);
        return 0;
    }

    WizardFrame frame(context, applicationName);
    WizardPages pages(context, frame);
    frame.AddPages(pages);
    frame.installHandler = RunWizardInstall;
    if (prepare) prepare(frame);
    windows.DialogBoxParamA(IDD_WIZARD, nullptr, frame);
    return 0;
}
