// Owners of file and find handles of the Files family: no copy, closed on every path.
#pragma once

#include <utility>

#include "platform/Files.h"

namespace win {

class FindHandle {
public:
    FindHandle(Files& files, HANDLE handle) : files_(files), handle_(handle) {}
    FindHandle(FindHandle&& other) noexcept : files_(other.files_), handle_(other.Release()) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    FindHandle& operator=(FindHandle&&) = delete;
    ~FindHandle() { Close(); }

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    // The result of FindClose, for callers that report it; true when nothing was open.
    BOOL Close() {
        if (!Valid()) return TRUE;
        return files_.FindClose(Release());
    }

private:
    Files& files_;
    HANDLE handle_;
};

class FileHandle {
public:
    FileHandle(Files& files, HANDLE handle) : files_(files), handle_(handle) {}
    FileHandle(FileHandle&& other) noexcept : files_(other.files_), handle_(other.Release()) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle& operator=(FileHandle&&) = delete;
    ~FileHandle() { Close(); }

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }
    HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    BOOL Close() {
        if (!Valid()) return TRUE;
        return files_.CloseHandle(Release());
    }

private:
    Files& files_;
    HANDLE handle_;
};

}  // namespace win
