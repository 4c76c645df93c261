// The entry point of setup.exe.
#include "setup/environment/PlatformGeneration.h"
#include "setup/environment/SetupContext.h"
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    SetupContext context(win::Win32Platform());
    DetectPlatformGeneration(context.platform);
    return 0;
}
