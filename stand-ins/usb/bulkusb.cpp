// The stand-in USB bulk driver file: a PE image whose only purpose is its version resource.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
