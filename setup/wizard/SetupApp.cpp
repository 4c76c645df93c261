#include "setup/wizard/SetupApp.h"

#include "resources/resource.h"
#include "setup/engine/InstallMessage.h"
#include "shared/Handover.h"
#include "setup/wizard/InstallAction.h"
#include "setup/wizard/WizardFrame.h"
#include "shared/ProgramInstances.h"

namespace {

// The captions the programs' windows have with the medium's own language file.
constexpr char kSetupCaption[] = "Quarvel";
constexpr char kUninstallCaption[] = "Uninstall";

}  // namespace

int RunSetup(win::Platform& platform, const std::function<void(WizardFrame&)>& prepare) {
    // On 64-bit Windows the x64 edition beside this program installs; it starts before this one holds
    // anything, in the same current directory, and finds the medium as this one would.
    const bool handOver = MustHandOverToX64(platform);
    if (handOver && StartX64Twin(platform, "setup").started) return 0;
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
    // Without its x64 edition the medium offers only 32-bit drivers, monitors and a processor, which a
    // 64-bit spooler could not load: refused before the first page, where nothing has changed yet.
    if (handOver) {
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
