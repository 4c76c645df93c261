// The generation table and its detection from the reported Windows version.
#include "setup/environment/PlatformGeneration.h"

#include "platform/Architecture.h"

namespace {

const GenerationProperties kGenerations[kGenerationCount] = {
    {1026, "Windows 98/Me", ".98", "%s.98", "Windows 4.0", "Windows 4.0", 0, "\\win98\\"},
    {1027, "Windows NT", ".NT", "%s.NT", nullptr, win::kArchitectureX86.environment, 2, "\\winnt\\"},
    {1028, "Windows 2000", ".2K", "%s.2K", nullptr, win::kArchitectureX86.environment, 3, "\\winnt\\"},
    {1029, "Windows XP", ".XP", "%s.XP", nullptr, win::kArchitectureX86.environment, 3, "\\winnt\\"},
    {1075, "Windows Server 2003 ", ".2003", "%s.2003", nullptr, win::kArchitectureX86.environment, 3, "\\win2003\\"},
    {1076, "Windows Vista", ".Vista", "%s.Vista", nullptr, win::kArchitectureX86.environment, 3, "\\Vista\\"},
};

// A 64-bit Windows is XP x64, Server 2003 x64 or Vista and later: every NT generation reads the x64
// sections and files, and only its radio differs. 98/Me has no 64-bit edition; its row stays as it is.
constexpr const win::Architecture& kX64 = win::kArchitectureX64;
const GenerationProperties kGenerationsX64[kGenerationCount] = {
    kGenerations[0],
    {1027, "Windows NT", kX64.sectionSuffix, "%s.x64", nullptr, kX64.environment, 3, kX64.mediumDirectory},
    {1028, "Windows 2000", kX64.sectionSuffix, "%s.x64", nullptr, kX64.environment, 3, kX64.mediumDirectory},
    {1029, "Windows XP", kX64.sectionSuffix, "%s.x64", nullptr, kX64.environment, 3, kX64.mediumDirectory},
    {1075, "Windows Server 2003 ", kX64.sectionSuffix, "%s.x64", nullptr, kX64.environment, 3, kX64.mediumDirectory},
    {1076, "Windows Vista", kX64.sectionSuffix, "%s.x64", nullptr, kX64.environment, 3, kX64.mediumDirectory},
};

}  // namespace

const GenerationProperties* GetGenerationProperties(PlatformGeneration generation,
                                                    const win::Architecture& architecture) {
    if (generation < 0 || generation >= kGenerationCount) return nullptr;
    return architecture.is64Bit ? &kGenerationsX64[generation] : &kGenerations[generation];
}

PlatformGeneration GenerationFromVersion(const win::OSVERSIONINFOA& version) {
    if (version.dwPlatformId == win::VER_PLATFORM_WIN32_WINDOWS) return kGenerationWin98Me;
    if (version.dwPlatformId != win::VER_PLATFORM_WIN32_NT) return kGenerationWin98Me;
    switch (version.dwMajorVersion) {
    case 4:
        return version.dwMinorVersion == 0 ? kGenerationNT4 : kGenerationWin98Me;
    case 5:
        switch (version.dwMinorVersion) {
        case 0: return kGenerationWin2000;
        case 1: return kGenerationXP;
        case 2: return kGenerationServer2003;
        default: return kGenerationWin98Me;
        }
    default:
        // Windows 7 and every later NT release get the newest drivers the model files describe, never
        // the Windows 98 ones.
        return version.dwMajorVersion >= 6 ? kGenerationVista : kGenerationWin98Me;
    }
}

PlatformGeneration DetectPlatformGeneration(win::Platform& platform) {
    win::OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    platform.kernel.GetVersionExA(&version);
    return GenerationFromVersion(version);
}
