// The shared options, the medium, the log and the running-program check of the console companions.
#include "shared/CommandLineSession.h"

#include <vector>

#include "shared/ProgramInstances.h"

const char kSessionUsage[] =
    "  --medium DIR  the installation medium (default: the current directory when it is one, else the\n"
    "                program's folder)\n"
    "  --log FILE    appends each step to FILE in UTF-8, with the local time and Windows' error codes\n"
    "  --what-if     prints what would be done and changes nothing\n"
    "  --help        prints this text\n"
    "Exit codes: 0 done; 1 failed; 2 bad options or no medium; 3 refused (model, port or Windows not\n"
    "supported), nothing changed; 4 another setup or uninstall runs, nothing changed; 3010 done, Windows "
    "must\n"
    "restart to finish (it holds a file that could not be replaced or removed, or it is Windows 98/Me).";

namespace {

std::string ProgramFolder(win::Platform& platform) {
    std::string path = ProgramPath(platform);
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

std::string TwoDigits(unsigned value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

bool TakeSessionOptions(std::vector<std::string>& args, SessionOptions& options, std::string& error) {
    std::vector<std::string> own;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--what-if") {
            options.whatIf = true;
        } else if (option == "--help" || option == "-h" || option == "/?") {
            options.help = true;
        } else if (option == "--medium" || option == "--log") {
            std::string& value = option == "--medium" ? options.medium : options.logFile;
            if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].rfind("--", 0) == 0) {
                error = option + " needs a value";
                return false;
            }
            if (!value.empty()) {
                error = option + " is given twice";
                return false;
            }
            value = args[++i];
        } else {
            own.push_back(option);
        }
    }
    args = own;
    return true;
}

bool HasMediumFile(win::Platform& platform, const std::string& folder, const char* file) {
    // A drive's root keeps its backslash: the file's own leading one is then left out.
    std::string at = WithoutTrailingBackslash(folder);
    std::string path = !at.empty() && at.back() == '\\' ? at + (file + 1) : at + file;
    win::DWORD attributes = platform.files.GetFileAttributesA(path.c_str());
    return attributes != win::INVALID_FILE_ATTRIBUTES && (attributes & win::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool SettleMedium(win::Platform& platform, const std::string& given, const MediumCheck& check,
                  std::string& folder, std::string& error) {
    win::Files& files = platform.files;
    if (!given.empty()) {
        std::string path = WithoutTrailingBackslash(given);
        win::DWORD attributes = files.GetFileAttributesA(path.c_str());
        if (attributes == win::INVALID_FILE_ATTRIBUTES || (attributes & win::FILE_ATTRIBUTE_DIRECTORY) == 0) {
            error = "--medium " + given + ": no such folder";
            return false;
        }
        std::string missing = check(platform, path);
        if (!missing.empty()) {
            error = "--medium " + given + " is not an installation medium: it has no " + missing;
            return false;
        }
        if (!files.SetCurrentDirectoryA(path.c_str())) {
            error = "--medium " + given + ": cannot change to it, error " +
                    std::to_string(platform.kernel.GetLastError());
            return false;
        }
    } else {
        std::string current = WithoutTrailingBackslash(CurrentDirectory(platform));
        if (current.empty() || !check(platform, current).empty()) {
            std::string program = ProgramFolder(platform);
            if (!program.empty() && check(platform, program).empty())
                files.SetCurrentDirectoryA(program.c_str());
        }
    }
    folder = WithoutTrailingBackslash(CurrentDirectory(platform));
    return true;
}

std::string TextToUtf8(win::Platform& platform, const std::string& text) {
    if (text.empty()) return text;
    win::Kernel& kernel = platform.kernel;
    const int length = static_cast<int>(text.size());
    int units = kernel.MultiByteToWideChar(win::kTextCodePage, 0, text.data(), length, nullptr, 0);
    if (units <= 0) return text;
    std::vector<win::WCHAR> wide(static_cast<size_t>(units));
    if (kernel.MultiByteToWideChar(win::kTextCodePage, 0, text.data(), length, wide.data(), units) != units)
        return text;
    int bytes = kernel.WideCharToMultiByte(win::CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return text;
    std::string utf8(static_cast<size_t>(bytes), '\0');
    if (kernel.WideCharToMultiByte(win::CP_UTF8, 0, wide.data(), units, &utf8[0], bytes, nullptr, nullptr) !=
        bytes)
        return text;
    return utf8;
}

ConsoleSession::~ConsoleSession() {
    if (log_ != nullptr) platform_.files.CloseHandle(log_);
}

bool ConsoleSession::OpenLog(const std::string& path) {
    // Appends only, and lets others read and append, so a technician can watch it while it grows.
    win::HANDLE file = platform_.files.CreateFileA(path.c_str(), win::FILE_APPEND_DATA,
                                                   win::FILE_SHARE_READ | win::FILE_SHARE_WRITE, nullptr,
                                                   win::OPEN_ALWAYS, win::FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == win::INVALID_HANDLE_VALUE) {
        win::DWORD error = platform_.kernel.GetLastError();
        output_.warning("the log " + path + " cannot be opened (error " + std::to_string(error) +
                        "); going on without it");
        return false;
    }
    log_ = file;
    return true;
}

void ConsoleSession::Line(const std::string& text, win::DWORD error) {
    output_.line(text);
    Append(text, error);
}

void ConsoleSession::Warning(const std::string& text) {
    output_.warning(text);
    Append(text, 0);
}

void ConsoleSession::LogOnly(const std::string& text) { Append(text, 0); }

void ConsoleSession::Append(const std::string& text, win::DWORD error) {
    if (log_ == nullptr) return;
    win::SYSTEMTIME now{};
    platform_.clock.GetLocalTime(&now);
    std::string line = std::to_string(now.wYear) + "-" + TwoDigits(now.wMonth) + "-" + TwoDigits(now.wDay) +
                       " " + TwoDigits(now.wHour) + ":" + TwoDigits(now.wMinute) + ":" +
                       TwoDigits(now.wSecond) + "  " + TextToUtf8(platform_, text);
    if (error != 0) line += " (error " + std::to_string(error) + ")";
    line += "\r\n";
    // A line that cannot be written is lost: the run goes on.
    win::DWORD written = 0;
    platform_.files.WriteFile(log_, line.data(), static_cast<win::DWORD>(line.size()), &written, nullptr);
}

RunningProgramLock::RunningProgramLock(win::Platform& platform, const char* ownMutex, const char* otherMutex)
    : windows_(platform.windows) {
    mutex_ = windows_.CreateMutexA(win::FALSE, ownMutex);
    win::DWORD error = platform.kernel.GetLastError();
    // A mutex of another user's session that we may not open is held all the same.
    anotherRuns_ = error == win::ERROR_ALREADY_EXISTS ||
                   (mutex_ == nullptr && error == win::ERROR_ACCESS_DENIED) ||
                   IsMutexHeld(platform, otherMutex);
}

RunningProgramLock::~RunningProgramLock() {
    if (mutex_ != nullptr) windows_.CloseHandle(mutex_);
}
