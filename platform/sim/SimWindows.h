// The state of one simulated Windows machine: version, paths, a file system under a host folder, the
// virtual clock and injected faults. Tests set it up directly; the families read and change it.
#pragma once

#include "platform/Architecture.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Win32Types.h"

namespace win::sim {

class SimWindows {
public:
    // A machine whose programs are of the architecture: its spooler's native environment and folders.
    explicit SimWindows(const Architecture& architecture = kArchitectureX86);
    ~SimWindows();
    SimWindows(const SimWindows&) = delete;
    SimWindows& operator=(const SimWindows&) = delete;

    const Architecture& architecture;

    // What GetVersionExA reports; Windows XP unless a test says otherwise.
    OSVERSIONINFOA version{};
    void SetVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build = 0);

    std::string currentDirectory = "C:\\MEDIUM";
    std::string moduleFileName = "C:\\MEDIUM\\setup.exe";
    std::string windowsDirectory = "C:\\WINDOWS";
    // Windows 98/Me tests set "C:\\WINDOWS\\SYSTEM"; the spooler's directories lie below it.
    std::string systemDirectory = "C:\\WINDOWS\\system32";
    std::string tempPath = "C:\\TEMP\\";

    // Files. Windows paths are absolute ("C:\X"), rooted at the current drive ("\X") or relative to
    // the current directory; every drive letter is a folder under HostRoot().
    const std::string& HostRoot() const { return hostRoot_; }
    // Puts a drive letter onto an existing host folder, as a tool does that reads a medium in place.
    void MapDrive(char letter, const std::string& hostFolder);
    std::string FullPath(const std::string& windowsPath) const;
    // The host path of a Windows path; each existing component is matched without regard to case.
    std::string HostPath(const std::string& windowsPath) const;
    void WriteFile(const std::string& windowsPath, const std::string& bytes);
    bool ReadFile(const std::string& windowsPath, std::string* bytes) const;
    bool FileExists(const std::string& windowsPath) const;
    // Creates the folder and its parents.
    void MakeDirectory(const std::string& windowsPath);
    // The identity of a file for the state kept beside it: its full path in upper case.
    std::string FileKey(const std::string& windowsPath) const;

    // File state that the host folders cannot hold. Attributes: FILE_ATTRIBUTE_ARCHIVE until set.
    DWORD StoredAttributes(const std::string& windowsPath) const;
    void StoreAttributes(const std::string& windowsPath, DWORD attributes);
    void ForgetFile(const std::string& windowsPath);
    // Another process holds the file open without sharing: opening it for data fails with 32.
    void MarkInUse(const std::string& windowsPath, bool inUse = true);
    // The file's security denies us: opening it for data, changing or deleting it fails with 5.
    void MarkAccessDenied(const std::string& windowsPath, bool denied = true);
    bool IsAccessDenied(const std::string& windowsPath) const;
    // The error (32 or 5) that opening the file with this access and sharing gives now, or 0.
    DWORD OpenConflict(const std::string& windowsPath, DWORD access, DWORD shareMode) const;
    // Open handles of this machine, for the sharing checks above.
    void AddOpen(const std::string& windowsPath, DWORD access, DWORD shareMode);
    void RemoveOpen(const std::string& windowsPath, DWORD access, DWORD shareMode);

    // Files to be deleted at the next restart, as full paths, in the order they were named.
    std::vector<std::string> pendingDeletes;

    // The virtual clock: Sleep advances it and records each pause; those that answered sent messages
    // meanwhile are also in answeringSleeps.
    uint64_t nowMilliseconds = 0;
    // The local time when the clock stood at 0, in seconds since 1970 as the wall clock reads it:
    // 2008-03-14 09:26:53.
    int64_t localTimeAtStart = 1205486813;
    std::vector<DWORD> sleeps;
    std::vector<DWORD> answeringSleeps;

    // Programs: the command line this process was started with, and each program it started.
    std::string commandLine = "\"C:\\MEDIUM\\setup.exe\"";
    struct StartedProgram {
        std::string application, commandLine, currentDirectory;
        bool inheritHandles;
        DWORD startFlags;
        HANDLE standardHandles[3];
        bool waitedFor;
    };
    std::vector<StartedProgram> startedPrograms;
    // The exit code a program ends with, by its full path in lower case; 0 for the others.
    std::map<std::string, DWORD> programExitCodes;
    // Standard handles with the inherit flag set; the others are what GetStdHandle gives.
    std::set<HANDLE> inheritableHandles;
    HANDLE standardHandles[3] = {reinterpret_cast<HANDLE>(0x10), reinterpret_cast<HANDLE>(0x14),
                                 reinterpret_cast<HANDLE>(0x18)};

    // Makes the nth next call of the operation (by its Win32 name) fail with the error.
    void InjectFault(const std::string& operation, DWORD error, int nth = 1);
    // Called by each simulated operation first: true when it must fail now, with the error.
    bool TakeFault(const std::string& operation, DWORD* error);
    // With logging on, every operation that could fail, in call order: fault sweeps fail each in turn.
    bool logOperations = false;
    std::vector<std::string> operationLog;

private:
    struct Fault {
        DWORD error;
        int remaining;
    };
    struct OpenRecord {
        DWORD access;
        DWORD shareMode;
    };
    std::string hostRoot_;
    std::map<std::string, DWORD> attributes_;
    std::set<std::string> inUse_;
    std::set<std::string> accessDenied_;
    std::multimap<std::string, OpenRecord> opens_;
    std::map<char, std::string> drives_;
    std::map<std::string, std::vector<Fault>> faults_;
};

// The components of a path split at backslashes and slashes, empty ones left out.
std::vector<std::string> SplitPathComponents(const std::string& path);

// The last error of the calling thread, shared by every simulated family as on Windows.
void SetSimLastError(DWORD error);

}  // namespace win::sim
