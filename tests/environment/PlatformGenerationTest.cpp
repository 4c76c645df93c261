// The generation setup derives from the version numbers Windows reports.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "setup/environment/PlatformGeneration.h"

namespace {

PlatformGeneration Detect(win::DWORD platformId, win::DWORD major, win::DWORD minor) {
    win::sim::SimPlatform sim;
    sim.windows().SetVersion(platformId, major, minor);
    return DetectPlatformGeneration(sim.platform());
}

TEST(DetectPlatformGeneration, MapsEachWindowsReleaseToItsGeneration) {
    using namespace win;
    EXPECT_EQ(kGenerationWin98Me, Detect(VER_PLATFORM_WIN32_WINDOWS, 4, 10));  // 98
    EXPECT_EQ(kGenerationWin98Me, Detect(VER_PLATFORM_WIN32_WINDOWS, 4, 90));  // Me
    EXPECT_EQ(kGenerationWin98Me, Detect(VER_PLATFORM_WIN32_WINDOWS, 4, 0));   // 95
    EXPECT_EQ(kGenerationNT4, Detect(VER_PLATFORM_WIN32_NT, 4, 0));
    EXPECT_EQ(kGenerationWin2000, Detect(VER_PLATFORM_WIN32_NT, 5, 0));
    EXPECT_EQ(kGenerationXP, Detect(VER_PLATFORM_WIN32_NT, 5, 1));
    EXPECT_EQ(kGenerationServer2003, Detect(VER_PLATFORM_WIN32_NT, 5, 2));  // also XP x64
    EXPECT_EQ(kGenerationVista, Detect(VER_PLATFORM_WIN32_NT, 6, 0));
}

TEST(DetectPlatformGeneration, UnknownMinorVersionsOfOldReleasesAreUnrecognised) {
    using namespace win;
    EXPECT_EQ(kGenerationWin98Me, Detect(VER_PLATFORM_WIN32_NT, 4, 1));
    EXPECT_EQ(kGenerationWin98Me, Detect(VER_PLATFORM_WIN32_NT, 5, 3));
    EXPECT_EQ(kGenerationWin98Me, Detect(VER_PLATFORM_WIN32_NT, 3, 51));
    EXPECT_EQ(kGenerationWin98Me, Detect(VER_PLATFORM_WIN32s, 3, 10));
    EXPECT_EQ(kGenerationWin98Me, Detect(3, 6, 0));  // Windows CE
}

TEST(DetectPlatformGeneration, Windows7AndLaterGetTheNewestGenerationNotTheWindows98One) {
    using namespace win;
    EXPECT_EQ(kGenerationVista, Detect(VER_PLATFORM_WIN32_NT, 6, 1));
    EXPECT_EQ(kGenerationVista, Detect(VER_PLATFORM_WIN32_NT, 6, 3));
    EXPECT_EQ(kGenerationVista, Detect(VER_PLATFORM_WIN32_NT, 10, 0));
}

TEST(DetectPlatformGeneration, AFailedVersionQueryReadsAsUnrecognised) {
    // The simulation refuses any record size but 148, so the cases above also pin the size down.
    win::sim::SimPlatform sim;
    sim.windows().SetVersion(win::VER_PLATFORM_WIN32_NT, 5, 1);
    sim.windows().InjectFault("GetVersionExA", win::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(kGenerationWin98Me, DetectPlatformGeneration(sim.platform()));
}

TEST(GenerationProperties, HoldTheTableOfEveryGeneration) {
    struct Row {
        int radio;
        const char *suffix, *format, *spooler, *registry;
        win::DWORD version;
        const char* source;
    };
    const Row x86[] = {
        {1026, ".98", "%s.98", "Windows 4.0", "Windows 4.0", 0, "\\win98\\"},
        {1027, ".NT", "%s.NT", nullptr, "Windows NT x86", 2, "\\winnt\\"},
        {1028, ".2K", "%s.2K", nullptr, "Windows NT x86", 3, "\\winnt\\"},
        {1029, ".XP", "%s.XP", nullptr, "Windows NT x86", 3, "\\winnt\\"},
        {1075, ".2003", "%s.2003", nullptr, "Windows NT x86", 3, "\\win2003\\"},
        {1076, ".Vista", "%s.Vista", nullptr, "Windows NT x86", 3, "\\Vista\\"},
    };
    // The x64 edition: one set of sections and one medium folder for every NT generation, version 3
    // drivers only; 98/Me, which has no 64-bit edition, stays as it is.
    const Row x64[] = {
        x86[0],
        {1027, ".x64", "%s.x64", nullptr, "Windows x64", 3, "\\x64\\"},
        {1028, ".x64", "%s.x64", nullptr, "Windows x64", 3, "\\x64\\"},
        {1029, ".x64", "%s.x64", nullptr, "Windows x64", 3, "\\x64\\"},
        {1075, ".x64", "%s.x64", nullptr, "Windows x64", 3, "\\x64\\"},
        {1076, ".x64", "%s.x64", nullptr, "Windows x64", 3, "\\x64\\"},
    };
    for (const auto& [architecture, rows] : {std::pair{&win::kArchitectureX86, x86}, std::pair{&win::kArchitectureX64, x64}}) {
        for (int g = 0; g < kGenerationCount; ++g) {
            const GenerationProperties* p = GetGenerationProperties(g, *architecture);
            ASSERT_NE(nullptr, p);
            SCOPED_TRACE(std::string(architecture->name) + " generation " + std::to_string(g));
            EXPECT_EQ(rows[g].radio, p->radioId);
            EXPECT_STREQ(rows[g].suffix, p->sectionSuffix);
            EXPECT_STREQ(rows[g].format, p->sectionFormat);
            if (rows[g].spooler == nullptr) EXPECT_EQ(nullptr, p->spoolerEnvironment);
            else EXPECT_STREQ(rows[g].spooler, p->spoolerEnvironment);
            EXPECT_STREQ(rows[g].registry, p->registryEnvironment);
            EXPECT_EQ(rows[g].version, p->driverVersion);
            EXPECT_STREQ(rows[g].source, p->sourceDirectory);
        }
        EXPECT_EQ(nullptr, GetGenerationProperties(-1, *architecture));
        EXPECT_EQ(nullptr, GetGenerationProperties(6, *architecture));
    }
    EXPECT_STREQ("Windows Server 2003 ", GetGenerationProperties(kGenerationServer2003, win::kArchitectureX86)->radioLabel);
}

}  // namespace
