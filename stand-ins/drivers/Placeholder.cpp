// A tiny DLL that stands in, under each of their names, for the maker's driver and user-interface DLLs.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
