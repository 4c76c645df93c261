// The state of one simulated Windows machine: version, paths, a file system under a host folder, the
// virtual clock and injected faults. Tests set it up directly; the families read and change it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Win32Types.h"

namespace win::sim {

class SimWindows {
public:
    SimWindows();
    ~SimWindows();
    SimWindows(const SimWindows&) = delete;
    SimWindows& operator=(const SimWindows&) = delete;

    // What GetVersionExA reports; Windows XP unless a test says otherwise.
    OSVERSIONINFOA version{};
    void SetVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build = 0);

    std::string currentDirectory = "C:\\MEDIUM";
    std::string moduleFileName = "C:\\MEDIUM\\setup.exe";
    std::string windowsDirectory = "C:\\WINDOWS";

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

    // The virtual clock: Sleep advances it and records each pause.
    uint64_t nowMilliseconds = 0;
    std::vector<DWORD> sleeps;

    // Makes the nth next call of the operation (by its Win32 name) fail with the error.
    void InjectFault(const std::string& operation, DWORD error, int nth = 1);
    // Called by each simulated operation first: true when it must fail now, with the error.
    bool TakeFault(const std::string& operation, DWORD* error);

private:
    struct Fault {
        DWORD error;
        int remaining;
    };
    std::string hostRoot_;
    std::map<char, std::string> drives_;
    std::map<std::string, std::vector<Fault>> faults_;
};

// The last error of the calling thread, shared by every simulated family as on Windows.
void SetSimLastError(DWORD error);

}  // namespace win::sim
