// The small window that shows the installation's progress while the install sequence runs on its
// worker: a bar on a fixed schedule that waits at 90 for the worker's outcome.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Dialogs.h"
#include "setup/environment/PlatformGeneration.h"
#include "setup/environment/SetupContext.h"
#include "setup/wizard/ProgressSchedule.h"

class ProgressWindow : public win::DialogPage {
public:
    static constexpr win::UINT kTimer = 1;
    static constexpr win::UINT kFirstTick = 100;

    // `completionState` is the worker's outcome, read anew at every tick.
    ProgressWindow(SetupContext& context, PlatformGeneration targetGeneration,
                   const std::atomic<int32_t>& completionState);

    win::BOOL OnInit(win::DialogSurface& surface) override;
    void OnTimer(win::DialogSurface& surface, win::UINT id) override;
    // The window has no buttons: Enter and Escape do not close it.
    void OnCommand(win::DialogSurface&, int, int) override {}

private:
    SetupContext& context_;
    const std::atomic<int32_t>& completionState_;
    ProgressSchedule schedule_;
    win::UINT period_ = 0;  // of the running timer
};
