// The simulated virtual clock and local time.
#pragma once

#include "platform/Clock.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimClock : public Clock {
public:
    explicit SimClock(SimWindows& w) : w_(w) {}
    void Sleep(DWORD milliseconds) override;
    // SimWindows' local time at the start, advanced by the virtual clock.
    void GetLocalTime(SYSTEMTIME* time) override;
    void SleepAnsweringSentMessages(DWORD milliseconds) override;

private:
    SimWindows& w_;
};

}  // namespace win::sim
