// Pauses and the local time; the simulation keeps a virtual clock so tests can read the schedule without
// waiting.
#pragma once

#include "platform/Win32Types.h"

namespace win {

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
static_assert(sizeof(SYSTEMTIME) == 16, "SYSTEMTIME must keep the Windows layout");

class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(DWORD milliseconds) = 0;
    virtual void GetLocalTime(SYSTEMTIME* time) = 0;
    // A pause of a thread with windows that another program may need meanwhile: the messages sent to
    // them (activation changes, broadcasts) are answered, so that program is not held up waiting for
    // this one; posted messages and the user's input stay queued.
    virtual void SleepAnsweringSentMessages(DWORD milliseconds) = 0;
};

}  // namespace win
