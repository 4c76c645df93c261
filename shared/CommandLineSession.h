// What install-printer.exe and uninstall-printer.exe share: the exit codes, the options every run takes
// (--medium, --log, --what-if), finding the medium, the log file and the look at a running setup or
// uninstall.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitBadOptions = 2;
// The model, the port or the Windows is not supported: nothing was changed.
constexpr int kExitRefused = 3;
// Another setup, uninstall or console companion runs: nothing was changed.
constexpr int kExitAnotherRuns = 4;
// Done, but Windows still holds a file that could not be replaced or removed, or it is 98/Me: the
// change is complete after a restart. The number is the one msiexec and Inno Setup give.
constexpr int kExitRestartRequired = 3010;

// The usage lines of the shared options and the exit codes.
extern const char kSessionUsage[];

struct SessionOptions {
    std::string medium;   // empty: the current directory, or the program's folder
    std::string logFile;  // empty: no log
    bool whatIf = false;
    bool help = false;
};

// Takes the shared options out of args and leaves the program's own; false with the reason in error.
bool TakeSessionOptions(std::vector<std::string>& args, SessionOptions& options, std::string& error);

// What a program needs of a folder to take it as its medium: the description of the first file it lacks
// ("language\setup.ini"), or empty when it has everything.
using MediumCheck = std::function<std::string(win::Platform& platform, const std::string& folder)>;

// Whether the file below the folder exists ("\language\setup.ini").
bool HasMediumFile(win::Platform& platform, const std::string& folder, const char* file);

// Makes the medium the current directory, before anything reads a file relative to it: the given folder,
// which must pass the check; without one the current directory when it passes, else the program's folder
// when that does, else the current directory as it is. The medium's full path is left in folder. False
// with the reason in error when the given folder is not a medium.
bool SettleMedium(win::Platform& platform, const std::string& given, const MediumCheck& check,
                  std::string& folder, std::string& error);

// The programs' text (code page 936) in UTF-8; as it is when Windows cannot convert it.
std::string TextToUtf8(win::Platform& platform, const std::string& text);

// Where a console program's lines go: standard output, and standard error for warnings. Both take text
// in the programs' code page.
struct ConsoleOutput {
    std::function<void(const std::string&)> line;
    std::function<void(const std::string&)> warning;
};

// The console and the --log file together: every line printed is appended to the log in UTF-8, with the
// local time and, for a failed step, its Windows error. A log that cannot be opened or written never stops
// the run.
class ConsoleSession {
public:
    ConsoleSession(win::Platform& platform, const ConsoleOutput& output)
        : platform_(platform), output_(output) {}
    ~ConsoleSession();
    ConsoleSession(const ConsoleSession&) = delete;
    ConsoleSession& operator=(const ConsoleSession&) = delete;

    // Opens the file to append to, creating it; a file that cannot be opened is a warning, and false.
    bool OpenLog(const std::string& path);
    // A line on standard output and in the log.
    void Line(const std::string& text, win::DWORD error = 0);
    // A line on standard error and in the log.
    void Warning(const std::string& text);
    // A line for the log alone, such as the command line.
    void LogOnly(const std::string& text);

private:
    void Append(const std::string& text, win::DWORD error);

    win::Platform& platform_;
    const ConsoleOutput& output_;
    win::HANDLE log_ = nullptr;
};

// Holds this kind of program's fixed mutex (setup's or uninstall's) while it lives, so that setup.exe and
// uninstall.exe see the run as one of theirs.
class RunningProgramLock {
public:
    RunningProgramLock(win::Platform& platform, const char* ownMutex, const char* otherMutex);
    ~RunningProgramLock();
    RunningProgramLock(const RunningProgramLock&) = delete;
    RunningProgramLock& operator=(const RunningProgramLock&) = delete;

    // This kind's mutex existed already, or the other kind's is held.
    bool AnotherRuns() const { return anotherRuns_; }

private:
    win::Windows& windows_;
    win::HANDLE mutex_ = nullptr;
    bool anotherRuns_ = false;
};
