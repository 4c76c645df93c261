// Real pauses and the local time.
#include "platform/win32/Win32Families.h"
#include <windows.h>

namespace win::win32 {

namespace {

class RealClock : public Clock {
public:
    void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
    void GetLocalTime(win::SYSTEMTIME* time) override {
        static_assert(sizeof(win::SYSTEMTIME) == sizeof(::SYSTEMTIME), "layouts differ");
        ::GetLocalTime(reinterpret_cast<::SYSTEMTIME*>(time));
    }
};

}  // namespace

Clock& Win32Clock() {
    static RealClock instance;
    return instance;
}

}  // namespace win::win32
