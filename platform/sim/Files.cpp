// Simulated files, directories, searches, the program path and the system's directories.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/SpoolerTypes.h"
#include "platform/sim/SimPlatform.h"

namespace fs = std::filesystem;

namespace win::sim {

namespace {

constexpr DWORD kDeleteAccess = 0x10000;
constexpr DWORD kFlagBackupSemantics = 0x02000000;
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | 0x100 /* temporary */ | 0x1000 /* offline */ |
                                      0x2000 /* not content indexed */;

// The directory calls' convention: the length copied, or the size needed (with the zero) when the
// buffer is too small.
DWORD CopyPathResult(const std::string& path, LPSTR buffer, DWORD size) {
    if (path.size() + 1 > size) return static_cast<DWORD>(path.size() + 1);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

BOOL Fail(DWORD error) {
    SetSimLastError(error);
    return FALSE;
}

HANDLE FailHandle(DWORD error) {
    SetSimLastError(error);
    return INVALID_HANDLE_VALUE;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Upper(x) == Upper(y);
           });
}

// "*" matches any run of characters and "?" one, without regard to case.
bool WildcardMatch(const char* pattern, const char* name) {
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name != '\0') {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || (*pattern != '\0' && Upper(*pattern) == Upper(*name))) {
            ++pattern;
            ++name;
        } else if (star != nullptr) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

// Characters no Windows file name may hold; the wildcards only in a search's last component.
bool HasInvalidName(const std::string& path, bool wildcardsInLast) {
    size_t last = path.find_last_of("\\/");
    last = last == std::string::npos ? 0 : last + 1;
    for (size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        if (c == '<' || c == '>' || c == '|' || c == '"') return true;
        if (c == ':' && i != 1) return true;
        if ((c == '*' || c == '?') && !(wildcardsInLast && i >= last)) return true;
    }
    return false;
}

enum class Kind { MissingParent, Missing, File, Directory };

std::string ParentOf(const std::string& fullPath) {
    size_t slash = fullPath.find_last_of('\\');
    return slash <= 2 ? fullPath.substr(0, 3) : fullPath.substr(0, slash);
}

Kind Locate(const SimWindows& w, const std::string& path) {
    std::string host = w.HostPath(path);
    if (fs::is_directory(host)) return Kind::Directory;
    if (fs::exists(host)) return Kind::File;
    return fs::is_directory(w.HostPath(ParentOf(w.FullPath(path)))) ? Kind::Missing : Kind::MissingParent;
}

DWORD MissingError(Kind kind) { return kind == Kind::MissingParent ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND; }

}  // namespace

DWORD SimFiles::GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
    DWORD error;
    if (w_.TakeFault("GetCurrentDirectoryA", &error)) {
        SetSimLastError(error);
        return 0;
    }
    return CopyPathResult(w_.currentDirectory, buffer, size);
}

