// Files, directories, find handles and the system's directories.
#pragma once

#include <cstdint>

#include "platform/Win32Types.h"

namespace win {

constexpr DWORD ERROR_NO_MORE_FILES = 18;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
constexpr DWORD ERROR_DIRECTORY = 267;

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x4;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
// Writes go to the end of the file, whatever its position.
constexpr DWORD FILE_APPEND_DATA = 0x4;
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD FILE_SHARE_DELETE = 0x4;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;

constexpr DWORD MOVEFILE_DELAY_UNTIL_REBOOT = 0x4;
constexpr DWORD ERROR_CALL_NOT_IMPLEMENTED = 120;

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
};
static_assert(sizeof(WIN32_FIND_DATAA) == 320, "WIN32_FIND_DATAA must keep the Windows layout");

class Files {
public:
    virtual ~Files() = default;
    virtual DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) = 0;
    virtual BOOL SetCurrentDirectoryA(LPCSTR path) = 0;
    // module is always the program itself (null) in this system.
    virtual DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) = 0;
    virtual UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) = 0;
    virtual UINT GetSystemDirectoryA(LPSTR buffer, UINT size) = 0;
    virtual DWORD GetTempPathA(DWORD size, LPSTR buffer) = 0;

    virtual BOOL CopyFileA(LPCSTR existingName, LPCSTR newName, BOOL failIfExists) = 0;
    virtual BOOL DeleteFileA(LPCSTR name) = 0;
    // Only deleting a file at the next restart (a null new name, MOVEFILE_DELAY_UNTIL_REBOOT) is used in
    // this system; 98/Me lack the call.
    virtual BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) = 0;
    virtual DWORD GetFileAttributesA(LPCSTR name) = 0;
    virtual BOOL SetFileAttributesA(LPCSTR name, DWORD attributes) = 0;
    // security is always null in this system; templateFile too.
    virtual HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, void* security, DWORD disposition,
                               DWORD flags, HANDLE templateFile) = 0;
    virtual BOOL CloseHandle(HANDLE handle) = 0;
    // The size of an open file (its low 32 bits; the high ones in *high when asked), INVALID_FILE_SIZE on failure.
    virtual DWORD GetFileSize(HANDLE file, DWORD* high) = 0;
    // Reads on from the file's position; at the end it reads 0 bytes and succeeds.
    virtual BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, void* overlapped) = 0;
    // overlapped is always null in this system.
    virtual BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, void* overlapped) = 0;
    virtual BOOL CreateDirectoryA(LPCSTR name, void* security) = 0;
    virtual BOOL RemoveDirectoryA(LPCSTR name) = 0;

    virtual HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) = 0;
    virtual BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) = 0;
    virtual BOOL FindClose(HANDLE find) = 0;
};

}  // namespace win
