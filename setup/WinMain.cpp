// The entry point of setup.exe.
#include "setup/wizard/SetupApp.h"
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunSetup(win::Win32Platform()); }
