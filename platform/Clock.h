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
};

}  // namespace win
