#include "setup/engine/UsbDriverInstaller.h"

#include <vector>

#include "setup/engine/DriverFiles.h"
#include "setup/environment/PlatformGeneration.h"

namespace {

constexpr win::DWORD kBeforeLooking = 500;
constexpr win::DWORD kWhileOpen = 1000;
constexpr win::DWORD kSettling[] = {1000, 2000};

// The folder of the program file with its trailing backslash, or empty.
std::string ProgramFolder(win::Platform& platform) {
    std::vector<char> path(260, '\0');
    win::DWORD length = platform.files.GetModuleFileNameA(nullptr, path.data(), static_cast<win::DWORD>(path.size()));
    std::string text(path.data(), length < path.size() ? length : 0);
    size_t slash = text.find_last_of('\\');
    return slash == std::string::npos ? "" : text.substr(0, slash + 1);
}

std::string CurrentFolder(win::Platform& platform) {
    std::vector<char> path(260, '\0');
    win::DWORD length = platform.files.GetCurrentDirectoryA(static_cast<win::DWORD>(path.size()), path.data());
    return length > 0 && length < path.size() ? std::string(path.data(), length) : "";
}

}  // namespace

bool UsbDriverInstallNeeded(win::Platform& platform) {
    PlatformGeneration running = DetectPlatformGeneration(platform);
    if (running == kGenerationWin98Me || running == kGenerationNT4) return false;
    return CompareUsbDriverVersion(platform) != 0;
}

void RunUsbDriverInstaller(win::Platform& platform, const std::string& installerCaption) {
    std::string folder = ProgramFolder(platform);
    const std::string kit = platform.architecture.usbDriverKit;
    for (const char* file : {"\\bulkusb.sys", "\\BULKUSB.INF"})
        platform.files.SetFileAttributesA((folder + kit + file).c_str(), win::FILE_ATTRIBUTE_ARCHIVE);

    std::string installer = CurrentFolder(platform) + "\\" + kit + "\\Install.exe";
    platform.windows.ShellExecuteA(nullptr, "open", installer.c_str(), "2", nullptr, win::SW_SHOWNORMAL);
    // The waits answer what the installer's windows send to ours (taking the activation and giving it
    // back): a thread that only sleeps holds that up, and under Wine the question that follows then opens
    // behind the wizard.
    win::Clock& clock = platform.clock;
    clock.SleepAnsweringSentMessages(kBeforeLooking);
    // The installer may wait for the user; setup waits as long as its window is open.
    while (!installerCaption.empty() && platform.windows.FindWindowA(nullptr, installerCaption.c_str()) != nullptr)
        clock.SleepAnsweringSentMessages(kWhileOpen);
    for (win::DWORD pause : kSettling) clock.SleepAnsweringSentMessages(pause);
}
