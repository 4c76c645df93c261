// The progress window's bar schedule as a state machine driven by a timer: it creeps to 90 in steps of
// 80 ms, waits there for the worker, then runs to the end (success) or back to zero (failure) in steps of
// 10 ms and closes 100 ms later. With a 98/Me target it closes at 90 without waiting for the worker.
#pragma once

#include <cstdint>

#include "platform/Win32Types.h"
#include "setup/environment/PlatformGeneration.h"

class ProgressSchedule {
public:
    static constexpr win::DWORD kCreepStep = 80;
    static constexpr win::DWORD kFinalStep = 10;
    static constexpr win::DWORD kBeforeClosing = 100;
    static constexpr int kWaitingPosition = 90;

    // What to do at one tick: set the bar (unless barPosition is negative), then either close the window
    // or call Tick again after wait milliseconds.
    struct Step {
        int barPosition = -1;
        win::DWORD wait = 0;
        bool close = false;
    };

    explicit ProgressSchedule(PlatformGeneration target) : target_(target) {}

    // The worker's CompletionState, read anew at every tick.
    Step Tick(int32_t completionState);

private:
    enum class Phase { kCreeping, kFalling, kRising, kAtZero, kClosing };
    PlatformGeneration target_;
    Phase phase_ = Phase::kCreeping;
    int n_ = 0;
};
