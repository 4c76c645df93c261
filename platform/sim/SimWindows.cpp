// The simulated machine's state, and the mapping of Windows paths to host files.
#include "platform/sim/SimWindows.h"

#include "platform/Architecture.h"
#include "platform/Files.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace win::sim {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The data access kinds of an open: read, write (or append), delete.
constexpr DWORD kReadAccess = GENERIC_READ | 0x1;
constexpr DWORD kWriteAccess = GENERIC_WRITE | 0x2 | 0x4;
constexpr DWORD kDeleteAccess = 0x10000;

// Whether a share mode lets another open have this access.
bool Shares(DWORD shareMode, DWORD access) {
    if ((access & kReadAccess) && !(shareMode & FILE_SHARE_READ)) return false;
    if ((access & kWriteAccess) && !(shareMode & FILE_SHARE_WRITE)) return false;
    if ((access & kDeleteAccess) && !(shareMode & FILE_SHARE_DELETE)) return false;
    return true;
}

}  // namespace

std::vector<std::string> SplitPathComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

SimWindows::SimWindows(const Architecture& architecture) : architecture(architecture) {
    std::string pattern = (fs::temp_directory_path() / "simwin-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("cannot create the simulated drive folder");
    hostRoot_ = buffer.data();
    SetVersion(VER_PLATFORM_WIN32_NT, 5, 1, 2600);
    // The folders every installed Windows has.
    const std::string spool = "C:\\WINDOWS\\system32\\spool\\";
    for (const std::string& dir : {std::string("C:\\WINDOWS\\inf"), spool + "drivers\\" + architecture.spoolDirectory + "\\3",
                                   spool + "drivers\\win40", spool + "prtprocs\\" + architecture.spoolDirectory,
                                   spool + "prtprocs\\win40", std::string("C:\\TEMP")})
        MakeDirectory(dir);
}

SimWindows::~SimWindows() {
    std::error_code ignored;
    fs::remove_all(hostRoot_, ignored);
}

void SimWindows::SetVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build) {
    version = OSVERSIONINFOA{};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    version.dwPlatformId = platformId;
    version.dwMajorVersion = major;
    version.dwMinorVersion = minor;
    version.dwBuildNumber = build;
    // Windows 98/Me keep their system files in SYSTEM, the NT family in system32.
    systemDirectory = windowsDirectory + (platformId == VER_PLATFORM_WIN32_NT ? "\\system32" : "\\SYSTEM");
    std::error_code ignored;
    fs::create_directories(HostPath(systemDirectory), ignored);
}

std::string SimWindows::FullPath(const std::string& windowsPath) const {
    std::string path = windowsPath;
    bool hasDrive = path.size() >= 2 && path[1] == ':';
    bool rooted = !path.empty() && (path[0] == '\\' || path[0] == '/');
    if (!hasDrive) path = rooted ? currentDirectory.substr(0, 2) + path : currentDirectory + "\\" + path;
    std::string drive = path.substr(0, 2);
    drive[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(drive[0])));
    std::vector<std::string> out;
    for (const std::string& part : SplitPathComponents(path.substr(2))) {
        if (part == ".") continue;
        if (part == "..") {
            if (!out.empty()) out.pop_back();
            continue;
        }
        out.push_back(part);
    }
    std::string full = drive;
    for (const std::string& part : out) full += "\\" + part;
    if (out.empty()) full += "\\";
    return full;
}

std::string SimWindows::HostPath(const std::string& windowsPath) const {
    std::string full = FullPath(windowsPath);
    auto mapped = drives_.find(full[0]);
    fs::path host = mapped != drives_.end() ? fs::path(mapped->second) : fs::path(hostRoot_) / std::string(1, full[0]);
    bool exists = fs::is_directory(host);
    for (const std::string& part : SplitPathComponents(full.substr(2))) {
        fs::path next = host / part;
        if (exists && !fs::exists(next)) {
            std::error_code ec;
            for (const auto& entry : fs::directory_iterator(host, ec)) {
                if (SameIgnoringCase(entry.path().filename().string(), part)) {
                    next = entry.path();
                    break;
                }
            }
        }
        exists = exists && fs::exists(next);
        host = next;
    }
    return host.string();
}

