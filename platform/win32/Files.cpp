// Files, directories and the program path, passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>
#include <winspool.h>

namespace win::win32 {

namespace {

static_assert(sizeof(WIN32_FIND_DATAA) == sizeof(::WIN32_FIND_DATAA), "find data layouts differ");

class RealFiles : public Files {
public:
    DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) override { return ::GetCurrentDirectoryA(size, buffer); }
    BOOL SetCurrentDirectoryA(LPCSTR path) override { return ::SetCurrentDirectoryA(path); }
    DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) override {
        return ::GetModuleFileNameA(static_cast<::HMODULE>(module), buffer, size);
    }
    UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) override { return ::GetWindowsDirectoryA(buffer, size); }
    UINT GetSystemDirectoryA(LPSTR buffer, UINT size) override { return ::GetSystemDirectoryA(buffer, size); }
    DWORD GetTempPathA(DWORD size, LPSTR buffer) override { return ::GetTempPathA(size, buffer); }

    BOOL CopyFileA(LPCSTR existingName, LPCSTR newName, BOOL failIfExists) override {
        return ::CopyFileA(existingName, newName, failIfExists);
    }
    BOOL DeleteFileA(LPCSTR name) override { return ::DeleteFileA(name); }
    BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) override {
        return ::MoveFileExA(existingName, newName, flags);
    }
    DWORD GetFileAttributesA(LPCSTR name) override { return ::GetFileAttributesA(name); }
    BOOL SetFileAttributesA(LPCSTR name, DWORD attributes) override { return ::SetFileAttributesA(name, attributes); }
    HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, void* security, DWORD disposition, DWORD flags,
                       HANDLE templateFile) override {
        return ::CreateFileA(name, access, shareMode, static_cast<::LPSECURITY_ATTRIBUTES>(security), disposition,
                             flags, templateFile);
    }
    BOOL CloseHandle(HANDLE handle) override { return ::CloseHandle(handle); }
    DWORD GetFileSize(HANDLE file, DWORD* high) override { return ::GetFileSize(file, high); }
    BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, void* overlapped) override {
        return ::ReadFile(file, buffer, size, read, static_cast<::LPOVERLAPPED>(overlapped));
    }
    BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, void* overlapped) override {
        return ::WriteFile(file, buffer, size, written, static_cast<::LPOVERLAPPED>(overlapped));
    }
    BOOL CreateDirectoryA(LPCSTR name, void* security) override {
        return ::CreateDirectoryA(name, static_cast<::LPSECURITY_ATTRIBUTES>(security));
    }
    BOOL RemoveDirectoryA(LPCSTR name) override { return ::RemoveDirectoryA(name); }

    HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) override {
        return ::FindFirstFileA(pattern, reinterpret_cast<::WIN32_FIND_DATAA*>(data));
    }
    BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) override {
        return ::FindNextFileA(find, reinterpret_cast<::WIN32_FIND_DATAA*>(data));
    }
    BOOL FindClose(HANDLE find) override { return ::FindClose(find); }

};

}  // namespace

Files& Win32Files() {
    static RealFiles instance;
    return instance;
}

}  // namespace win::win32
