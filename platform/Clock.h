// Pauses; the simulation keeps a virtual clock so tests can read the schedule without waiting.
#pragma once

#include "platform/Win32Types.h"

namespace win {

class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(DWORD milliseconds) = 0;
};

}  // namespace win
