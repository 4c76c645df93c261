#include "setup/wizard/SetupApp.h"

#include "resources/resource.h"
#include "setup/engine/InstallMessage.h"
#include "setup/environment/Wow64.h"
#include "setup/wizard/InstallAction.h"
#include "setup/wizard/WizardFrame.h"
#include "shared/ProgramInstances.h"

namespace {

// The captions the programs' windows have with the medium's own language file.
constexpr char kSetupCaption[] = "Quarvel";
constexpr char kUninstallCaption[] = "Uninstall";

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
        BringRunningInstanceForward(platform, LanguageText(platform, "Setup").Get("Caption"), kSetupCaption);
        return 0;
    }
    if (windows.FindWindowA(nullptr, kUninstallCaption) != nullptr ||
        IsMutexHeld(platform, kUninstallRunningMutex)) {
        std::string text = LanguageText(platform, "Setup").Get("Close");
        windows.MessageBoxA(nullptr, text.c_str(), applicationName.c_str(), win::MB_OK);
        return 0;
    }
    // The medium's drivers, monitors and processor are 32-bit: registered with a 64-bit spooler they could
    // not load, so a 64-bit Windows is refused before the first page, where nothing has changed yet.
    if (RunsOn64BitWindows(platform)) {
        std::string text = MessageFor(context.messageText, "IDS_NOTSUPPORT64");
        windows.MessageBoxA(nullptr, text.c_str(), applicationName.c_str(), win::MB_OK | win::MB_ICONERROR);
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
