// Simulated version resources: a block of our own layout that VerQueryValueA reads back.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/sim/SimPlatform.h"

namespace win::sim {

namespace {

// Block layout: magic, total size (DWORD), language and code page (WORD each), then name and value
// pairs, each zero-ended, closed by an empty name.
constexpr char kMagic[8] = {'S', 'I', 'M', 'V', 'E', 'R', 'S', '\0'};
constexpr size_t kSizeOffset = 8;
constexpr size_t kTranslationOffset = 12;
constexpr size_t kStringsOffset = 16;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

std::vector<std::string> PathComponents(const char* subBlock) {
    std::vector<std::string> parts;
    std::string part;
    for (const char* p = subBlock; *p != '\0'; ++p) {
        if (*p == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += *p;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

BOOL Fail(DWORD error) {
    SetSimLastError(error);
    return FALSE;
}

}  // namespace

void SimVersion::SetFileVersion(const std::string& windowsPath, const std::string& fileVersion, WORD language,
                                WORD codePage) {
    Resource& resource = resources_[w_.FileKey(windowsPath)];
    resource.language = language;
    resource.codePage = codePage;
    resource.strings["FileVersion"] = fileVersion;
}

void SimVersion::SetVersionString(const std::string& windowsPath, const std::string& name,
                                  const std::string& value) {
    resources_[w_.FileKey(windowsPath)].strings[name] = value;
}

std::string SimVersion::Block(const Resource& resource) const {
    std::string block(kMagic, sizeof(kMagic));
    block.append(4, '\0');
    block.append(reinterpret_cast<const char*>(&resource.language), 2);
    block.append(reinterpret_cast<const char*>(&resource.codePage), 2);
    for (const auto& entry : resource.strings) {
        block += entry.first;
        block += '\0';
        block += entry.second;
        block += '\0';
    }
    block += '\0';
    DWORD size = static_cast<DWORD>(block.size());
    std::memcpy(&block[kSizeOffset], &size, sizeof(size));
    return block;
}

DWORD SimVersion::Lookup(const char* fileName, const Resource** resource) {
    if (fileName == nullptr) return ERROR_INVALID_PARAMETER;
    if (!w_.FileExists(fileName)) return ERROR_FILE_NOT_FOUND;
    auto found = resources_.find(w_.FileKey(fileName));
    if (found == resources_.end()) return ERROR_RESOURCE_TYPE_NOT_FOUND;
    *resource = &found->second;
    return 0;
}

DWORD SimVersion::GetFileVersionInfoSizeA(LPCSTR fileName, DWORD* handle) {
    if (handle != nullptr) *handle = 0;
    DWORD error;
    const Resource* resource = nullptr;
    if (w_.TakeFault("GetFileVersionInfoSizeA", &error) || (error = Lookup(fileName, &resource)) != 0) {
        SetSimLastError(error);
        return 0;
    }
    return static_cast<DWORD>(Block(*resource).size());
}

BOOL SimVersion::GetFileVersionInfoA(LPCSTR fileName, DWORD, DWORD size, void* data) {
    DWORD error;
    const Resource* resource = nullptr;
    if (w_.TakeFault("GetFileVersionInfoA", &error)) return Fail(error);
    if (data == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if ((error = Lookup(fileName, &resource)) != 0) return Fail(error);
    std::string block = Block(*resource);
    // A short buffer gets the start of the block, which then describes only what was copied.
    DWORD copied = std::min<DWORD>(size, static_cast<DWORD>(block.size()));
    if (copied >= kStringsOffset) std::memcpy(&block[kSizeOffset], &copied, sizeof(copied));
    std::memcpy(data, block.data(), copied);
    return TRUE;
}

BOOL SimVersion::VerQueryValueA(const void* block, LPCSTR subBlock, void** buffer, UINT* length) {
    if (block == nullptr || subBlock == nullptr || buffer == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    const char* bytes = static_cast<const char*>(block);
    DWORD size = 0;
    std::memcpy(&size, bytes + kSizeOffset, sizeof(size));
    if (std::memcmp(bytes, kMagic, sizeof(kMagic)) != 0 || size < kStringsOffset)
        return Fail(ERROR_RESOURCE_TYPE_NOT_FOUND);
    std::vector<std::string> parts = PathComponents(subBlock);

    if (parts.size() == 2 && EqualIgnoringCase(parts[0], "VarFileInfo") && EqualIgnoringCase(parts[1], "Translation")) {
        *buffer = const_cast<char*>(bytes + kTranslationOffset);
        if (length != nullptr) *length = 4;
        return TRUE;
    }
    // The root's fixed file information is not kept: nothing of ours reads it.
    if (parts.size() != 3 || !EqualIgnoringCase(parts[0], "StringFileInfo")) return Fail(ERROR_RESOURCE_TYPE_NOT_FOUND);
    WORD language = 0, codePage = 0;
    std::memcpy(&language, bytes + kTranslationOffset, 2);
    std::memcpy(&codePage, bytes + kTranslationOffset + 2, 2);
    char table[9];
    std::snprintf(table, sizeof(table), "%04x%04x", language, codePage);
    if (!EqualIgnoringCase(parts[1], table)) return Fail(ERROR_RESOURCE_TYPE_NOT_FOUND);

    // Walk the pairs without reading past the block's stated size.
    const char* end = bytes + size;
    const char* p = bytes + kStringsOffset;
    while (p < end && *p != '\0') {
        const char* nameEnd = static_cast<const char*>(std::memchr(p, '\0', static_cast<size_t>(end - p)));
        if (nameEnd == nullptr || nameEnd + 1 >= end) break;
        const char* value = nameEnd + 1;
        const char* valueEnd = static_cast<const char*>(std::memchr(value, '\0', static_cast<size_t>(end - value)));
        if (valueEnd == nullptr) break;
        if (EqualIgnoringCase(std::string(p, nameEnd), parts[2])) {
            *buffer = const_cast<char*>(value);
            if (length != nullptr) *length = static_cast<UINT>(valueEnd - value + 1);
            return TRUE;
        }
        p = valueEnd + 1;
    }
    return Fail(ERROR_RESOURCE_TYPE_NOT_FOUND);
}

}  // namespace win::sim
