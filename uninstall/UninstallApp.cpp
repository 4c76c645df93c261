#include "uninstall/UninstallApp.h"

#include <string>

#include "resources/resource.h"
#include "shared/Handover.h"
#include "shared/ProgramInstances.h"
#include "uninstall/UninstallDialog.h"
#include "uninstall/UninstallText.h"

namespace {

// Setup's caption comes from its own language file and may differ from the template's; the mutex it
// holds for its whole run has a fixed name.
bool SetupIsRunning(win::Platform& platform) {
    return platform.windows.FindWindowA(nullptr, kSetupWindowCaption) != nullptr ||
           IsMutexHeld(platform, kSetupRunningMutex);
}

}  // namespace

int RunUninstall(win::Platform& platform, const std::function<void(UninstallDialog&)>& prepare) {
    // On 64-bit Windows the x64 edition beside this program removes what the 64-bit spooler holds; it
    // starts before this one holds anything.
    const bool handOver = MustHandOverToX64(platform);
    if (handOver && StartX64Twin(platform, "uninstall").started) return 0;
    // Before anything reads a file relative to the current directory.
    SettleCurrentDirectory(platform, kUninstallLanguageFile);
    win::Windows& windows = platform.windows;
    std::string applicationName = ApplicationName(platform);

    MutexHandle instance(windows, windows.CreateMutexA(win::TRUE, applicationName.c_str()));
    bool alreadyRunning = platform.kernel.GetLastError() == win::ERROR_ALREADY_EXISTS;
    // The fixed name also finds an uninstaller whose program file has another name, and tells setup.
    MutexHandle running(windows, windows.CreateMutexA(win::FALSE, kUninstallRunningMutex));
    alreadyRunning = alreadyRunning || platform.kernel.GetLastError() == win::ERROR_ALREADY_EXISTS;
    if (alreadyRunning) {
        BringRunningInstanceForward(platform, UninstallText(platform, "Uninstall").Get("Title"), kUninstallDialogCaption);
        return 0;
    }
    if (SetupIsRunning(platform)) {
        std::string text = UninstallText(platform, "Uninstall").Get("Close");
        windows.MessageBoxA(nullptr, text.c_str(), applicationName.c_str(), win::MB_OK);
        return 0;
    }

    // A 32-bit uninstaller there would see SysWOW64 for System32 and the 32-bit drivers' environment, and
    // leave the x64 drivers and files behind: without its x64 edition it refuses before anything changes.
    if (handOver) {
        std::string text = X64EditionMissingText(platform);
        windows.MessageBoxA(nullptr, text.c_str(), applicationName.c_str(), win::MB_OK | win::MB_ICONERROR);
        return 0;
    }

    UninstallText messages(platform, "Message");
    UninstallDialog dialog(platform, messages, applicationName);
    if (prepare) prepare(dialog);
    windows.DialogBoxParamA(IDD_UNINSTALL, nullptr, dialog);
    dialog.WaitForRemoval();
    return 0;
}
