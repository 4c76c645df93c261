// The least a Windows program can show: one message box. The wizard's start-up benchmark measures Wine's
// own start of a program with it, to tell what setup adds.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "", "empty program", MB_OK);
    return 0;
}
