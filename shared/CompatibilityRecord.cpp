// The compatibility-assistant record.
#include "shared/CompatibilityRecord.h"

#include <string>

#include "shared/RegistryKey.h"

namespace {

constexpr win::DWORD kPathSize = 260;

}  // namespace

void ApplyCompatibilityRecord(win::Platform& platform) {
    char path[kPathSize] = {};
    win::DWORD length = platform.files.GetModuleFileNameA(nullptr, path, kPathSize);
    // A path cut at the buffer would name another program: write nothing rather than that.
    if (length == 0 || length >= kPathSize) return;
    RegistryKey::CreateKey(platform, win::HKEY_CURRENT_USER, kCompatibilityAssistantKey);
    RegistryKey key(platform);
    if (!key.Open(win::HKEY_CURRENT_USER, kCompatibilityAssistantKey)) return;
    key.SetDword(path, 1);
    key.Close();
}
