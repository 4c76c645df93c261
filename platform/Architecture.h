// What the processor architecture of a program changes: the spooler's environment and directory names,
// the sections and medium folder its drivers come from, where Windows keeps its own unidriver files, and
// the names of the architecture's own programs and libraries. Named here only, once per architecture.
#pragma once

namespace win {

struct Architecture {
    const char* name;                // "x86" or "x64", for messages and tools
    bool is64Bit;                    // the x64 edition
    const char* environment;         // the spooler's native environment
    const char* spoolDirectory;      // below spool\drivers and spool\prtprocs
    // The NT generations' section suffix and medium folder: null where each generation has its own.
    const char* sectionSuffix;
    const char* mediumDirectory;
    // Vista and later: the driver store folder of ntprint.inf and its subfolder with the files.
    const char* driverStorePattern;
    const char* driverStoreFiles;
    // 2000 to Server 2003: the platform folder below "Driver Cache".
    const char* cabinetPlatform;
    const char* usbLibrary;          // the maker's USB access library, beside the programs
    const char* usbDriverKit;        // the USB bulk driver and its installer, below the medium
    const char* programSuffix;       // the programs' names: setup.exe, setup64.exe
};

inline constexpr Architecture kArchitectureX86{"x86", false, "Windows NT x86", "w32x86", nullptr, nullptr,
                                               "ntprint*",   "I386",           "i386",   "KxUsbInt.dll", "USBDrv", ""};
inline constexpr Architecture kArchitectureX64{"x64", true, "Windows x64",    "x64",    ".x64",  "\\x64\\",
                                               "ntprint.inf_amd64_*", "Amd64", "amd64",  "KxUsbInt64.dll",
                                               "USBDrv\\x64", "64"};

// The architecture this program is built for.
#if defined(_WIN64)
inline constexpr const Architecture& kBuildArchitecture = kArchitectureX64;
#define PLATFORM_NATIVE_ENVIRONMENT "Windows x64"
#define PLATFORM_NATIVE_SPOOL_DIRECTORY "x64"
#else
inline constexpr const Architecture& kBuildArchitecture = kArchitectureX86;
#define PLATFORM_NATIVE_ENVIRONMENT "Windows NT x86"
#define PLATFORM_NATIVE_SPOOL_DIRECTORY "w32x86"
#endif

// The build's spooler environment and directory, for the tests and tools that talk to a real spooler (the
// macros for joining literals). The logic takes them from its Platform, whose simulated machine can be of
// either architecture.
inline constexpr const char* kNativeEnvironment = PLATFORM_NATIVE_ENVIRONMENT;
inline constexpr const char* kNativeSpoolDirectory = PLATFORM_NATIVE_SPOOL_DIRECTORY;

}  // namespace win
