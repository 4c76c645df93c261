// Real pauses.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

namespace {

class RealClock : public Clock {
public:
    void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
};

}  // namespace

Clock& Win32Clock() {
    static RealClock instance;
    return instance;
}

}  // namespace win::win32
