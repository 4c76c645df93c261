#include "setup/wizard/ProgressWindow.h"

#include "resources/resource.h"
#include "shared/LanguageText.h"

ProgressWindow::ProgressWindow(SetupContext& context, PlatformGeneration targetGeneration,
                               const std::atomic<int32_t>& completionState)
    : context_(context), completionState_(completionState), schedule_(targetGeneration) {}

win::BOOL ProgressWindow::OnInit(win::DialogSurface& surface) {
    surface.SetProgressRange(IDC_PROGRESS, 0, 100);
    std::string wait = LanguageText(context_.platform, "Progress").Get("Wait");
    surface.SetBanner(wait.c_str(), 20, 700, "System", win::RGB(0, 51, 153));
    surface.SetTimer(kTimer, kFirstTick);
    period_ = kFirstTick;
    return win::TRUE;
}

void ProgressWindow::OnTimer(win::DialogSurface& surface, win::UINT id) {
    if (id != kTimer) return;
    ProgressSchedule::Step step = schedule_.Tick(completionState_.load());
    if (step.barPosition >= 0) surface.SetProgressPos(IDC_PROGRESS, step.barPosition);
    if (step.close) {
        surface.KillTimer(kTimer);
        surface.EndDialog(win::IDOK);
        return;
    }
    // The next tick comes after this step's wait; the window stays responsive in between. A running
    // timer of that period is left alone: setting it again would start its period anew, adding each
    // tick's own time to every step (under Wine the 100 steps of 10 ms took 1.2 to 1.5 s, not 1.0).
    if (step.wait != period_) {
        surface.SetTimer(kTimer, step.wait);
        period_ = step.wait;
    }
}
