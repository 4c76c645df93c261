#include "shared/ProgramInstances.h"

#include <vector>

std::string ProgramPath(win::Platform& platform) {
    // Paths may be longer than MAX_PATH: grow the buffer until the whole path fits.
    for (win::DWORD size = 260; size <= 32768; size *= 2) {
        std::vector<char> buffer(size, '\0');
        win::DWORD length = platform.files.GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0) return "";
        if (length < size - 1) return std::string(buffer.data(), length);
    }
    return "";
}

std::string CurrentDirectory(win::Platform& platform) {
    win::DWORD needed = platform.files.GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return "";
    std::vector<char> buffer(needed + 1, '\0');
    win::DWORD length = platform.files.GetCurrentDirectoryA(needed + 1, buffer.data());
    return length == 0 || length > needed ? "" : std::string(buffer.data(), length);
}

std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

namespace {

bool IsFile(win::Platform& platform, const std::string& path) {
    win::DWORD attributes = platform.files.GetFileAttributesA(path.c_str());
    return attributes != win::INVALID_FILE_ATTRIBUTES && (attributes & win::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

void BringRunningInstanceForward(win::Platform& platform, const std::string& caption, const char* templateCaption) {
    win::Windows& windows = platform.windows;
    win::HWND running = nullptr;
    if (!caption.empty()) running = windows.FindWindowA(nullptr, caption.c_str());
    if (running == nullptr) running = windows.FindWindowA(nullptr, templateCaption);
    if (running == nullptr) return;
    windows.SetForegroundWindow(running);
    windows.OpenIcon(running);
}

bool IsMutexHeld(win::Platform& platform, const char* name) {
    win::HANDLE mutex = platform.windows.OpenMutexA(win::SYNCHRONIZE, win::FALSE, name);
    if (mutex == nullptr) return false;
    platform.windows.CloseHandle(mutex);
    return true;
}

std::string ApplicationName(win::Platform& platform) {
    std::string path = ProgramPath(platform);
    size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    // The x64 edition is the same program to the person at the till: its boxes say "setup", not "setup64",
    // and it is one instance with the PE32 one.
    const std::string suffix = platform.architecture.programSuffix;
    if (!suffix.empty() && name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        name.erase(name.size() - suffix.size());
    return name;
}

void SettleCurrentDirectory(win::Platform& platform, const char* languageFile) {
    std::string current = WithoutTrailingBackslash(CurrentDirectory(platform));
    if (!current.empty() && IsFile(platform, current + languageFile)) return;
    std::string program = ProgramPath(platform);
    size_t slash = program.find_last_of('\\');
    if (slash == std::string::npos) return;
    std::string folder = WithoutTrailingBackslash(program.substr(0, slash + 1));
    if (IsFile(platform, folder + languageFile)) platform.files.SetCurrentDirectoryA(folder.c_str());
}
