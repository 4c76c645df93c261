#include "shared/Administrator.h"

#include <cstdint>
#include <vector>

namespace {

// Closes the token on every way out.
class TokenHandle {
public:
    explicit TokenHandle(win::Windows& windows) : windows_(windows) {}
    ~TokenHandle() {
        if (handle != nullptr) windows_.CloseHandle(handle);
    }
    TokenHandle(const TokenHandle&) = delete;
    TokenHandle& operator=(const TokenHandle&) = delete;
    win::HANDLE handle = nullptr;

private:
    win::Windows& windows_;
};

bool OpenToken(win::Platform& platform, TokenHandle& token) {
    win::Windows& windows = platform.windows;
    if (windows.OpenThreadToken(win::TOKEN_QUERY, win::TRUE, &token.handle)) return true;
    token.handle = nullptr;
    // A thread that does not impersonate has no token of its own.
    if (platform.kernel.GetLastError() != win::ERROR_NO_TOKEN) return false;
    if (windows.OpenProcessToken(win::TOKEN_QUERY, &token.handle)) return true;
    token.handle = nullptr;
    return false;
}

}  // namespace

bool IsUserAdministrator(win::Platform& platform) {
    win::Windows& windows = platform.windows;
    TokenHandle token(windows);
    if (!OpenToken(platform, token)) return false;

    win::DWORD needed = 0;
    if (windows.GetTokenInformation(token.handle, win::TokenGroups, nullptr, 0, &needed) ||
        platform.kernel.GetLastError() != win::ERROR_INSUFFICIENT_BUFFER)
        return false;
    // Pointer-aligned storage: the record holds pointers into itself.
    std::vector<uint64_t> storage((needed + sizeof(uint64_t) - 1) / sizeof(uint64_t) + 1);
    auto* groups = reinterpret_cast<win::TOKEN_GROUPS*>(storage.data());
    if (!windows.GetTokenInformation(token.handle, win::TokenGroups, groups,
                                     static_cast<win::DWORD>(storage.size() * sizeof(uint64_t)), &needed))
        return false;

    win::PSID administrators = nullptr;
    win::SID_IDENTIFIER_AUTHORITY authority = win::SECURITY_NT_AUTHORITY;
    if (!windows.AllocateAndInitializeSid(&authority, 2, win::SECURITY_BUILTIN_DOMAIN_RID,
                                          win::DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators))
        return false;
    bool member = false;
    for (win::DWORD i = 0; i < groups->GroupCount && !member; ++i) {
        const win::SID_AND_ATTRIBUTES& group = groups->Groups[i];
        if ((group.Attributes & win::SE_GROUP_USE_FOR_DENY_ONLY) != 0) continue;
        member = windows.EqualSid(group.Sid, administrators) != win::FALSE;
    }
    windows.FreeSid(administrators);
    return member;
}
