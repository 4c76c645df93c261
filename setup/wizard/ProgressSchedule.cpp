// The progress bar's schedule, one tick at a time.
#include "setup/wizard/ProgressSchedule.h"

#include "setup/engine/InstallRecord.h"

ProgressSchedule::Step ProgressSchedule::Tick(int32_t completionState) {
    Step step;
    switch (phase_) {
        case Phase::kCreeping:
            if (target_ == kGenerationWin98Me && n_ == kWaitingPosition) {
                step.close = true;
            } else if (completionState == kCompletionFailed) {
                phase_ = n_ > 0 ? Phase::kFalling : Phase::kAtZero;
                step.wait = n_ > 0 ? kFinalStep : 0;
            } else if (completionState == kCompletionSucceeded) {
                phase_ = n_ < 100 ? Phase::kRising : Phase::kClosing;
                step.wait = n_ < 100 ? kFinalStep : kBeforeClosing;
            } else {
                if (n_ >= kWaitingPosition) n_ = kWaitingPosition;
                step.barPosition = n_ % 100;
                step.wait = kCreepStep;
                ++n_;
            }
            break;
        case Phase::kFalling:
            step.barPosition = n_--;
            if (n_ > 0) {
                step.wait = kFinalStep;
            } else {
                phase_ = Phase::kAtZero;
            }
            break;
        case Phase::kAtZero:
            step.barPosition = 0;
            step.wait = kBeforeClosing;
            phase_ = Phase::kClosing;
            break;
        case Phase::kRising:
            step.barPosition = n_++;
            if (n_ < 100) {
                step.wait = kFinalStep;
            } else {
                step.wait = kBeforeClosing;
                phase_ = Phase::kClosing;
            }
            break;
        case Phase::kClosing:
            step.close = true;
            break;
    }
    return step;
}
