// The simulated virtual clock.
#pragma once

#include "platform/Clock.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimClock : public Clock {
public:
    explicit SimClock(SimWindows& w) : w_(w) {}
    void Sleep(DWORD milliseconds) override;
    void SleepAnsweringSentMessages(DWORD milliseconds) override;

private:
    SimWindows& w_;
};

}  // namespace win::sim
