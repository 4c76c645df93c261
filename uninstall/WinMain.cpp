// The entry point of uninstall.exe.
#include "platform/Platform.h"
#include "uninstall/UninstallApp.h"
// The Windows headers come after ours: their macros would rewrite our constant names.
// clang-format off
#include <windows.h>
// clang-format on

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunUninstall(win::Win32Platform()); }
