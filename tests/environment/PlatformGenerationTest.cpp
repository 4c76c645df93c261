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
    const Row rows[] = {
        {1026, ".98", "%s.98", "Windows 4.0", "Windows 4.0", 0, "\\win98\\"},
        {1027, ".NT", "%s.NT", nullptr, PLATFORM_NATIVE_ENVIRONMENT, 2, "\\winnt\\"},
        {1028, ".2K", "%s.2K", nullptr, PLATFORM_NATIVE_ENVIRONMENT, 3, "\\winnt\\"},
        {1029, ".XP", "%s.XP", nullptr, PLATFORM_NATIVE_ENVIRONMENT, 3, "\\winnt\\"},
        {1075, ".2003", "%s.2003", nullptr, PLATFORM_NATIVE_ENVIRONMENT, 3, "\\win2003\\"},
        {1076, ".Vista", "%s.Vista", nullptr, PLATFORM_NATIVE_ENVIRONMENT, 3, "\\Vista\\"},
    };
    for (int g = 0; g < kGenerationCount; ++g) {
        const GenerationProperties* p = GetGenerationProperties(g);
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(rows[g].radio, p->radioId) << g;
        EXPECT_STREQ(rows[g].suffix, p->sectionSuffix) << g;
        EXPECT_STREQ(rows[g].format, p->sectionFormat) << g;
        if (rows[g].spooler == nullptr) EXPECT_EQ(nullptr, p->spoolerEnvironment) << g;
        else EXPECT_STREQ(rows[g].spooler, p->spoolerEnvironment) << g;
        EXPECT_STREQ(rows[g].registry, p->registryEnvironment) << g;
        EXPECT_EQ(rows[g].version, p->driverVersion) << g;
        EXPECT_STREQ(rows[g].source, p->sourceDirectory) << g;
    }
    EXPECT_STREQ("Windows Server 2003 ", GetGenerationProperties(kGenerationServer2003)->radioLabel);
    EXPECT_EQ(nullptr, GetGenerationProperties(-1));
    EXPECT_EQ(nullptr, GetGenerationProperties(6));
}

}  // namespace