BOOL SimFiles::SetCurrentDirectoryA(LPCSTR path) {
    DWORD error;
    if (w_.TakeFault("SetCurrentDirectoryA", &error)) return Fail(error);
    if (path == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    Kind kind = Locate(w_, path);
    if (kind == Kind::File) return Fail(ERROR_DIRECTORY);
    if (kind != Kind::Directory) return Fail(kind == Kind::MissingParent ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND);
    std::string full = w_.FullPath(path);
    // The current directory keeps no trailing backslash, except at a drive's root.
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    w_.currentDirectory = full;
    return TRUE;
}

DWORD SimFiles::GetModuleFileNameA(HMODULE, LPSTR buffer, DWORD size) {
    DWORD error;
    if (w_.TakeFault("GetModuleFileNameA", &error)) {
        SetSimLastError(error);
        return 0;
    }
    if (size == 0) return 0;
    // A buffer too small gets the path cut and zero-ended, and the size is returned.
    const std::string& path = w_.moduleFileName;
    if (path.size() + 1 > size) {
        std::memcpy(buffer, path.data(), size - 1);
        buffer[size - 1] = '\0';
        SetSimLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

UINT SimFiles::GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    DWORD error;
    if (w_.TakeFault("GetWindowsDirectoryA", &error)) {
        SetSimLastError(error);
        return 0;
    }
    return CopyPathResult(w_.windowsDirectory, buffer, size);
}

UINT SimFiles::GetSystemDirectoryA(LPSTR buffer, UINT size) {
    DWORD error;
    if (w_.TakeFault("GetSystemDirectoryA", &error)) {
        SetSimLastError(error);
        return 0;
    }
    return CopyPathResult(w_.systemDirectory, buffer, size);
}

DWORD SimFiles::GetTempPathA(DWORD size, LPSTR buffer) {
    DWORD error;
    if (w_.TakeFault("GetTempPathA", &error)) {
        SetSimLastError(error);
        return 0;
    }
    return CopyPathResult(w_.tempPath, buffer, size);
}

BOOL SimFiles::CopyFileA(LPCSTR existingName, LPCSTR newName, BOOL failIfExists) {
    DWORD error;
    if (w_.TakeFault("CopyFileA", &error)) return Fail(error);
    if (existingName == nullptr || newName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if (HasInvalidName(existingName, false) || HasInvalidName(newName, false)) return Fail(ERROR_INVALID_NAME);

    Kind source = Locate(w_, existingName);
    if (source == Kind::Directory) return Fail(ERROR_ACCESS_DENIED);
    if (source != Kind::File) return Fail(MissingError(source));
    if (DWORD conflict = w_.OpenConflict(existingName, GENERIC_READ, FILE_SHARE_READ)) return Fail(conflict);

    Kind target = Locate(w_, newName);
    if (target == Kind::MissingParent) return Fail(ERROR_PATH_NOT_FOUND);
    if (target == Kind::Directory) return Fail(ERROR_ACCESS_DENIED);
    if (target == Kind::File) {
        if (failIfExists) return Fail(ERROR_FILE_EXISTS);
        // A file copied onto itself is open twice without sharing.
        if (w_.FileKey(existingName) == w_.FileKey(newName)) return Fail(ERROR_SHARING_VIOLATION);
        // Windows refuses to replace a read-only or hidden file (MSDN CopyFile).
        if (w_.StoredAttributes(newName) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN))
            return Fail(ERROR_ACCESS_DENIED);
        if (DWORD conflict = w_.OpenConflict(newName, GENERIC_WRITE, 0)) return Fail(conflict);
    }
    std::error_code failed;
    fs::copy_file(w_.HostPath(existingName), w_.HostPath(newName), fs::copy_options::overwrite_existing, failed);
    if (failed) return Fail(ERROR_ACCESS_DENIED);
    // The new file takes the attributes of the existing one.
    w_.StoreAttributes(newName, w_.StoredAttributes(existingName));
    return TRUE;
}

BOOL SimFiles::DeleteFileA(LPCSTR name) {
    DWORD error;
    if (w_.TakeFault("DeleteFileA", &error)) return Fail(error);
    if (name == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if (HasInvalidName(name, false)) return Fail(ERROR_INVALID_NAME);
    Kind kind = Locate(w_, name);
    if (kind == Kind::Directory) return Fail(ERROR_ACCESS_DENIED);
    if (kind != Kind::File) return Fail(MissingError(kind));
    if (w_.StoredAttributes(name) & FILE_ATTRIBUTE_READONLY) return Fail(ERROR_ACCESS_DENIED);
    if (DWORD conflict =
            w_.OpenConflict(name, kDeleteAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE))
        return Fail(conflict);
    std::error_code failed;
    fs::remove(w_.HostPath(name), failed);
    if (failed) return Fail(ERROR_ACCESS_DENIED);
    w_.ForgetFile(name);
    return TRUE;
}

BOOL SimFiles::MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) {
    DWORD error;
    if (w_.TakeFault("MoveFileExA", &error)) return Fail(error);
    if (w_.version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return Fail(ERROR_CALL_NOT_IMPLEMENTED);
    if (existingName == nullptr || newName != nullptr || flags != MOVEFILE_DELAY_UNTIL_REBOOT)
        return Fail(ERROR_INVALID_PARAMETER);
    Kind kind = Locate(w_, existingName);
    if (kind != Kind::File) return Fail(MissingError(kind));
    w_.pendingDeletes.push_back(w_.FullPath(existingName));
    RecordPendingDelete(w_.FullPath(existingName));
    return TRUE;
}

// The Session Manager's list of pairs: the source as an NT path, then the target, empty for a deletion;
// a new pair goes before the list's closing zero. Written past the registry's faults and log, as the
// call itself does it.
void SimFiles::RecordPendingDelete(const std::string& fullPath) {
    if (registry_ == nullptr) return;
    const char key[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    const char name[] = "PendingFileRenameOperations";
    std::string list;
    DWORD type = 0;
    if (!registry_->GetValue(HKEY_LOCAL_MACHINE, key, name, &type, &list) || type != REG_MULTI_SZ)
        list.clear();
    if (!list.empty() && list.back() == '\0') list.pop_back();
    list += "\\??\\" + fullPath + std::string(3, '\0');
    registry_->SetValue(HKEY_LOCAL_MACHINE, key, name, REG_MULTI_SZ, list);
}

DWORD SimFiles::GetFileAttributesA(LPCSTR name) {
    DWORD error = 0;
    if (!w_.TakeFault("GetFileAttributesA", &error)) {
        if (name == nullptr) error = ERROR_INVALID_PARAMETER;
        else if (HasInvalidName(name, false)) error = ERROR_INVALID_NAME;
    }
    if (error != 0) {
        SetSimLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    Kind kind = Locate(w_, name);
    if (kind == Kind::Directory) return FILE_ATTRIBUTE_DIRECTORY;
    if (kind == Kind::File) return w_.StoredAttributes(name);
    SetSimLastError(MissingError(kind));
    return INVALID_FILE_ATTRIBUTES;
}

BOOL SimFiles::SetFileAttributesA(LPCSTR name, DWORD attributes) {
    DWORD error;
    if (w_.TakeFault("SetFileAttributesA", &error)) return Fail(error);
    if (name == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if (HasInvalidName(name, false)) return Fail(ERROR_INVALID_NAME);
    Kind kind = Locate(w_, name);
    if (kind == Kind::Missing || kind == Kind::MissingParent) return Fail(MissingError(kind));
    if (w_.IsAccessDenied(name)) return Fail(ERROR_ACCESS_DENIED);
    // Folders keep no attributes of their own here; nothing of ours depends on them.
    if (kind == Kind::Directory) return TRUE;
    DWORD kept = attributes & kSettableAttributes;
    w_.StoreAttributes(name, kept == 0 ? FILE_ATTRIBUTE_NORMAL : kept);
    return TRUE;
}

HANDLE SimFiles::CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, void*, DWORD disposition, DWORD flags,
                             HANDLE) {
    DWORD error;
    if (w_.TakeFault("CreateFileA", &error)) return FailHandle(error);
    if (name == nullptr) return FailHandle(ERROR_INVALID_PARAMETER);
    if (HasInvalidName(name, false)) return FailHandle(ERROR_INVALID_NAME);
    // Opening an existing file, and opening or creating one (a log), are simulated: nothing in this
    // system creates files otherwise.
    if (disposition != OPEN_EXISTING && disposition != OPEN_ALWAYS)
        return FailHandle(ERROR_INVALID_PARAMETER);
    Kind kind = Locate(w_, name);
    bool create = kind == Kind::Missing && disposition == OPEN_ALWAYS;
    if ((kind == Kind::Missing && !create) || kind == Kind::MissingParent)
        return FailHandle(MissingError(kind));
    if (kind == Kind::Directory && !(flags & kFlagBackupSemantics)) return FailHandle(ERROR_ACCESS_DENIED);
    if ((access & (GENERIC_WRITE | FILE_APPEND_DATA)) &&
        (w_.StoredAttributes(name) & FILE_ATTRIBUTE_READONLY))
        return FailHandle(ERROR_ACCESS_DENIED);
    if (DWORD conflict = w_.OpenConflict(name, access, shareMode)) return FailHandle(conflict);
    if (create) w_.WriteFile(name, "");
    HANDLE handle = NewHandle();
    // A relative name is fixed now: the handle keeps its file when the current directory changes.
    const std::string path = w_.FullPath(name);
    files_[reinterpret_cast<uintptr_t>(handle)] = OpenFile{path, access, shareMode};
    w_.AddOpen(path, access, shareMode);
    // OPEN_ALWAYS tells an existing file by the last error, as Windows does.
    SetSimLastError(disposition == OPEN_ALWAYS && !create ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL SimFiles::CloseHandle(HANDLE handle) {
    auto found = files_.find(reinterpret_cast<uintptr_t>(handle));
    if (found == files_.end()) return Fail(ERROR_INVALID_HANDLE);
    w_.RemoveOpen(found->second.path, found->second.access, found->second.shareMode);
    files_.erase(found);
    return TRUE;
}

DWORD SimFiles::GetFileSize(HANDLE file, DWORD* high) {
    auto found = files_.find(reinterpret_cast<uintptr_t>(file));
    std::string bytes;
    if (found == files_.end() || !w_.ReadFile(found->second.path, &bytes)) {
        SetSimLastError(ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    if (high != nullptr) *high = 0;
    SetSimLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(bytes.size());
}

BOOL SimFiles::ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, void*) {
    if (read != nullptr) *read = 0;
    DWORD error;
    if (w_.TakeFault("ReadFile", &error)) return Fail(error);
    auto found = files_.find(reinterpret_cast<uintptr_t>(file));
    if (found == files_.end()) return Fail(ERROR_INVALID_HANDLE);
    if (!(found->second.access & GENERIC_READ)) return Fail(ERROR_ACCESS_DENIED);
    std::string bytes;
    if (!w_.ReadFile(found->second.path, &bytes)) return Fail(ERROR_INVALID_HANDLE);
    uint64_t at = std::min<uint64_t>(found->second.position, bytes.size());
    DWORD count = static_cast<DWORD>(std::min<uint64_t>(size, bytes.size() - at));
    if (count > 0) std::memcpy(buffer, bytes.data() + at, count);
    found->second.position = at + count;
    if (read != nullptr) *read = count;
    return TRUE;
}

BOOL SimFiles::WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, void*) {
    if (written != nullptr) *written = 0;
    DWORD error;
    if (w_.TakeFault("WriteFile", &error)) return Fail(error);
    auto found = files_.find(reinterpret_cast<uintptr_t>(file));
    if (found == files_.end()) return Fail(ERROR_INVALID_HANDLE);
    OpenFile& open = found->second;
    if (!(open.access & (GENERIC_WRITE | FILE_APPEND_DATA))) return Fail(ERROR_ACCESS_DENIED);
    std::string bytes;
    if (!w_.ReadFile(open.path, &bytes)) return Fail(ERROR_INVALID_HANDLE);
    // Append access alone writes at the end; otherwise at the position, growing the file as needed.
    uint64_t at = (open.access & GENERIC_WRITE) ? open.position : bytes.size();
    if (at > bytes.size()) bytes.resize(at, '\0');
    bytes.replace(at, std::min<uint64_t>(size, bytes.size() - at), static_cast<const char*>(buffer), size);
    w_.WriteFile(open.path, bytes);
    open.position = at + size;
    if (written != nullptr) *written = size;
    return TRUE;
}

BOOL SimFiles::CreateDirectoryA(LPCSTR name, void*) {
    DWORD error;
    if (w_.TakeFault("CreateDirectoryA", &error)) return Fail(error);
    if (name == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if (HasInvalidName(name, false)) return Fail(ERROR_INVALID_NAME);
    Kind kind = Locate(w_, name);
    if (kind == Kind::File || kind == Kind::Directory) return Fail(ERROR_ALREADY_EXISTS);
    if (kind == Kind::MissingParent) return Fail(ERROR_PATH_NOT_FOUND);
    std::error_code failed;
    fs::create_directory(w_.HostPath(name), failed);
    return failed ? Fail(ERROR_ACCESS_DENIED) : TRUE;
}

BOOL SimFiles::RemoveDirectoryA(LPCSTR name) {
    DWORD error;
    if (w_.TakeFault("RemoveDirectoryA", &error)) return Fail(error);
    if (name == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if (HasInvalidName(name, false)) return Fail(ERROR_INVALID_NAME);
    Kind kind = Locate(w_, name);
    if (kind == Kind::File) return Fail(ERROR_DIRECTORY);
    if (kind != Kind::Directory) return Fail(MissingError(kind));
    std::string host = w_.HostPath(name);
    if (!fs::is_empty(host)) return Fail(ERROR_DIR_NOT_EMPTY);
    std::error_code failed;
    fs::remove(host, failed);
    return failed ? Fail(ERROR_ACCESS_DENIED) : TRUE;
}

HANDLE SimFiles::FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) {
    DWORD error;
    if (w_.TakeFault("FindFirstFileA", &error)) return FailHandle(error);
    if (pattern == nullptr || data == nullptr) return FailHandle(ERROR_INVALID_PARAMETER);
    std::string raw = pattern;
    if (HasInvalidName(raw, true)) return FailHandle(ERROR_INVALID_NAME);
    if (raw.empty() || raw.back() == '\\' || raw.back() == '/') return FailHandle(ERROR_FILE_NOT_FOUND);
    std::string full = w_.FullPath(raw);
    std::string directory = ParentOf(full);
    std::string namePattern = full.substr(full.find_last_of('\\') + 1);
    if (namePattern == "*.*") namePattern = "*";
    if (Locate(w_, directory) != Kind::Directory) return FailHandle(ERROR_PATH_NOT_FOUND);

    std::vector<std::string> names;
    // A root folder has no "." and ".." entries; every other folder lists them first.
    if (directory.size() > 3) names = {".", ".."};
    std::vector<std::string> children;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(w_.HostPath(directory), ignored))
        children.push_back(entry.path().filename().string());
    // In the order NTFS keeps its index: by the upper-case name.
    std::sort(children.begin(), children.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char x, char y) { return Upper(x) < Upper(y); });
    });
    names.insert(names.end(), children.begin(), children.end());

    Search search;
    for (const std::string& name : names) {
        if (!WildcardMatch(namePattern.c_str(), name.c_str()) && !EqualIgnoringCase(namePattern, name)) continue;
        std::string path = directory + (directory.size() > 3 ? "\\" : "") + name;
        WIN32_FIND_DATAA found{};
        bool isDirectory = name == "." || name == ".." || fs::is_directory(w_.HostPath(path));
        found.dwFileAttributes = isDirectory ? FILE_ATTRIBUTE_DIRECTORY : w_.StoredAttributes(path);
        if (!isDirectory) {
            uint64_t size = fs::file_size(w_.HostPath(path), ignored);
            if (ignored) size = 0;
            found.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
            found.nFileSizeHigh = static_cast<DWORD>(size >> 32);
        }
        size_t length = std::min(name.size(), sizeof(found.cFileName) - 1);
        std::memcpy(found.cFileName, name.data(), length);
        search.entries.push_back(found);
    }
    if (search.entries.empty()) return FailHandle(ERROR_FILE_NOT_FOUND);
    *data = search.entries[0];
    search.next = 1;
    HANDLE handle = NewHandle();
    searches_[reinterpret_cast<uintptr_t>(handle)] = std::move(search);
    return handle;
}

BOOL SimFiles::FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) {
    auto found = searches_.find(reinterpret_cast<uintptr_t>(find));
    if (found == searches_.end()) return Fail(ERROR_INVALID_HANDLE);
    Search& search = found->second;
    if (search.next >= search.entries.size()) return Fail(ERROR_NO_MORE_FILES);
    *data = search.entries[search.next++];
    return TRUE;
}

BOOL SimFiles::FindClose(HANDLE find) {
    DWORD error;
    if (w_.TakeFault("FindClose", &error)) return Fail(error);
    if (searches_.erase(reinterpret_cast<uintptr_t>(find)) == 0) return Fail(ERROR_INVALID_HANDLE);
    return TRUE;
}

HANDLE SimFiles::NewHandle() {
    lastHandle_ += 4;
    return reinterpret_cast<HANDLE>(lastHandle_);
}

}  // namespace win::sim
