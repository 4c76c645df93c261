// The Windows generation that keys everything that differs between Windows releases, and its tables.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

typedef int32_t PlatformGeneration;

constexpr PlatformGeneration kGenerationWin98Me = 0;
constexpr PlatformGeneration kGenerationNT4 = 1;
constexpr PlatformGeneration kGenerationWin2000 = 2;
constexpr PlatformGeneration kGenerationXP = 3;
constexpr PlatformGeneration kGenerationServer2003 = 4;
constexpr PlatformGeneration kGenerationVista = 5;
constexpr int kGenerationCount = 6;

struct GenerationProperties {
    int radioId;                     // radio of the operating-system page
    const char* radioLabel;
    const char* sectionSuffix;       // appended to fixed section names such as "COMMON-MONITOR"
    const char* sectionFormat;       // takes a model name
    const char* spoolerEnvironment;  // null: the local environment
    const char* registryEnvironment;
    win::DWORD driverVersion;        // cVersion of DRIVER_INFO_3
    const char* sourceDirectory;     // on the medium, below the current directory
};

// The properties of a generation for programs of an architecture, or null for a value outside 0 to 5.
const GenerationProperties* GetGenerationProperties(PlatformGeneration generation,
                                                    const win::Architecture& architecture);

// The generation of the running system; unrecognised systems give 0.
PlatformGeneration DetectPlatformGeneration(win::Platform& platform);

// The generation for the numbers GetVersionExA reports.
PlatformGeneration GenerationFromVersion(const win::OSVERSIONINFOA& version);
