// Real pauses.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

void RealClock::Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }

}  // namespace win::win32
