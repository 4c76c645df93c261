// Prints what setup finds on the running system: the generation, the spooler environment of this build,
// and texts of the language file.
// Usage: setup-probe [SECTION KEY]...   (default: Setup Caption)
#include <cstdio>
#include <string>

#include "platform/Architecture.h"
#include "platform/win32/Console.h"
#include "setup/environment/PlatformGeneration.h"
#include "shared/LanguageText.h"

int main(int argc, char** argv) {
    win::Platform& platform = win::Win32Platform();
    PlatformGeneration generation = DetectPlatformGeneration(platform);
    std::printf("generation: %d %s\n", generation, GetGenerationProperties(generation, platform.architecture)->radioLabel);
    // Scripts read it to find the spooler's keys of the build they test.
    std::printf("spooler environment: %s\n", win::kNativeEnvironment);
    if (argc < 3) {
        LanguageText texts(platform, "Setup");
        std::printf("language file: %s\n", win::win32::AnsiToUtf8(texts.FilePath()).c_str());
        std::printf("[Setup] Caption: %s\n", win::win32::AnsiToUtf8(texts.Get("Caption")).c_str());
        return 0;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        LanguageText texts(platform, argv[i]);
        std::printf("[%s] %s: %s\n", argv[i], argv[i + 1], win::win32::AnsiToUtf8(texts.Get(argv[i + 1])).c_str());
    }
    return 0;
}
