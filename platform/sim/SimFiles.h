// The simulated files, directories, find handles and the system's directories.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimFiles : public Files {
public:
    // With a registry, a deletion at the next restart is also written where Windows keeps it.
    explicit SimFiles(SimWindows& w, SimRegistry* registry = nullptr) : w_(w), registry_(registry) {}
    DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) override;
    BOOL SetCurrentDirectoryA(LPCSTR path) override;
    DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) override;
    UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) override;
    UINT GetSystemDirectoryA(LPSTR buffer, UINT size) override;
    DWORD GetTempPathA(DWORD size, LPSTR buffer) override;

    BOOL CopyFileA(LPCSTR existingName, LPCSTR newName, BOOL failIfExists) override;
    BOOL DeleteFileA(LPCSTR name) override;
    // Records a deletion at the next restart in SimWindows' pendingDeletes and, as Windows does, in the
    // registry value PendingFileRenameOperations (MSDN MoveFileEx); fails on 98/Me as they do.
    BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) override;
    DWORD GetFileAttributesA(LPCSTR name) override;
    BOOL SetFileAttributesA(LPCSTR name, DWORD attributes) override;
    HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, void* security, DWORD disposition, DWORD flags,
                       HANDLE templateFile) override;
    BOOL CloseHandle(HANDLE handle) override;
    DWORD GetFileSize(HANDLE file, DWORD* high) override;
    BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, void* overlapped) override;
    BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, void* overlapped) override;
    BOOL CreateDirectoryA(LPCSTR name, void* security) override;
    BOOL RemoveDirectoryA(LPCSTR name) override;

    HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) override;
    BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) override;
    BOOL FindClose(HANDLE find) override;


private:
    struct OpenFile {
        std::string path;
        DWORD access;
        DWORD shareMode;
        uint64_t position = 0;
    };
    struct Search {
        std::vector<WIN32_FIND_DATAA> entries;
        size_t next = 0;
    };
    HANDLE NewHandle();
    void RecordPendingDelete(const std::string& fullPath);

    SimWindows& w_;
    SimRegistry* registry_;
    uintptr_t lastHandle_ = 0x100;
    std::map<uintptr_t, OpenFile> files_;
    std::map<uintptr_t, Search> searches_;
};

}  // namespace win::sim
