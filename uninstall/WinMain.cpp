// The entry point of uninstall.exe.
#include <windows.h>

#include "platform/Platform.h"
#include "shared/LanguageText.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LanguageText texts(win::Win32Platform(), "Uninstall", kUninstallLanguageFile);
    return 0;
}