void SimWindows::MapDrive(char letter, const std::string& hostFolder) {
    drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))] = hostFolder;
}

void SimWindows::WriteFile(const std::string& windowsPath, const std::string& bytes) {
    fs::path host = HostPath(windowsPath);
    fs::create_directories(host.parent_path());
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool SimWindows::ReadFile(const std::string& windowsPath, std::string* bytes) const {
    std::string host = HostPath(windowsPath);
    if (!fs::is_regular_file(host)) return false;
    std::ifstream in(host, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    *bytes = content.str();
    return true;
}

bool SimWindows::FileExists(const std::string& windowsPath) const { return fs::exists(HostPath(windowsPath)); }

void SimWindows::MakeDirectory(const std::string& windowsPath) {
    std::error_code ignored;
    fs::create_directories(HostPath(windowsPath), ignored);
}

std::string SimWindows::FileKey(const std::string& windowsPath) const {
    std::string key = FullPath(windowsPath);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

DWORD SimWindows::StoredAttributes(const std::string& windowsPath) const {
    auto found = attributes_.find(FileKey(windowsPath));
    return found == attributes_.end() ? FILE_ATTRIBUTE_ARCHIVE : found->second;
}

void SimWindows::StoreAttributes(const std::string& windowsPath, DWORD attributes) {
    attributes_[FileKey(windowsPath)] = attributes;
}

void SimWindows::ForgetFile(const std::string& windowsPath) { attributes_.erase(FileKey(windowsPath)); }

void SimWindows::MarkInUse(const std::string& windowsPath, bool inUse) {
    if (inUse) inUse_.insert(FileKey(windowsPath));
    else inUse_.erase(FileKey(windowsPath));
}

void SimWindows::MarkAccessDenied(const std::string& windowsPath, bool denied) {
    if (denied) accessDenied_.insert(FileKey(windowsPath));
    else accessDenied_.erase(FileKey(windowsPath));
}

bool SimWindows::IsAccessDenied(const std::string& windowsPath) const {
    return accessDenied_.count(FileKey(windowsPath)) != 0;
}

DWORD SimWindows::OpenConflict(const std::string& windowsPath, DWORD access, DWORD shareMode) const {
    // An open for attributes only (no data access) passes both security and sharing, as on Windows.
    if ((access & (kReadAccess | kWriteAccess | kDeleteAccess)) == 0) return 0;
    std::string key = FileKey(windowsPath);
    if (accessDenied_.count(key) != 0) return ERROR_ACCESS_DENIED;
    if (inUse_.count(key) != 0) return ERROR_SHARING_VIOLATION;
    auto range = opens_.equal_range(key);
    for (auto it = range.first; it != range.second; ++it) {
        const OpenRecord& held = it->second;
        if (!Shares(held.shareMode, access) || !Shares(shareMode, held.access)) return ERROR_SHARING_VIOLATION;
    }
    return 0;
}

void SimWindows::AddOpen(const std::string& windowsPath, DWORD access, DWORD shareMode) {
    opens_.emplace(FileKey(windowsPath), OpenRecord{access, shareMode});
}

void SimWindows::RemoveOpen(const std::string& windowsPath, DWORD access, DWORD shareMode) {
    auto range = opens_.equal_range(FileKey(windowsPath));
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second.access == access && it->second.shareMode == shareMode) {
            opens_.erase(it);
            return;
        }
    }
}

void SimWindows::InjectFault(const std::string& operation, DWORD error, int nth) {
    faults_[operation].push_back(Fault{error, nth});
}

bool SimWindows::TakeFault(const std::string& operation, DWORD* error) {
    if (logOperations) operationLog.push_back(operation);
    auto found = faults_.find(operation);
    if (found == faults_.end()) return false;
    bool fail = false;
    std::vector<Fault>& pending = found->second;
    for (auto it = pending.begin(); it != pending.end();) {
        if (--it->remaining == 0) {
            if (!fail) *error = it->error;
            fail = true;
            it = pending.erase(it);
        } else {
            ++it;
        }
    }
    return fail;
}

}  // namespace win::sim
