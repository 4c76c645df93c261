// The registry key owner.
#include "shared/RegistryKey.h"

#include <cstring>

using namespace win;

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : platform_(other.platform_), key_(other.key_), lastError_(other.lastError_), dataSize_(other.dataSize_) {
    other.key_ = nullptr;
}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        Close();
        platform_ = other.platform_;
        key_ = other.key_;
        lastError_ = other.lastError_;
        dataSize_ = other.dataSize_;
        other.key_ = nullptr;
    }
    return *this;
}

// The Reg* calls return their error rather than setting the thread's last error, so the returned code is
// what LastError keeps; GetLastError after them would give whatever an earlier call left.
bool RegistryKey::Finish(LONG result, DWORD* error) {
    lastError_ = static_cast<DWORD>(result);
    if (error != nullptr) *error = lastError_;
    return result == static_cast<LONG>(ERROR_SUCCESS);
}

bool RegistryKey::Open(HKEY root, const char* path) {
    Close();
    HKEY opened = nullptr;
    LONG result = platform_->registry.RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &opened);
    key_ = result == static_cast<LONG>(ERROR_SUCCESS) ? opened : nullptr;
    return Finish(result, nullptr);
}

bool RegistryKey::OpenOrCreate(HKEY root, const char* path) {
    if (Open(root, path)) return true;
    CreateKey(*platform_, root, path);
    return Open(root, path);
}

bool RegistryKey::Close() {
    if (key_ == nullptr) return false;
    LONG result = platform_->registry.RegCloseKey(key_);
    key_ = nullptr;
    return result == static_cast<LONG>(ERROR_SUCCESS);
}

bool RegistryKey::QueryDword(const char* name, DWORD* value, DWORD* error) {
    DWORD size = sizeof(DWORD);
    return QueryBinary(name, reinterpret_cast<BYTE*>(value), &size, error);
}

bool RegistryKey::SetDword(const char* name, DWORD value, DWORD* error) {
    return SetBinary(name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(DWORD), error);
}

bool RegistryKey::SetString(const char* name, const char* text, DWORD* error) {
    if (text == nullptr) text = "";
    return SetBinary(name, REG_SZ, reinterpret_cast<const BYTE*>(text),
                     static_cast<DWORD>(std::strlen(text) + 1), error);
}

bool RegistryKey::SetBinary(const char* name, DWORD type, const BYTE* data, DWORD size, DWORD* error) {
    if (key_ == nullptr) {
        if (error != nullptr) *error = ERROR_INVALID_HANDLE;
        return false;
    }
    dataSize_ = size;
    return Finish(platform_->registry.RegSetValueExA(key_, name, 0, type, data, size), error);
}

bool RegistryKey::QueryBinary(const char* name, BYTE* data, DWORD* size, DWORD* error) {
    if (key_ == nullptr) {
        if (error != nullptr) *error = ERROR_INVALID_HANDLE;
        return false;
    }
    return Finish(platform_->registry.RegQueryValueExA(key_, name, nullptr, nullptr, data, size), error);
}

LONG RegistryKey::EnumValue(DWORD index, char* name, DWORD* nameSize, DWORD* type) {
    if (key_ == nullptr) return static_cast<LONG>(ERROR_NO_MORE_ITEMS);
    return platform_->registry.RegEnumValueA(key_, index, name, nameSize, nullptr, type, nullptr, nullptr);
}

bool RegistryKey::CreateKey(Platform& platform, HKEY root, const char* path) {
    HKEY created = nullptr;
    DWORD disposition = 0;
    LONG result = platform.registry.RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                    KEY_ALL_ACCESS, nullptr, &created, &disposition);
    if (result != static_cast<LONG>(ERROR_SUCCESS)) return false;
    platform.registry.RegCloseKey(created);
    return true;
}
