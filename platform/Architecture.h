// The spooler's native environment and its directory name for the architecture of this build. The product
// is 32-bit; the 64-bit build exists only to run the Wine tests on machines without 32-bit Linux programs.
#pragma once

#if defined(_WIN64)
#define PLATFORM_NATIVE_ENVIRONMENT "Windows x64"
#define PLATFORM_NATIVE_SPOOL_DIRECTORY "x64"
#else
#define PLATFORM_NATIVE_ENVIRONMENT "Windows NT x86"
#define PLATFORM_NATIVE_SPOOL_DIRECTORY "w32x86"
#endif

namespace win {

// "Windows 4.0", the environment of 98/Me drivers, is the same on both.
constexpr char kNativeEnvironment[] = PLATFORM_NATIVE_ENVIRONMENT;
constexpr char kNativeSpoolDirectory[] = PLATFORM_NATIVE_SPOOL_DIRECTORY;

}  // namespace win
