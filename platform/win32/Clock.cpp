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

    void SleepAnsweringSentMessages(DWORD milliseconds) override {
        const DWORD start = GetTickCount();
        for (;;) {
            // PeekMessage answers what was sent to the thread's windows before it looks at the queue,
            // which PM_NOREMOVE leaves as it is. Neither call needs a newer Windows than setup runs on.
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
            DWORD elapsed = GetTickCount() - start;
            if (elapsed >= milliseconds) return;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_SENDMESSAGE);
        }
    }
};

}  // namespace

Clock& Win32Clock() {
    static RealClock instance;
    return instance;
}

}  // namespace win::win32
